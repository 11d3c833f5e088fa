// The calculation's progress and its failure roads: one report before the first row and one
// after each, an empty statement only resets the box, and a failing query or formula ends the
// calculation.
#include <gtest/gtest.h>

#include "calc/formula.h"
#include "calc/ledger_aggregation.h"
#include "db/query.h"
#include "db/recordset.h"
#include "run/run_driver.h"
#include "support/test_suite.h"

namespace {

void Add_Rows(TestSuite& t, int count, int type = 4) {
  t.Exec(
      "INSERT INTO MUHASEBEMALITABLOKART (Rapor_ID, Rapor_Kodu, Rapor_Adi, Rapor_Tipi) VALUES (1,'T','T',2)");
  for (int i = 1; i <= count; ++i)
    t.Exec(
        QString("INSERT INTO MUHASEBEMALITABLOHAREKET (Rapor_ID, Rapor_Yeri, Satir_No, Satir_Tipi, "
                "Satir_Kodu, Formul) VALUES (1, 1, %1, %2, 'K%1', 'K1/K2')")
            .arg(i)
            .arg(type));
}

RunParameters Statement_Query(const QString& sql) {
  RunParameters parameters;
  parameters.period.year = 2026;
  parameters.statement_sql = sql;
  return parameters;
}

}  // namespace

TEST(CalculationRun, ProgressAfterEveryRow) {
  TestSuite t;
  Add_Rows(t, 15);
  t.Connect();
  std::vector<std::pair<int, int>> reports;
  auto progress = [&](int done, int count) { reports.emplace_back(done, count); };
  Tablo_Hesapla(t.state.Db(),
                Statement_Query("SELECT * FROM MUHASEBEMALITABLOHAREKET ORDER BY Satir_No"),
                progress);
  ASSERT_EQ(reports.size(), 16u);  // the reset, then one per row
  EXPECT_EQ(reports[0], std::make_pair(0, -1));
  EXPECT_EQ(reports[6], std::make_pair(6, 15));
  EXPECT_EQ(reports[15], std::make_pair(15, 15));

  // An empty statement resets the box only; the count is not told.
  reports.clear();
  Tablo_Hesapla(t.state.Db(),
                Statement_Query("SELECT * FROM MUHASEBEMALITABLOHAREKET WHERE Rapor_ID=99"),
                progress);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].second, -1);
}

TEST(CalculationRun, FailuresEndTheCalculation) {
  {  // A statement that fails: its two messages, then the calculation ends.
    TestSuite t;
    t.Connect();
    EXPECT_THROW(Tablo_Hesapla(t.state.Db(), Statement_Query("SELECT * FROM YOK_TABLO")), DbError);
    ASSERT_EQ(t.messages.entries.size(), 2u);
    EXPECT_EQ(t.messages.entries[1].text, "SELECT * FROM YOK_TABLO");
  }
  {  // A formula dividing by zero: the rows before it keep their values, it writes nothing.
    TestSuite t;
    Add_Rows(t, 3, 11);
    t.Exec("UPDATE MUHASEBEMALITABLOHAREKET SET Bakiye=7, Formul='' WHERE Satir_No=1");
    t.Exec("UPDATE MUHASEBEMALITABLOHAREKET SET Formul='K3/K1' WHERE Satir_No=2");
    t.Exec("UPDATE MUHASEBEMALITABLOHAREKET SET Satir_Tipi=9, Bakiye=5 WHERE Satir_No=3");
    t.Connect();
    EXPECT_THROW(Tablo_Hesapla(t.state.Db(),
                               Statement_Query(
                                   "SELECT * FROM MUHASEBEMALITABLOHAREKET ORDER BY Satir_No")),
                 FormulaError);
    Recordset rs;
    Open_Recordset(t.state.Db(), rs,
                   "SELECT Bakiye FROM MUHASEBEMALITABLOHAREKET ORDER BY Satir_No");
    EXPECT_EQ(rs.Field("Bakiye").toDouble(), 0);
    rs.Move_Next();
    EXPECT_TRUE(rs.Is_Null("Bakiye"));
  }
}

TEST(CalculationRun, FormulasNamingCodesNoRowHasAreListed) {
  TestSuite t;
  t.Exec(
      "INSERT INTO MUHASEBEMALITABLOKART (Rapor_ID, Rapor_Kodu, Rapor_Adi, Rapor_Tipi) VALUES (1,'T','T',2)");
  t.Exec(
      "INSERT INTO MUHASEBEMALITABLOHAREKET (Rapor_ID, Rapor_Yeri, Satir_No, Satir_Tipi, Satir_Kodu, "
      "Formul, Bakiye) VALUES (1,1,1,9,'A','',10), (1,1,2,9,'B','',4), (1,1,3,9,'C','',NULL), "
      "(1,1,4,11,'F','A-XX*B',NULL), (1,1,5,11,'G','A+C+YY-XX',NULL)");
  t.Connect();
  const CalculationResult result =
      Tablo_Hesapla(t.state.Db(),
                    Statement_Query("SELECT * FROM MUHASEBEMALITABLOHAREKET ORDER BY Satir_No"));
  // The code disappears with its operator: A-XX*B computes A-B. C has a row (no amount): no word.
  Recordset rs;
  Open_Recordset(t.state.Db(), rs,
                 "SELECT Bakiye FROM MUHASEBEMALITABLOHAREKET WHERE Satir_Kodu='F'");
  EXPECT_EQ(rs.Number("Bakiye"), 6);
  ASSERT_EQ(result.unknown_codes.size(), 3u);
  EXPECT_EQ(result.unknown_codes[0].row_code, "F");
  EXPECT_EQ(result.unknown_codes[0].code, "XX");
  EXPECT_EQ(result.unknown_codes[1].row_code, "G");
  EXPECT_EQ(result.unknown_codes[1].code, "YY");
  EXPECT_EQ(result.unknown_codes[2].code, "XX");
  EXPECT_EQ(Unknown_Codes_Text(result).split('\n').value(1),
            QString::fromUtf8("F satırının formülünde: XX"));
}

TEST(CalculationRun, RowIdsBeyondThirtyTwoBits) {
  TestSuite t;
  t.Exec(
      "INSERT INTO MUHASEBEMALITABLOKART (Rapor_ID, Rapor_Kodu, Rapor_Adi, Rapor_Tipi) "
      "VALUES (3000000000,'T','T',2)");
  t.Exec(
      "INSERT INTO MUHASEBEMALITABLOHAREKET (Satir_ID, Rapor_ID, Rapor_Yeri, Satir_No, "
      "Satir_Tipi, Satir_Kodu, Formul, Bakiye) VALUES (5000000001,3000000000,1,1,9,'A','',7), "
      "(5000000002,3000000000,1,2,11,'F','A+A',NULL)");
  t.Connect();
  Tablo_Hesapla(t.state.Db(),
                Statement_Query("SELECT * FROM MUHASEBEMALITABLOHAREKET ORDER BY Satir_No"));
  Recordset rs;
  Open_Recordset(t.state.Db(), rs,
                 "SELECT Bakiye FROM MUHASEBEMALITABLOHAREKET WHERE Satir_Kodu='F'");
  EXPECT_EQ(rs.Number("Bakiye"), 14);
}
