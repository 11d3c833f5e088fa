// Run parameters: the ledger period from the month rows, the level bounds, the display
// options and the workplace of the report header, on a company database.
#include <gtest/gtest.h>

#include "db/connection.h"
#include "db/db_error.h"
#include "db/query.h"
#include "db/recordset.h"
#include "run/filter_conditions.h"
#include "run/master_file.h"
#include "run/parameter_preparation.h"
#include "support/case_file.h"
#include "support/test_suite.h"

namespace {

int Add(KeyedGrid& grid, const QString& caption, const QString& start, const QString& end = {}) {
  const int row = grid.Add_Row();
  grid.Set_Text(row, "FiltreLbl", caption);
  grid.Set_Text(row, "Baslangic", start);
  grid.Set_Text(row, "Bitis", end);
  return row;
}

QString Period(TestSuite& suite, const QString& first, const QString& last, int year = 2026) {
  suite.state.Fiscal_Year_Start = QDate(year, 1, 1);
  KeyedGrid grid = Make_Filter_Grid();
  Add(grid, "Rapor Başlangıç Ayı", first);
  Add(grid, "Rapor Bitiş Ayı", last);
  return Ledger_Condition(Parametreleri_Hazirla(suite.state, grid));
}

}  // namespace

using MonthBounds = CaseFileTest;

TEST_P(MonthBounds, GiveTheLedgerPeriod) {
  TestSuite suite;
  suite.Exec(QString::fromUtf8(
      "INSERT INTO MUHFISHAR (Tarih, Yil, AY, Ay_Index, Islem_Tipi) VALUES "
      "('2026-01-05', '2026', 'Ocak', 1, 'Mahsup Fişi'), ('2026-02-10', '2026', 'Şubat', 2, 'Mahsup Fişi'), "
      "('2026-04-10', '2026', 'Nisan', 4, 'Mahsup Fişi'), "
      "('2026-06-03', '2026', 'Haziran', 7, 'Mahsup Fişi'), "
      "('2026-06-04', '2026', 'Haziran', 6, 'Mahsup Fişi')"));
  suite.Connect();
  for (const CaseLine& line : Read_Case_File(GetParam())) {
    const QStringList& c = line.fields;
    ASSERT_EQ(line.key, "months") << line.Where();
    ASSERT_EQ(c.size(), 4) << line.Where();
    const QString expected =
        " AND MUHFISHAR.Yil='" + c[2] + "'" + (c[3].isEmpty() ? "" : " " + c[3]);
    EXPECT_EQ(Period(suite, c[0], c[1], c[2].toInt()), expected) << line.Where();
  }
  EXPECT_TRUE(suite.messages.entries.empty());
}

INSTANTIATE_TEST_SUITE_P(month_bounds, MonthBounds, testing::ValuesIn(Case_Files("month_bounds")),
                         Case_File_Name);

// Each look-up of the period is a seek on its own index: never a read of every line of a month
// nor a sort of them.
TEST(RunParameters, LookUpsSeekTheirIndex) {
  TestSuite suite;
  suite.Connect();
  const bool pg = suite.On_Postgres();
  // An empty table is read whole at no cost: the planner is told to seek where it can.
  if (pg) suite.state.Db().connection->Execute("SET enable_seqscan = off");
  const QString month = suite.Plan(Month_Number_Sql(QString::fromUtf8("Şubat")));
  const QString opening = suite.Plan(Opening_Date_Sql());
  if (pg) {
    EXPECT_TRUE(month.contains("Index Only Scan using ix_muhfishar_ay")) << month.toStdString();
    EXPECT_TRUE(month.contains("Limit") && !month.contains("Sort")) << month.toStdString();
    EXPECT_TRUE(opening.contains("Index Only Scan using ix_muhfishar_islemtipi"))
        << opening.toStdString();
    EXPECT_TRUE(opening.contains("Index Cond: (islem_tipi = ")) << opening.toStdString();
  } else {
    EXPECT_TRUE(month.contains("SEARCH MUHFISHAR USING COVERING INDEX IX_MUHFISHAR_Ay (AY=?)"))
        << month.toStdString();
    EXPECT_FALSE(month.contains("TEMP B-TREE")) << month.toStdString();
    EXPECT_TRUE(opening.contains(
        "SEARCH MUHFISHAR USING COVERING INDEX IX_MUHFISHAR_IslemTipi (Islem_Tipi=?)"))
        << opening.toStdString();
  }
  EXPECT_TRUE(suite.messages.entries.empty());
}

