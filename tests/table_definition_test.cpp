// A financial table saved and loaded again: the grids, the row order and numbering, the stored
// values, new row keys on every save, codes with apostrophes, duplicate codes and the failure
// road, and the formula list that loading fills.
#include <gtest/gtest.h>

#include <QSet>

#include "db/query.h"
#include "model/financial_table.h"
#include "model/table_definition.h"
#include "support/test_suite.h"

namespace {

// Appends a row to `grid` from "key=value" pairs and fills its level and display text as the
// row editor does.
void Add(KeyedGrid& grid, const QList<QPair<QString, QString>>& cells) {
  int r = grid.Add_Row();
  for (const auto& [key, value] : cells) grid.Set_Text(r, key, value);
  grid.Set_Text(r, "Satir_Seviyesi", QString::number(Row_Level(grid.Text(r, "Satir_Kodu"))));
  grid.Set_Text(r, "Yazilacak", Display_Text(grid.Text(r, "Satir_Kodu"), grid.Text(r, "Satir_Adi")));
}

QList<QPair<QString, QString>> Options(const QString& h, const QString& b, const QString& k,
                                       const QString& t) {
  return {{"Hesaplama_Tipi", h}, {"Bakiye_Tipi", b}, {"Hesap_Karakteri", k}, {"Ters_Bakiye", t}};
}

// One table with every kind of row over the three grids.
TableDefinition Sample(const QString& code) {
  TableDefinition def;
  def.add_flag = true;
  def.code = code;
  def.name = "Örnek Bilanço";
  def.kind = "1";
  Add(def.FisGrd, QList<QPair<QString, QString>>{{"Satir_Tipi", "1"}, {"Satir_Kodu", "1"}, {"Satir_Adi", " DÖNEN VARLIKLAR"}} +
                      Options("1", "0", "0", "0"));
  Add(def.FisGrd, QList<QPair<QString, QString>>{{"Satir_Tipi", "2"}, {"Satir_Kodu", "1.1"}, {"Satir_Adi", " Kasa"},
                                                 {"MHesap_KodBas", "100"}} +
                      Options("1", "0", "1", "0"));
  Add(def.FisGrd, QList<QPair<QString, QString>>{{"Satir_Tipi", "3"}, {"Satir_Kodu", "1.2"}, {"Satir_Adi", " Alacaklar"},
                                                 {"MHesap_KodBas", "120"}, {"MHesap_KodBit", "129.99"}} +
                      Options("2", "1", "2", "1"));
  Add(def.FisGrd, QList<QPair<QString, QString>>{{"Satir_Tipi", "11"}, {"Satir_Kodu", "2"}, {"Satir_Adi", " Fark"},
                                                 {"Formul", "1-1.2"}} +
                      Options("1", "0", "0", "0"));
  Add(def.FisGrd, QList<QPair<QString, QString>>{{"Satir_Tipi", "9"}, {"Satir_Kodu", "9"}, {"Satir_Adi", " Teminat"},
                                                 {"Tutar", "2500.75"}} +
                      Options("0", "0", "0", "0"));
  Add(def.FisGrd, QList<QPair<QString, QString>>{{"Satir_Tipi", "5"}, {"Satir_Adi", "AKTİF TOPLAMI"}} +
                      Options("1", "0", "0", "0"));
  Add(def.PasifGrd, QList<QPair<QString, QString>>{{"Satir_Tipi", "2"}, {"Satir_Kodu", "3.1"}, {"Satir_Adi", " Satıcılar"},
                                                   {"MHesap_KodBas", " 320 "}} +
                        Options("1", "0", "1", "0"));
  Add(def.PasifGrd, QList<QPair<QString, QString>>{{"Satir_Tipi", "9"}, {"Satir_Kodu", "3.2"}, {"Satir_Adi", " Avans"},
                                                   {"Tutar", "1500"}} +
                        Options("0", "0", "0", "0"));
  Add(def.DipNotGrd, QList<QPair<QString, QString>>{{"Satir_Tipi", "10"}, {"Satir_Adi", "Stoklar ortalama maliyetle."},
                                                    {"Hesaplama_Tipi", "1"}, {"Bakiye_Tipi", "0"},
                                                    {"Hesap_Karakteri", "0"}});
  Add(def.DipNotGrd, QList<QPair<QString, QString>>{{"Satir_Tipi", "9"}, {"Satir_Kodu", "8"}, {"Satir_Adi", " Not"},
                                                    {"Tutar", "75"}} +
                         Options("0", "0", "0", "0"));
  return def;
}

// The cells a load fills, row by row ("key=value" joined), for comparing grids.
QStringList Loaded_Cells(const KeyedGrid& grid) {
  QStringList rows;
  for (int r = 1; r < grid.Rows(); ++r) {
    QStringList cells;
    for (const QString& key : grid.Keys())
      if (key != "Satir_No" && key != "Rapor_Yeri" && key != "Satir_ID")
        cells << key + "=" + grid.Text(r, key);
    rows << cells.join("|");
  }
  return rows;
}

TableDefinition Reload(TestSuite& ts, int32_t table_id) {
  TableDefinition def;
  def.table_id = table_id;
  Open_Rows(ts.state, def);
  Load_Rows(ts.state, def);
  return def;
}

struct StoredRow {
  int place, number, type, id;
  QString code, formula;
  bool amount_null;
  QVariant amount, ters;
};

std::vector<StoredRow> Stored_Rows(TestSuite& ts, int32_t table_id) {
  Recordset rs;
  Open_Recordset(ts.state, rs, Rows_Sql(table_id) + " ORDER BY Satir_ID");
  std::vector<StoredRow> rows;
  for (; !rs.Eof(); rs.Move_Next())
    rows.push_back({rs.Field("Rapor_Yeri").toInt(), rs.Field("Satir_No").toInt(),
                    rs.Field("Satir_Tipi").toInt(), rs.Field("Satir_ID").toInt(), rs.Text("Satir_Kodu"),
                    rs.Is_Null("Formul") ? "<null>" : rs.Text("Formul"), rs.Is_Null("Bakiye"),
                    rs.Field("Bakiye"), rs.Field("Ters_Bakiye")});
  return rows;
}

int Count(TestSuite& ts, const QString& sql) {
  Recordset rs;
  Open_Recordset(ts.state, rs, sql);
  return rs.Field("N").toInt();
}

}  // namespace

