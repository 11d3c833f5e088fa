// Standard definition files: the reader's rules, the two shipped files (code page, levels,
// the balance sheet's options), and the demo companies that store both. The income statement's
// rows, options and ranges are checked through its amounts on the demo ledger by the demo runs
// in statement_run_test.cpp.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>

#include "calc/natural_side.h"
#include "db/suite_text.h"
#include "demo/demo_suite.h"
#include "model/standard_definition.h"
#include "model/table_definition.h"
#include "support/test_suite.h"

namespace {

TableDefinition Standard(int kind, const QString& program_folder = MALITABLO_PROGRAM_DIR) {
  RecordingMessages messages;
  AppState state(messages);
  state.Program_Folder = program_folder;
  TableDefinition def;
  def.kind = QString::number(kind);
  Load_Standard_Definition(state, kind, def);
  EXPECT_TRUE(messages.entries.empty()) << messages.Texts().join("\n").toStdString();
  return def;
}

// The four option codes of a row: Hesaplama_Tipi, Bakiye_Tipi, Hesap_Karakteri, Ters_Bakiye.
QString Options(const KeyedGrid& g, int r) {
  return g.Text(r, "Hesaplama_Tipi") + g.Text(r, "Bakiye_Tipi") + g.Text(r, "Hesap_Karakteri") +
         g.Text(r, "Ters_Bakiye");
}

}  // namespace

TEST(StandardDefinition, FieldsPlacementsAndTheEndLine) {
  TableDefinition def;
  Read_Standard_Definition(
      "1;1;A;Assets;1;1;\r\n"
      "2;11;B;Sum;1;1;1;0;0;0;;;;;A+A.1;ignored after the last field\r\n"
      "3;1;P;Liabilities;1;2;1;0;0;0;;;;1500;\r\n"
      "4;9;P.1;Too many;2;2;0;0;0;0;;;;75;extra;\r\n"
      "5;10;;Note;1;3;\r\n"
      "<END> \r\n"
      "<end>\r\n"
      "6;1;Z;Never read;1;3;\r\n",
      def);
  ASSERT_EQ(def.FisGrd.Rows(), 3);
  EXPECT_EQ(def.FisGrd.Text(1, "Yazilacak"), "AAssets");
  EXPECT_EQ(def.FisGrd.Text(2, "Formul"), "A+A.1");
  EXPECT_EQ(def.FisGrd.Text(2, "Satir_No"), "2");
  ASSERT_EQ(def.PasifGrd.Rows(), 3);
  EXPECT_EQ(def.PasifGrd.Text(1, "Tutar"), "1500");
  EXPECT_EQ(def.PasifGrd.Text(2, "Yazilacak"), "P.1Too many");  // fields past Tutar dropped
  // "<END> " with a blank is a row without fields; "<end>" ends the file.
  ASSERT_EQ(def.DipNotGrd.Rows(), 3);
  EXPECT_EQ(def.DipNotGrd.Text(1, "Yazilacak"), "Note");
  EXPECT_EQ(def.DipNotGrd.Text(2, "Satir_Tipi"), "");

  // A placement that is neither 2 nor 3 keeps the grid in use; the file may end without "<END>".
  TableDefinition odd;
  Read_Standard_Definition("1;1;A;a;1;2;\n2;1;B;b;1;1;\n3;1;C;c;1;7;", odd);
  EXPECT_EQ(odd.FisGrd.Rows(), 1);
  EXPECT_EQ(odd.PasifGrd.Rows(), 4);

  // Kinds without a file load nothing; a missing file is reported.
  RecordingMessages messages;
  AppState state(messages);
  state.Program_Folder = QDir::tempPath() + "/malitablo-no-such-folder";
  TableDefinition other;
  EXPECT_FALSE(Load_Standard_Definition(state, 3, other));
  EXPECT_TRUE(messages.entries.empty());
  EXPECT_FALSE(Load_Standard_Definition(state, 1, other));
  EXPECT_EQ(messages.entries.size(), 1u);
}

