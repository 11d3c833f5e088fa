// The output targets driven offscreen: documents are caught by a "file" URL handler instead of
// being opened. The text dialog's buttons and boxes, cancelling it (no file, still opened), the
// HTML, workbook and PDF files written and opened, unknown targets, files that cannot be written;
// the preview's chart saved as PNG and SVG.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include "calc/run_parameters.h"
#include "report/chart_window.h"
#include "report/exports.h"
#include "report/output_window.h"
#include "report/text_options_dialog.h"
#include "support/test_suite.h"
#include "ui/opened_files.h"

namespace {

// Answers a dialog once it is up (looking again every 10 ms, for at most 5 s).
template <typename Dialog>
void When_Shown(std::function<void(Dialog&)> answer, int tries = 500) {
  QTimer::singleShot(10, [answer, tries] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (auto* dialog = qobject_cast<Dialog*>(widget); dialog && dialog->isVisible()) {
        answer(*dialog);
        return;
      }
    }
    if (tries > 0) When_Shown<Dialog>(answer, tries - 1);
  });
}

struct OutputFixture {
  OutputFixture() {
    suite.Exec(
        "INSERT INTO MUHASEBEMALITABLOHAREKET (Rapor_ID, Rapor_Yeri, Satir_No, Satir_Tipi, "
        "Satir_Adi, Satir_Seviyesi, Bakiye) VALUES (1, 1, 1, 2, 'Kasa', 3, 1234.5)");
    suite.Connect();
    suite.state.Amount_Format = "#,##0.00";
    parameters.statement_sql = "SELECT * FROM MUHASEBEMALITABLOHAREKET";
  }
  // Exports go to the folder of the suite's registry file.
  QString File(const QString& name) const { return suite.Root() + "/" + name; }
  // The export of `kind` as proposed: named after the statement.
  QString Named(ExportKind kind, const QString& folder = {}) {
    const QString name =
        Export_File_Name(Statement_File_Base(Read_Statement(suite.state, parameters).heading),
                         kind);
    return File(folder.isEmpty() ? name : folder + "/" + name);
  }
  // The output of the statement for `target`.
  void Output(const QString& target) {
    Produce_Output(suite.state, Read_Statement(suite.state, parameters), target, nullptr);
  }

  TestSuite suite;
  RunParameters parameters;
  OpenedFiles opened;
};

}  // namespace

TEST(ReportOutput, TextTargetAsksForItsOptions) {
  OutputFixture f;
  const QString path = f.Named(ExportKind::Text);
  // Cancelled: nothing is written, the file is opened all the same.
  When_Shown<TexteAtOzellikFrm>([](TexteAtOzellikFrm& d) { d.btnCancel->click(); });
  f.Output("Text");
  EXPECT_FALSE(QFile::exists(path));
  EXPECT_EQ(f.opened.paths, QStringList{path});

  When_Shown<TexteAtOzellikFrm>([](TexteAtOzellikFrm& d) {
    d.AlanAyiraci->setText("|");
    d.BosSatirlariGizle->setChecked(true);
    d.UnicodeText->setChecked(true);
    d.btnOK->click();
  });
  f.Output("Text");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  EXPECT_TRUE(bytes.startsWith("\xFF\xFE"));
  EXPECT_TRUE(QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData() + 2),
                                 (bytes.size() - 2) / 2)
                  .contains("\r\nKasa|1.234,50\r\n"));
  EXPECT_EQ(f.opened.paths.size(), 2);
}

TEST(ReportOutput, FileTargetsWriteAndOpen) {
  OutputFixture f;
  f.Output("Html");
  f.Output("Excel");
  f.Output("PDF");
  f.Output("Kağıt");
  const QStringList expected{f.Named(ExportKind::Html), f.Named(ExportKind::Excel),
                             f.Named(ExportKind::Pdf)};
  EXPECT_EQ(f.opened.proposed_paths, expected);
  EXPECT_EQ(f.opened.paths, expected);
  for (const QString& path : expected) EXPECT_GT(QFile(path).size(), 100) << path.toStdString();
  EXPECT_TRUE(f.suite.messages.entries.empty());
  // The user may name another file, or cancel the dialog: nothing is written or opened.
  f.opened.save_answer = f.File("başka.pdf");
  f.Output("PDF");
  EXPECT_GT(QFile(f.File("başka.pdf")).size(), 100);
  f.opened.save_answer = "";
  f.Output("Excel");
  EXPECT_EQ(f.opened.paths, expected + QStringList{f.File("başka.pdf")});
}

