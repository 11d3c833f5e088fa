// The output targets driven offscreen: documents are caught by a "file" URL handler instead of
// being opened. The text dialog's buttons and boxes, cancelling it (no file, still opened), the
// HTML, workbook and PDF files written and opened, unknown targets, files that cannot be written.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include "report/output_window.h"
#include "report/text_options_dialog.h"
#include "support/test_suite.h"

namespace {

class OpenedDocuments : public QObject {
  Q_OBJECT
 public:
  QStringList paths;
 public slots:
  void Open(const QUrl& url) { paths << url.toLocalFile(); }
};

// Answers the text dialog once it is up (looking again every 10 ms, for at most 5 s).
void Answer_Text_Dialog(std::function<void(TexteAtOzellikFrm&)> answer, int tries = 500) {
  QTimer::singleShot(10, [answer, tries] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (auto* dialog = qobject_cast<TexteAtOzellikFrm*>(widget); dialog && dialog->isVisible()) {
        answer(*dialog);
        return;
      }
    }
    if (tries > 0) Answer_Text_Dialog(answer, tries - 1);
  });
}

struct OutputFixture {
  OutputFixture() {
    QDesktopServices::setUrlHandler("file", &opened, "Open");
    suite.Exec("INSERT INTO MUHASEBEMALITABLOHAREKET (Rapor_ID, Rapor_Yeri, Satir_No, Satir_Tipi, "
               "Satir_Adi, Satir_Seviyesi, Bakiye) VALUES (1, 1, 1, 2, 'Kasa', 3, 1234.5)");
    suite.Connect();
    suite.state.Amount_Format = "#,##0.00";
    suite.state.Program_Folder = folder.path();
    suite.state.Report_Sql = "SELECT * FROM MUHASEBEMALITABLOHAREKET";
  }
  ~OutputFixture() { QDesktopServices::unsetUrlHandler("file"); }
  QString File(const QString& name) const { return folder.filePath(name); }

  TestSuite suite;
  QTemporaryDir folder;
  OpenedDocuments opened;
};

}  // namespace

TEST(ReportOutput, TextTargetAsksForItsOptions) {
  OutputFixture f;
  const QString path = f.File("Temp.txt");
  // Cancelled: nothing is written, the file is opened all the same.
  Answer_Text_Dialog([](TexteAtOzellikFrm& d) { d.btnCancel->click(); });
  Produce_Output(f.suite.state, "Text", nullptr);
  EXPECT_FALSE(QFile::exists(path));
  EXPECT_EQ(f.opened.paths, QStringList{path});
  EXPECT_FALSE(f.suite.state.Export_Waiting);

  Answer_Text_Dialog([](TexteAtOzellikFrm& d) {
    d.AlanAyiraci->setText("|");
    d.BosSatirlariGizle->setChecked(true);
    d.UnicodeText->setChecked(true);
    d.btnOK->click();
  });
  Produce_Output(f.suite.state, "Text", nullptr);
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  EXPECT_TRUE(bytes.startsWith("\xFF\xFE"));
  EXPECT_TRUE(QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData() + 2), (bytes.size() - 2) / 2)
                  .contains("\r\nKasa|1.234,50\r\n"));
  EXPECT_EQ(f.opened.paths.size(), 2);
}

TEST(ReportOutput, FileTargetsWriteAndOpen) {
  OutputFixture f;
  Produce_Output(f.suite.state, "Html", nullptr);
  Produce_Output(f.suite.state, "Excel", nullptr);
  Produce_Output(f.suite.state, "PDF", nullptr);
  Produce_Output(f.suite.state, "Kağıt", nullptr);
  const QStringList expected{f.File("Temp.Htm"), f.File("Temp.xlsx"), f.File("Temp.pdf")};
  EXPECT_EQ(f.opened.paths, expected);
  for (const QString& path : expected) EXPECT_GT(QFile(path).size(), 100) << path.toStdString();
  EXPECT_TRUE(f.suite.messages.entries.empty());
}

TEST(ReportOutput, FileThatCannotBeWrittenIsReportedAndNotOpened) {
  OutputFixture f;
  // The program folder does not exist: no writer can create its file there.
  f.suite.state.Program_Folder = f.File("yok");
  Answer_Text_Dialog([](TexteAtOzellikFrm& d) { d.btnOK->click(); });
  for (const char* target : {"PDF", "Html", "Excel", "Text"})
    Produce_Output(f.suite.state, target, nullptr);
  EXPECT_TRUE(f.opened.paths.isEmpty()) << f.opened.paths.join(", ").toStdString();
  const QStringList names{"Temp.pdf", "Temp.Htm", "Temp.xlsx", "Temp.txt"};
  ASSERT_EQ(f.suite.messages.entries.size(), 4u)
      << f.suite.messages.Texts().join(" / ").toStdString();
  for (int i = 0; i < 4; ++i) {
    const auto& entry = f.suite.messages.entries[static_cast<size_t>(i)];
    EXPECT_EQ(entry.kind, MessageKind::Critical);
    EXPECT_EQ(entry.text, QString::fromUtf8("Dosya yazılamadı: ") + f.File("yok/" + names[i]));
  }
  EXPECT_FALSE(f.suite.state.Export_Waiting);
}

#include "report_output_test.moc"
