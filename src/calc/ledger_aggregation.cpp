#include "calc/ledger_aggregation.h"

#include <cmath>
#include <set>
#include <tuple>

#include "calc/formula.h"
#include "calc/row_sums.h"
#include "db/query.h"
#include "db/recordset.h"
#include "db/sql_text.h"
#include "model/financial_table.h"

namespace {

const QString kRow = "MUHASEBEMALITABLOHAREKET";

int Code(const QVariant& value) { return Code_Number(value); }
int Code(const Recordset& rs, const QString& column) { return Code_Number(rs.Field(column)); }

// A number written bare into SQL must be a number (never an arbitrary text).
QString Bare(const Recordset& rs, const QString& column) {
  QString text = rs.Text(column).trimmed();
  if (!Is_Sql_Number(text))
    throw DbError{kErrStatement, "Satırın " + column + " değeri sayı değil: \"" + text + "\""};
  return text;
}

// A row's value by the full amount rule (its own balance type, also for a range row added to a
// group), from its own columns and sums; null when the sum it uses is.
QVariant Value_Of(const SummedRow& row) {
  return Row_Amount(kRowSingleAccount, Code(row.balance_type), Code(row.character), row.sums);
}

struct Totals {
  double debit = 0, credit = 0, amount = 0;
  std::vector<TakenRow> rows;  // what they took, when the intake is recorded
  void Clear() { *this = Totals{}; }
};

// Writes a row's three computed columns and commits them at once.
void Write_Amounts(Recordset& out, double debit, double credit, double amount) {
  out.Set_Field("BTutar", debit);
  out.Set_Field("ATutar", credit);
  out.Set_Field("Bakiye", amount);
  out.Update_Batch();
}

TakenRow Taken(const SummedRow& row, int calc_type, const QVariant& value) {
  return {row.satir_id, row.code, calc_type, row.sums, value.isNull() ? 0.0 : value.toDouble(),
          row.accounts};
}

class Calculation {
 public:
  Calculation(const DbSession& db, const RunParameters& parameters,
              const ProgressCallback& progress, const CalculationOptions& options)
      : db_(db),
        statement_sql_(parameters.statement_sql),
        progress_(progress),
        ledger_condition_(Ledger_Condition(parameters)),
        read_ledger_once_(options.read_ledger_once || options.record_intake),
        record_(options.record_intake) {}
  void Run();
  CalculationResult Take_Result() { return std::move(result_); }

 private:
  void Group_Row();
  void Single_Account_Row();
  void Range_Row();
  void Total_Row(Totals& totals);
  void Formula_Row();
  // Opens the row to write into target_ by its key (the current row's when none is given); false
  // when it is not there. A key is a seek on every engine, whatever the size of the table.
  bool Open_Row_By_Id(const QString& satir_id = {});
  RowRef Current() const {
    return {rows_.Field("Satir_ID").toLongLong(), rows_.Text("Satir_Kodu").trimmed(),
            Bare(rows_, "Rapor_Yeri"), Bare(rows_, "Rapor_ID")};
  }
  // Records what a row took in with the amount written, when asked for.
  void Record(qint64 satir_id, const QString& code, std::vector<TakenAccount> accounts,
              std::vector<TakenRow> rows = {}) {
    if (record_) result_.intake[satir_id] = {code, std::move(accounts), std::move(rows)};
  }

