// The audit on the demo suite, from the run the window and the command line make: the coverage
// check of both statements, of a copy without an account row and with an overlapping range; the
// breakdown of every row against its printed amount; an account's voucher lines against what
// its row took in. (A check leaving the stored amounts as they were: AuditWindows tests.)
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>
#include <cmath>

#include "app/start_up.h"
#include "audit/coverage_check.h"
#include "audit/row_breakdown.h"
#include "audit/run_audit.h"
#include "audit/voucher_lines.h"
#include "calc/ledger_aggregation.h"
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
    for (const auto& [caption, value] : sets)
      grid.Set_Text(grid.Find_Row("FiltreLbl", caption), "Baslangic", value);
    RunSteps steps;
    steps.record_intake = true;
    steps.keep_amounts = keep_amounts;
    const std::optional<RunOutcome> run = Run_Statement(state, grid, steps);
    ASSERT_TRUE(run) << messages.Texts().join("; ").toStdString();
    output(*run);
  }

  // Filter values of the next runs, by caption.
  std::vector<std::pair<QString, QString>> sets;

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
  // The range from the lowest to the highest of them, in whatever order the engine gave them.
  QString first = domestic.accounts.front().code, last = first;
  for (const TakenAccount& account : domestic.accounts) {
    first = std::min(first, account.code);
    last = std::max(last, account.code);
  }
  Exec(
      "INSERT INTO MUHASEBEMALITABLOHAREKET (Rapor_ID, Rapor_Yeri, Satir_No, Satir_Tipi, "
      "Satir_Kodu, Satir_Adi, Satir_Seviyesi, Hesaplama_Tipi, Bakiye_Tipi, Hesap_Karakteri, "
      "Ters_Bakiye, MHesap_KodBas, MHesap_KodBit) VALUES (" +
      copy + ", 1, 9999, 3, 'Z', 'Aralık', 1, 1, 0, 0, 0, '" + first + "', '" + last + "')");
  const CoverageReport report = Check("GTK");
  std::vector<QString> expected;
  for (const TakenAccount& account : domestic.accounts) expected.push_back(account.code);
  std::vector<QString> doubled = Codes(report.doubled);
  std::sort(expected.begin(), expected.end());
  std::sort(doubled.begin(), doubled.end());
  EXPECT_EQ(doubled, expected);
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

TEST_F(DemoAudit, AWorkplacesFiguresAreItsOwnLines) {
  const QString year = Value("SELECT MAX(Yil) FROM MUHFISHAR");
  auto ledger = [&](const QString& sums, const QString& codes) {
    return Value("SELECT " + sums + " FROM MUHFISHAR WHERE Isyeri_Kodu='02' AND Yil='" + year +
                 "' AND MHesap_Kod LIKE '" + codes + "'")
        .toDouble();
  };
  sets = {{QString::fromUtf8("İşyeri Kodu"), "02"}};
  Run("GT", false, false, [&](const RunOutcome& run) {
    const StatementData rows(run.statement);
    EXPECT_EQ(run.parameters.workplace_name, QString::fromUtf8("Ankara Şube"));
    auto amount = [&](const QString& code, const char* column) {
      return rows.Value(Find_Statement_Row(rows, code), column).toDouble();
    };
    const double sales = ledger("SUM(ATutar)", "600%");
    EXPECT_GT(sales, 0);
    EXPECT_NEAR(amount("A.1", "ATutar"), sales, 0.005);
    EXPECT_NEAR(amount("R5", "Bakiye"), -ledger("SUM(BTutar-ATutar)", "6%"), 0.005);
  });
}

TEST_F(DemoAudit, AMonthsCellBreaksDownThatMonthsLines) {
  const QString year = Value("SELECT MAX(Yil) FROM MUHFISHAR");
  const QDate march(year.toInt(), 3, 1);
  const double sales = Value(
                           "SELECT SUM(ATutar-BTutar) FROM MUHFISHAR WHERE MHesap_Kod LIKE "
                           "'600%' AND Tarih>='" +
                           march.toString("MM/dd/yyyy") + "' AND Tarih<'" +
                           march.addMonths(1).toString("MM/dd/yyyy") + "'")
                           .toDouble();
  EXPECT_GT(sales, 0);
  sets = {{QString::fromUtf8("Karşılaştırma"), "Aylar"}};
  Run("GT", false, false, [&](const RunOutcome& run) {
    const int row = Find_Statement_Row(StatementData(run.statement), "A.1");
    const auto& columns = run.statement.columns;
    const size_t column =
        static_cast<size_t>(std::find_if(columns.begin(), columns.end(),
                                         [](const AmountColumn& c) { return c.title == "Mart"; }) -
                            columns.begin());
    ASSERT_LT(column, columns.size());
    const AuditTable march_table = Breakdown_Of_Run(state, run, row, column);
    EXPECT_NEAR(march_table.rows.back().values.back().toDouble(), sales, 0.005);
    EXPECT_TRUE(march_table.heading.join('\n').contains("31.03." + year + " (Mart)"));
    // The total's cell opens the year's.
    EXPECT_GT(Breakdown_Of_Run(state, run, row, 0).rows.back().values.back().toDouble(), sales + 1);
  });
}

