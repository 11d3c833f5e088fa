// A statement built row by row in the row editor on the demo ledger: a group with two accounts
// (one looked up by its code, one picked in the picker by name), a group with an account range, a
// subtotal, a footnote line, then, opened again, a formula over the two groups built with the
// operator buttons. Run by the command line, its amounts are the direct sums of the ledger.
#include <gtest/gtest.h>

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
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
#include "support/test_suite.h"
#include "ui/user_steps.h"
#include "ui_common/keyed_grid_widget.h"

namespace {

template <typename W>
W* Top_Level() {
  QApplication::processEvents();
  return Shown_Window<W>();
}

QLineEdit* Box(const char* name) {
  return Top_Level<MuhMaliTabloSatir>()->findChild<QLineEdit*>(name);
}

// Opens the row editor on `item` and types the code and the name.
void Start(MuhMaliTabloTanim* def, const char* item, const QString& code, const QString& name) {
  def->Menu_Item(item);
  auto* editor = Top_Level<MuhMaliTabloSatir>();
  ASSERT_NE(editor, nullptr) << item;
  Activate(editor);
  if (Box("Satir_Kodu")->isVisible()) {
    QTest::mouseClick(Box("Satir_Kodu"), Qt::LeftButton);
    Type(Box("Satir_Kodu"), code);
  }
  Box("Satir_Adi")->setFocus();
  Type(Box("Satir_Adi"), name);
}

void Save_Row() {
  QTest::keyClick(Box("Satir_Adi"), Qt::Key_F2);
  EXPECT_EQ(Top_Level<MuhMaliTabloSatir>(), nullptr);
}

// Picks an account in the picker opened by the `k`th "..." button, searching by code or name.
void Pick(int k, bool by_name, const QString& search) {
  Top_Level<MuhMaliTabloSatir>()->CagirBtn_Click(k);
  auto* picker = Top_Level<MuhHesapListesi>();
  ASSERT_NE(picker, nullptr);
  auto* list = picker->findChild<KeyedGridView*>("TDBG1");
  if (by_name) QTest::keyClick(list, Qt::Key_Right);
  Type(list, search);
  ASSERT_TRUE(QTest::qWaitFor([&] { return picker->Grid().Rows() == 2; }))
      << search.toStdString() << " " << picker->Grid().Rows();
  QTest::keyClick(list, Qt::Key_Return);
  EXPECT_EQ(Top_Level<MuhHesapListesi>(), nullptr);
}

void Save_Table(MuhMaliTabloTanim* def) {
  QTimer::singleShot(0, [] {
    auto* d = qobject_cast<RaporKodAdFrm*>(QApplication::activeModalWidget());
    ASSERT_NE(d, nullptr);
    d->findChild<QLineEdit*>("Tablo_Kod")->setText("YT");
    d->findChild<QLineEdit*>("Tablo_Ad")->setText("YENİ TABLO");
    d->KaydetBtn_Click();
  });
  def->KaydetBtn_Click();
}

std::map<QString, double> Cli_Amounts(const QString& command_line) {
  QProcess cli;
  cli.start(QString(MALITABLO_PROGRAM_DIR) + "/malitablo-cli",
            {"run", command_line, "--set", "Tablo Kodu=YT", "--set", "Rapor Başlangıç Ayı=Ocak",
             "--set", "Rapor Bitiş Ayı=Aralık", "--format", "json"});
  EXPECT_TRUE(cli.waitForFinished(60000));
  EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
  std::map<QString, double> amounts;
  for (const QJsonValue& v : QJsonDocument::fromJson(cli.readAllStandardOutput()).array())
    amounts[v.toObject()["Satir_Kodu"].toString()] = v.toObject()["Bakiye"].toDouble();
  return amounts;
}

double Ledger(TestSuite& t, const QString& where) {
  Recordset rs;
  Open_Recordset(t.state.Db(), rs, "SELECT SUM(BTutar-ATutar) AS S FROM MUHFISHAR WHERE " + where);
  return rs.Field("S").toDouble();
}

}  // namespace