TEST(FinancialTableModel, GridLayoutLevelsAndDisplayText) {
  KeyedGrid main = Make_Definition_Grid(kPlaceMain);
  KeyedGrid passive = Make_Definition_Grid(kPlacePassive);
  KeyedGrid footnote = Make_Definition_Grid(kPlaceFootnote);
  EXPECT_EQ(main.Cols(), 16);
  EXPECT_EQ(main.Col_Index("Formul"), 14);
  EXPECT_EQ(main.Col_Index("Yazilacak"), 15);
  EXPECT_EQ(passive.Cols(), 15);
  EXPECT_EQ(passive.Col_Index("Formul"), -1);
  EXPECT_EQ(footnote.Col_Index("Yazilacak"), 14);
  EXPECT_EQ(main.Col_Index("Tutar"), 13);
  for (const KeyedGrid* g : {&main, &passive, &footnote}) {
    EXPECT_EQ(g->Rows(), 1);
    for (int c = 0; c < g->Cols(); ++c) EXPECT_EQ(g->Col_Hidden(c), g->Col_Key(c) != "Yazilacak");
  }
  EXPECT_EQ(main.Text(0, "Yazilacak"), "");
  EXPECT_EQ(passive.Text(0, "Yazilacak"), "PASİFLER");
  EXPECT_EQ(footnote.Text(0, "Yazilacak"), "DİPNOTLAR");

  EXPECT_EQ(Row_Level("7"), 1);
  EXPECT_EQ(Row_Level("7.1"), 2);
  EXPECT_EQ(Row_Level("7.1.2"), 3);
  EXPECT_EQ(Row_Level(""), 1);
  EXPECT_EQ(Row_Level(" 7.1. "), 3);  // counted as typed
  EXPECT_EQ(Display_Text("A", "Assets"), "AAssets");
  EXPECT_EQ(Display_Text("", "AKTİF TOPLAMI"), "AKTİF TOPLAMI");

  EXPECT_EQ(Row_Type_Caption(3), "HESAP ARALIĞI");
  EXPECT_EQ(Row_Type_Caption(10), "DİPNOT EKLE");
  EXPECT_EQ(Row_Type_Caption(7), "");
  EXPECT_EQ(Calc_Option_Caption("Hesap_Karakteri", 2), "Alacak");
  EXPECT_EQ(Calc_Option_Caption("Ters_Bakiye", 2), "");
  EXPECT_EQ(Standard_Definition_File(1), "BILANCO.txt");
  EXPECT_EQ(Standard_Definition_File(3), "");
}