// A copy of the demo whose books hold what real books hold: an overdrawn bank and an overpaid
// supplier, a voucher to 645 and one to the sub-account 659.999, and a year-end closing voucher
// (6xx -> 690 -> 692 -> 590).
class DemoBooks : public DemoAudit {
 protected:
  static void TearDownTestSuite() {
    written_ = false;
    DemoCompanyTest::TearDownTestSuite();
  }
  void SetUp() override {
    DemoAudit::SetUp();
    if (written_) return;
    written_ = true;
    year_ = Value("SELECT MAX(Yil) FROM MUHFISHAR");
    // Keys as the demo gives them (its own numbers, not the engine's).
    for (const char* account : {"645", "690", "692", "659.999"})
      Exec(QString("INSERT INTO MUHKART (MHesap_ID, MHesap_Kod, MHesap_Ad, AnaHesaptir) SELECT "
                   "MAX(MHesap_ID)+1, '%1', 'HESAP %1', %2 FROM MUHKART")
               .arg(account)
               .arg(QString(account).contains('.') ? 0 : 1));
    const double bank = Balance("Ana_Hesap_ID=" + Id("102"));
    const double supplier = Balance("Ana_Hesap_ID=" + Id("320"));
    const double paid = Cents(std::max(bank + 50000, -supplier + 30000));
    Line("12-20", "Tediye Fişi", "320.01", Id("320"), paid, 0);
    Line("12-20", "Tediye Fişi", "102.01", Id("102"), 0, paid);
    Line("11-10", "Mahsup Fişi", "102.02", Id("102"), 1234.56, 0);
    Line("11-10", "Mahsup Fişi", "645", Id("645"), 0, 1234.56);
    Line("11-12", "Mahsup Fişi", "659.999", Id("659"), 777.77, 0);
    Line("11-12", "Mahsup Fişi", "100.01", Id("100"), 0, 777.77);
    // Every 6xx account closed into 690, 690 into 692, 692 into 590 (or 591).
    Recordset rs;
    Open_Recordset(state.Db(), rs,
                   "SELECT MHesap_Kod, MIN(Ana_Hesap_ID) AS Ana, SUM(BTutar-ATutar) AS Bakiye FROM "
                   "MUHFISHAR WHERE MHesap_Kod LIKE '6%' GROUP BY MHesap_Kod");
    std::vector<std::tuple<QString, QString, double>> accounts;
    for (; !rs.Eof(); rs.Move_Next())
      accounts.emplace_back(rs.Text("MHesap_Kod"), rs.Text("Ana"), Cents(rs.Number("Bakiye")));
    double result = 0;
    for (const auto& [code, main, balance] : accounts) {
      Closing_Line(code, main, -balance);
      Closing_Line("690", Id("690"), balance);
      result += balance;
    }
    Closing_Line("690", Id("690"), -result);
    Closing_Line("692", Id("692"), result);
    Closing_Line("692", Id("692"), -result);
    Closing_Line(result < 0 ? "590" : "591", Id(result < 0 ? "590" : "591"), result);
  }

  static double Cents(double value) { return std::round(value * 100) / 100; }
  QString Id(const QString& code) {
    return Value("SELECT MHesap_ID FROM MUHKART WHERE MHesap_Kod='" + code + "'");
  }
  double Balance(const QString& condition) {
    return Value("SELECT SUM(BTutar-ATutar) FROM MUHFISHAR WHERE " + condition).toDouble();
  }
  void Line(const QString& day, const QString& kind, const QString& code, const QString& main_id,
            double debit, double credit) {
    const int month = day.left(2).toInt();
    const char* months[] = {"Ocak",   "Şubat",   "Mart",  "Nisan", "Mayıs", "Haziran",
                            "Temmuz", "Ağustos", "Eylül", "Ekim",  "Kasım", "Aralık"};
    Exec(QString::fromUtf8("INSERT INTO MUHFISHAR (Fis_No, Tarih, Yil, AY, Ay_Index, Islem_Tipi, "
                           "MHesap_Kod, Ana_Hesap_ID, Aciklama, BTutar, ATutar, Isyeri_Kodu) "
                           "VALUES (99999, '%1-%2', '%1', '%3', %4, '%5', '%6', %7, 'Ek', %8, %9, "
                           "'01')")
             .arg(year_, day, QString::fromUtf8(months[month - 1]))
             .arg(month)
             .arg(kind, code, main_id)
             .arg(debit, 0, 'f', 2)
             .arg(credit, 0, 'f', 2));
  }
  // A closing line that moves `balance` (debit positive) onto the account.
  void Closing_Line(const QString& code, const QString& main_id, double balance) {
    Line("12-31", QString::fromUtf8("Kapanış Fişi"), code, main_id, std::max(balance, 0.0),
         std::max(-balance, 0.0));
  }