TEST(RunParameters, MonthLastDay) {
  EXPECT_EQ(Month_Last_Day("02", 2023), "28");
  EXPECT_EQ(Month_Last_Day("02", 2000), "29");
  EXPECT_EQ(Month_Last_Day("02", 1900), "28");
  EXPECT_EQ(Month_Last_Day("11", 2026), "30");
  EXPECT_EQ(Month_Last_Day("08", 2026), "31");
}

TEST(RunParameters, OpeningVoucher) {
  TestSuite suite;
  suite.Exec(
      QString::fromUtf8("INSERT INTO MUHFISHAR (Tarih, Yil, AY, Ay_Index, Islem_Tipi) VALUES "
                        "(NULL, '2026', 'Ocak', 1, 'Açılış Fişi')"));
  suite.Connect();
  // Opening vouchers without a date: the fiscal year start opens the period; nothing closes it.
  EXPECT_EQ(Period(suite, "Açılış", "Açılış"),
            " AND MUHFISHAR.Yil='2026' AND MUHFISHAR.Tarih>='01/01/2026'");
  suite.Exec(QString::fromUtf8(
      "INSERT INTO MUHFISHAR (Tarih, Yil, AY, Ay_Index, Islem_Tipi) VALUES "
      "('2026-01-02', '2026', 'Ocak', 1, 'Açılış Fişi'), ('2026-01-03', '2026', 'Ocak', 1, 'Açılış Fişi')"));
  EXPECT_EQ(Period(suite, "Açılış", "Açılış"),
            " AND MUHFISHAR.Yil='2026' AND MUHFISHAR.Tarih>='01/02/2026' AND "
            "MUHFISHAR.Tarih<'01/03/2026'");
}

TEST(RunParameters, LevelsOptionsAndStatement) {
  RecordingMessages messages;
  AppState state(messages);
  state.Fiscal_Year_Start = QDate(2026, 1, 1);
  state.Base_Sql = "SELECT * FROM T";
  KeyedGrid grid = Make_Filter_Grid();
  const int levels = Add(grid, "Seviye", "2", "3");
  const int moved = Add(grid, "Hareket Görmüşler", "Evet");
  const int notes = Add(grid, "Dipnot Basılsın Mı?", "Evet");
  const int lines = Add(grid, "Satır Çizgisi Ekle", "Hayır");
  Add(grid, "Kapanış Fişi", "Dahil");
  const int comparison = Add(grid, "Karşılaştırma", "Çeyrekler");
  for (int row : {levels, moved, notes, lines}) grid.Set_Text(row, "Girsin", "False");
  RunParameters p = Parametreleri_Hazirla(state, grid);
  EXPECT_EQ(p.statement_sql, "SELECT * FROM T");
  EXPECT_EQ(p.levels.from, "2");
  EXPECT_EQ(p.levels.to, "3");
  // The levels choose the printed rows: the ledger queries do not see them.
  EXPECT_EQ(Ledger_Condition(p), " AND MUHFISHAR.Yil='2026'");
  EXPECT_TRUE(p.print_footnotes);
  EXPECT_FALSE(p.row_lines);
  EXPECT_EQ(p.comparison, Comparison::Quarters);

  grid.Set_Text(levels, "Baslangic", "");
  grid.Set_Text(notes, "Baslangic", QString::fromUtf8("Hayır"));
  grid.Set_Text(lines, "Baslangic", "Evet");
  grid.Set_Text(comparison, "Baslangic", QString::fromUtf8("Önceki Dönem"));
  p = Parametreleri_Hazirla(state, grid);
  EXPECT_EQ(p.comparison, Comparison::PreviousYear);
  EXPECT_EQ(p.levels.from, "");
  EXPECT_EQ(p.levels.to, "3");
  EXPECT_FALSE(p.print_footnotes);
  EXPECT_TRUE(p.row_lines);
  EXPECT_EQ(p.error, "");

  // A level that is not a number: a clear message and no bound.
  grid.Set_Text(levels, "Baslangic", "1; DROP TABLE X");
  p = Parametreleri_Hazirla(state, grid);
  EXPECT_EQ(p.error, QString::fromUtf8(
                         "\"Seviye\" filtresine yalnızca sayı girilebilir; \"1; DROP TABLE X\" "
                         "bir sayı değil."));
  EXPECT_EQ(p.levels.from, "");
  // A wrong date stopping the run with its message is driven in ui/filter_window_test.cpp.
}

