// The audit's rules over a recorded intake, without a database: which accounts the coverage
// check calls left out or counted twice, what a row's breakdown adds up to, the exact running
// sum, and the table's CSV and JSON.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "audit/audit_table.h"
#include "audit/coverage_check.h"
#include "audit/row_breakdown.h"
#include "audit/voucher_lines.h"
#include "model/financial_table.h"
#include "process/app_state.h"
#include "process/messages.h"

namespace {

LineSums Sums(double debit, double credit) {
  LineSums sums;
  sums.debit = debit;
  sums.credit = credit;
  sums.balance = debit - credit;
  sums.lines = 1;
  return sums;
}

TakenAccount Account(const QString& code, double debit, double credit) {
  return {code, Sums(debit, credit)};
}

std::vector<QString> Codes(const std::vector<CoverageAccount>& accounts) {
  std::vector<QString> codes;
  for (const CoverageAccount& a : accounts) codes.push_back(a.code);
  return codes;
}

const std::vector<TakenAccount> kLedger = {Account("100.01", 500, 0), Account("600.01", 0, 100),
                                           Account("600.02", 0, 50), Account("601", 0, 30),
                                           Account("602", 0, 7)};

// Two single-account rows (1: 600, 2: 601) and a total (3) that added both, over kLedger.
CalculationResult Income_Intake() {
  CalculationResult result;
  result.period_accounts = kLedger;
  for (const auto& [id, code] :
       std::map<qint64, QString>{{1, "A.1"}, {2, "A.2"}, {3, "T"}, {4, "Z"}})
    result.intake[id].code = code;
  result.intake[1].accounts = {Account("600.01", 0, 100), Account("600.02", 0, 50)};
  result.intake[2].accounts = {Account("601", 0, 30)};
  result.intake[3].rows = {{1, "A.1", kHesaplamaAdd, Sums(0, 150), 150, {}},
                           {2, "A.2", kHesaplamaAdd, Sums(0, 30), 30, {}}};
  result.intake[3].rows[0].accounts = result.intake[1].accounts;
  result.intake[3].rows[1].accounts = result.intake[2].accounts;
  return result;
}

TEST(AuditCoverage, AnAccountNoRowTakesIsLeftOutWithinTheStatementsClasses) {
  const CoverageReport report = Coverage(kKindIncomeStatement, Income_Intake());
  EXPECT_EQ(Codes(report.left_out), std::vector<QString>{"602"});
  EXPECT_EQ(report.left_out[0].sums.credit, 7);
  EXPECT_EQ(Codes(report.other_classes), std::vector<QString>{"100.01"});
  EXPECT_TRUE(report.doubled.empty());
  EXPECT_EQ(report.accounts, 5);
  EXPECT_EQ(report.taken, 3);
  EXPECT_FALSE(report.Clean());
  // For a balance sheet, whose period result takes the income statement accounts, the same
  // ledger leaves out the 1xx account and 602.
  const CoverageReport sheet = Coverage(kKindBalanceSheet, Income_Intake());
  EXPECT_EQ(Codes(sheet.left_out), (std::vector<QString>{"100.01", "602"}));
  EXPECT_TRUE(sheet.other_classes.empty());
}

TEST(AuditCoverage, TwoRowsTakingOneAccountCountItTwice) {
  CalculationResult result = Income_Intake();
  result.intake[4].accounts = {Account("600.02", 0, 50), Account("601", 0, 30),
                               Account("602", 0, 7)};
  const CoverageReport report = Coverage(kKindIncomeStatement, result);
  EXPECT_EQ(Codes(report.doubled), (std::vector<QString>{"600.02", "601"}));
  EXPECT_EQ(report.doubled[0].rows, QStringList{"A.1, Z"});
  EXPECT_TRUE(report.left_out.empty());
}

TEST(AuditCoverage, ATotalAddingOneRowTwiceCountsItsAccountsTwice) {
  CalculationResult result = Income_Intake();
  result.intake[3].rows.push_back(result.intake[3].rows[1]);
  const CoverageReport report = Coverage(kKindIncomeStatement, result);
  EXPECT_EQ(Codes(report.doubled), std::vector<QString>{"601"});
  EXPECT_EQ(report.doubled[0].rows, QStringList{"T: A.2 + A.2"});
}

TEST(AuditCoverage, ARowOutsideTheAmountDoesNotCountTwice) {
  CalculationResult result = Income_Intake();
  TakenRow shown = result.intake[3].rows[1];
  shown.calc_type = kHesaplamaNone;
  result.intake[3].rows.push_back(shown);
  EXPECT_TRUE(Coverage(kKindIncomeStatement, result).doubled.empty());
}

TEST(AuditCoverage, ClassesOfEachKind) {
  EXPECT_TRUE(In_Statement_Classes(kKindIncomeStatement, " 649.01"));
  EXPECT_FALSE(In_Statement_Classes(kKindIncomeStatement, "590"));
  EXPECT_TRUE(In_Statement_Classes(kKindBalanceSheet, "590"));
  EXPECT_TRUE(In_Statement_Classes(kKindBalanceSheet, "600"));
  EXPECT_FALSE(In_Statement_Classes(kKindBalanceSheet, "700"));
  EXPECT_FALSE(In_Statement_Classes(kKindBalanceSheet, ""));
  // The result accounts, closed through within the year, are never left out.
  for (const int kind : {kKindIncomeStatement, kKindBalanceSheet})
    for (const char* result : {"690", "691.01", "692"})
      EXPECT_FALSE(In_Statement_Classes(kind, result)) << result;
}

TEST(AuditCoverage, UnequalSidesAreAFaultAndWrongSideRowsAWarning) {
  CalculationResult result = Income_Intake();
  result.period_accounts.pop_back();  // nothing of 602: no account left out
  result.period_accounts.erase(result.period_accounts.begin());
  result.reverse_rows = {{1, "A.1", NaturalSide::Credit, 150, true},
                         {2, "A.2", NaturalSide::Credit, 30, false}};
  CoverageReport report = Coverage(kKindIncomeStatement, result);
  EXPECT_TRUE(report.Clean());  // rows on the wrong side are a warning only
  report.sides = SideTotals{1000.004, 1000};
  EXPECT_TRUE(report.Clean());
  const std::map<QString, QString> rows = {{"A.1", QString::fromUtf8("Yurt İçi")}};
  AuditTable table = Coverage_Table(report, kKindBalanceSheet, "B", "", {}, rows);
  EXPECT_TRUE(table.heading.contains(QString::fromUtf8("Sonuç : Eksik ya da mükerrer hesap yok.")));
  EXPECT_EQ(table.notes,
            (QStringList{QString::fromUtf8("Uyarı: A.1 Yurt İçi satırının bakiyesi (150,00) "
                                           "hesaplarının doğal tarafının tersinde."),
                         QString::fromUtf8("Uyarı: A.2 satırının bakiyesi (30,00) hesaplarının "
                                           "doğal tarafının tersinde; satır listelenmedi.")}));
  report.sides = SideTotals{2623256.49, 3831291.65};
  EXPECT_FALSE(report.Clean());
  table = Coverage_Table(report, kKindBalanceSheet, "B", "", {}, rows);
  EXPECT_TRUE(table.heading.contains(
      QString::fromUtf8("Aktif toplamı : 2.623.256,49, pasif toplamı : 3.831.291,65")));
  EXPECT_TRUE(table.heading.contains(QString::fromUtf8("Sonuç : Bilanço denk değil.")));
}

StatementRow Row(int type, int balance_type = kBakiyeTotal, int character = kKarakterEither) {
  StatementRow row;
  row.satir_id = 1;
  row.type = type;
  row.balance_type = balance_type;
  row.character = character;
  return row;
}

TEST(AuditBreakdown, AccountRowsTakeTheAmountRuleOverTheirSums) {
  const CalculationResult result = Income_Intake();
  // Credit accounts: the balance is -150; a credit character prints it negative, either as is.
  EXPECT_EQ(Row_Breakdown(Row(kRowSingleAccount), result).amount, -150);
  EXPECT_EQ(Row_Breakdown(Row(kRowSingleAccount, kBakiyeCredit), result).amount, 150);
  EXPECT_EQ(Row_Breakdown(Row(kRowSingleAccount, kBakiyeTotal, kKarakterDebit), result).amount,
            150);
  // A range row takes the net balance whatever its balance type.
  EXPECT_EQ(Row_Breakdown(Row(kRowAccountRange, kBakiyeCredit), result).amount, -150);
  const RowBreakdown b = Row_Breakdown(Row(kRowSingleAccount), result);
  ASSERT_EQ(b.parts.size(), 2u);
  EXPECT_EQ(b.total.credit, 150);
  EXPECT_EQ(b.total.lines, 2);
}

TEST(AuditBreakdown, GroupsAddAndSubtractTheirRowsValues) {
  CalculationResult result = Income_Intake();
  result.intake[3].rows[1].calc_type = kHesaplamaSubtract;
  result.intake[3].rows.push_back({5, "A.3", kHesaplamaNone, Sums(0, 9), 9, {}});
  StatementRow group = Row(kRowGroup);
  group.satir_id = 3;
  const RowBreakdown b = Row_Breakdown(group, result);
  EXPECT_EQ(b.amount, 150 - 30);
  EXPECT_EQ(b.total.credit, 150 + 30 + 9);  // the debit and credit of every contributing row
  EXPECT_EQ(b.parts.size(), 3u);
  EXPECT_EQ(Breakdown_Accounts(b), (QStringList{"600.01", "600.02", "601"}));
}

TEST(AuditBreakdown, RowsWithoutIntakeShowTheirStoredAmount) {
  StatementRow formula = Row(kRowFormula);
  formula.amount = 42.5;
  formula.formula = "A-B";
  const RowBreakdown b = Row_Breakdown(formula, {});
  EXPECT_EQ(b.kind, BreakdownKind::Formula);
  EXPECT_EQ(b.amount, 42.5);
  // A computed row the calculation did not reach has nothing to show and makes zero.
  StatementRow single = Row(kRowSingleAccount);
  single.amount = 7;
  EXPECT_EQ(Row_Breakdown(single, {}).amount, 0);
  EXPECT_TRUE(Row_Breakdown(single, {}).parts.empty());
}

TEST(AuditBreakdown, TheTableNamesAccountsForTheirVoucherLines) {
  CalculationResult result = Income_Intake();
  StatementRow total = Row(kRowSubtotal);
  total.satir_id = 3;
  const AuditTable table =
      Row_Breakdown_Table(Row_Breakdown(total, result), {{"601", "YURT DIŞI SATIŞLAR"}},
                          {{"A.2", "Dış"}}, "");
  // Two added rows, each with its accounts under it, then the total.
  ASSERT_EQ(table.rows.size(), 2u + 3u + 1u);
  EXPECT_EQ(table.rows[0].account, "");
  EXPECT_EQ(table.rows[1].account, "600.01");
  EXPECT_EQ(table.rows[1].depth, 1);
  EXPECT_EQ(table.rows[3].values[1].toString(), "Dış");
  EXPECT_EQ(table.rows[4].values[1].toString(), "YURT DIŞI SATIŞLAR");
  EXPECT_EQ(table.rows.back().values.back().toDouble(), 180);
}

TEST(AuditVoucherLines, TheExactSumKeepsEveryUnit) {
  ExactSum exact;
  double plain = 0;
  for (int i = 0; i < 100000; ++i) {
    exact.Add(0.1);
    plain += 0.1;
  }
  EXPECT_EQ(exact.Value(), 10000);
  EXPECT_NE(plain, 10000);
  exact.Add(-10000.0001);
  EXPECT_EQ(exact.Value(), -0.0001);
}

TEST(AuditTable, CsvAndJsonCarryAmountsAsNumbers) {
  RecordingMessages messages;
  AppState state(messages);
  AuditTable table;
  table.title = "T";
  table.columns = {{"Kod", "Kod", false, 1000}, {"Tutar", "Tutar", true, 1000}};
  table.rows = {AuditRow({"60,1", 1234.5}), AuditRow({"60\r2", QVariant()})};
  table.notes = {"not"};
  EXPECT_EQ(Audit_Listing(state, table, ListingFormat::Csv),
            QByteArray("Kod,Tutar\r\n\"60,1\",1234.5\r\n\"60\r2\",\r\n"));
  const QJsonObject json =
      QJsonDocument::fromJson(Audit_Listing(state, table, ListingFormat::Json)).object();
  EXPECT_EQ(json["baslik"].toString(), "T");
  EXPECT_EQ(json["satirlar"].toArray()[0].toObject()["Tutar"].toDouble(), 1234.5);
  EXPECT_TRUE(json["satirlar"].toArray()[1].toObject()["Tutar"].isNull());
  EXPECT_EQ(json["notlar"].toArray()[0].toString(), "not");
}

TEST(AuditTable, PagesBreakAndRepeatTheColumnCaptions) {
  RecordingMessages messages;
  AppState state(messages);
  state.Amount_Format = "#,##0.00";
  AuditTable table;
  table.title = "T";
  table.columns = {{"Kod", "Kod", false, 1000}, {"Tutar", "Tutar", true, 1000}};
  for (int i = 0; i < 150; ++i) table.rows.push_back(AuditRow({QString::number(i), i * 1.5}));
  const ReportPages pages = Audit_Pages(state, table);
  ASSERT_GE(pages.pages.size(), 3u);
  int rows = 0;
  for (const ReportPage& page : pages.pages) {
    int captions = 0;
    for (const PageText& text : page.texts) {
      if (text.section == "PageHeader" && text.text == "Tutar") ++captions;
      if (text.section == "Detail" && text.alignment == TextAlign::Right) {
        ++rows;
        EXPECT_LT(text.top + text.height, pages.setup.height);
      }
    }
    EXPECT_EQ(captions, 1) << page.number;
  }
  EXPECT_EQ(rows, 150);
  // A long note is cut at blanks into lines that stay on the page.
  table.rows.clear();
  table.notes = {QString("600.01, ").repeated(40).trimmed()};
  int note_lines = 0;
  QString joined;
  const ReportPages noted = Audit_Pages(state, table);
  for (const PageText& text : noted.pages.back().texts)
    if (text.text.startsWith("600.01")) {
      ++note_lines;
      EXPECT_LE(text.text.size(), 110);
      joined += (joined.isEmpty() ? "" : " ") + text.text;
    }
  EXPECT_EQ(note_lines, 4);  // thirteen codes of eight characters a line
  EXPECT_EQ(joined, table.notes[0]);
}

}  // namespace
