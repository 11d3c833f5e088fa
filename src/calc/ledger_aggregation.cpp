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

// A row with the natural side of its accounts and its value by the amount rule.
struct Valued {
  const SummedRow* row = nullptr;
  NaturalSide side = NaturalSide::Either;
  bool reverse = false;
  bool left_out = false;  // reverse and not listed: counts 0
  QVariant value;         // null when the sum the rule uses is
};

QString Group_Key_Part(const QVariant& v) { return v.isNull() ? QString("\x01") : v.toString(); }

class Calculation {
 public:
  Calculation(const DbSession& db, const RunParameters& parameters,
              const ProgressCallback& progress, const CalculationOptions& options)
      : db_(db),
        statement_sql_(parameters.statement_sql),
        progress_(progress),
        ledger_condition_(Ledger_Condition(parameters)),
        sides_(parameters.natural_sides ? parameters.natural_sides
                                        : std::make_shared<const NaturalSides>()),
        read_ledger_once_(options.read_ledger_once || options.record_intake),
        record_(options.record_intake),
        ledger_(options.ledger) {}
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
  NaturalSide Side_Of(const SummedRow& row) const {
    if (row.type == kRowAccountRange) return sides_->Of_Range(row.from, row.to);
    return row.from.isEmpty() ? NaturalSide::Either : sides_->Of_Account(row.from);
  }
  // The row's value: `rule_type` kRowSingleAccount for the full amount rule, kRowAccountRange
  // for a range row's own (its total balance).
  Valued Value(const SummedRow& row, NaturalSide side, int rule_type) const {
    Valued v;
    v.row = &row;
    v.side = side;
    v.reverse = Reverse_State(side, row.sums.balance);
    v.left_out = v.reverse && row.listing == kTersNotListed;
    v.value = v.left_out ? QVariant(0.0)
                         : Row_Amount(rule_type, Code(row.balance_type), Code(row.character),
                                      row.sums, side);
    return v;
  }
  // A single-account or range row written with its value: recorded when in reverse state, fed
  // into both totals by its calculation type unless it is left out.
  void Written(const Valued& v);
  // Records what a row took in with the amount written, when asked for.
  void Record(qint64 satir_id, const QString& code, std::vector<TakenAccount> accounts,
              std::vector<TakenRow> rows = {}, NaturalSide side = NaturalSide::Either,
              bool left_out = false) {
    if (record_)
      result_.intake[satir_id] = {code, std::move(accounts), std::move(rows), side, left_out};
  }

  const DbSession& db_;
  const QString statement_sql_;
  const ProgressCallback& progress_;
  const QString ledger_condition_;
  const std::shared_ptr<const NaturalSides> sides_;
  const bool read_ledger_once_;
  const bool record_;
  const std::optional<std::vector<LedgerGroup>>& ledger_;
  std::unique_ptr<RowSums> sums_;
  Recordset rows_;      // the statement's rows, walked in order
  Recordset formulas_;  // a formula row
  Recordset target_;    // the row the amounts are written into
  CalculationResult result_;
  std::set<qint64> reverse_seen_;
  Totals subtotal_;
  Totals grand_total_;
};

TakenRow Taken(const Valued& v) {
  return {v.row->satir_id,
          v.row->code,
          Code(v.row->calc_type),
          v.row->sums,
          v.value.isNull() ? 0.0 : v.value.toDouble(),
          v.row->accounts};
}

// Adds a row into debit, credit and amount as a group adds its rows: debit and credit whatever
// its calculation type, the amount added (1) or subtracted (2); a row left out adds nothing.
void Add_Into(Totals& totals, const Valued& v, bool record) {
  if (v.left_out) return;
  const SummedRow& row = *v.row;
  if (row.sums.debit) totals.debit += *row.sums.debit;
  if (row.sums.credit) totals.credit += *row.sums.credit;
  const int calc_type = Code(row.calc_type);
  if (!v.value.isNull() && calc_type == kHesaplamaAdd) totals.amount += v.value.toDouble();
  if (!v.value.isNull() && calc_type == kHesaplamaSubtract) totals.amount -= v.value.toDouble();
  if (record) totals.rows.push_back(Taken(v));
}

