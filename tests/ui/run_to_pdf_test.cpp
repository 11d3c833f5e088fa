// A whole run from the window to its file: the demo income statement, January to December,
// output "PDF", F2. Temp.pdf is written in the user's output folder with the statement's rows, and
// the amounts stored by the run are the ones the command line gives for the same choices.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
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

  // Written into the user's output folder, beside the registry file.
  const QString pdf = t.Root() + "/Temp.pdf";
  ASSERT_TRUE(QFile::exists(pdf));
  EXPECT_EQ(opened.paths, QStringList{pdf});

  // The amounts the run stored, by row code.
  std::map<QString, double> stored;
  Recordset rs;
  Open_Recordset(
      t.state.Db(), rs,
      "SELECT h.Satir_Kodu, h.Bakiye FROM MUHASEBEMALITABLOHAREKET h JOIN MUHASEBEMALITABLOKART k "
      "ON h.Rapor_ID=k.Rapor_ID WHERE k.Rapor_Kodu='GT'");
  for (; !rs.Eof(); rs.Move_Next()) stored[rs.Text("Satir_Kodu").trimmed()] = rs.Number("Bakiye");
  ASSERT_EQ(stored.size(), 39u);

  // The command line, same choices.
  QProcess cli;
  cli.start(QString(MALITABLO_PROGRAM_DIR) + "/malitablo-cli",
            {"run", command_line, "--set", "Tablo Kodu=GT", "--set",
             QString::fromUtf8("Rapor Başlangıç Ayı=Ocak"), "--set",
             QString::fromUtf8("Rapor Bitiş Ayı=Aralık"), "--format", "json"});
  ASSERT_TRUE(cli.waitForFinished(60000));
  ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
  const QJsonArray rows = QJsonDocument::fromJson(cli.readAllStandardOutput()).array();
  ASSERT_EQ(rows.size(), 39);
  const QString text = Pdf_Text(pdf);
  for (const QJsonValue& v : rows) {
    const QJsonObject row = v.toObject();
    const QString code = row["Satir_Kodu"].toString();
    EXPECT_DOUBLE_EQ(stored.at(code), row["Bakiye"].toDouble()) << code.toStdString();
    // Every caption is printed; the net sales amount with "," decimals and "." thousands.
    EXPECT_TRUE(text.contains(row["Satir_Adi"].toString()))
        << row["Satir_Adi"].toString().toStdString();
  }
  const double net_sales = stored.at("C");
  EXPECT_TRUE(text.contains(QLocale(QLocale::Turkish).toString(net_sales, 'f', 2))) << net_sales;
}
