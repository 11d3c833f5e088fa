// A whole run from the window to its file: the demo income statement, January to December,
// output "PDF", F2. The file named after the statement and its period is written in the user's
// output folder with the rows and amounts the run stored. (The window's amounts against the
// command line's are checked in editor_run_test.cpp.)
#include <gtest/gtest.h>

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include "app/start_up.h"
#include "db/query.h"
#include "db/recordset.h"
#include "report/output_window.h"
#include "run/filter_window.h"
#include "support/test_suite.h"
#include "ui/opened_files.h"
#include "ui_common/keyed_grid_widget.h"

namespace {

QString Pdf_Text(const QString& path) {
  QProcess p;
  p.start("pdftotext", {"-layout", path, "-"});
  p.waitForFinished(20000);
  return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace

TEST(RunToPdf, F2WritesTempPdfWithTheCommandLinesAmounts) {
  TestSuite t;
  const QString command_line = t.Make_Demo();

  // A program folder of its own, with the shipped master file.
  QTemporaryDir program;
  ASSERT_TRUE(
      QFile::copy(QString(MALITABLO_PROGRAM_DIR) + "/Master.mtr", program.filePath("Master.mtr")));
  t.state.Program_Folder = program.path();
  t.state.Movement_Table = "CARIHAREKETLER";
  Parse_Command_Line(t.state, command_line);
  std::unique_ptr<FiltreFrm> w;
  Open_Company(t.state, [&] { w = std::make_unique<FiltreFrm>(t.state); });
  ASSERT_TRUE(w);
  OpenedFiles opened;
  w->Set_Output_Handler([&](const RunOutcome& run, const QString& target) {
    Produce_Output(t.state, run.statement, target, w.get());
  });
  w->show();
  w->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
  w->Form_Activate();

  KeyedGrid& grid = w->Filter_Grid();
  grid.Set_Text(grid.Find_Row("FiltreLbl", "Tablo Kodu"), "Baslangic", "GT");
  grid.Set_Text(grid.Find_Row("FiltreLbl", QString::fromUtf8("Rapor Başlangıç Ayı")), "Baslangic",
                "Ocak");
  grid.Set_Text(grid.Find_Row("FiltreLbl", QString::fromUtf8("Rapor Bitiş Ayı")), "Baslangic",
                QString::fromUtf8("Aralık"));
  auto* target = w->findChild<KeyedGridView*>("RaporYeri");
  target->setFocus();
  QTest::keyClick(target, Qt::Key_P);  // opens the cell's list on "PDF"
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  QApplication::processEvents();
  ASSERT_EQ(w->Output_Target(), "PDF");
  auto* filter = w->findChild<KeyedGridView*>("FiltreGrd");
  filter->setFocus();
  QTest::keyClick(filter, Qt::Key_F2);
  EXPECT_TRUE(t.messages.entries.empty()) << t.messages.Texts().join('\n').toStdString();

  // Written into the user's output folder, beside the registry file, as proposed.
  const QString pdf = t.Root() + "/GT 01.2026-12.2026.pdf";
  ASSERT_TRUE(QFile::exists(pdf));
  EXPECT_EQ(opened.proposed_paths, QStringList{pdf});
  EXPECT_EQ(opened.paths, QStringList{pdf});

  // Every stored row's caption is printed; the net sales amount with "," decimals and "."
  // thousands.
  std::map<QString, double> stored;
  Recordset rs;
  Open_Recordset(t.state.Db(), rs,
                 "SELECT h.Satir_Kodu, h.Satir_Adi, h.Bakiye FROM MUHASEBEMALITABLOHAREKET h JOIN "
                 "MUHASEBEMALITABLOKART k ON h.Rapor_ID=k.Rapor_ID WHERE k.Rapor_Kodu='GT'");
  const QString text = Pdf_Text(pdf);
  for (; !rs.Eof(); rs.Move_Next()) {
    stored[rs.Text("Satir_Kodu").trimmed()] = rs.Number("Bakiye");
    EXPECT_TRUE(text.contains(rs.Text("Satir_Adi").trimmed()))
        << rs.Text("Satir_Adi").toStdString();
  }
  ASSERT_EQ(stored.size(), 54u);
  const double net_sales = stored.at("C");
  EXPECT_NE(net_sales, 0.0);
  EXPECT_TRUE(text.contains(QLocale(QLocale::Turkish).toString(net_sales, 'f', 2))) << net_sales;
}
