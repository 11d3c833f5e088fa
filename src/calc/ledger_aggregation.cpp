#include "calc/ledger_aggregation.h"

#include <cmath>
#include <set>
#include <tuple>

#include "calc/formula.h"
#include "db/query.h"
#include "db/recordset.h"
#include "db/sql_text.h"
#include "model/financial_table.h"

namespace {

const QString kRow = "MUHASEBEMALITABLOHAREKET";
// The three ledger sums every aggregating query returns.
const QString kSums =
    "SUM(MUHFISHAR.BTutar) as Borc, SUM(MUHFISHAR.ATutar) as Alacak ,SUM(MUHFISHAR.BTutar-MUHFISHAR.ATutar)AS Bakiye";

// Codes are compared as numbers: a stored 1 equals the text "1".
int Code(const Recordset& rs, const QString& column) {
  return static_cast<int>(std::lround(rs.Text(column).trimmed().toDouble()));
}

// A number written bare into SQL must be a number (never an arbitrary text).
QString Bare(const Recordset& rs, const QString& column) {
  QString text = rs.Text(column).trimmed();
  if (!Is_Sql_Number(text))
    throw DbError{kErrStatement, "Satırın " + column + " değeri sayı değil: \"" + text + "\""};
  return text;
}

QString Quoted_Trim(const Recordset& rs, const QString& column) {
  return Sql_Quote_Value(rs.Text(column).trimmed());
}

struct Totals {
  double debit = 0, credit = 0, amount = 0;
  void Clear() { *this = Totals{}; }
};

// Writes a row's three computed columns and commits them at once.
void Write_Amounts(Recordset& out, double debit, double credit, double amount) {
  out.Set_Field("BTutar", debit);
  out.Set_Field("ATutar", credit);
  out.Set_Field("Bakiye", amount);
  out.Update_Batch();
}

// Adds (1) or subtracts (2) a row's value by the amount rule; other types leave it alone.
void Apply_Calculation_Type(double& amount, const Recordset& rs) {
  int calc_type = Code(rs, "Hesaplama_Tipi");
  if (calc_type != kHesaplamaAdd && calc_type != kHesaplamaSubtract) return;
  if (rs.Is_Null("Bakiye")) return;
  QVariant value = Amount_By_Rule(Code(rs, "Bakiye_Tipi"), Code(rs, "Hesap_Karakteri"),
                                  rs.Field("Borc"), rs.Field("Alacak"), rs.Field("Bakiye"));
  if (value.isNull()) return;
  amount += calc_type == kHesaplamaAdd ? value.toDouble() : -value.toDouble();
}

class Calculation {
 public:
  Calculation(const DbSession& db, const RunParameters& parameters,
              const ProgressCallback& progress)
      : db_(db),
        ledger_condition_(Ledger_Condition(parameters)),
        statement_sql_(parameters.statement_sql),
        progress_(progress) {}
  void Run();
  const CalculationResult& Result() const { return result_; }

 private:
  void Group_Row();
  void Single_Account_Row();
  void Range_Row();
  void Total_Row(Totals& totals);
  void Formula_Row();
  QString Range_Query(const QString& from, const QString& to) const;
  // The range query returns one row for every range row of the place that overlaps the range
  // asked for; these find the asking row's own, by its key or by its code and start code, and
  // leave range_sums_ on it. False when it has none (no line in its range).
  bool Find_Own_Range(const QString& satir_id);
  bool Find_Own_Range(const QString& code, const QString& from);
  // The joins from the rows under the current row's code prefix to their main accounts' lines.
  QString Prefix_Rows_With_Lines() const;
  // Opens the row to write into target_ by its key (the current row's when none is given); false
  // when it is not there. A key is a seek on every engine, whatever the size of the table.
  bool Open_Row_By_Id(const QString& satir_id = {});
  QString Place() const { return Bare(rows_, "Rapor_Yeri"); }
  QString Report() const { return Bare(rows_, "Rapor_ID"); }