TEST(ReportOutput, FileThatCannotBeWrittenIsReportedAndNotOpened) {
  OutputFixture f;
  // The output folder cannot be made: a file stands where it would be.
  QFile blocker(f.File("yok"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  qputenv("MALITABLO_REGISTRY", f.File("yok/registry.ini").toUtf8());
  When_Shown<TexteAtOzellikFrm>([](TexteAtOzellikFrm& d) { d.btnOK->click(); });
  for (const char* target : {"PDF", "Html", "Excel", "Text"}) f.Output(target);
  EXPECT_TRUE(f.opened.paths.isEmpty()) << f.opened.paths.join(", ").toStdString();
  const ExportKind kinds[] = {ExportKind::Pdf, ExportKind::Html, ExportKind::Excel,
                              ExportKind::Text};
  ASSERT_EQ(f.suite.messages.entries.size(), 4u)
      << f.suite.messages.Texts().join(" / ").toStdString();
  for (int i = 0; i < 4; ++i) {
    const auto& entry = f.suite.messages.entries[static_cast<size_t>(i)];
    EXPECT_EQ(entry.kind, MessageKind::Critical);
    EXPECT_EQ(entry.text, QString::fromUtf8("Dosya yazılamadı: ") + f.Named(kinds[i], "yok"));
  }
}

TEST(ReportOutput, FileNoProgramOpensIsNamedToTheUser) {
  OutputFixture f;
  // No application takes the file: the user is told where it was written, once per export.
  QDesktopServices::unsetUrlHandler("file");
  f.Output("PDF");
  f.Output("Excel");
  ASSERT_EQ(f.suite.messages.entries.size(), 2u)
      << f.suite.messages.Texts().join(" / ").toStdString();
  EXPECT_EQ(f.suite.messages.entries[0].kind, MessageKind::Plain);
  EXPECT_EQ(f.suite.messages.entries[0].text, Not_Opened_Message(f.Named(ExportKind::Pdf)));
  EXPECT_EQ(f.suite.messages.entries[1].text, Not_Opened_Message(f.Named(ExportKind::Excel)));
  EXPECT_TRUE(QFile::exists(f.Named(ExportKind::Excel)));
}

TEST(ReportOutput, PreviewShowsTheChartSavedAsPngAndSvg) {
  OutputFixture f;
  f.suite.Exec(
      "INSERT INTO MUHASEBEMALITABLOHAREKET (Rapor_ID, Rapor_Yeri, Satir_No, Satir_Tipi, "
      "Satir_Adi, Satir_Seviyesi, Bakiye) VALUES (1, 1, 2, 1, 'A. DÖNEN VARLIKLAR', 1, 2500)");
  QStringList categories;
  When_Shown<QPrintPreviewDialog>([&](QPrintPreviewDialog& preview) {
    When_Shown<GrafikFrm>([&](GrafikFrm& chart) {
      categories = chart.Chart().categories;
      EXPECT_TRUE(chart.Save_Png(f.File("grafik.png")));
      EXPECT_TRUE(chart.Save_Svg(f.File("grafik.svg")));
      chart.KapatBtn->click();
    });
    if (auto* button = preview.findChild<QAction*>("GrafikBtn")) button->trigger();
    preview.close();
  });
  f.Output("Ekran");
  EXPECT_EQ(categories, QStringList{"A. DÖNEN VARLIKLAR"});  // level 1 only
  EXPECT_EQ(QImage(f.File("grafik.png")).size(), kChartSize);
  QFile svg(f.File("grafik.svg"));
  ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
  // The axis in the company's format: 2.500 is the highest step.
  const QString text = QString::fromUtf8(svg.readAll());
  EXPECT_TRUE(text.contains("A. DÖNEN VARLIKLAR") && text.contains(">2.500,00<"));
}
