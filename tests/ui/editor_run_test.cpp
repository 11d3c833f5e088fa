// A table made in the editor's windows is a statement like any other: added from the standard
// income statement on the demo ledger, it runs from the run window and from the command line
// with the same amounts, and those are the amounts of the demo's own statement of that file; its
// PDF, chosen by keys, is written in the user's output folder.
// Built from scratch by keys alone (rows inserted below, moved, a rule and a blank line, an
// account picked by a lower-case search), it prints its rows in the order and case typed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
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
#include "editor/account_picker_window.h"
#include "editor/code_name_dialog.h"
#include "editor/row_editor_window.h"
#include "editor/table_definition_window.h"
#include "editor/table_list_window.h"
#include "report/output_window.h"
#include "run/filter_window.h"
#include "support/test_suite.h"
#include "ui/opened_files.h"
#include "ui/user_steps.h"
#include "ui_common/keyed_grid_widget.h"

namespace {

// Amounts by row code, in cents: the listing writes them with the company's two decimals.
using Amounts = std::map<QString, long long>;
long long Cents(double amount) { return std::llround(amount * 100); }

// The statement's rows as the command line lists them for the year.
QJsonArray Cli_Rows(const QString& command_line, const QString& code) {
  QProcess cli;
  cli.start(QString(MALITABLO_PROGRAM_DIR) + "/malitablo-cli",
            {"run", command_line, "--set", "Tablo Kodu=" + code, "--set",
             "Rapor Başlangıç Ayı=Ocak", "--set", "Rapor Bitiş Ayı=Aralık", "--format", "json"});
  EXPECT_TRUE(cli.waitForFinished(60000));
  EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
  return QJsonDocument::fromJson(cli.readAllStandardOutput()).array();
}

Amounts Cli_Amounts(const QString& command_line, const QString& code) {
  Amounts amounts;
  for (const QJsonValue& v : Cli_Rows(command_line, code))
    amounts[v.toObject()["Satir_Kodu"].toString()] = Cents(v.toObject()["Bakiye"].toDouble());
  return amounts;
}

// The demo company opened as the suite opens it, with its run window shown.
std::unique_ptr<FiltreFrm> Open_Run_Window(TestSuite& t, const QString& command_line) {
  t.state.Program_Folder = MALITABLO_PROGRAM_DIR;
  t.state.Movement_Table = "CARIHAREKETLER";
  Parse_Command_Line(t.state, command_line);
  std::unique_ptr<FiltreFrm> w;
  Open_Company(t.state, [&] { w = std::make_unique<FiltreFrm>(t.state); });
  if (w) {
    w->show();
    w->Form_Activate();
  }
  return w;
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
  const std::unique_ptr<FiltreFrm> w = Open_Run_Window(t, command_line);
  ASSERT_TRUE(w);
  QStringList outputs;
  w->Set_Output_Handler([&](const RunOutcome&, const QString& target) { outputs << target; });

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
  // The code typed in lower case runs the table, and the cell shows it as stored.
  grid.Set_Text(grid.Find_Row("FiltreLbl", "Tablo Kodu"), "Baslangic", "yeni");
  grid.Set_Text(grid.Find_Row("FiltreLbl", "Rapor Başlangıç Ayı"), "Baslangic", "Ocak");
  grid.Set_Text(grid.Find_Row("FiltreLbl", "Rapor Bitiş Ayı"), "Baslangic", "Aralık");
  w->Run();
  EXPECT_EQ(outputs, QStringList({"Ekran"}));
  EXPECT_EQ(grid.Text(grid.Find_Row("FiltreLbl", "Tablo Kodu"), "Baslangic"), "YENİ");
  const Amounts from_window = Stored_Amounts(t, "YENİ");
  ASSERT_EQ(from_window.size(), 54u);

  // The command line gives the same amounts, and so does the demo's own statement.
  EXPECT_EQ(Cli_Amounts(command_line, "YENİ"), from_window);
  const Amounts demo = Cli_Amounts(command_line, "GT");
  EXPECT_EQ(demo, from_window);
  EXPECT_NE(from_window.at("C"), 0);

  // "PDF" chosen by its key, F2: the file named after the table and its period is written in
  // the user's output folder, as proposed, and opened.
  OpenedFiles opened;
  w->Set_Output_Handler([&](const RunOutcome& run, const QString& target) {
    Produce_Output(t.state, run.statement, target, w.get());
  });
  w->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
  auto* target = w->findChild<KeyedGridView*>("RaporYeri");
  target->setFocus();
  QTest::keyClick(target, Qt::Key_P);  // opens the cell's list on "PDF"
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  QApplication::processEvents();
  ASSERT_EQ(w->Output_Target(), "PDF");
  QTest::keyClick(w->findChild<KeyedGridView*>("FiltreGrd"), Qt::Key_F2);
  const QString pdf = t.Root() + "/YENİ 01.2026-12.2026.pdf";
  EXPECT_TRUE(QFile::exists(pdf));
  EXPECT_EQ(opened.proposed_paths, QStringList{pdf});
  EXPECT_EQ(opened.paths, QStringList{pdf});
  EXPECT_EQ(t.messages.entries.size(), 1u) << t.messages.Texts().join('\n').toStdString();
}

namespace {

// Opens the row menu with the Menu key and walks `path` (a submenu's caption, then its item)
// with the arrow keys and Enter.
void Choose(MuhMaliTabloTanim* def, QWidget* grid, const QStringList& path) {
  QTest::keyClick(grid, Qt::Key_Menu);
  QMenu* menu = def->Row_Menu();
  ASSERT_TRUE(menu->isVisible());
  for (const QString& caption : path) {
    QList<QAction*> shown;
    for (QAction* a : menu->actions())
      if (a->isVisible() && !a->isSeparator()) shown << a;
    int at = static_cast<int>(shown.indexOf(menu->activeAction()));
    int target = 0;
    while (target < shown.size() && shown[target]->text() != caption) ++target;
    ASSERT_LT(target, shown.size()) << caption.toStdString();
    for (; at < target; ++at) QTest::keyClick(menu, Qt::Key_Down);
    ASSERT_EQ(menu->activeAction(), shown[target]);
    QMenu* sub = shown[target]->menu();
    QTest::keyClick(menu, Qt::Key_Return);
    if (sub) menu = sub;
  }
}

// In the row editor that the menu opened: the code, Enter, the caption.
MuhMaliTabloSatir* Row(const QString& code, const QString& caption) {
  auto* editor = Shown_Window<MuhMaliTabloSatir>();
  EXPECT_NE(editor, nullptr);
  if (!editor) return nullptr;
  QWidget* box = Activate(editor);
  Type(box, code);
  QTest::keyClick(box, Qt::Key_Return);
  Type(QApplication::focusWidget(), caption);
  return editor;
}

}  // namespace

TEST(EditorRun, AStatementBuiltFromScratchByKeysPrintsAsTyped) {
  TestSuite t;
  const QString command_line = t.Make_Demo();
  const std::unique_ptr<FiltreFrm> w = Open_Run_Window(t, command_line);
  ASSERT_TRUE(w);
  EXPECT_TRUE(w->windowTitle().endsWith(" - " + t.state.Company_Name.trimmed()));

  // "Tablo Oluştur", then Insert in the list: a new table, No to the standard definition.
  QTest::keyClick(w->findChild<QPushButton*>("Tablo_OlusturBtn"), Qt::Key_Space);
  auto* list = qobject_cast<MuhMaliTabloListe*>(w->Table_List_Window());
  ASSERT_NE(list, nullptr);
  QTest::keyClick(list->findChild<KeyedGridView*>("TDBG1"), Qt::Key_Insert);
  MuhMaliTabloTanim* def = list->Definition_Window();
  ASSERT_NE(def, nullptr);
  auto* grid = def->findChild<KeyedGridView*>("FisGrd");
  Activate(def);

  // A group, a detail account picked by a lower-case name, another group; a main account typed
  // by hand goes below that group and moves up above it.
  Choose(def, grid, {"GRUP"});
  MuhMaliTabloSatir* editor = Row("A", "Satışlar");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_F2);
  Choose(def, grid, {"TEK HESAP"});
  editor = Row("A.1", "Mağaza satışları");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);  // to the account box
  Type(QApplication::focusWidget(), "6");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);  // no such account: the picker
  auto* picker = Shown_Window<MuhHesapListesi>();
  ASSERT_NE(picker, nullptr);
  QWidget* accounts = Activate(picker);
  QTest::keyClick(accounts, Qt::Key_Right);  // by name
  Type(accounts, "ticari mal s");
  ASSERT_TRUE(QTest::qWaitFor([&] { return picker->Grid().Rows() == 2; }));
  QTest::keyClick(accounts, Qt::Key_Return);
  QApplication::processEvents();
  QTest::keyClick(Activate(editor), Qt::Key_F2);
  Choose(def, grid, {"GRUP"});
  QTest::keyClick(Row("B", "Diğer gelirler")->focusWidget(), Qt::Key_F2);
  Choose(def, grid, {"TEK HESAP"});
  editor = Row("A.2", "İhracat");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
  Type(QApplication::focusWidget(), "601");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_F2);
  QTest::keyClick(grid, Qt::Key_Up, Qt::ControlModifier);
  // Below the moved row: a single rule, and a blank line below the rule.
  Choose(def, grid, {"SAYFA DÜZENİ", "TEK ÇİZGİ"});
  Choose(def, grid, {"SAYFA DÜZENİ", "BOŞ SATIR"});
  QApplication::processEvents();
  const KeyedGrid& rows = grid->Grid();
  QStringList shown;
  for (int r = 1; r < rows.Rows(); ++r)
    shown << grid->model()->index(r - 1, rows.Col_Index("Satir_Kodu")).data().toString() + "|" +
                 grid->model()->index(r - 1, rows.Col_Index("Satir_Tipi")).data().toString();
  EXPECT_EQ(shown, QStringList({"A|GRUP", "A.1|TEK HESAP", "A.2|TEK HESAP", "|TEK ÇİZGİ",
                                "|BOŞ SATIR", "B|GRUP"}));
  EXPECT_EQ(grid->model()->index(1, rows.Col_Index("MHesap_KodBas")).data().toString(), "600.01");

  // F2 with a code and a name, F3, Escape: back in the run window, whose list has the table.
  QTimer::singleShot(0, [] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    QWidget* box = Activate(dialog);
    Type(box, "yeni");
    QTest::keyClick(box, Qt::Key_Return);
    Type(QApplication::focusWidget(), "Yeni tablo");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F2);
  });
  QTest::keyClick(grid, Qt::Key_F2);
  QTest::keyClick(grid, Qt::Key_F3);
  QApplication::processEvents();
  QTest::keyClick(list->findChild<KeyedGridView*>("TDBG1"), Qt::Key_Escape);
  QApplication::processEvents();
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(t.messages.Texts(), QStringList({"Standart Tanımın Getrilmesini İstiyormusunuz."}));
  KeyedGrid& filter = w->Filter_Grid();
  EXPECT_TRUE(filter.Text(filter.Find_Row("FiltreLbl", "Tablo Kodu"), "Secenek")
                  .split('|')
                  .contains("YENİ"));

  // Run, its rows print in the order and case typed.
  const QJsonArray printed = Cli_Rows(command_line, "YENİ");
  QStringList captions, kinds;
  for (const QJsonValue& v : printed) {
    captions << v.toObject()["Satir_Adi"].toString();
    kinds << QString::number(v.toObject()["Satir_Tipi"].toInt());
  }
  EXPECT_EQ(captions,
            QStringList({"Satışlar", "Mağaza satışları", "İhracat", "", "", "Diğer gelirler"}));
  EXPECT_EQ(kinds, QStringList({"1", "2", "2", "8", "6", "1"}));

  // The detail account picked prints the sums of its own ledger lines, counted here apart.
  Recordset lines;
  Open_Recordset(t.state.Db(), lines,
                 "SELECT SUM(BTutar) AS B, SUM(ATutar) AS A FROM MUHFISHAR WHERE "
                 "MHesap_Kod='600.01' AND Islem_Tipi<>'Kapanış Fişi'");
  ASSERT_GT(lines.Number("A"), 0.0);
  const QJsonObject detail = printed.at(1).toObject();
  EXPECT_NEAR(detail["BTutar"].toDouble(), lines.Number("B"), 0.005);
  EXPECT_NEAR(detail["ATutar"].toDouble(), lines.Number("A"), 0.005);
}