TEST(TableDefinition, SavedTableLoadsIntoTheSameGridsInTheSameOrder) {
  TestSuite ts;
  ts.Connect();
  TableDefinition def = Sample("BL1");
  ASSERT_TRUE(Save_Table(ts.state, def)) << ts.messages.Texts().join("\n").toStdString();
  EXPECT_TRUE(ts.messages.entries.empty());
  EXPECT_GT(def.table_id, 0);
  EXPECT_FALSE(def.add_flag);  // a saved new table is changed from now on

  // Satir_No runs 1..n over placement 1, then 2, then 3, in grid order.
  auto stored = Stored_Rows(ts, def.table_id);
  ASSERT_EQ(stored.size(), 10u);
  const int places[] = {1, 1, 1, 1, 1, 1, 2, 2, 3, 3};
  for (size_t i = 0; i < stored.size(); ++i) {
    EXPECT_EQ(stored[i].number, static_cast<int>(i) + 1);
    EXPECT_EQ(stored[i].place, places[i]);
  }
  EXPECT_EQ(stored[3].formula, "1-1.2");
  EXPECT_EQ(stored[0].formula, "");            // main-grid rows always store their formula cell
  EXPECT_EQ(stored[6].formula, "<null>");      // the other grids never store one
  EXPECT_EQ(stored[9].formula, "<null>");
  EXPECT_TRUE(stored[0].amount_null);          // no amount: Null
  EXPECT_DOUBLE_EQ(stored[4].amount.toDouble(), 2500.75);
  EXPECT_DOUBLE_EQ(stored[9].amount.toDouble(), 75);  // stored, but not shown again (below)
  EXPECT_EQ(stored[8].ters.toInt(), 0);               // empty footnote Ters_Bakiye stored as 0
  EXPECT_FALSE(stored[8].ters.isNull());

  TableDefinition loaded = Reload(ts, def.table_id);
  EXPECT_EQ(Loaded_Cells(loaded.FisGrd), Loaded_Cells(def.FisGrd));
  EXPECT_EQ(loaded.PasifGrd.Text(2, "Tutar"), "1500");
  EXPECT_EQ(loaded.PasifGrd.Text(1, "MHesap_KodBas"), " 320 ");  // passive grid: as stored
  EXPECT_EQ(loaded.DipNotGrd.Rows(), 3);
  EXPECT_EQ(loaded.DipNotGrd.Text(2, "Tutar"), "");              // footnotes show no amount
  EXPECT_EQ(loaded.DipNotGrd.Text(1, "Ters_Bakiye"), "0");
  EXPECT_EQ(loaded.FisGrd.Text(6, "Yazilacak"), "AKTİF TOPLAMI");
  EXPECT_EQ(loaded.FisGrd.Text(2, "Satir_ID").toInt(), stored[1].id);

  // The formula list: one entry per main-grid row, codes of group rows only.
  EXPECT_EQ(ts.state.Row_Count, 10);
  EXPECT_EQ(ts.state.Row_Code_List.value(1), "1");
  EXPECT_EQ(ts.state.Row_Name_List.value(1), "DÖNEN VARLIKLAR");
  EXPECT_EQ(ts.state.Row_Code_List.value(2), "");
  EXPECT_EQ(ts.state.Row_Code_List.value(7), "");  // not a main-grid row

  // Main grid trims codes and account codes on load.
  TableDefinition blanks = Sample("BL2");
  blanks.FisGrd.Set_Text(2, "Satir_Kodu", " 1.1 ");
  blanks.FisGrd.Set_Text(2, "MHesap_KodBas", " 100 ");
  blanks.FisGrd.Set_Text(2, "Satir_Adi", " Kasa   ");
  ASSERT_TRUE(Save_Table(ts.state, blanks));
  TableDefinition again = Reload(ts, blanks.table_id);
  EXPECT_EQ(again.FisGrd.Text(2, "Satir_Kodu"), "1.1");
  EXPECT_EQ(again.FisGrd.Text(2, "MHesap_KodBas"), "100");
  EXPECT_EQ(again.FisGrd.Text(2, "Yazilacak"), "1.1 Kasa");
}

