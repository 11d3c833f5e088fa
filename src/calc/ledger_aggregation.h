// The statement calculation: every row that the statement query selects receives its debit,
// credit and amount from the ledger for the run's period. Groups sum the rows under their code
// prefix, single accounts and ranges sum their voucher lines, subtotals and grand totals take
// the single-account and range rows visited since the previous total of their kind, formula
// rows are evaluated over other rows' amounts. A row whose accounts share a natural side and
// whose balance stands on the other side is in reverse state: its amount keeps the direction
// (or counts 0 and is not printed when its Ters_Bakiye says so). Each row is written back.
#pragma once

#include <QString>
#include <QVariant>
#include <map>
#include <optional>
#include <vector>

#include "calc/natural_side.h"
#include "calc/run_parameters.h"
#include "db/db_session.h"
#include "process/progress.h"

// The amount rule: which of the three sums is a row's value. `balance_type` kBakiyeDebit takes
// the debit, kBakiyeCredit the credit; otherwise the net balance B is signed by `character`
// (kKarakterDebit: |B|, kKarakterCredit: -|B|, else B); a balance in reverse state against the
// row's natural `side` takes the opposite sign of that absolute value (-|B|, |B|), so it lowers
// what it feeds. Returns a null QVariant when the sum it uses is null.
QVariant Amount_By_Rule(int balance_type, int character, const QVariant& debit,
                        const QVariant& credit, const QVariant& balance,
                        NaturalSide side = NaturalSide::Either);

// A formula row that names a code no row of its table has (the code counts as nothing).
struct UnknownFormulaCode {
  QString row_code;
  QString code;
};

// Sums of some voucher lines; a sum is null when no line has a value for it.
struct LineSums {
  std::optional<double> debit, credit, balance;
  long long lines = 0;
  LineSums& operator+=(const LineSums& other);
};

// The lines of one main account (Ana_Hesap_ID) and one account code (MHesap_Kod) of a period.
struct LedgerGroup {
  std::optional<qint64> account;
  std::optional<QString> code;
  LineSums sums;
};

// A sum as a field value: null when no line had a value for it.
QVariant Sum_Value(const std::optional<double>& sum);

// The amount of a single-account or range row (`row_type`) from the sums of its lines: the
// amount rule, where a range row has no balance type and takes its total balance.
QVariant Row_Amount(int row_type, int balance_type, int character, const LineSums& sums,
                    NaturalSide side = NaturalSide::Either);

// The voucher lines of one account code in the run's period.
struct TakenAccount {
  QString code;
  LineSums sums;
};
// Adds an account's lines into a row's accounts: into the entry of the same code when there is
// one (lines of one code arrive together, so the last entry is looked at first).
void Add_Taken_Account(std::vector<TakenAccount>& accounts, const TakenAccount& account);

// A row that another row added: a group's contributing rows, a total's single-account rows.
struct TakenRow {
  qint64 satir_id = 0;  // the row's key (the first one when rows of one code are merged)
  QString code;
  int calc_type = 0;  // how it was added: its Hesaplama_Tipi
  LineSums sums;
  double value = 0;  // its value by the amount rule, before the sign of calc_type
  std::vector<TakenAccount> accounts;
};

// What one computed row took in: its own accounts (single-account and range rows) or the rows
// it added (groups, subtotals, grand totals). The row's printed amount follows from these by the
// amount rule.
struct RowIntake {
  QString code;  // Satir_Kodu, trimmed
  std::vector<TakenAccount> accounts;
  std::vector<TakenRow> rows;
  NaturalSide side = NaturalSide::Either;  // of a single-account or range row's accounts
  bool left_out = false;                   // in reverse state and not listed: counts 0
};

// A single-account or range row whose balance stands on the other side than its accounts'.
struct ReverseRow {
  qint64 satir_id = 0;
  QString code;
  NaturalSide side = NaturalSide::Either;
  double balance = 0;  // debit minus credit
  bool listed = true;  // false: Ters_Bakiye "Listelenmeyecek", counted 0 and not printed
};

struct CalculationResult {
  std::vector<UnknownFormulaCode> unknown_codes;
  // By Satir_ID, for every row computed from the ledger; filled when asked for.
  std::map<qint64, RowIntake> intake;
  // Every account code with lines in the period, with its sums, by code; filled with the intake.
  std::vector<TakenAccount> period_accounts;
  // Every row in reverse state, once, in the order computed.
  std::vector<ReverseRow> reverse_rows;
};

// The display condition that leaves out the rows in reverse state that are not to be listed;
// "" when there is none.
QString Unlisted_Rows_Condition(const CalculationResult& result);

struct CalculationOptions {
  bool record_intake = false;  // implies the period ledger
  // The period's lines are read once and every row's sums taken from them; false sends one
  // statement over the ledger for every question of every row (the same figures, slower).
  bool read_ledger_once = true;
  // The period's lines already read and grouped (from another database, or out of a wider
  // reading); none: the calculation reads them.
  std::optional<std::vector<LedgerGroup>> ledger = std::nullopt;
};

// Computes the rows of the parameters' statement query over their ledger period and levels,
// telling `progress` before the first row (0 of -1) and after every row.
// A database error or a formula that cannot be evaluated ends the calculation by exception
// (DbError, FormulaError); rows already written keep their new values.
CalculationResult Tablo_Hesapla(const DbSession& db, const RunParameters& parameters,
                                const ProgressCallback& progress = {},
                                const CalculationOptions& options = {});
