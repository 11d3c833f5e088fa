// The ledger sums the calculation asks for, row by row. Two sources answer the same questions
// with the same figures: the per-row statements (every question one query over the ledger) and
// the period ledger (the period's lines grouped once per account at the start of the run, every
// question then answered from memory, so no voucher line is summed twice).
#pragma once

#include <QDate>
#include <QString>
#include <QVariant>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "calc/ledger_aggregation.h"
#include "db/db_session.h"

class Recordset;

// Codes are compared as numbers: a stored 1 equals the text "1".
int Code_Number(const QVariant& value);
// The three sums (Borc, Alacak, Bakiye) of the current result row of a summing query, over
// `lines` voucher lines.
LineSums Line_Sums(const Recordset& rs, long long lines);

// A row of the statement being computed, as the questions name it.
struct RowRef {
  qint64 satir_id = 0;
  QString code;    // Satir_Kodu, trimmed
  QString place;   // Rapor_Yeri, a checked number
  QString report;  // Rapor_ID, a checked number
};

// A row with the voucher lines of the period that it takes: those of the account coded as its
// MHesap_KodBas and every account under it (a main account's lines by the ledger's
// main-account id, any other account's by the line's own code), or a range row's own range.
struct SummedRow {
  qint64 satir_id = 0;
  QString code;  // Satir_Kodu, trimmed
  int type = 0;  // Satir_Tipi
  QVariant calc_type, balance_type, character;
  int listing = 0;   // Ters_Bakiye
  QString from, to;  // MHesap_KodBas, MHesap_KodBit, trimmed
  LineSums sums;
  std::vector<TakenAccount> accounts;  // filled only when the intake is recorded
};

class RowSums {
 public:
  virtual ~RowSums() = default;
  // Every row of the table and place whose code begins with the row's code (itself included),
  // in code order, each with the lines of its own account (none for range rows).
  virtual std::vector<SummedRow> Rows_Under(const RowRef& row) = 0;
  // The lines of the codes from..to that also lie in a range row's own range, for the range
  // row of `place` chosen by its key, or else by its code and start code; nothing when it has
  // no such line.
  virtual std::optional<SummedRow> Own_Range(const RowRef& place, const QString& from,
                                             const QString& to, qint64 satir_id,
                                             const QString& code) = 0;
  // Every account code with lines in the period, with its sums, by code; none when the source
  // does not read the period as a whole.
  virtual std::vector<TakenAccount> Period_Accounts() const { return {}; }
};

// The three sums every summing statement over the ledger returns; a line's missing amount
// counts as 0 in its balance.
extern const char* const kLedgerSums;

// Every question one or a few statements over the ledger with the period condition appended.
std::unique_ptr<RowSums> Row_Sums_By_Query(const DbSession& db, const QString& ledger_condition);

// The lines of `ledger_condition` in `ledger`, grouped by main account and account code.
// `accounts` gives the main account ids of `ledger` as the statement's database knows them (a
// ledger of another database); none: the same ids.
using AccountIds = std::unordered_map<qint64, qint64>;
std::vector<LedgerGroup> Read_Ledger_Groups(const DbSession& ledger,
                                            const QString& ledger_condition,
                                            const AccountIds* accounts = nullptr);

// The period's lines read once, grouped by main account and account code; the statement's rows
// read once per table. `with_accounts` fills SummedRow::accounts.
std::unique_ptr<RowSums> Row_Sums_From_Period_Ledger(const DbSession& db,
                                                     const QString& ledger_condition,
                                                     bool with_accounts);
// The same over groups already read (a period's lines from another database, or a part of
// the lines read for several periods at once); the rows are read from `db`.
std::unique_ptr<RowSums> Row_Sums_From_Groups(const DbSession& db, std::vector<LedgerGroup> groups,
                                              bool with_accounts);

// The main account ids of `ledger`'s chart as `db`'s chart has them, matched by account code;
// an account `db` does not have is left out.
AccountIds Main_Account_Ids(const DbSession& ledger, const DbSession& db);

// The lines of several periods of one year read in one pass, grouped by main account, account
// code and day; each period's groups are then summed from these, as the period's own read
// would group them.
class LedgerDays {
 public:
  // Reads the lines of `ledger_condition`, that of the widest of the periods.
  LedgerDays(const DbSession& ledger, const QString& ledger_condition);
  // False when a line's date is not a day this reading knows: each period is then read alone.
  bool Readable() const { return readable_; }
  // The groups of the lines from `first` to `last`, both taken in; an open bound takes every
  // line read on its side (those without a date too, as the period's own condition does).
  std::vector<LedgerGroup> Groups(const std::optional<QDate>& first,
                                  const std::optional<QDate>& last) const;

 private:
  struct Day {
    size_t group = 0;
    std::optional<qint64> day;  // the Julian day; none for a line without a date
    LineSums sums;
  };
  std::vector<LedgerGroup> groups_;  // each group's account and code, in the order read
  std::vector<Day> days_;
  bool readable_ = true;
};
