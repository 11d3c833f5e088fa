#include "audit/run_audit.h"

#include "audit/coverage_check.h"
#include "audit/row_breakdown.h"
#include "audit/voucher_lines.h"
#include "model/financial_table.h"
#include "process/app_state.h"
#include "report/ana_rapor.h"
#include "report/report_data.h"

namespace {

StatementHeading Heading(AppState& s, const RunParameters& parameters,
                         const ReportDataSource& rows) {
  return Statement_Heading(s, rows, parameters, Opening_Voucher_In(s.Db(), parameters.period));
}

}  // namespace

QString Period_Of_Run(AppState& s, const RunParameters& parameters) {
  return Heading(s, parameters, ReportRows()).period;
}

CoverageOutcome Coverage_Of_Run(AppState& s, const RunParameters& parameters,
                                const CalculationResult& result) {
  CoverageReport report = Coverage(parameters.kind, result);
  const ReportRows rows = Report_Rows(s, parameters.statement_sql);
  if (parameters.kind == kKindBalanceSheet) report.sides = Side_Totals(rows);
  const StatementHeading heading = Heading(s, parameters, rows);
  return {Coverage_Table(report, parameters.kind, heading.title, heading.period,
                         Account_Names(s.Db(), Coverage_Accounts(report)), Row_Names(rows)),
          report.Clean()};
}

AuditTable Breakdown_Of_Run(AppState& s, const RunParameters& parameters,
                            const CalculationResult& result, const ReportDataSource& rows,
                            int row) {
  const RowBreakdown breakdown = Row_Breakdown(Statement_Row(rows, row), result);
  return Row_Breakdown_Table(breakdown, Account_Names(s.Db(), Breakdown_Accounts(breakdown)),
                             Row_Names(rows), Period_Of_Run(s, parameters));
}

QStringList Breakdown_Accounts_Of_Run(const CalculationResult& result, const ReportDataSource& rows,
                                      int row) {
  return Breakdown_Accounts(Row_Breakdown(Statement_Row(rows, row), result));
}

AuditTable Voucher_Lines_Of_Run(AppState& s, const RunParameters& parameters,
                                const QString& account) {
  return Voucher_Lines_Table(Voucher_Lines(s.Db(), parameters, account),
                             Period_Of_Run(s, parameters));
}
