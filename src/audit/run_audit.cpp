#include "audit/run_audit.h"

#include "audit/coverage_check.h"
#include "audit/row_breakdown.h"
#include "audit/voucher_lines.h"
#include "db/query.h"
#include "db/recordset.h"
#include "model/financial_table.h"
#include "process/app_state.h"
#include "report/ana_rapor.h"
#include "report/report_data.h"

namespace {

StatementHeading Heading(AppState& s, const RunParameters& parameters,
                         const ReportDataSource& rows) {
  return Statement_Heading(s, rows, parameters, Opening_Voucher_In(s.Db(), parameters.period));
}

// Lines of the fiscal year whose date the engine does not compare inside the year (a text date
// such as "31.03.2026", a date of another year): they fall in no period, so the check names
// them. "" when there is none.
QString Dates_Outside_The_Year(AppState& s, const RunParameters& parameters) {
  const QDate first = s.Fiscal_Year_Start, last = s.Fiscal_Year_End;
  if (!first.isValid() || !last.isValid()) return {};
  Recordset rs;
  Open_Recordset(s.Db(), rs,
                 "SELECT COUNT(*) AS N, MIN(Tarih) AS T FROM MUHFISHAR WHERE Yil='" +
                     QString::number(parameters.period.year) +
                     "' AND Tarih IS NOT NULL AND NOT (Tarih>='" + first.toString("MM/dd/yyyy") +
                     "' AND Tarih<'" + last.addDays(1).toString("MM/dd/yyyy") + "')");
  if (!rs.Is_Open() || rs.Eof() || rs.Number("N") == 0) return {};
  return QString::fromUtf8(
             "%1 yılının %2 fiş satırının tarihi yılın içinde değil ya da tarih olarak "
             "karşılaştırılamıyor (ör. \"%3\"); bu satırlar hiçbir döneme girmez.")
      .arg(parameters.period.year)
      .arg(rs.Number("N"))
      .arg(rs.Text("T"));
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
  CoverageOutcome outcome{Coverage_Table(report, parameters.kind, heading.title, heading.period,
                                         Account_Names(s.Db(), Coverage_Accounts(report)),
                                         Row_Names(rows)),
                          report.Clean()};
  const QString dates = Dates_Outside_The_Year(s, parameters);
  if (!dates.isEmpty()) {
    outcome.table.notes << dates;
    outcome.clean = false;
  }
  return outcome;
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