TEST(TableDefinition, EverySaveRewritesTheRowsWithNewKeys) {
  TestSuite ts;
  ts.Connect();
  TableDefinition def = Sample("GT");
  ASSERT_TRUE(Save_Table(ts.state, def));
  QSet<int> first;
  for (const auto& r : Stored_Rows(ts, def.table_id)) first.insert(r.id);

  def.name = "Yeni Ad";
  def.FisGrd.Remove_Row(6);
  ASSERT_TRUE(Save_Table(ts.state, def)) << ts.messages.Texts().join("\n").toStdString();
  auto second = Stored_Rows(ts, def.table_id);
  ASSERT_EQ(second.size(), 9u);
  for (size_t i = 0; i < second.size(); ++i) {
    EXPECT_FALSE(first.contains(second[i].id));
    EXPECT_EQ(second[i].number, static_cast<int>(i) + 1);
  }
  // The second save updated the one header.
  EXPECT_EQ(Count(ts, "SELECT COUNT(*) AS N FROM MUHASEBEMALITABLOKART"), 1);
  Recordset header;
  Open_Recordset(ts.state, header, Header_Sql(def.table_id));
  EXPECT_EQ(header.Text("Rapor_Adi"), "Yeni Ad");
  EXPECT_EQ(header.Field("Rapor_Tipi").toInt(), 1);

  // Delete_Rows removes exactly this table's rows.
  TableDefinition other = Sample("GT2");
  ASSERT_TRUE(Save_Table(ts.state, other));
  Delete_Rows(ts.state, def);
  EXPECT_EQ(Count(ts, "SELECT COUNT(*) AS N FROM MUHASEBEMALITABLOHAREKET"), 10);
}

TEST(TableDefinition, ApostrophesInCodesAndNames) {
  TestSuite ts;
  ts.Connect();
  TableDefinition def = Sample("AHMET'IN");
  def.name = "Ahmet'in Bilançosu";
  def.FisGrd.Set_Text(1, "Satir_Kodu", "1'A");
  def.FisGrd.Set_Text(1, "Satir_Adi", " Kasa'lar");
  ASSERT_TRUE(Save_Table(ts.state, def)) << ts.messages.Texts().join("\n").toStdString();
  EXPECT_TRUE(ts.messages.entries.empty());
  TableDefinition loaded = Reload(ts, def.table_id);
  EXPECT_EQ(loaded.FisGrd.Text(1, "Yazilacak"), "1'A Kasa'lar");
  EXPECT_EQ(ts.state.Row_Code_List.value(1), "1'A");
  Recordset header;
  Open_Recordset(ts.state, header, Header_Sql(def.table_id));
  EXPECT_EQ(header.Text("Rapor_Kodu"), "AHMET'IN");
  EXPECT_EQ(header.Text("Rapor_Adi"), "Ahmet'in Bilançosu");
}

TEST(TableDefinition, DuplicateCodeAndOtherFailures) {
  TestSuite ts;
  ts.Connect();
  TableDefinition first = Sample("GT");
  ASSERT_TRUE(Save_Table(ts.state, first));

  // The same code and kind again: the database's description, then the program's message.
  TableDefinition copy = Sample("GT");
  copy.name = "Kopya";
  EXPECT_FALSE(Save_Table(ts.state, copy));
  ASSERT_EQ(ts.messages.entries.size(), 2u);
  EXPECT_EQ(ts.messages.entries[0].kind, MessageKind::Plain);
  EXPECT_FALSE(ts.messages.entries[0].text.isEmpty());
  EXPECT_EQ(ts.messages.entries[1].kind, MessageKind::Critical);
  EXPECT_EQ(ts.messages.entries[1].text, kDuplicateTableMessage);
  EXPECT_TRUE(copy.add_flag);
  EXPECT_EQ(copy.table_id, 0);
  // Nothing of the copy was written; the first table is whole.
  EXPECT_EQ(Count(ts, "SELECT COUNT(*) AS N FROM MUHASEBEMALITABLOKART"), 1);
  EXPECT_EQ(Count(ts, "SELECT COUNT(*) AS N FROM MUHASEBEMALITABLOHAREKET"), 10);
  EXPECT_EQ(Count(ts, "SELECT COUNT(*) AS N FROM MUHASEBEMALITABLOHAREKET WHERE Rapor_ID=0"), 0);
  EXPECT_EQ(Stored_Rows(ts, first.table_id).size(), 10u);

  // The same code under another kind is another table.
  ts.messages.entries.clear();
  TableDefinition income = Sample("GT");
  income.kind = "2";
  EXPECT_TRUE(Save_Table(ts.state, income));
  EXPECT_NE(income.table_id, first.table_id);

  // A cell that cannot be stored: the two-message road, rows written before it stay.
  TableDefinition broken = Sample("BOZUK");
  broken.PasifGrd.Set_Text(1, "Hesaplama_Tipi", "x");
  EXPECT_FALSE(Save_Table(ts.state, broken));
  ASSERT_EQ(ts.messages.entries.size(), 2u);
  EXPECT_EQ(ts.messages.entries[0].text, "Kayıt Yapılırken BirHata Oluştu.");
  EXPECT_EQ(ts.messages.entries[0].title, "Velora ");
  EXPECT_EQ(ts.messages.entries[1].kind, MessageKind::Critical);
  EXPECT_EQ(ts.messages.entries[1].title, "Hata Detayı");
  EXPECT_TRUE(ts.messages.entries[1].text.contains("Hesaplama_Tipi"));
  EXPECT_EQ(Stored_Rows(ts, broken.table_id).size(), 6u);  // the main grid only
  // Mended, the same window saves again over its own header.
  ts.messages.entries.clear();
  broken.PasifGrd.Set_Text(1, "Hesaplama_Tipi", "1");
  EXPECT_TRUE(Save_Table(ts.state, broken));
  EXPECT_EQ(Stored_Rows(ts, broken.table_id).size(), 10u);

  // A kind that is not a number sends no query.
  TableDefinition odd = Sample("TUR");
  odd.kind = "1 OR 1=1";
  EXPECT_FALSE(Save_Table(ts.state, odd));
  EXPECT_EQ(Count(ts, "SELECT COUNT(*) AS N FROM MUHASEBEMALITABLOKART WHERE Rapor_Kodu='TUR'"), 0);
}

