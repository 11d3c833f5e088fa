// Calculation scenarios: each file under cases/calculation holds a chart of accounts, voucher
// lines, a statement definition and the expected BTutar, ATutar and Bakiye of every row. The
// runner builds a company database from it, computes the statement and compares; each file is
// a test of its own.
//
//   account: CODE | NAME [| MAIN CODE]        a main account, or a sub-account of MAIN
//   line:    ACCOUNT | YYYY-MM-DD | DEBIT | CREDIT [| TYPE]
//   line amounts may be NULL; TYPE "Kapanış Fişi" marks a closing voucher's line
//   period:  FIRST DAY | LAST DAY [| LEVEL FROM | LEVEL TO]   default: the whole year 2026
//   closing: Dahil | Hariç        the closing vouchers in the period (default: Hariç)
//   row:     TYPE | CODE | NAME | CALC | BALANCE | CHARACTER | FROM | TO | FORMULA
//            [| AMOUNT] [| PLACE] [| TERS_BAKIYE]
//   expect:  ROW NUMBER | BTUTAR | ATUTAR | BAKIYE   ("NULL" for an empty column)
//   reverse: ROW NUMBER ...       the rows in reverse state (none when the key is missing)
// Accounts have the natural sides of the table shipped with the program.
#include <gtest/gtest.h>

#include <QDate>
#include <algorithm>
#include <map>

#include "calc/ledger_aggregation.h"
#include "calc/natural_side.h"
#include "db/query.h"
#include "db/recordset.h"
#include "support/case_file.h"
#include "support/test_suite.h"