  const DbSession& db_;
  const QString statement_sql_;
  const ProgressCallback& progress_;
  const QString ledger_condition_;
  const bool read_ledger_once_;
  const bool record_;
  std::unique_ptr<RowSums> sums_;
  Recordset rows_;      // the statement's rows, walked in order
  Recordset formulas_;  // a formula row
  Recordset target_;    // the row the amounts are written into
  CalculationResult result_;
  Totals subtotal_;
  Totals grand_total_;
};

void Calculation::Run() {
  if (progress_) progress_(0, -1);
  Open_Recordset(db_, rows_, statement_sql_);
  if (rows_.Eof()) return;
  // The ledger is read once the progress shows, and only for a statement with rows.
  sums_ = read_ledger_once_ ? Row_Sums_From_Period_Ledger(db_, ledger_condition_, record_)
                            : Row_Sums_By_Query(db_, ledger_condition_);
  if (record_) result_.period_accounts = sums_->Period_Accounts();
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

bool Calculation::Open_Row_By_Id(const QString& satir_id) {
  Open_Update_Recordset(db_, target_,
                        "SELECT * FROM " + kRow + " WHERE Satir_ID=" +
                            (satir_id.isEmpty() ? Bare(rows_, "Satir_ID") : satir_id));
  return !target_.Eof();
}

void Calculation::Group_Row() {
  const RowRef group = Current();
  Totals totals;
  auto add = [&](const SummedRow& row) {
    if (row.sums.debit) totals.debit += *row.sums.debit;
    if (row.sums.credit) totals.credit += *row.sums.credit;
    // Added (1) or subtracted (2) by the amount rule; other types leave the amount alone.
    const int calc_type = Code(row.calc_type);
    QVariant value;
    if (row.sums.balance) value = Value_Of(row);
    if (!value.isNull() && calc_type == kHesaplamaAdd) totals.amount += value.toDouble();
    if (!value.isNull() && calc_type == kHesaplamaSubtract) totals.amount -= value.toDouble();
    if (record_) totals.rows.push_back(Taken(row, calc_type, value));
  };

  // Range rows under the group: each one counted once, through its own range only.
  std::set<std::tuple<QString, QString, QString>> seen;
  std::set<QString> range_codes;
  for (const ListedRange& range : sums_->Ranges_Under(group)) {
    range_codes.insert(range.code);
    if (!seen.insert({range.code, range.from, range.to}).second) continue;
    if (auto own = sums_->Own_Range(group, range.from, range.to, 0, range.code)) add(*own);
  }

  // The other rows under the prefix, the group itself included, add their own lines; a range
  // row's start code is no contribution of its own.
  for (const SummedRow& row : sums_->Group_Contributions(group))
    if (!range_codes.count(row.code)) add(row);

  if (!Open_Row_By_Id()) return;
  Write_Amounts(target_, totals.debit, totals.credit, totals.amount);
  Record(group.satir_id, group.code, {}, std::move(totals.rows));
}

void Calculation::Single_Account_Row() {
  const std::vector<SummedRow> rows = sums_->Prefix_Rows(Current());
  if (rows.empty()) {
    // No voucher line in the period: the row itself gets zeros.
    if (!Open_Row_By_Id()) return;
    Write_Amounts(target_, 0, 0, 0);
    Record(Current().satir_id, Current().code, {});
    return;
  }
  // Every row under the prefix is written, and each feeds both totals.
  for (const SummedRow& row : rows) {
    if (!Open_Row_By_Id(QString::number(row.satir_id))) continue;
    const double debit = row.sums.debit.value_or(0), credit = row.sums.credit.value_or(0);
    const QVariant value = Value_Of(row);
    for (Totals* totals : {&subtotal_, &grand_total_}) {
      totals->debit += debit;
      totals->credit += credit;
      if (!value.isNull()) totals->amount += value.toDouble();
      if (record_) totals->rows.push_back(Taken(row, kHesaplamaAdd, value));
    }
    const double amount = value.isNull() ? 0.0 : value.toDouble();
    Write_Amounts(target_, debit, credit, amount);
    Record(row.satir_id, row.code, row.accounts);
  }
}

void Calculation::Range_Row() {
  const RowRef row = Current();
  const auto own = sums_->Own_Range(row, rows_.Text("MHesap_KodBas").trimmed(),
                                    rows_.Text("MHesap_KodBit").trimmed(), row.satir_id, {});
  if (!Open_Row_By_Id()) return;
  double debit = 0, credit = 0, amount = 0;
  if (own) {
    debit = own->sums.debit.value_or(0);
    credit = own->sums.credit.value_or(0);
    amount = Row_Amount(kRowAccountRange, Code(own->balance_type), Code(own->character), own->sums)
                 .toDouble();
  }
  Write_Amounts(target_, debit, credit, amount);
  Record(row.satir_id, row.code, own ? own->accounts : std::vector<TakenAccount>{});
}

void Calculation::Total_Row(Totals& totals) {
  if (!Open_Row_By_Id()) return;
  Write_Amounts(target_, totals.debit, totals.credit, totals.amount);
  Record(Current().satir_id, Current().code, {}, std::move(totals.rows));
  totals.Clear();
}

void Calculation::Formula_Row() {
  const Recordset& row = rows_;
  const QString id = Bare(row, "Satir_ID");
  Open_Recordset(db_, formulas_,
                 "SELECT * FROM " + kRow + " WHERE Satir_ID=" + id +
                     " AND Rapor_ID=" + Bare(row, "Rapor_ID"));
  Recordset& formula_rows = formulas_;
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
                            Sql_Quote_Value(row.Text("Satir_Kodu").trimmed()) + "'");
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

QVariant Sum_Value(const std::optional<double>& sum) { return sum ? QVariant(*sum) : QVariant(); }

QVariant Row_Amount(int row_type, int balance_type, int character, const LineSums& sums) {
  // A range has no balance type: its total balance, signed by its character.
  return Amount_By_Rule(row_type == kRowAccountRange ? kBakiyeTotal : balance_type, character,
                        Sum_Value(sums.debit), Sum_Value(sums.credit), Sum_Value(sums.balance));
}

CalculationResult Tablo_Hesapla(const DbSession& db, const RunParameters& parameters,
                                const ProgressCallback& progress,
                                const CalculationOptions& options) {
  Calculation calculation(db, parameters, progress, options);
  calculation.Run();
  return calculation.Take_Result();
}