TEST(StandardDefinition, ShippedFiles) {
  for (const char* file : {"TORVIKA.txt", "BILANCO.txt"}) {
    SCOPED_TRACE(file);
    QFile f(QDir(MALITABLO_PROGRAM_DIR).filePath(QString(kStandardDefinitionFolder) + "/" + file));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString as_utf8 = utf8(bytes);
    EXPECT_TRUE(utf8.hasError());  // Turkish letters as single Windows-1254 bytes
    const QString text = Decode_Windows1254(bytes);
    EXPECT_TRUE(text.contains("İ"));
    EXPECT_TRUE(text.endsWith("<END>\r\n"));
  }

  // Levels and display texts by the model's rules.
  const TableDefinition income = Standard(kKindIncomeStatement),
                        balance = Standard(kKindBalanceSheet);
  for (const TableDefinition* def : {&income, &balance})
    for (int p : kPlacements)
      for (int r = 1; r < def->Grid(p).Rows(); ++r) {
        const KeyedGrid& g = def->Grid(p);
        EXPECT_EQ(g.Text(r, "Satir_Seviyesi").toInt(), Row_Level(g.Text(r, "Satir_Kodu")));
        EXPECT_EQ(g.Text(r, "Yazilacak"),
                  Display_Text(g.Text(r, "Satir_Kodu"), g.Text(r, "Satir_Adi")));
      }

  // Balance sheet: single accounts, a contra account "(-)" showing minus its balance so that its
  // group and totals deduct it, and the period's result; one grand total per side; no ten
  // siblings, so that no code is the prefix of another's.
  for (int p : {kPlaceMain, kPlacePassive}) {
    const KeyedGrid& b = balance.Grid(p);
    int grand_totals = 0;
    for (int r = 1; r < b.Rows(); ++r) {
      SCOPED_TRACE(b.Text(r, "Yazilacak").toStdString());
      grand_totals += b.Text(r, "Satir_Tipi").toInt() == kRowGrandTotal;
      // The passive side carries the period's result itself: every income statement account in
      // one range under "Kapatılmamış Dönem Kârı (Zararı)", debit minus credit, subtracted.
      if (b.Text(r, "Satir_Tipi").toInt() == kRowAccountRange) {
        EXPECT_EQ(b.Text(r, "Satir_Kodu"), "5.4.3.1");
        EXPECT_EQ(b.Text(r, "MHesap_KodBas") + ".." + b.Text(r, "MHesap_KodBit"), "600..699");
        EXPECT_EQ(Options(b, r), "2000");
        continue;
      }
      if (b.Text(r, "Satir_Tipi").toInt() != kRowSingleAccount) continue;
      const QString classes = p == kPlaceMain ? "12" : "345";
      EXPECT_TRUE(classes.contains(b.Text(r, "MHesap_KodBas").left(1)));
      EXPECT_EQ(Options(b, r), b.Text(r, "Satir_Adi").contains("(-)") ? "1020" : "1010");
    }
    EXPECT_EQ(grand_totals, 1);
    for (int r = 1; r < b.Rows(); ++r)
      for (int o = 1; o < b.Rows(); ++o) {
        const QString code = b.Text(r, "Satir_Kodu"), other = b.Text(o, "Satir_Kodu");
        if (code.isEmpty() || o == r || !other.startsWith(code) || other == code) continue;
        EXPECT_EQ(other.at(code.size()), '.')
            << code.toStdString() << " is a prefix of " << other.toStdString();
      }
  }
}

// The natural sides shipped beside the definitions: every main account of the chart on its
// side, contra accounts on the other one, the result accounts on either.
TEST(StandardDefinition, ShippedNaturalSides) {
  const auto sides = Load_Natural_Sides(MALITABLO_PROGRAM_DIR);
  EXPECT_GT(sides->Size(), 200);
  const std::map<QString, NaturalSide> expected =
      {{"100", NaturalSide::Debit},  {"103", NaturalSide::Credit}, {"257", NaturalSide::Credit},
       {"320", NaturalSide::Credit}, {"371", NaturalSide::Debit},  {"501", NaturalSide::Debit},
       {"580", NaturalSide::Debit},  {"590", NaturalSide::Credit}, {"591", NaturalSide::Debit},
       {"600", NaturalSide::Credit}, {"610", NaturalSide::Debit},  {"645", NaturalSide::Credit},
       {"659", NaturalSide::Debit},  {"690", NaturalSide::Either}, {"692", NaturalSide::Either},
       {"899", NaturalSide::Either}};
  for (const auto& [code, side] : expected)
    EXPECT_EQ(sides->Of_Account(code + ".01"), side) << code.toStdString();
  EXPECT_EQ(sides->Of_Range("64", "649"), NaturalSide::Credit);
  EXPECT_EQ(sides->Of_Range("653", "659.99"), NaturalSide::Debit);
  EXPECT_EQ(sides->Of_Range("600", "699"), NaturalSide::Either);
}

TEST(StandardDefinition, DemoCompaniesStoreBoth) {
  QTemporaryDir dir;
  DemoOptions options;
  options.suite_folder = dir.path();
  options.program_folder = MALITABLO_PROGRAM_DIR;
  Create_Demo_Suite(options);

  for (const char* company : {kDemoCompany, kDemoCompany2}) {
    SCOPED_TRACE(company);
    RecordingMessages messages;
    AppState state(messages);
    state.Db_Connection = std::make_shared<Connection>();
    state.Db_Connection->Open(Demo_Data_Folder(dir.path()), company, "sa", "", false);
    // Both standards, saved under their codes and names, load back unchanged.
    for (auto [kind, code, name] : {std::tuple{kKindIncomeStatement, "GT", "Gelir Tablosu"},
                                    std::tuple{kKindBalanceSheet, "BL", "Bilanço"}}) {
      TableDefinition loaded;
      const QueryResult id = state.Db_Connection->Execute(
          QString(
              "SELECT Rapor_ID FROM MUHASEBEMALITABLOKART WHERE Rapor_Kodu='%1' AND Rapor_Tipi=%2 AND "
              "Rapor_Adi='%3'")
              .arg(code)
              .arg(kind)
              .arg(name));
      ASSERT_EQ(id.rows.size(), 1u) << code;
      loaded.table_id = id.rows[0][0].toInt();
      Open_Rows(state, loaded);
      Load_Rows(state, loaded);
      const TableDefinition standard = Standard(kind);
      for (int p : kPlacements)
        for (int r = 0; r < std::max(standard.Grid(p).Rows(), loaded.Grid(p).Rows()); ++r)
          for (const char* key : {"Satir_Tipi", "Yazilacak", "Satir_Seviyesi", "Hesap_Karakteri",
                                  "MHesap_KodBit", "Formul"})
            EXPECT_EQ(loaded.Grid(p).Text(r, key), standard.Grid(p).Text(r, key))
                << code << " " << r << key;
    }
    EXPECT_TRUE(messages.entries.empty());
  }
}
