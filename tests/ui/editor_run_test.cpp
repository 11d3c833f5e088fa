// A table made in the editor's windows is a statement like any other: added from the standard
// income statement on the demo ledger, it runs from the run window and from the command line
// with the same amounts, and those are the amounts of the demo's own statement of that file.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <map>

#include "app/start_up.h"
#include "db/query.h"
#include "db/recordset.h"
#include "editor/code_name_dialog.h"
#include "editor/table_definition_window.h"
#include "editor/table_list_window.h"
#include "run/filter_window.h"
#include "support/test_suite.h"
#include "ui_common/keyed_grid_widget.h"

namespace {

// Amounts by row code, in cents: the listing writes them with the company's two decimals.
using Amounts = std::map<QString, long long>;
long long Cents(double amount) { return std::llround(amount * 100); }

Amounts Cli_Amounts(const QString& command_line, const QString& code) {
  QProcess cli;
  cli.start(QString(MALITABLO_PROGRAM_DIR) + "/malitablo-cli",
            {"run", command_line, "--set", "Tablo Kodu=" + code, "--set",
             "Rapor Başlangıç Ayı=Ocak", "--set", "Rapor Bitiş Ayı=Aralık", "--format", "json"});
  EXPECT_TRUE(cli.waitForFinished(60000));
  EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
  Amounts amounts;
  for (const QJsonValue& v : QJsonDocument::fromJson(cli.readAllStandardOutput()).array())
    amounts[v.toObject()["Satir_Kodu"].toString()] = Cents(v.toObject()["Bakiye"].toDouble());
  return amounts;
}

Amounts Stored_Amounts(TestSuite& t, const QString& code) {
  Amounts amounts;
  Recordset rs;
  Open_Recordset(
      t.state.Db(), rs,
      "SELECT h.Satir_Kodu, h.Bakiye FROM MUHASEBEMALITABLOHAREKET h JOIN MUHASEBEMALITABLOKART k "
      "ON h.Rapor_ID=k.Rapor_ID WHERE k.Rapor_Kodu='" +
          code + "'");
  for (; rs.Is_Open() && !rs.Eof(); rs.Move_Next())
    amounts[rs.Text("Satir_Kodu").trimmed()] = Cents(rs.Number("Bakiye"));
  return amounts;
}

}  // namespace

TEST(EditorRun, ATableMadeInTheWindowsRunsLikeTheDemoStatement) {
  TestSuite t;
  const QString command_line = t.Make_Demo();
  t.state.Program_Folder = MALITABLO_PROGRAM_DIR;
  t.state.Movement_Table = "CARIHAREKETLER";
  Parse_Command_Line(t.state, command_line);
  std::unique_ptr<FiltreFrm> w;
  Open_Company(t.state, [&] { w = std::make_unique<FiltreFrm>(t.state); });
  ASSERT_TRUE(w);
  QStringList outputs;
  w->Set_Output_Handler([&](const RunOutcome&, const QString& target) { outputs << target; });
  w->show();
  w->Form_Activate();

  // Tablo Oluştur, Insert, Yes to the standard definition, F2 with a code and name, F3, Escape.
  QTest::mouseClick(w->findChild<QPushButton*>("Tablo_OlusturBtn"), Qt::LeftButton);
  auto* list = qobject_cast<MuhMaliTabloListe*>(w->Table_List_Window());
  ASSERT_NE(list, nullptr);
  t.messages.Answer(true);
  QTest::keyClick(list->findChild<KeyedGridView*>("TDBG1"), Qt::Key_Insert);
  MuhMaliTabloTanim* def = list->Definition_Window();
  ASSERT_NE(def, nullptr);
  QTimer::singleShot(0, [] {
    auto* d = qobject_cast<RaporKodAdFrm*>(QApplication::activeModalWidget());
    ASSERT_NE(d, nullptr);
    d->findChild<QLineEdit*>("Tablo_Kod")->setText("yeni");
    d->findChild<QLineEdit*>("Tablo_Ad")->setText("Yeni Gelir Tablosu");
    d->KaydetBtn_Click();
  });
  QTest::keyClick(def->findChild<KeyedGridView*>("FisGrd"), Qt::Key_F2);
  QTest::keyClick(def->findChild<KeyedGridView*>("FisGrd"), Qt::Key_F3);
  QApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QTest::keyClick(list->findChild<KeyedGridView*>("TDBG1"), Qt::Key_Escape);
  EXPECT_TRUE(w->isVisible());
  ASSERT_EQ(t.messages.entries.size(), 1u) << t.messages.Texts().join('\n').toStdString();

  // The run window runs it.
  KeyedGrid& grid = w->Filter_Grid();
  grid.Set_Text(grid.Find_Row("FiltreLbl", "Tablo Kodu"), "Baslangic", "YENİ");
  grid.Set_Text(grid.Find_Row("FiltreLbl", "Rapor Başlangıç Ayı"), "Baslangic", "Ocak");
  grid.Set_Text(grid.Find_Row("FiltreLbl", "Rapor Bitiş Ayı"), "Baslangic", "Aralık");
  w->Run();
  EXPECT_EQ(outputs, QStringList({"Ekran"}));
  const Amounts from_window = Stored_Amounts(t, "YENİ");
  ASSERT_EQ(from_window.size(), 39u);

  // The command line gives the same amounts, and so does the demo's own statement.
  EXPECT_EQ(Cli_Amounts(command_line, "YENİ"), from_window);
  const Amounts demo = Cli_Amounts(command_line, "GT");
  EXPECT_EQ(demo, from_window);
  EXPECT_NE(from_window.at("C"), 0);
}