  const DbSession& db_;
  const QString ledger_condition_;  // appended to every ledger query
  const QString statement_sql_;
  const ProgressCallback& progress_;
  Recordset rows_;          // the statement's rows, walked in order
  Recordset sums_;          // ledger sums of the current row's accounts, or rows listed for it
  Recordset contributing_;  // a group's rows under its prefix with their sums
  Recordset range_sums_;    // ledger sums of one range, or a formula row
  Recordset target_;        // the row the amounts are written into
  CalculationResult result_;
  Totals subtotal_;
  Totals grand_total_;
};

void Calculation::Run() {
  if (progress_) progress_(0, -1);
  Open_Recordset(db_, rows_, statement_sql_);
  if (rows_.Eof()) return;
  const int count = rows_.Record_Count();
  int done = 0;
  for (; !rows_.Eof(); rows_.Move_Next()) {
    switch (Code(rows_, "Satir_Tipi")) {
      case kRowGroup: Group_Row(); break;
      case kRowSingleAccount: Single_Account_Row(); break;
      case kRowAccountRange: Range_Row(); break;
      case kRowSubtotal: Total_Row(subtotal_); break;
      case kRowGrandTotal: Total_Row(grand_total_); break;
      case kRowFormula: Formula_Row(); break;
      default: break;  // fixed amounts, footnotes and page layout rows keep what they have
    }
    if (progress_) progress_(++done, count);
  }
}

QString Calculation::Range_Query(const QString& from, const QString& to) const {
  return "SELECT " + kRow + ".Satir_ID, " + kRow + ".Satir_Tipi, " + kRow + ".Satir_Kodu, " + kRow +
         ".Hesaplama_Tipi, " + kRow + ".Bakiye_Tipi, " + kRow + ".Hesap_Karakteri,  " + kRow +
         ".MHesap_KodBas, " + kSums + " FROM " + kRow + " " + "  LEFT JOIN MUHFISHAR ON( " + kRow +
         ".MHesap_KodBas<=MUHFISHAR.MHesap_Kod AND " + kRow +
         ".MHesap_KodBit >=MUHFISHAR.MHesap_Kod) WHERE  MUHFISHAR.MHesap_Kod>='" + from + "'" +
         "AND MUHFISHAR.MHesap_Kod<='" + to + "'" + " AND " + kRow + ".Rapor_Yeri=" + Place() +
         " AND " + kRow + ".Rapor_ID=" + Report() + " AND " + kRow +
         ".Satir_Tipi=" + QString::number(kRowAccountRange) + " " + ledger_condition_ +
         " GROUP BY " + kRow + ".Satir_ID, " + kRow + ".Satir_Tipi, " + kRow + ".Satir_Kodu, " +
         kRow + ".Hesaplama_Tipi, " + kRow + ".Bakiye_Tipi, " + kRow + ".Hesap_Karakteri," + " " +
         kRow + ".MHesap_KodBas ";
}

QString Calculation::Prefix_Rows_With_Lines() const {
  return "LEFT JOIN MUHKART ON(" + kRow +
         ".MHesap_KodBas=MUHKART.MHesap_Kod) LEFT JOIN MUHFISHAR "
         "ON(MUHKART.MHesap_ID=MUHFISHAR.Ana_Hesap_ID)  WHERE  " +
         Like_Prefix_Condition(kRow + ".Satir_Kodu", rows_.Text("Satir_Kodu").trimmed()) + " AND " +
         kRow + ".Rapor_Yeri=" + Place() + " AND " + kRow + ".Rapor_ID=" + Report();
}

bool Calculation::Open_Row_By_Id(const QString& satir_id) {
  Open_Update_Recordset(db_, target_,
                        "SELECT * FROM " + kRow + " WHERE Satir_ID=" +
                            (satir_id.isEmpty() ? Bare(rows_, "Satir_ID") : satir_id));
  return !target_.Eof();
}

void Calculation::Group_Row() {
  Totals group;
  const QString joins = " FROM " + kRow + " " + Prefix_Rows_With_Lines();

  // Rows under the group's prefix, the group itself included.
  Open_Recordset(db_, contributing_,
                 "SELECT " + kRow + ".Satir_Kodu, " + kRow + ".Hesaplama_Tipi, " + kRow +
                     ".Bakiye_Tipi, " + kRow + ".Hesap_Karakteri, " + kSums + " " + joins +
                     ledger_condition_ + "  GROUP BY " + kRow + ".Satir_Kodu, " + kRow +
                     ".Hesaplama_Tipi, " + kRow + ".Bakiye_Tipi, " + kRow +
                     ".Hesap_Karakteri ORDER BY  " + kRow + ".Satir_Kodu");

  // Range rows under the group: each one counted once, through its own range only.
  Open_Recordset(db_, sums_,
                 "SELECT " + kRow + ".Satir_Kodu, " + kRow + ".MHesap_KodBas," + kRow +
                     ".MHesap_KodBit," + kRow + ".Hesaplama_Tipi, " + kRow + ".Bakiye_Tipi, " +
                     kRow + ".Hesap_Karakteri " + joins + "  AND " + kRow + ".Satir_Tipi=" +
                     QString::number(kRowAccountRange) + " ORDER BY " + kRow + ".Satir_Kodu");
  std::set<std::tuple<QString, QString, QString>> seen;
  std::set<QString> range_codes;
  for (Recordset& listed = sums_; !listed.Eof(); listed.Move_Next()) {
    const QString code = listed.Text("Satir_Kodu").trimmed();
    const QString from = listed.Text("MHesap_KodBas").trimmed();
    range_codes.insert(code);
    if (!seen.insert({code, from, listed.Text("MHesap_KodBit").trimmed()}).second) continue;
    Open_Recordset(db_, range_sums_,
                   Range_Query(Quoted_Trim(listed, "MHesap_KodBas"),
                               Quoted_Trim(listed, "MHesap_KodBit")));
    if (!Find_Own_Range(code, from)) continue;
    const Recordset& sums = range_sums_;
    if (!sums.Is_Null("Borc")) group.debit += sums.Number("Borc");
    if (!sums.Is_Null("Alacak")) group.credit += sums.Number("Alacak");
    Apply_Calculation_Type(group.amount, sums);
  }

  // The other rows under the prefix add their own lines; a range row's start code is no
  // contribution of its own.
  for (Recordset& rs = contributing_; !rs.Eof(); rs.Move_Next()) {
    if (range_codes.count(rs.Text("Satir_Kodu").trimmed())) continue;
    if (!rs.Is_Null("Borc")) group.debit += rs.Number("Borc");
    if (!rs.Is_Null("Alacak")) group.credit += rs.Number("Alacak");
    Apply_Calculation_Type(group.amount, rs);
  }

  if (Open_Row_By_Id()) Write_Amounts(target_, group.debit, group.credit, group.amount);
}

void Calculation::Single_Account_Row() {
  Open_Recordset(db_, sums_,
                 "SELECT " + kRow + ".Satir_ID, " + kRow + ".Satir_Kodu, " + kRow +
                     ".Hesaplama_Tipi, " + kRow + ".Bakiye_Tipi, " + kRow + ".Hesap_Karakteri,  " +
                     kRow + ".MHesap_KodBas, " + kSums + " FROM " + kRow + " " + " " +
                     Prefix_Rows_With_Lines() + ledger_condition_ + " GROUP BY " + kRow +
                     ".Satir_ID, " + kRow + ".Satir_Kodu, " + kRow + ".Hesaplama_Tipi, " + kRow +
                     ".Bakiye_Tipi, " + kRow + ".Hesap_Karakteri," + " " + kRow +
                     ".MHesap_KodBas ");
  Recordset& sums = sums_;
  if (sums.Eof()) {
    // No voucher line in the period: the row itself gets zeros.
    if (Open_Row_By_Id()) Write_Amounts(target_, 0, 0, 0);
    return;
  }
  for (; !sums.Eof(); sums.Move_Next()) {
    if (!Open_Row_By_Id(Bare(sums, "Satir_ID"))) continue;
    double debit = 0, credit = 0;
    if (!sums.Is_Null("Borc")) {
      debit = sums.Number("Borc");
      subtotal_.debit += debit;
      grand_total_.debit += debit;
    }
    if (!sums.Is_Null("Alacak")) {
      credit = sums.Number("Alacak");
      subtotal_.credit += credit;
      grand_total_.credit += credit;
    }
    QVariant value = Amount_By_Rule(Code(sums, "Bakiye_Tipi"), Code(sums, "Hesap_Karakteri"),
                                    sums.Field("Borc"), sums.Field("Alacak"), sums.Field("Bakiye"));
    if (!value.isNull()) {
      subtotal_.amount += value.toDouble();
      grand_total_.amount += value.toDouble();
    }
    Write_Amounts(target_, debit, credit, value.isNull() ? 0.0 : value.toDouble());
  }
}

void Calculation::Range_Row() {
  Open_Recordset(db_, range_sums_,
                 Range_Query(Quoted_Trim(rows_, "MHesap_KodBas"),
                             Quoted_Trim(rows_, "MHesap_KodBit")));
  if (!Open_Row_By_Id()) return;
  const Recordset& sums = range_sums_;
  double debit = 0, credit = 0, amount = 0;
  if (Find_Own_Range(Bare(rows_, "Satir_ID"))) {
    debit = sums.Number("Borc");
    credit = sums.Number("Alacak");
    QVariant value = Amount_By_Rule(kBakiyeTotal, Code(sums, "Hesap_Karakteri"), sums.Field("Borc"),
                                    sums.Field("Alacak"), sums.Field("Bakiye"));
    amount = value.isNull() ? 0.0 : value.toDouble();
  }
  Write_Amounts(target_, debit, credit, amount);
}

bool Calculation::Find_Own_Range(const QString& satir_id) {
  Recordset& sums = range_sums_;
  if (!sums.Is_Open()) return false;
  for (sums.Move_First(); !sums.Eof(); sums.Move_Next())
    if (sums.Text("Satir_ID").trimmed() == satir_id) return true;
  return false;
}

bool Calculation::Find_Own_Range(const QString& code, const QString& from) {
  Recordset& sums = range_sums_;
  if (!sums.Is_Open()) return false;
  for (sums.Move_First(); !sums.Eof(); sums.Move_Next())
    if (sums.Text("Satir_Kodu").trimmed() == code && sums.Text("MHesap_KodBas").trimmed() == from)
      return true;
  return false;
}

void Calculation::Total_Row(Totals& totals) {
  if (!Open_Row_By_Id()) return;
  Write_Amounts(target_, totals.debit, totals.credit, totals.amount);
  totals.Clear();
}

void Calculation::Formula_Row() {
  const Recordset& row = rows_;
  const QString id = Bare(row, "Satir_ID");
  Open_Recordset(db_, range_sums_,
                 "SELECT * FROM " + kRow + " WHERE Satir_ID=" + id +
                     " AND Rapor_ID=" + Bare(row, "Rapor_ID"));
  Recordset& formula_rows = range_sums_;
  if (formula_rows.Eof()) return;
  double value = 0;
  for (; !formula_rows.Eof(); formula_rows.Move_Next()) {
    QString substituted;
    QString formula = formula_rows.Text("Formul");
    QStringList unknown;
    if (!formula.isEmpty())
      substituted = Formulu_Yerlestir(db_, formula, "SELECT * FROM " + kRow + " ",
                                      formula_rows.Field("Rapor_ID").toLongLong(), &unknown);
    for (const QString& code : unknown)
      result_.unknown_codes.push_back({row.Text("Satir_Kodu").trimmed(), code});
    value = substituted.isEmpty() ? 0.0 : Formul_Al(substituted);
  }
  Open_Update_Recordset(db_, target_,
                        "SELECT * FROM " + kRow + " WHERE Satir_ID=" + id + " AND Satir_Kodu='" +
                            Quoted_Trim(row, "Satir_Kodu") + "'");
  Recordset& out = target_;
  if (out.Eof()) return;
  out.Set_Field("Bakiye", value);
  out.Update_Batch();
}

}  // namespace

LineSums& LineSums::operator+=(const LineSums& other) {
  auto add = [](std::optional<double>& sum, const std::optional<double>& more) {
    if (more) sum = sum.value_or(0) + *more;
  };
  add(debit, other.debit);
  add(credit, other.credit);
  add(balance, other.balance);
  lines += other.lines;
  return *this;
}

QVariant Amount_By_Rule(int balance_type, int character, const QVariant& debit,
                        const QVariant& credit, const QVariant& balance) {
  if (balance_type == kBakiyeDebit) return debit.isNull() ? QVariant() : QVariant(debit.toDouble());
  if (balance_type == kBakiyeCredit)
    return credit.isNull() ? QVariant() : QVariant(credit.toDouble());
  if (balance.isNull()) return {};
  double b = balance.toDouble();
  if (character == kKarakterDebit) return std::fabs(b);
  if (character == kKarakterCredit) return -std::fabs(b);
  return b;
}

CalculationResult Tablo_Hesapla(const DbSession& db, const RunParameters& parameters,
                                const ProgressCallback& progress,
                                const CalculationOptions& /*options*/) {
  Calculation calculation(db, parameters, progress);
  calculation.Run();
  return calculation.Result();
}
