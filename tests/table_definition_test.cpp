// A financial table saved and loaded again: grids, row order and numbering, stored values, new
// row keys on every save, apostrophes, duplicate codes and the failure road, the formula list.
#include <gtest/gtest.h>

#include <QSet>

#include "db/query.h"
#include "model/financial_table.h"
#include "model/standard_definition.h"
#include "model/table_definition.h"
#include "support/test_suite.h"

namespace {

// Every kind of row over the three grids, in the standard definition file format.
TableDefinition Sample(const QString& code) {
  TableDefinition def;
  def.add_flag = true;
  def.code = code;
  def.name = "Örnek Bilanço";
  def.kind = "1";
  Read_Standard_Definition(
      ";1;1; DÖNEN VARLIKLAR;1;1;1;0;0;0;;;;;;\n"
      ";2;1.1; Kasa;2;1;1;0;1;0;100;;;;;\n"
      ";3;1.2; Alacaklar;2;1;2;1;2;1;120;129.99;;;;\n"
      ";11;2; Fark;1;1;1;0;0;0;;;;;1-1.2;\n"
      ";9;9; Teminat;1;1;0;0;0;0;;;;2500.75;;\n"
      ";5;;AKTİF TOPLAMI;1;1;1;0;0;0;;;;;;\n"
      ";2;3.1; Satıcılar;2;2;1;0;1;0; 320 ;;;;\n"
      ";9;3.2; Avans;2;2;0;0;0;0;;;;1500;\n"
      ";10;;Stoklar ortalama maliyetle.;1;3;1;0;0;;;;;;\n"
      ";9;8; Not;1;3;0;0;0;0;;;;75;\n",
      def);
  return def;
}

// The cells a load fills, row by row, for comparing grids.
QStringList Loaded_Cells(const KeyedGrid& grid) {
  QStringList rows;
  for (int r = 1; r < grid.Rows(); ++r) {
    QStringList cells;
    for (const QString& key : grid.Keys())
      if (key != "Satir_No" && key != "Rapor_Yeri" && key != "Satir_ID") cells << grid.Text(r, key);
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

// Stored rows in insertion order, as "Rapor_Yeri/Satir_No/Formul/Bakiye/Ters_Bakiye".
QStringList Stored(TestSuite& ts, int32_t table_id, QSet<int>* ids = nullptr) {
  Recordset rs;
  Open_Recordset(ts.state.Db(), rs, Rows_Sql(table_id) + " ORDER BY Satir_ID");
  QStringList rows;
  for (; rs.Is_Open() && !rs.Eof(); rs.Move_Next()) {
    auto text = [&](const char* f) { return rs.Is_Null(f) ? QString("N") : rs.Text(f); };
    rows << QStringList{text("Rapor_Yeri"), text("Satir_No"), text("Formul"), text("Bakiye"),
                        text("Ters_Bakiye")}
                .join("/");
    if (ids) ids->insert(rs.Field("Satir_ID").toInt());
  }
  return rows;
}

}  // namespace

TEST(FinancialTableModel, RowLevelsCountTheCodeAsTyped) {
  EXPECT_EQ(Row_Level("7"), 1);
  EXPECT_EQ(Row_Level("7.1"), 2);
  EXPECT_EQ(Row_Level("7.1.2"), 3);
  EXPECT_EQ(Row_Level(""), 1);
  EXPECT_EQ(Row_Level(" 7.1. "), 3);  // counted as typed
}

TEST(TableDefinition, SavedTableLoadsIntoTheSameGridsInTheSameOrder) {
  TestSuite ts;
  ts.Connect();
  TableDefinition def = Sample("BL1");
  ASSERT_TRUE(Save_Table(ts.state, def)) << ts.messages.Texts().join("\n").toStdString();
  EXPECT_TRUE(ts.messages.entries.empty());
  EXPECT_FALSE(def.add_flag);  // a saved new table is changed from now on

  // Satir_No 1..n over placements 1, 2, 3; formulas only in the main grid; amounts or Null;
  // an empty footnote Ters_Bakiye stored as 0.
  QSet<int> first_ids, second_ids;
  EXPECT_EQ(Stored(ts, def.table_id, &first_ids),
            QStringList({"1/1//N/0", "1/2//N/0", "1/3//N/1", "1/4/1-1.2/N/0", "1/5//2500.75/0",
                         "1/6//N/0", "2/7/N/N/0", "2/8/N/1500/0", "3/9/N/N/0", "3/10/N/75/0"}));

  // Opened for viewing: the same grids, and the formula list with one entry per main-grid
  // row, codes and names of group rows only.
  ts.state.Program_Folder = MALITABLO_PROGRAM_DIR;
  ts.state.Table_ID = def.table_id;
  ts.state.Table_Type = 1;
  ts.state.View_Mode = true;
  TableDefinition loaded = Open_Table_Definition(ts.state);
  EXPECT_TRUE(loaded.view_flag);
  EXPECT_EQ(Loaded_Cells(loaded.FisGrd), Loaded_Cells(def.FisGrd));
  EXPECT_EQ(Loaded_Cells(loaded.PasifGrd),
            Loaded_Cells(def.PasifGrd));  // account " 320 " as stored
  EXPECT_EQ(loaded.DipNotGrd.Text(1, "Ters_Bakiye"), "0");
  EXPECT_EQ(loaded.DipNotGrd.Text(2, "Tutar"), "");  // footnotes show no amount
  EXPECT_FALSE(loaded.FisGrd.Text(1, "Satir_ID").isEmpty());
  EXPECT_EQ(ts.state.Row_Count, 10);
  EXPECT_EQ(ts.state.Row_Code_List.value(1), "1");
  EXPECT_EQ(ts.state.Row_Name_List.value(1), "DÖNEN VARLIKLAR");
  EXPECT_EQ(ts.state.Row_Code_List.value(2), "");

  // Every save rewrites the rows with new keys and updates the one header.
  def.name = "Yeni Ad";
  def.FisGrd.Remove_Row(6);
  ASSERT_TRUE(Save_Table(ts.state, def));
  EXPECT_EQ(Stored(ts, def.table_id, &second_ids).size(), 9u);
  EXPECT_FALSE(first_ids.intersects(second_ids));
  EXPECT_EQ(ts.Count("MUHASEBEMALITABLOKART WHERE Rapor_Adi='Yeni Ad'"), 1);
  EXPECT_EQ(ts.Count("MUHASEBEMALITABLOKART"), 1);

  // The main grid trims codes and account codes; names lose trailing blanks only.
  TableDefinition blanks = Sample("BL2");
  blanks.FisGrd.Set_Text(2, "Satir_Kodu", " 1.1 ");
  blanks.FisGrd.Set_Text(2, "MHesap_KodBas", " 100 ");
  blanks.FisGrd.Set_Text(2, "Satir_Adi", " Kasa   ");
  ASSERT_TRUE(Save_Table(ts.state, blanks));
  TableDefinition again = Reload(ts, blanks.table_id);
  EXPECT_EQ(again.FisGrd.Text(2, "MHesap_KodBas"), "100");
  EXPECT_EQ(again.FisGrd.Text(2, "Yazilacak"), "1.1 Kasa");

  // Amounts as the user sees them, in the system's separators.
  ts.state.System_Decimal_Sep = ",";
  ts.state.System_Thousand_Sep = ".";
  TableDefinition turkish = Sample("TR");
  turkish.FisGrd.Set_Text(5, "Tutar", "1.234.567,25");
  ASSERT_TRUE(Save_Table(ts.state, turkish));
  EXPECT_EQ(Stored(ts, turkish.table_id)[4], "1/5//1234567.25/0");
  EXPECT_EQ(Reload(ts, turkish.table_id).FisGrd.Text(5, "Tutar"), "1234567,25");

  // Delete_Rows removes this table's rows only.
  Delete_Rows(ts.state, def);
  EXPECT_EQ(ts.Count("MUHASEBEMALITABLOHAREKET"), 20);

  // A table without rows clears the list the previous table left.
  TableDefinition empty = Sample("BOS");
  for (int p : kPlacements) empty.Grid(p).Clear_Rows();
  ASSERT_TRUE(Save_Table(ts.state, empty));
  Reload(ts, empty.table_id);
  EXPECT_EQ(ts.state.Row_Count, 0);
  EXPECT_TRUE(ts.state.Row_Code_List.isEmpty());
  EXPECT_TRUE(ts.messages.entries.empty());

  // A new table offers the standard definition; no answer scripted is No.
  ts.state.Table_ID = 0;
  ts.state.Add_Mode = true;
  ts.state.Table_Type = 2;
  EXPECT_EQ(Open_Table_Definition(ts.state).FisGrd.Rows(), 1);
  ASSERT_EQ(ts.messages.entries.size(), 1u);
  EXPECT_EQ(ts.messages.entries[0].text, "Standart Tanımın Getrilmesini İstiyormusunuz.");
  ts.messages.Answer(true);
  EXPECT_GT(Open_Table_Definition(ts.state).FisGrd.Rows(), 20);
}

TEST(TableDefinition, RowsLoadInTheirSavedOrderWhateverOrderTheEngineGives) {
  TestSuite ts;
  ts.Connect();
  TableDefinition def = Sample("SIRA");
  ASSERT_TRUE(Save_Table(ts.state, def)) << ts.messages.Texts().join("\n").toStdString();
  // The rows written again in reverse, without the index that hands them out by number: the
  // statement that reads them now gets the last row first.
  const QString id = QString::number(def.table_id);
  const QString columns =
      "Rapor_ID, Rapor_Yeri, Satir_No, Satir_Tipi, Satir_Kodu, Satir_Adi, Satir_Seviyesi, "
      "Hesaplama_Tipi, Bakiye_Tipi, Hesap_Karakteri, Ters_Bakiye, MHesap_KodBas, MHesap_KodBit, "
      "Formul, BTutar, ATutar, Bakiye";
  ts.Exec("DROP INDEX IX_MALITABLOHAREKET_Rapor");
  ts.Exec("DROP INDEX IX_MALITABLOHAREKET_Onek");
  ts.Exec("INSERT INTO MUHASEBEMALITABLOHAREKET (" + columns + ") SELECT " + columns +
          " FROM MUHASEBEMALITABLOHAREKET WHERE Rapor_ID=" + id + " ORDER BY Satir_No DESC");
  ts.Exec(
      "DELETE FROM MUHASEBEMALITABLOHAREKET WHERE Satir_ID IN (SELECT MIN(Satir_ID) FROM "
      "MUHASEBEMALITABLOHAREKET GROUP BY Satir_No)");
  Recordset as_given;
  Open_Recordset(ts.state.Db(), as_given, Rows_Sql(def.table_id));
  ASSERT_EQ(as_given.Record_Count(), 10);
  ASSERT_EQ(as_given.Field("Satir_No").toInt(), 10);

  TableDefinition loaded = Reload(ts, def.table_id);
  EXPECT_EQ(Loaded_Cells(loaded.FisGrd), Loaded_Cells(def.FisGrd));
  EXPECT_EQ(Loaded_Cells(loaded.PasifGrd), Loaded_Cells(def.PasifGrd));
  EXPECT_EQ(loaded.DipNotGrd.Text(2, "Satir_Kodu"), "8");
  EXPECT_EQ(ts.state.Row_Count, 10);
  EXPECT_TRUE(ts.messages.entries.empty()) << ts.messages.Texts().join("\n").toStdString();
}

TEST(TableDefinition, ApostrophesInCodesAndNames) {
  TestSuite ts;
  ts.Connect();
  TableDefinition def = Sample("AHMET'IN");
  def.name = "Ahmet'in Bilançosu";
  def.FisGrd.Set_Text(1, "Satir_Kodu", "1'A");
  ASSERT_TRUE(Save_Table(ts.state, def)) << ts.messages.Texts().join("\n").toStdString();
  EXPECT_TRUE(ts.messages.entries.empty());
  EXPECT_EQ(Reload(ts, def.table_id).FisGrd.Text(1, "Satir_Kodu"), "1'A");
  EXPECT_EQ(ts.Count("MUHASEBEMALITABLOKART WHERE Rapor_Kodu='AHMET''IN' AND "
                     "Rapor_Adi='Ahmet''in Bilançosu'"),
            1);
}

TEST(TableDefinition, DuplicateCodeAndOtherFailures) {
  TestSuite ts;
  ts.Connect();
  TableDefinition first = Sample("GT");
  ASSERT_TRUE(Save_Table(ts.state, first));

  // The same code and kind: the database's description, then the program's message; nothing
  // of the copy is written.
  TableDefinition copy = Sample("GT");
  EXPECT_FALSE(Save_Table(ts.state, copy));
  ASSERT_EQ(ts.messages.entries.size(), 2u);
  EXPECT_EQ(ts.messages.entries[0].kind, MessageKind::Plain);
  EXPECT_FALSE(ts.messages.entries[0].text.isEmpty());
  EXPECT_EQ(ts.messages.entries[1].kind, MessageKind::Critical);
  EXPECT_EQ(ts.messages.entries[1].text, kDuplicateTableMessage);
  EXPECT_TRUE(copy.add_flag);
  EXPECT_EQ(ts.Count("MUHASEBEMALITABLOKART"), 1);
  EXPECT_EQ(ts.Count("MUHASEBEMALITABLOHAREKET"), 10);

  // The same code under another kind is another table.
  ts.messages.entries.clear();
  TableDefinition income = Sample("GT");
  income.kind = "2";
  EXPECT_TRUE(Save_Table(ts.state, income));

  // A cell that cannot be stored: the two-message road; nothing of the new table is stored
  // and it stays new, so the mended table is saved as a new one.
  TableDefinition broken = Sample("BOZUK");
  broken.PasifGrd.Set_Text(1, "Hesaplama_Tipi", "x");
  EXPECT_FALSE(Save_Table(ts.state, broken));
  ASSERT_EQ(ts.messages.entries.size(), 2u);
  EXPECT_EQ(ts.messages.entries[0].text, "Kayıt Yapılırken BirHata Oluştu.");
  EXPECT_EQ(ts.messages.entries[0].title, "Velora ");
  EXPECT_EQ(ts.messages.entries[1].title, "Hata Detayı");
  EXPECT_TRUE(ts.messages.entries[1].text.contains("Hesaplama_Tipi"));
  EXPECT_TRUE(broken.add_flag);
  EXPECT_EQ(broken.table_id, 0);
  EXPECT_EQ(ts.Count("MUHASEBEMALITABLOKART WHERE Rapor_Kodu='BOZUK'"), 0);
  broken.PasifGrd.Set_Text(1, "Hesaplama_Tipi", "1");
  EXPECT_TRUE(Save_Table(ts.state, broken));
  EXPECT_EQ(Stored(ts, broken.table_id).size(), 10u);

  // A kind that is not a number sends no query.
  TableDefinition odd = Sample("TUR");
  odd.kind = "1 OR 1=1";
  EXPECT_FALSE(Save_Table(ts.state, odd));
  EXPECT_EQ(ts.Count("MUHASEBEMALITABLOKART WHERE Rapor_Kodu='TUR'"), 0);
}

namespace {

// Every column of every stored header and row, for comparing the database before and after.
QStringList Everything(TestSuite& ts) {
  QStringList lines;
  for (const char* sql : {"SELECT * FROM MUHASEBEMALITABLOKART ORDER BY Rapor_ID",
                          "SELECT * FROM MUHASEBEMALITABLOHAREKET ORDER BY Satir_ID"}) {
    Recordset rs;
    Open_Recordset(ts.state.Db(), rs, sql);
    for (; rs.Is_Open() && !rs.Eof(); rs.Move_Next()) {
      QStringList cells;
      for (const QString& f : rs.Field_Names())
        cells << (rs.Is_Null(f) ? QString("<N>") : rs.Field(f).toString());
      lines << cells.join("|");
    }
  }
  return lines;
}

}  // namespace

TEST(TableDefinition, ARefusedRowLeavesTheStoredTableAsItWas) {
  TestSuite ts;
  if (ts.On_Postgres()) GTEST_SKIP() << "the refusing trigger is written for the embedded engine";
  ts.Connect();
  TableDefinition def = Sample("BL");
  ASSERT_TRUE(Save_Table(ts.state, def));
  const qint64 id = def.table_id;
  ts.Exec(
      "CREATE TRIGGER refuse BEFORE INSERT ON MUHASEBEMALITABLOHAREKET "
      "WHEN NEW.Satir_Adi = 'RED' BEGIN SELECT RAISE(ABORT, 'satır reddedildi'); END");
  const QStringList before = Everything(ts);

  // A change of an existing table: new name, one row less, and the last row refused.
  def.name = "Değişen Ad";
  def.FisGrd.Remove_Row(2);
  def.DipNotGrd.Set_Text(2, "Satir_Adi", "RED");
  EXPECT_FALSE(Save_Table(ts.state, def));
  EXPECT_EQ(Everything(ts), before);
  EXPECT_EQ(def.table_id, id);
  EXPECT_FALSE(def.add_flag);
  EXPECT_EQ(def.name, "Değişen Ad");  // the window keeps what the user typed
  EXPECT_EQ(def.FisGrd.Rows(), 6);
  EXPECT_TRUE(ts.messages.Texts().join("\n").contains("satır reddedildi"));

  // The same under a new code: no header is left behind.
  TableDefinition copy = def;
  copy.add_flag = true;
  copy.table_id = 0;
  copy.code = "BL2";
  EXPECT_FALSE(Save_Table(ts.state, copy));
  EXPECT_EQ(Everything(ts), before);
  EXPECT_TRUE(copy.add_flag);
  EXPECT_EQ(copy.table_id, 0);

  // A failing statement inside the save (the rows' table gone) ends it the same way.
  ts.messages.entries.clear();
  def.DipNotGrd.Set_Text(2, "Satir_Adi", "Not");
  ts.Exec("ALTER TABLE MUHASEBEMALITABLOHAREKET RENAME TO ESKI");
  EXPECT_FALSE(Save_Table(ts.state, def));
  ts.Exec("ALTER TABLE ESKI RENAME TO MUHASEBEMALITABLOHAREKET");
  EXPECT_EQ(Everything(ts), before);
  EXPECT_TRUE(ts.messages.Texts().contains("Kayıt Yapılırken BirHata Oluştu."));

  // The connection is usable again: the mended table saves.
  ts.messages.entries.clear();
  EXPECT_TRUE(Save_Table(ts.state, def)) << ts.messages.Texts().join("\n").toStdString();
  EXPECT_EQ(ts.Count("MUHASEBEMALITABLOKART WHERE Rapor_Adi='Değişen Ad'"), 1);
  EXPECT_EQ(Stored(ts, id).size(), 9u);
}
