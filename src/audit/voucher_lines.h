// The voucher lines of one account in a run's period: date, voucher number, description,
// debit, credit and the running balance, in date and voucher order. They are read from
// MUHFISHAR by the account code (the lines' MHesap_Kod) with the run's ledger condition, so the
// query seeks the same code index as the calculation's ranges. The running balance is added up
// exactly (in ten-thousandths), so its last value is the account's balance to the unit.
// Also the chart's names of account codes, for the audit tables.
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <vector>

#include "audit/audit_table.h"
#include "calc/ledger_aggregation.h"
#include "calc/run_parameters.h"
#include "db/db_session.h"

struct VoucherLine {
  QDate date;
  QString voucher;  // Fis_No
  QString kind;     // Islem_Tipi
  QString description;
  double debit = 0;
  double credit = 0;
  double balance = 0;  // running: debit less credit of this line and every line before it
};

struct AccountLines {
  QString code;
  QString name;
  std::vector<VoucherLine> lines;
  double debit = 0, credit = 0, balance = 0;  // the totals, exact like the running balance
};

// Sums of ten-thousandths: amounts added without the drift of adding doubles.
class ExactSum {
 public:
  void Add(double value);
  double Value() const;

 private:
  long long units_ = 0;
};

// The lines of `code` in the period of `parameters` (a DbError or the closed recordset of a
// failing query ends it by exception).
AccountLines Voucher_Lines(const DbSession& db, const RunParameters& parameters,
                           const QString& code);
// The same lines handed to `line` one at a time as they are read, none of them kept: the result
// has the code and the totals, no lines and no name.
AccountLines Each_Voucher_Line(const DbSession& db, const RunParameters& parameters,
                               const QString& code,
                               const std::function<void(const VoucherLine& line)>& line);

// MHesap_Ad of each of `codes` found in MUHKART (codes not in the chart are left out).
std::map<QString, QString> Account_Names(const DbSession& db, const QStringList& codes);

// The lines as a table: one row per line, then the totals.
AuditTable Voucher_Lines_Table(const AccountLines& account, const QString& period);
// The same table for a listing that reads the lines while it writes them, however many there
// are: the table has no rows (its line count is counted first) and `rows` reads the lines again
// each time it is walked, the totals last.
AuditTable Voucher_Lines_Table_Read_Along(const DbSession& db, const RunParameters& parameters,
                                          const QString& code, const QString& period,
                                          AuditRowSource* rows);