void Calculation::Run() {
  if (progress_) progress_(0, -1);
  Open_Recordset(db_, rows_, statement_sql_);
  if (rows_.Eof()) return;
  // The ledger is read once the progress shows, and only for a statement with rows.
  if (ledger_)
    sums_ = Row_Sums_From_Groups(db_, *ledger_, record_);
  else
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

void Calculation::Written(const Valued& v) {
  if (v.reverse && reverse_seen_.insert(v.row->satir_id).second)
    result_.reverse_rows.push_back(
        {v.row->satir_id, v.row->code, v.side, v.row->sums.balance.value_or(0), !v.left_out});
  for (Totals* totals : {&subtotal_, &grand_total_}) Add_Into(*totals, v, record_);
}

void Calculation::Group_Row() {
  const RowRef group = Current();
  const std::vector<SummedRow> under = sums_->Rows_Under(group);
  Totals totals;

  // Range rows under the group: each one counted once, through its own range only.
  std::set<std::tuple<QString, QString, QString>> seen;
  std::set<QString> range_codes;
  std::vector<SummedRow> ranges;
  for (const SummedRow& row : under) {
    if (row.type != kRowAccountRange) continue;
    range_codes.insert(row.code);
    if (!seen.insert({row.code, row.from, row.to}).second) continue;
    if (auto own = sums_->Own_Range(group, row.from, row.to, 0, row.code))
      ranges.push_back(std::move(*own));
  }
  for (const SummedRow& range : ranges)
    Add_Into(totals, Value(range, Side_Of(range), kRowSingleAccount), record_);

  // The other rows under the prefix, the group itself included, add their own lines, merged by
  // code and the three calculation columns; a range row's start code is no contribution of its
  // own. Merged rows share a natural side only when each of them has it.
  std::map<std::pair<QByteArray, QString>, std::pair<SummedRow, NaturalSide>> merged;
  for (const SummedRow& row : under) {
    if (row.type == kRowAccountRange || range_codes.count(row.code) || row.sums.lines == 0)
      continue;
    const QString key = Group_Key_Part(row.calc_type) + '\x02' + Group_Key_Part(row.balance_type) +
                        '\x02' + Group_Key_Part(row.character);
    const NaturalSide side = Side_Of(row);
    auto [at, fresh] = merged.try_emplace({row.code.toUtf8(), key}, row, side);
    if (fresh) continue;
    SummedRow& into = at->second.first;
    into.sums += row.sums;
    for (const TakenAccount& account : row.accounts) Add_Taken_Account(into.accounts, account);
    if (row.listing != kTersNotListed) into.listing = row.listing;
    if (at->second.second != side) at->second.second = NaturalSide::Either;
  }
  for (const auto& [key, row] : merged)
    Add_Into(totals, Value(row.first, row.second, kRowSingleAccount), record_);

  if (!Open_Row_By_Id()) return;
  Write_Amounts(target_, totals.debit, totals.credit, totals.amount);
  Record(group.satir_id, group.code, {}, std::move(totals.rows));
}

void Calculation::Single_Account_Row() {
  std::vector<SummedRow> rows;
  for (SummedRow& row : sums_->Rows_Under(Current()))
    if (row.type != kRowAccountRange && row.sums.lines > 0) rows.push_back(std::move(row));
  if (rows.empty()) {
    // No voucher line in the period: the row itself gets zeros.
    if (!Open_Row_By_Id()) return;
    Write_Amounts(target_, 0, 0, 0);
    Record(Current().satir_id, Current().code, {});
    return;
  }
  std::sort(rows.begin(), rows.end(),
            [](const SummedRow& a, const SummedRow& b) { return a.satir_id < b.satir_id; });
  // Every row under the prefix is written, and each feeds both totals.
  for (const SummedRow& row : rows) {
    if (!Open_Row_By_Id(QString::number(row.satir_id))) continue;
    const Valued v = Value(row, Side_Of(row), kRowSingleAccount);
    Written(v);
    Write_Amounts(target_, row.sums.debit.value_or(0), row.sums.credit.value_or(0),
                  v.value.isNull() ? 0.0 : v.value.toDouble());
    Record(row.satir_id, row.code, row.accounts, {}, v.side, v.left_out);
  }
}

void Calculation::Range_Row() {
  const RowRef row = Current();
  const QString from = rows_.Text("MHesap_KodBas").trimmed();
  const QString to = rows_.Text("MHesap_KodBit").trimmed();
  const auto own = sums_->Own_Range(row, from, to, row.satir_id, {});
  if (!Open_Row_By_Id()) return;
  if (!own) {
    Write_Amounts(target_, 0, 0, 0);
    Record(row.satir_id, row.code, {}, {}, sides_->Of_Range(from, to));
    return;
  }
  const Valued v = Value(*own, Side_Of(*own), kRowAccountRange);
  Written(v);
  Write_Amounts(target_, own->sums.debit.value_or(0), own->sums.credit.value_or(0),
                v.value.isNull() ? 0.0 : v.value.toDouble());
  Record(row.satir_id, row.code, own->accounts, {}, v.side, v.left_out);
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
                        const QVariant& credit, const QVariant& balance, NaturalSide side) {
  if (balance_type == kBakiyeDebit) return debit.isNull() ? QVariant() : QVariant(debit.toDouble());
  if (balance_type == kBakiyeCredit)
    return credit.isNull() ? QVariant() : QVariant(credit.toDouble());
  if (balance.isNull()) return {};
  const double b = balance.toDouble();
  const double sign = Reverse_State(side, b) ? -1.0 : 1.0;
  if (character == kKarakterDebit) return sign * std::fabs(b);
  if (character == kKarakterCredit) return -sign * std::fabs(b);
  return b;
}

QVariant Sum_Value(const std::optional<double>& sum) { return sum ? QVariant(*sum) : QVariant(); }

QVariant Row_Amount(int row_type, int balance_type, int character, const LineSums& sums,
                    NaturalSide side) {
  // A range has no balance type: its total balance, signed by its character.
  return Amount_By_Rule(row_type == kRowAccountRange ? kBakiyeTotal : balance_type, character,
                        Sum_Value(sums.debit), Sum_Value(sums.credit), Sum_Value(sums.balance),
                        side);
}

void Add_Taken_Account(std::vector<TakenAccount>& accounts, const TakenAccount& account) {
  if (!accounts.empty() && accounts.back().code == account.code) {
    accounts.back().sums += account.sums;
    return;
  }
  for (TakenAccount& a : accounts)
    if (a.code == account.code) {
      a.sums += account.sums;
      return;
    }
  accounts.push_back(account);
}

QString Unlisted_Rows_Condition(const CalculationResult& result) {
  QStringList ids;
  for (const ReverseRow& row : result.reverse_rows)
    if (!row.listed) ids << QString::number(row.satir_id);
  if (ids.isEmpty()) return {};
  return "MUHASEBEMALITABLOHAREKET.Satir_ID NOT IN (" + ids.join(',') + ")";
}

CalculationResult Tablo_Hesapla(const DbSession& db, const RunParameters& parameters,
                                const ProgressCallback& progress,
                                const CalculationOptions& options) {
  Calculation calculation(db, parameters, progress, options);
  calculation.Run();
  return calculation.Take_Result();
}
