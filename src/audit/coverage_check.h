// The account coverage of a statement for a period: every account with voucher lines in the
// period, and how many times the statement takes it in, counted from what the calculation
// recorded (CalculationResult::intake), so the check follows the calculation's own rules. An
// account no single-account or range row takes is left out; one that two or more such rows
// take, or that one group or total adds twice, is counted twice. Only the statement's own
// account classes count as left out: 6xx for an income statement, 1xx-5xx for a balance sheet
// (every class for another kind); the other classes' untaken accounts are listed apart.
#pragma once

#include <QString>
#include <QStringList>
#include <map>
#include <vector>

#include "audit/audit_table.h"
#include "calc/ledger_aggregation.h"
#include "calc/run_parameters.h"
#include "db/db_session.h"

struct CoverageAccount {
  QString code;
  LineSums sums;
  // Left out: empty. Counted twice: the rows that take it ("600, 600.01"), or the group or
  // total that adds it twice with the rows it comes through ("TOPLAM: 600 + 600").
  QStringList rows;
};

struct CoverageReport {
  int accounts = 0;  // accounts with lines in the period
  int taken = 0;     // of them, taken by some row
  std::vector<CoverageAccount> left_out;
  std::vector<CoverageAccount> doubled;
  std::vector<CoverageAccount> other_classes;  // untaken, outside the statement's classes
  bool Clean() const { return left_out.empty() && doubled.empty(); }
};

// Whether an account of `code` belongs to the classes a statement of `kind` must take in.
bool In_Statement_Classes(int kind, const QString& code);

// The check over the ledger's accounts of the period and the calculation's intake; `row_codes`
// gives each computed row's code by its key.
CoverageReport Coverage(int kind, const std::vector<TakenAccount>& ledger,
                        const CalculationResult& result,
                        const std::map<qint64, QString>& row_codes);

// Every account code with lines in the period of `parameters`, with its sums, by code.
std::vector<TakenAccount> Ledger_Accounts(const DbSession& db, const RunParameters& parameters);
// Satir_Kodu of the rows of `ids`.
std::map<qint64, QString> Row_Codes(const DbSession& db, const std::vector<qint64>& ids);
// The check of a run whose calculation recorded its intake.
CoverageReport Coverage_Check(const DbSession& db, const RunParameters& parameters,
                              const CalculationResult& result);

// The report as a table: the left-out accounts, then the doubled ones; the heading says what
// was checked and how it came out, the notes list the other classes' untaken accounts.
AuditTable Coverage_Table(const CoverageReport& report, int kind, const QString& statement,
                          const QString& period, const std::map<QString, QString>& account_names);
QStringList Coverage_Accounts(const CoverageReport& report);