TEST(RunParameters, Workplace) {
  TestSuite suite;
  suite.Exec(QString::fromUtf8(
      "INSERT INTO ISYERITANIM (Isyeri_Kodu, Isyeri_Adi) VALUES ('01', 'Merkez')"));
  suite.Connect();
  KeyedGrid grid = Make_Filter_Grid();
  Add(grid, "İşyeri Kodu", "01");
  const int name = Add(grid, "İşyeri Adı", "Hepsi");
  suite.state.Fiscal_Year_Start = QDate(2026, 1, 1);
  RunParameters p = Parametreleri_Hazirla(suite.state, grid);
  EXPECT_EQ(p.workplace_name, "");  // a single workplace is never named
  EXPECT_EQ(p.workplace_code, "");

  suite.Exec(QString::fromUtf8(
      "INSERT INTO ISYERITANIM (Isyeri_Kodu, Isyeri_Adi) VALUES ('02', 'Ankara''nın Şubesi')"));
  grid.Set_Text(name, "Baslangic", QString::fromUtf8("Ankara'nın Şubesi"));
  p = Parametreleri_Hazirla(suite.state, grid);
  EXPECT_EQ(p.workplace_name, QString::fromUtf8("Ankara'nın Şubesi"));  // later row wins
  EXPECT_EQ(p.workplace_code, "02");
  EXPECT_TRUE(Ledger_Condition(p).endsWith(" AND MUHFISHAR.Isyeri_Kodu='02'"));

  // An income statement leaves out the closing vouchers only when the year holds some.
  EXPECT_TRUE(p.closing_vouchers);
  suite.Exec(QString::fromUtf8(
      "INSERT INTO MUHFISHAR (Tarih, Yil, Islem_Tipi) VALUES ('2026-12-31', '2026', "
      "'Kapanış Fişi')"));
  p = Parametreleri_Hazirla(suite.state, grid);
  EXPECT_FALSE(p.closing_vouchers);
  EXPECT_TRUE(Ledger_Condition(p).contains(QString::fromUtf8("Islem_Tipi<>'Kapanış Fişi'")));

  // A ledger without a workplace column: the whole company's figures, and the heading says so.
  suite.Exec("ALTER TABLE MUHFISHAR DROP COLUMN Isyeri_Kodu");
  p = Parametreleri_Hazirla(suite.state, grid);
  EXPECT_EQ(p.workplace_code, "");
  EXPECT_EQ(p.workplace_name, QString::fromUtf8("Tüm şirket (defterde işyeri bilgisi yok)"));
  EXPECT_FALSE(Ledger_Condition(p).contains("Isyeri"));
  EXPECT_TRUE(suite.messages.entries.empty());
}

TEST(RunParameters, AFailedLookUpStopsTheRun) {
  TestSuite suite;
  suite.Exec("ALTER TABLE MUHFISHAR RENAME COLUMN Ay_Index TO Ay_No");
  suite.Connect();
  KeyedGrid grid = Make_Filter_Grid();
  Add(grid, "Rapor Başlangıç Ayı", "Şubat");
  // The statement's own two messages, then no period guessed from the fallback months.
  EXPECT_THROW(Parametreleri_Hazirla(suite.state, grid), DbError);
  EXPECT_EQ(suite.messages.entries.size(), 2u);
}