TEST(RowEditorRun, AStatementBuiltRowByRowRunsToTheLedgerSums) {
  TestSuite t;
  const QString command_line = t.Make_Demo();
  t.state.Program_Folder = MALITABLO_PROGRAM_DIR;
  Parse_Command_Line(t.state, command_line);
  bool opened = false;
  Open_Company(t.state, [&] { opened = true; });
  ASSERT_TRUE(opened);

  t.state.Add_Mode = true;
  t.state.View_Mode = false;
  t.state.Table_Type = 2;
  t.state.Table_ID = 0;
  auto* def = new MuhMaliTabloTanim(t.state, nullptr);
  def->show();
  Activate(def);

  Start(def, "MnGrup", "A", "A. BRÜT SATIŞLAR");
  Save_Row();
  // A single account row takes the lines of a main account: 600 by its code and Enter.
  Start(def, "MnHesap", "A.1", "YURT İÇİ");
  Type(Box("MHesap_Kod"), "600");
  QTest::keyClick(Box("MHesap_Kod"), Qt::Key_Return);
  EXPECT_EQ(Box("MHesap_ID")->text().isEmpty(), false);
  Save_Row();
  Start(def, "MnHesap", "A.2", "YURT DIŞI");
  Pick(0, true, "YURT DIŞI S");
  EXPECT_EQ(Box("MHesap_Kod")->text(), "601");
  Save_Row();
  Start(def, "MnGrup", "B", "B. TÜM SATIŞLAR");
  Save_Row();
  Start(def, "MnHesapAraligi", "B.1", "600-602");
  Type(Box("MHesap_KodBas"), "600");
  Pick(2, false, "602");
  EXPECT_EQ(Box("MHesap_KodBit")->text(), "602");
  Save_Row();
  def->findChild<KeyedGridView*>("FisGrd")->Go_To(3, 0);  // below A.2
  Start(def, "MnAraToplam", "", "ARA TOPLAM");
  Save_Row();
  def->Menu_Item("MnDipNot");
  Start(def, "MnDipNotEkle", "", "TUTARLAR TL");
  Save_Row();
  def->Menu_Item("MnDipNot");
  Save_Table(def);
  def->close();
  QApplication::processEvents();
  ASSERT_EQ(t.messages.entries.size(), 1u) << t.messages.Texts().join('\n').toStdString();

  // Opened again, the formula list offers every row with a code, the two groups among them.
  Recordset rs;
  Open_Recordset(t.state.Db(), rs,
                 "SELECT Rapor_ID FROM MUHASEBEMALITABLOKART WHERE Rapor_Kodu='YT'");
  ASSERT_FALSE(rs.Eof());
  t.state.Add_Mode = false;
  t.state.Table_ID = rs.Field("Rapor_ID").toLongLong();
  t.state.Table_Code = "YT";
  t.state.Table_Name = "YENİ TABLO";
  def = new MuhMaliTabloTanim(t.state, nullptr);
  def->show();
  Activate(def);
  t.state.Add_Mode = true;
  auto* main = def->findChild<KeyedGridView*>("FisGrd");
  main->Go_To(main->Grid().Rows() - 1, 0);  // the formula goes last, after what it takes
  Start(def, "MNFormul", "C", "C. FARK");
  auto* editor = Top_Level<MuhMaliTabloSatir>();
  QTest::mouseClick(editor->findChild<QPushButton*>("FormulBtn"), Qt::LeftButton);
  auto* groups = editor->findChild<KeyedGridView*>("HesapAlaniFlx");
  for (const QString code : {"A", "B"}) {
    const int r = groups->Grid().Find_Row("Satir_Kodu", code);
    ASSERT_GT(r, 0) << code.toStdString();
    groups->Go_To(r, 1);
    QTest::mouseDClick(groups->viewport(), Qt::LeftButton, {}, groups->Cell_Rect(r, 1).center());
    if (code == "A") QTest::mouseClick(editor->findChild<QPushButton*>("EksiBtn"), Qt::LeftButton);
  }
  EXPECT_EQ(Box("FormulTxt")->text(), "A-B");
  Save_Row();
  Save_Table(def);
  def->close();
  QApplication::processEvents();

  const auto amounts = Cli_Amounts(command_line);
  const double a1 = Ledger(t, "MHesap_Kod LIKE '600%'");
  const double a2 = Ledger(t, "MHesap_Kod LIKE '601%'");
  const double b1 = Ledger(t, "MHesap_Kod >= '600' AND MHesap_Kod < '603'");
  ASSERT_NE(a1, 0.0);
  ASSERT_NE(b1, a1 + a2);
  EXPECT_NEAR(std::fabs(amounts.at("A.1")), std::fabs(a1), 0.005);
  EXPECT_NEAR(std::fabs(amounts.at("A.2")), std::fabs(a2), 0.005);
  EXPECT_NEAR(std::fabs(amounts.at("A")), std::fabs(a1 + a2), 0.005);
  EXPECT_NEAR(std::fabs(amounts.at("B.1")), std::fabs(b1), 0.005);
  EXPECT_NEAR(amounts.at("C"), amounts.at("A") - amounts.at("B"), 0.005);
  EXPECT_NEAR(std::fabs(amounts.at("C")), std::fabs(b1 - a1 - a2), 0.005);
}