TEST(TableDefinition, AmountsFollowTheSystemSeparators) {
  TestSuite ts;
  ts.Connect();
  ts.state.System_Decimal_Sep = ",";
  ts.state.System_Thousand_Sep = ".";
  TableDefinition def = Sample("TR");
  def.FisGrd.Set_Text(5, "Tutar", "1.234.567,25");
  ASSERT_TRUE(Save_Table(ts.state, def)) << ts.messages.Texts().join("\n").toStdString();
  EXPECT_DOUBLE_EQ(Stored_Rows(ts, def.table_id)[4].amount.toDouble(), 1234567.25);
  EXPECT_EQ(Reload(ts, def.table_id).FisGrd.Text(5, "Tutar"), "1234567,25");
}

TEST(TableDefinition, LoadingAnEmptyTableClearsTheFormulaList) {
  TestSuite ts;
  ts.Connect();
  TableDefinition full = Sample("DOLU");
  ASSERT_TRUE(Save_Table(ts.state, full));
  Reload(ts, full.table_id);
  ASSERT_EQ(ts.state.Row_Count, 10);

  TableDefinition empty = Sample("BOS");
  for (int p : kPlacements) empty.Grid(p).Clear_Rows();
  ASSERT_TRUE(Save_Table(ts.state, empty));
  TableDefinition loaded = Reload(ts, empty.table_id);
  EXPECT_EQ(ts.state.Row_Count, 0);
  EXPECT_TRUE(ts.state.Row_Code_List.isEmpty());
  EXPECT_TRUE(ts.state.Row_Name_List.isEmpty());
  for (int p : kPlacements) EXPECT_EQ(loaded.Grid(p).Rows(), 1);
}

TEST(TableDefinition, OpeningTakesTheGlobalsAndLoadsOrOffersTheStandard) {
  TestSuite ts;
  ts.Connect();
  ts.state.Program_Folder = MALITABLO_PROGRAM_DIR;
  TableDefinition saved = Sample("AC");
  ASSERT_TRUE(Save_Table(ts.state, saved));

  ts.state.Table_ID = saved.table_id;
  ts.state.Table_Code = "AC";
  ts.state.Table_Name = "Örnek Bilanço";
  ts.state.Table_Type = 1;
  ts.state.Add_Mode = false;
  ts.state.View_Mode = true;
  TableDefinition view = Open_Table_Definition(ts.state);
  EXPECT_TRUE(view.view_flag);
  EXPECT_EQ(view.kind, "1");
  EXPECT_EQ(Loaded_Cells(view.FisGrd), Loaded_Cells(saved.FisGrd));
  EXPECT_TRUE(ts.messages.entries.empty());

  ts.state.Table_ID = 0;
  ts.state.Add_Mode = true;
  ts.state.View_Mode = false;
  ts.state.Table_Type = 2;
  TableDefinition declined = Open_Table_Definition(ts.state);  // no answer scripted: No
  ASSERT_EQ(ts.messages.entries.size(), 1u);
  EXPECT_EQ(ts.messages.entries[0].text, "Standart Tanımın Getrilmesini İstiyormusunuz.");
  EXPECT_EQ(declined.FisGrd.Rows(), 1);
  ts.messages.Answer(true);
  TableDefinition accepted = Open_Table_Definition(ts.state);
  EXPECT_GT(accepted.FisGrd.Rows(), 20);
}