  static bool written_;
  QString year_;
};

bool DemoBooks::written_ = false;

// The statement's printed columns computed again with one statement per row: both sums sources
// give the same figures.
void Expect_Both_Sources_Agree(AppState& state, const RunParameters& p,
                               const ReportDataSource& rows) {
  auto columns = [&](const ReportDataSource& source) {
    std::vector<std::string> texts;
    for (int r = 0; r < source.Row_Count(); ++r) {
      QString text = source.Value(r, "Satir_Kodu").toString().trimmed();
      for (const char* column : {"BTutar", "ATutar", "Bakiye"})
        text += " " + QString::number(  // to the cent, a sum's -0 as 0
                          std::round(source.Value(r, column).toDouble() * 100) / 100 + 0.0, 'f', 2);
      texts.push_back(text.toStdString());
    }
    return texts;
  };
  CalculationOptions by_query;
  by_query.read_ledger_once = false;
  Tablo_Hesapla(state.Db(), p, {}, by_query);
  const auto queried = columns(Report_Rows(state, p.statement_sql)), once = columns(rows);
  ASSERT_EQ(queried.size(), once.size());
  for (size_t r = 0; r < once.size(); ++r) EXPECT_EQ(queried[r], once[r]);
}

TEST_F(DemoBooks, StatementsHoldOnBooksWithWrongSidesAndAClosedYear) {
  // The income statement leaves the closing voucher out: its result is the ledger's own.
  const double result =
      -Balance("MHesap_Kod LIKE '6%' AND Islem_Tipi<>'" + QString::fromUtf8("Kapanış Fişi") + "'");
  Run("GT", false, false, [&](const RunOutcome& run) {
    const StatementData rows(run.statement);
    EXPECT_NEAR(rows.Value(Find_Statement_Row(rows, "R5"), "Bakiye").toDouble(), result, 0.005);
    const CoverageOutcome check = Coverage_Of_Run(state, run);
    EXPECT_TRUE(check.clean) << S(check.table.heading.join("\n"));
  });
  // The balance sheet balances with the closing voucher (taken by default) and without it,
  // its assets are the ledger's classes 1 and 2, and the check finds nothing wrong.
  const double assets = Balance("(MHesap_Kod LIKE '1%' OR MHesap_Kod LIKE '2%')");
  for (const char* closing : {"Dahil", "Hariç"}) {
    sets = {{QString::fromUtf8("Kapanış Fişi"), QString::fromUtf8(closing)}};
    Run("BL", true, false, [&](const RunOutcome& run) {
      const StatementData rows(run.statement);
      const std::optional<SideTotals> sides = Side_Totals(rows);
      ASSERT_TRUE(sides.has_value());
      EXPECT_NEAR(sides->assets, assets, 0.005) << closing;
      EXPECT_NEAR(sides->liabilities, assets, 0.005) << closing;
      const CoverageOutcome check = Coverage_Of_Run(state, run);
      EXPECT_TRUE(check.clean) << closing << S(check.table.heading.join("\n"));
      // The bank and the supplier stand on their wrong sides, and the check says so.
      EXPECT_EQ(run.calculation.reverse_rows.size(), 2u) << closing;
      EXPECT_EQ(check.table.notes.filter(QString::fromUtf8("Uyarı:")).size(), 2);
      Expect_Both_Sources_Agree(state, run.parameters, rows);
    });
  }
  // The overdrawn bank's row not listed in reverse state: counted 0, and not printed.
  const double bank = Balance("Ana_Hesap_ID=" + Id("102"));
  ASSERT_LT(bank, 0);
  Exec("UPDATE MUHASEBEMALITABLOHAREKET SET Ters_Bakiye=1 WHERE MHesap_KodBas='102'");
  sets.clear();
  Run("BL", true, false, [&](const RunOutcome& run) {
    const StatementData rows(run.statement);
    for (int r = 0; r < rows.Row_Count(); ++r)
      EXPECT_NE(rows.Value(r, "MHesap_KodBas").toString().trimmed(), "102");
    EXPECT_NEAR(Side_Totals(rows)->assets, assets - bank, 0.005);
  });
  Exec("UPDATE MUHASEBEMALITABLOHAREKET SET Ters_Bakiye=0 WHERE MHesap_KodBas='102'");
}

}  // namespace
