#include "audit/run_audit.h"

#include "audit/coverage_check.h"
#include "audit/row_breakdown.h"
#include "audit/voucher_lines.h"
#include "process/app_state.h"

CoverageOutcome Coverage_Of_Run(AppState& s, const RunOutcome& run) {
  const int kind = run.parameters.kind;
  const CoverageReport report = Coverage(kind, run.calculation);
  const StatementHeading& heading = run.statement.heading;
  return {Coverage_Table(report, kind, heading.title, heading.period,
                         Account_Names(s.Db(), Coverage_Accounts(report))),
          report.Clean()};
}

AuditTable Breakdown_Of_Run(AppState& s, const RunOutcome& run, int row) {
  const StatementData rows(run.statement);
  const RowBreakdown breakdown = Row_Breakdown(Statement_Row(rows, row), run.calculation);
  return Row_Breakdown_Table(breakdown, Account_Names(s.Db(), Breakdown_Accounts(breakdown)),
                             Row_Names(rows), run.statement.heading.period);
}

QStringList Breakdown_Accounts_Of_Run(const RunOutcome& run, int row) {
  return Breakdown_Accounts(
      Row_Breakdown(Statement_Row(StatementData(run.statement), row), run.calculation));
}

AuditTable Voucher_Lines_Of_Run(AppState& s, const RunParameters& parameters, const QString& period,
                                const QString& account) {
  return Voucher_Lines_Table(Voucher_Lines(s.Db(), parameters, account), period);
}