namespace {

struct Expectation {
  int row;
  QString debit, credit, amount;
};

QString Literal(const QString& value) {
  if (value.isEmpty()) return "NULL";
  return "'" + QString(value).replace("'", "''") + "'";
}

QString Column_Text(const QVariant& v, int decimals = 2) {
  if (v.isNull()) return "NULL";
  return QString::number(v.toDouble(), 'f', decimals);
}

// The debit and credit of what a row took in: its accounts, or the rows it added.
std::vector<QString> Intake_Totals(const RowIntake& intake) {
  LineSums sums;
  for (const TakenAccount& account : intake.accounts) sums += account.sums;
  for (const TakenRow& row : intake.rows) sums += row.sums;
  return {Column_Text(sums.debit.value_or(0), 6), Column_Text(sums.credit.value_or(0), 6)};
}

QString Expected_Text(const QString& v) {
  return v == "NULL" ? v : QString::number(v.toDouble(), 'f', 2);
}

using CalculationCases = CaseFileTest;

TEST_P(CalculationCases, GiveTheExpectedAmounts) {
  TestSuite t;
  const char* months[] = {"Ocak",   "Şubat",   "Mart",  "Nisan", "Mayıs", "Haziran",
                          "Temmuz", "Ağustos", "Eylül", "Ekim",  "Kasım", "Aralık"};
  std::map<QString, int> main_id;
  int next_account = 0;
  int row_number = 0;
  std::vector<Expectation> expected;
  std::vector<int> expected_reverse;
  RunParameters parameters;
  parameters.natural_sides = Load_Natural_Sides(MALITABLO_PROGRAM_DIR);
  ASSERT_GT(parameters.natural_sides->Size(), 200);
  parameters.period = {2026, QDate(2026, 1, 1), QDate(2026, 12, 31)};
  parameters.statement_sql =
      "SELECT * FROM MUHASEBEMALITABLOHAREKET WHERE Rapor_ID=1 ORDER BY Rapor_Yeri, Satir_No";
  t.Exec(
      "INSERT INTO MUHASEBEMALITABLOKART (Rapor_ID, Rapor_Kodu, Rapor_Adi, Rapor_Tipi) "
      "VALUES (1, 'T', 'Deneme', 2)");
  for (const CaseLine& c : Read_Case_File(GetParam())) {
    SCOPED_TRACE(c.Where());
    const QStringList& f = c.fields;
    const QString& key = c.key;
    if (key == "account") {
      int id = ++next_account;
      bool is_main = f.size() < 3;
      main_id[f[0]] = is_main ? id : main_id.at(f[2]);
      t.Exec(QString("INSERT INTO MUHKART (MHesap_ID, MHesap_Kod, MHesap_Ad, AnaHesaptir) VALUES "
                     "(%1, %2, %3, %4)")
                 .arg(id)
                 .arg(Literal(f[0]), Literal(f[1]))
                 .arg(is_main ? 1 : 0));
    } else if (key == "line") {
      // A date, maybe with a time of day after it.
      QDate d = QDate::fromString(f[1].left(10), "yyyy-MM-dd");
      ASSERT_TRUE(d.isValid());
      int ana = main_id.count(f[0]) ? main_id[f[0]] : 999;  // 999: no such account
      t.Exec(
          QString("INSERT INTO MUHFISHAR (Tarih, Yil, AY, Ay_Index, Islem_Tipi, MHesap_Kod, "
                  "Ana_Hesap_ID, BTutar, ATutar) VALUES ('%1', '%2', '%3', %4, %5, %6, %7, %8, %9)")
              .arg(f[1])
              .arg(d.year())
              .arg(months[d.month() - 1])
              .arg(d.month())
              .arg(Literal(f.value(4, "Mahsup Fişi")), Literal(f[0]))
              .arg(ana)
              .arg(f[2], f[3]));
    } else if (key == "period") {
      auto day = [](const QString& text) -> std::optional<QDate> {
        if (text.isEmpty()) return std::nullopt;
        return QDate::fromString(text, "yyyy-MM-dd");
      };
      parameters.period = {2026, day(f[0]), day(f.value(1))};
      if (parameters.period.first_day) parameters.period.year = parameters.period.first_day->year();
      parameters.levels = {f.value(2), f.value(3)};
    } else if (key == "closing") {
      parameters.closing_vouchers = f[0] == "Dahil";
    } else if (key == "reverse") {
      for (const QString& number : f[0].split(' ', Qt::SkipEmptyParts))
        expected_reverse.push_back(number.toInt());
    } else if (key == "row") {
      ++row_number;
      ASSERT_GE(f.size(), 9);
      int level = static_cast<int>(f[1].count('.')) + 1;
      t.Exec(
          QString(
              "INSERT INTO MUHASEBEMALITABLOHAREKET (Rapor_ID, Rapor_Yeri, Satir_No, "
              "Satir_Tipi, Satir_Kodu, Satir_Adi, Satir_Seviyesi, Hesaplama_Tipi, "
              "Bakiye_Tipi, Hesap_Karakteri, Ters_Bakiye, MHesap_KodBas, MHesap_KodBit, "
              "Formul, Bakiye) VALUES (1, %1, %2, %3, %4, %5, %6, %7, %8, %9, %14, %10, %11, %12, "
              "%13)")
              .arg(f.value(10, "1"))
              .arg(row_number)
              .arg(f[0])
              .arg(Literal(f[1]), Literal(f[2]))
              .arg(level)
              .arg(f[3], f[4], f[5])
              .arg(Literal(f[6]), Literal(f[7]), Literal(f[8]))
              .arg(f.value(9).isEmpty() ? "NULL" : f.value(9))
              .arg(f.value(11, "0")));
    } else if (key == "expect") {
      ASSERT_EQ(f.size(), 4);
      expected.push_back({f[0].toInt(), f[1], f[2], f[3]});
    } else {
      FAIL() << "unknown key";
    }
  }
  t.Connect();
  auto computed = [&t](int decimals) {
    Recordset rs;
    Open_Recordset(t.state.Db(), rs, "SELECT * FROM MUHASEBEMALITABLOHAREKET ORDER BY Satir_No");
    std::map<int, std::vector<QString>> rows;
    for (; !rs.Eof(); rs.Move_Next())
      rows[rs.Field("Satir_No").toInt()] = {Column_Text(rs.Field("BTutar"), decimals),
                                            Column_Text(rs.Field("ATutar"), decimals),
                                            Column_Text(rs.Field("Bakiye"), decimals),
                                            rs.Text("Satir_ID")};
    return rows;
  };

  // One statement over the ledger per question, then the period's lines read once: the same
  // figures, and what each row took in adds up to what it got.
  CalculationOptions by_query;
  by_query.read_ledger_once = false;
  Tablo_Hesapla(t.state.Db(), parameters, {}, by_query);
  const auto queried = computed(6);
  t.Exec(
      "UPDATE MUHASEBEMALITABLOHAREKET SET BTutar=NULL, ATutar=NULL, Bakiye=NULL "
      "WHERE Satir_Tipi IN (1, 2, 3, 4, 5, 11)");
  CalculationOptions once;
  once.record_intake = true;
  const CalculationResult result = Tablo_Hesapla(t.state.Db(), parameters, {}, once);
  EXPECT_TRUE(t.messages.entries.empty()) << t.messages.Texts().join("\n").toStdString();
  EXPECT_EQ(computed(6), queried);
  for (const auto& [number, columns] : computed(6)) {
    auto intake = result.intake.find(columns[3].toLongLong());
    if (intake == result.intake.end()) continue;
    EXPECT_EQ(Intake_Totals(intake->second),
              (std::vector<QString>{columns.begin(), columns.begin() + 2}))
        << "row " << number << " takes in other sums than it got";
  }

  // The rows in reverse state, by their number in the file.
  std::vector<int> reverse;
  for (const ReverseRow& row : result.reverse_rows)
    for (const auto& [number, columns] : computed(2))
      if (columns[3].toLongLong() == row.satir_id) reverse.push_back(number);
  std::sort(reverse.begin(), reverse.end());
  EXPECT_EQ(reverse, expected_reverse) << "rows in reverse state";

  const auto actual = computed(2);
  ASSERT_FALSE(expected.empty());
  for (const Expectation& e : expected) {
    const auto& a = actual.at(e.row);
    EXPECT_EQ(a[0].toStdString(), Expected_Text(e.debit).toStdString())
        << "row " << e.row << " BTutar";
    EXPECT_EQ(a[1].toStdString(), Expected_Text(e.credit).toStdString())
        << "row " << e.row << " ATutar";
    EXPECT_EQ(a[2].toStdString(), Expected_Text(e.amount).toStdString())
        << "row " << e.row << " Bakiye";
  }
}

INSTANTIATE_TEST_SUITE_P(calculation, CalculationCases,
                         testing::ValuesIn(Case_Files("calculation")), Case_File_Name);

}  // namespace
