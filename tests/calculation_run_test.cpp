// The calculation's progress and its failure roads: the percentage box turns at 47 (rounded),
// an empty statement only resets the box, and a failing query or formula ends the calculation.
#include <gtest/gtest.h>

#include "calc/formula.h"
#include "calc/ledger_aggregation.h"
#include "db/query.h"
#include "support/test_suite.h"

namespace {

void Add_Rows(TestSuite& t, int count, int type = 4) {
  t.Exec("INSERT INTO MUHASEBEMALITABLOKART (Rapor_ID, Rapor_Kodu, Rapor_Adi, Rapor_Tipi) VALUES (1,'T','T',2)");
  for (int i = 1; i <= count; ++i)
    t.Exec(QString("INSERT INTO MUHASEBEMALITABLOHAREKET (Rapor_ID, Rapor_Yeri, Satir_No, Satir_Tipi, "
                   "Satir_Kodu, Formul) VALUES (1, 1, %1, %2, 'K%1', 'K1/K2')")
               .arg(i)
               .arg(type));
}

}  // namespace

TEST(CalculationRun, ProgressTurnsAtFortySevenPercent) {
  TestSuite t;
  Add_Rows(t, 15);
  t.Connect();
  t.state.Report_Sql = "SELECT * FROM MUHASEBEMALITABLOHAREKET ORDER BY Satir_No";
  std::vector<ProgressReport> reports;
  t.state.Progress = [&](const ProgressReport& r) { reports.push_back(r); };
  Tablo_Hesapla(t.state);
  ASSERT_EQ(reports.size(), 16u);  // the reset, then one per row
  EXPECT_EQ(reports[0].value, 0);
  EXPECT_EQ(reports[0].maximum, -1);
  EXPECT_EQ(reports[6].value, 6);
  EXPECT_EQ(reports[6].maximum, 15);
  EXPECT_EQ(reports[6].percent_text, "40%");
  EXPECT_FALSE(reports[6].highlight);
  EXPECT_EQ(reports[7].percent_text, "46.6666666666667%");  // 46.67 rounds to 47
  EXPECT_TRUE(reports[7].highlight);
  EXPECT_EQ(reports[15].percent_text, "100%");

  // An empty statement resets the box only; the maximum is left as it was.
  reports.clear();
  t.state.Report_Sql = "SELECT * FROM MUHASEBEMALITABLOHAREKET WHERE Rapor_ID=99";
  Tablo_Hesapla(t.state);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].maximum, -1);
}

TEST(CalculationRun, FailuresEndTheCalculation) {
  {  // A statement that fails: its two messages, then the calculation ends.
    TestSuite t;
    t.Connect();
    t.state.Report_Sql = "SELECT * FROM YOK_TABLO";
    EXPECT_THROW(Tablo_Hesapla(t.state), DbError);
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
    t.state.Report_Sql = "SELECT * FROM MUHASEBEMALITABLOHAREKET ORDER BY Satir_No";
    EXPECT_THROW(Tablo_Hesapla(t.state), FormulaError);
    Recordset rs;
    Open_Recordset(t.state.Db(), rs, "SELECT Bakiye FROM MUHASEBEMALITABLOHAREKET ORDER BY Satir_No");
    EXPECT_EQ(rs.Field("Bakiye").toDouble(), 0);
    rs.Move_Next();
    EXPECT_TRUE(rs.Is_Null("Bakiye"));
  }
}
