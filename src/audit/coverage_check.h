// The account coverage of a statement for a period: every account with voucher lines in the
// period, and how many times the statement takes it in, counted from what the calculation
// recorded (CalculationResult::intake), so the check follows the calculation's own rules. An
// account no single-account or range row takes is left out; one that two or more such rows
// take, or that one group or total adds twice, is counted twice. Only the statement's own
// account classes count as left out: 6xx for an income statement, 1xx-6xx for a balance sheet
// (whose period result takes the income statement accounts; every class for another kind); the
// result accounts 690-692 never count as left out, and the other classes' untaken accounts are
// listed apart. A balance sheet whose two sides' totals differ is a fault; rows whose balance
// stands on the other side than their accounts' are listed as a warning.
#pragma once

#include <QString>
#include <QStringList>
#include <map>
#include <optional>
#include <vector>

#include "audit/audit_table.h"
#include "calc/ledger_aggregation.h"
#include "calc/run_parameters.h"
#include "db/db_session.h"

class ReportDataSource;

struct CoverageAccount {
  QString code;
  LineSums sums;
  // Left out: empty. Counted twice: the rows that take it ("600, 600.01"), or the group or
  // total that adds it twice with the rows it comes through ("TOPLAM: 600 + 600").
  QStringList rows;
};

// The totals of a balance sheet's two sides: its last grand total in the assets' place and in
// the liabilities' place.
struct SideTotals {
  double assets = 0, liabilities = 0;
  bool Balanced() const;
};

struct CoverageReport {
  int accounts = 0;  // accounts with lines in the period
  int taken = 0;     // of them, taken by some row
  std::vector<CoverageAccount> left_out;
  std::vector<CoverageAccount> doubled;
  std::vector<CoverageAccount> other_classes;  // untaken, outside the statement's classes
  std::optional<SideTotals> sides;             // a balance sheet with both totals
  std::vector<ReverseRow> reverse_rows;        // a warning, not a fault
  bool Clean() const {
    return left_out.empty() && doubled.empty() && (!sides || sides->Balanced());
  }
};

// Whether an account of `code` belongs to the classes a statement of `kind` must take in.
bool In_Statement_Classes(int kind, const QString& code);
// The totals of the two sides of a statement's rows (Rapor_Yeri 1 and 2, each its last grand
// total); none when a side has no grand total.
std::optional<SideTotals> Side_Totals(const ReportDataSource& rows);

// The check of a run whose calculation recorded its intake: the period's accounts against what
// the computed rows took in.
CoverageReport Coverage(int kind, const CalculationResult& result);

// The report as a table: the left-out accounts, then the doubled ones; the heading says what
// was checked and how it came out (with both sides' totals of a balance sheet), the notes list
// the rows in reverse state and the other classes' untaken accounts. Row names by code.
AuditTable Coverage_Table(const CoverageReport& report, int kind, const QString& statement,
                          const QString& period, const std::map<QString, QString>& account_names,
                          const std::map<QString, QString>& row_names = {});
QStringList Coverage_Accounts(const CoverageReport& report);
