// The audit on the demo suite, from the run the window and the command line make: the coverage
// check of both statements, of a copy without an account row and with an overlapping range; the
// breakdown of every row against its printed amount; an account's voucher lines against what
// its row took in; and a check that leaves the stored amounts as they were.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "app/start_up.h"
#include "audit/coverage_check.h"
#include "audit/row_breakdown.h"
#include "audit/voucher_lines.h"
#include "db/connection.h"
#include "db/query.h"
#include "db/recordset.h"
#include "demo/demo_suite.h"
#include "model/financial_table.h"
#include "report/output_format.h"
#include "report/report_data.h"
#include "run/choice_lists.h"
#include "run/master_file.h"
#include "run/run_driver.h"
#include "support/demo_company.h"
#include "support/test_suite.h"

namespace {

std::string S(const QString& text) { return text.toStdString(); }

class DemoAudit : public DemoCompanyTest {
 protected:
  void TearDown() override {
    // Copies made by a test go, so every test sees the demo's own statements.
    Exec(
        "DELETE FROM MUHASEBEMALITABLOHAREKET WHERE Rapor_ID IN (SELECT Rapor_ID FROM "
        "MUHASEBEMALITABLOKART WHERE Rapor_Kodu='GTK')");
    Exec("DELETE FROM MUHASEBEMALITABLOKART WHERE Rapor_Kodu='GTK'");
    DemoCompanyTest::TearDown();
  }

  void Exec(const QString& sql) { state.Db_Connection->Execute(sql); }
  QString Value(const QString& sql) {
    Recordset rs;
    Open_Recordset(state.Db(), rs, sql);
    return rs.Eof() ? QString() : rs.Text(rs.Field_Names().value(0));
  }

  // A run of the statement `code` with its intake, given to `output`. The amounts are kept
  // unless it is a check.
  void Run(const QString& code, bool balance_sheet, bool keep_amounts,
           const std::function<void(const RunOutcome&)>& output) {
    KeyedGrid grid = Make_Filter_Grid();
    Load_Master_File(state, grid);
    FillChoiceLists(state, grid);
    if (balance_sheet) {
      grid.Set_Text(grid.Find_Row("FiltreLbl", QString::fromUtf8("Tablo Türü")), "Baslangic",
                    QString::fromUtf8("Bilanço"));
      Table_Kind_Changed(state, grid);
    }
    grid.Set_Text(grid.Find_Row("FiltreLbl", "Tablo Kodu"), "Baslangic", code);
    RunSteps steps;
    steps.record_intake = true;
    steps.keep_amounts = keep_amounts;
    const std::optional<RunOutcome> run = Run_Statement(state, grid, steps);
    ASSERT_TRUE(run) << messages.Texts().join("; ").toStdString();
    output(*run);
  }

  CoverageReport Check(const QString& code, bool balance_sheet = false) {
    CoverageReport report;
    Run(code, balance_sheet, false,
        [&](const RunOutcome& run) { report = Coverage(run.parameters.kind, run.calculation); });
    return report;
  }

  // A copy GTK of the income statement.
  QString Copy_Income_Statement() {
    Exec(
        "INSERT INTO MUHASEBEMALITABLOKART (Rapor_Kodu, Rapor_Adi, Rapor_Tipi) VALUES ('GTK', "
        "'Kopya', 2)");
    const QString copy = Value("SELECT Rapor_ID FROM MUHASEBEMALITABLOKART WHERE Rapor_Kodu='GTK'");
    const QString original =
        Value("SELECT Rapor_ID FROM MUHASEBEMALITABLOKART WHERE Rapor_Kodu='GT' AND Rapor_Tipi=2");
    const QString columns =
        "Rapor_Yeri, Satir_No, Satir_Tipi, Satir_Kodu, Satir_Adi, Satir_Seviyesi, Hesaplama_Tipi, "
        "Bakiye_Tipi, Hesap_Karakteri, Ters_Bakiye, MHesap_KodBas, MHesap_KodBit, Formul";
    Exec("INSERT INTO MUHASEBEMALITABLOHAREKET (Rapor_ID, " + columns + ") SELECT " + copy + ", " +
         columns + " FROM MUHASEBEMALITABLOHAREKET WHERE Rapor_ID=" + original);
    return copy;
  }

