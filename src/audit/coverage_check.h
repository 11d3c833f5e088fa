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

// The check of a run whose calculation recorded its intake: the period's accounts against what
// the computed rows took in.
CoverageReport Coverage(int kind, const CalculationResult& result);

// The report as a table: the left-out accounts, then the doubled ones; the heading says what
// was checked and how it came out, the notes list the other classes' untaken accounts.
AuditTable Coverage_Table(const CoverageReport& report, int kind, const QString& statement,
                          const QString& period, const std::map<QString, QString>& account_names);
QStringList Coverage_Accounts(const CoverageReport& report);