  // What the row of `code` took in on a run of the income statement.
  RowIntake Intake_Of(const QString& code) {
    RowIntake intake;
    Run("GT", false, false, [&](const RunOutcome& run) {
      const StatementData rows(run.statement);
      const int row = Find_Statement_Row(rows, code);
      ASSERT_GE(row, 0) << S(code);
      intake = run.calculation.intake.at(Statement_Row(rows, row).satir_id);
    });
    return intake;
  }
};

std::vector<QString> Codes(const std::vector<CoverageAccount>& accounts) {
  std::vector<QString> codes;
  for (const CoverageAccount& a : accounts) codes.push_back(a.code);
  return codes;
}

TEST_F(DemoAudit, TheDemoStatementsLeaveNothingOutAndCountNothingTwice) {
  const CoverageReport income = Check("GT");
  EXPECT_TRUE(income.Clean()) << Codes(income.left_out).size() << " left out";
  EXPECT_GT(income.taken, 0);
  // The income statement's untaken accounts are all of other classes.
  EXPECT_EQ(income.taken + static_cast<int>(income.other_classes.size()), income.accounts);
  const CoverageReport sheet = Check("BL", true);
  EXPECT_TRUE(sheet.Clean());
  EXPECT_GT(sheet.taken, income.taken);
}

TEST_F(DemoAudit, ACopyWithoutAnAccountRowLeavesExactlyItsAccountsOut) {
  const RowIntake foreign_sales = Intake_Of("A.2");
  ASSERT_FALSE(foreign_sales.accounts.empty());
  const QString copy = Copy_Income_Statement();
  Exec("DELETE FROM MUHASEBEMALITABLOHAREKET WHERE Rapor_ID=" + copy + " AND Satir_Kodu='A.2'");
  const CoverageReport report = Check("GTK");
  ASSERT_EQ(report.left_out.size(), foreign_sales.accounts.size());
  for (size_t i = 0; i < report.left_out.size(); ++i) {
    EXPECT_EQ(report.left_out[i].code, foreign_sales.accounts[i].code);
    EXPECT_EQ(report.left_out[i].sums.credit, foreign_sales.accounts[i].sums.credit);
    EXPECT_EQ(report.left_out[i].sums.lines, foreign_sales.accounts[i].sums.lines);
  }
  EXPECT_TRUE(report.doubled.empty());
}

TEST_F(DemoAudit, AnOverlappingRangeCountsItsAccountsTwice) {
  const RowIntake domestic = Intake_Of("A.1");
  const QString copy = Copy_Income_Statement();
  const QString first = domestic.accounts.front().code, last = domestic.accounts.back().code;
  Exec(
      "INSERT INTO MUHASEBEMALITABLOHAREKET (Rapor_ID, Rapor_Yeri, Satir_No, Satir_Tipi, "
      "Satir_Kodu, Satir_Adi, Satir_Seviyesi, Hesaplama_Tipi, Bakiye_Tipi, Hesap_Karakteri, "
      "Ters_Bakiye, MHesap_KodBas, MHesap_KodBit) VALUES (" +
      copy + ", 1, 9999, 3, 'Z', 'Aralık', 1, 1, 0, 0, 0, '" + first + "', '" + last + "')");
  const CoverageReport report = Check("GTK");
  std::vector<QString> expected;
  for (const TakenAccount& account : domestic.accounts) expected.push_back(account.code);
  EXPECT_EQ(Codes(report.doubled), expected);
  for (const CoverageAccount& account : report.doubled)
    EXPECT_EQ(account.rows, QStringList{"A.1, Z"}) << S(account.code);
  EXPECT_TRUE(report.left_out.empty());
}

TEST_F(DemoAudit, EveryRowsBreakdownMakesItsPrintedAmount) {
  for (const bool balance_sheet : {false, true}) {
    int checked = 0;
    Run(balance_sheet ? "BL" : "GT", balance_sheet, false, [&](const RunOutcome& run) {
      const CalculationResult& result = run.calculation;
      const StatementData rows(run.statement);
      ASSERT_GT(rows.Row_Count(), 10);
      for (int r = 0; r < rows.Row_Count(); ++r) {
        const RowBreakdown b = Row_Breakdown(Statement_Row(rows, r), result);
        const QVariant printed = rows.Value(r, "Bakiye");
        const auto text = [&](double value) {
          return Apply_Output_Format(state.Amount_Format, value);
        };
        EXPECT_EQ(text(b.amount), text(printed.toDouble()))
            << S(b.row.code) << " " << S(b.row.name);
        if (b.kind == BreakdownKind::Accounts || b.kind == BreakdownKind::Rows) {
          ++checked;
          EXPECT_EQ(text(b.total.debit.value_or(0)), text(rows.Value(r, "BTutar").toDouble()))
              << S(b.row.code);
          EXPECT_EQ(text(b.total.credit.value_or(0)), text(rows.Value(r, "ATutar").toDouble()))
              << S(b.row.code);
        }
      }
    });
    EXPECT_GT(checked, 10) << (balance_sheet ? "BL" : "GT");
  }
}

TEST_F(DemoAudit, AnAccountsVoucherLinesAddUpToWhatItsRowTook) {
  Run("GT", false, false, [&](const RunOutcome& run) {
    const RunParameters& p = run.parameters;
    const StatementData rows(run.statement);
    const RowIntake& intake =
        run.calculation.intake.at(Statement_Row(rows, Find_Statement_Row(rows, "A.1")).satir_id);
    ASSERT_FALSE(intake.accounts.empty());
    for (const TakenAccount& account : intake.accounts) {
      const AccountLines lines = Voucher_Lines(state.Db(), p, account.code);
      EXPECT_FALSE(lines.name.isEmpty());
      ASSERT_EQ(static_cast<long long>(lines.lines.size()), account.sums.lines);
      EXPECT_NEAR(lines.credit, account.sums.credit.value_or(0), 0.00005);
      EXPECT_NEAR(lines.lines.back().balance, account.sums.balance.value_or(0), 0.00005);
      EXPECT_EQ(lines.lines.back().balance, lines.balance);
      for (size_t i = 1; i < lines.lines.size(); ++i)
        EXPECT_LE(lines.lines[i - 1].date, lines.lines[i].date);
      EXPECT_TRUE(lines.lines.front().date >= p.period.first_day.value_or(QDate()));
    }
  });
}

TEST_F(DemoAudit, ACheckLeavesTheStoredAmountsAsTheyWere) {
  const QString id =
      Value("SELECT Rapor_ID FROM MUHASEBEMALITABLOKART WHERE Rapor_Kodu='GT' AND Rapor_Tipi=2");
  Exec("UPDATE MUHASEBEMALITABLOHAREKET SET Bakiye=12345 WHERE Rapor_ID=" + id);
  Check("GT");
  EXPECT_EQ(Value("SELECT COUNT(*) FROM MUHASEBEMALITABLOHAREKET WHERE Rapor_ID=" + id +
                  " AND (Bakiye IS NULL OR Bakiye<>12345)"),
            "0");
  // A run that keeps its amounts does change them.
  Run("GT", false, true, [](const RunOutcome&) {});
  EXPECT_NE(Value("SELECT COUNT(*) FROM MUHASEBEMALITABLOHAREKET WHERE Rapor_ID=" + id +
                  " AND Bakiye<>12345"),
            "0");
}

}  // namespace
