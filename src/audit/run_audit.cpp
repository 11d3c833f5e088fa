#include "audit/run_audit.h"

#include "audit/coverage_check.h"
#include "audit/row_breakdown.h"
#include "audit/voucher_lines.h"
#include "db/connection.h"
#include "db/open_connection.h"
#include "db/query.h"
#include "db/recordset.h"
#include "model/financial_table.h"
#include "process/app_state.h"

namespace {

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

CoverageOutcome Coverage_Of_Run(AppState& s, const RunOutcome& run) {
  const int kind = run.parameters.kind;
  CoverageReport report = Coverage(kind, run.calculation);
  const StatementData rows(run.statement);
  if (kind == kKindBalanceSheet) report.sides = Side_Totals(rows);
  const StatementHeading& heading = run.statement.heading;
  CoverageOutcome outcome{Coverage_Table(report, kind, heading.title, heading.period,
                                         Account_Names(s.Db(), Coverage_Accounts(report)),
                                         Row_Names(rows)),
                          report.Clean()};
  const QString dates = Dates_Outside_The_Year(s, run.parameters);
  if (!dates.isEmpty()) {
    outcome.table.notes << dates;
    outcome.clean = false;
  }
  return outcome;
}

namespace {

// Whether column `column` is a period computed on its own, beside the main one.
bool Own_Period(const RunOutcome& run, size_t column) {
  const std::vector<AmountColumn>& columns = run.statement.columns;
  return column > 0 && column < columns.size() && columns[column].kind == ColumnKind::Period &&
         column < run.column_calculations.size();
}

}  // namespace

RunParameters Column_Parameters(const RunOutcome& run, size_t column) {
  RunParameters parameters = run.parameters;
  if (Own_Period(run, column)) parameters.period = run.statement.columns[column].period;
  return parameters;
}

QString Column_Period_Text(const RunOutcome& run, size_t column) {
  if (!Own_Period(run, column)) return run.statement.heading.period;
  const AmountColumn& c = run.statement.columns[column];
  const QString dates = run.parameters.kind == kKindBalanceSheet
                            ? Balance_Sheet_Date_Text(c.period, c.first_day, c.last_day, false)
                            : Period_Text(c.period, c.first_day, c.last_day, false);
  return dates + " (" + c.title + ")";
}

AuditTable Breakdown_Of_Run(AppState& s, const RunOutcome& run, int row, size_t column) {
  const StatementData rows(run.statement);
  StatementRow statement_row = Statement_Row(rows, row);
  const bool own = Own_Period(run, column);
  if (own) {
    // A formula's or a typed amount's figure is the column's own.
    const std::optional<double> balance =
        run.statement.rows[static_cast<size_t>(row)].amounts[column].balance;
    statement_row.amount = balance ? QVariant(*balance) : QVariant();
  }
  const RowBreakdown breakdown =
      Row_Breakdown(statement_row, own ? run.column_calculations[column] : run.calculation);
  return Row_Breakdown_Table(breakdown, Account_Names(s.Db(), Breakdown_Accounts(breakdown)),
                             Row_Names(rows), Column_Period_Text(run, column));
}

QStringList Breakdown_Accounts_Of_Run(const RunOutcome& run, int row, size_t column) {
  return Breakdown_Accounts(
      Row_Breakdown(Statement_Row(StatementData(run.statement), row),
                    Own_Period(run, column) ? run.column_calculations[column] : run.calculation));
}

QString Column_Ledger(const RunOutcome& run, size_t column) {
  return Own_Period(run, column) && column < run.column_ledgers.size() ? run.column_ledgers[column]
                                                                       : QString();
}

namespace {

// The company's session, or one on database `ledger` opened for reading alone.
DbSession Ledger_Session(AppState& s, const QString& ledger) {
  if (ledger.isEmpty()) return s.Db();
  return {Open_Connection(s.Sql_User, s.Sql_Password, ledger, s.Server_Name, true).connection,
          s.Db().show_error};
}

}  // namespace

AuditTable Voucher_Lines_Of_Run(AppState& s, const RunParameters& parameters, const QString& period,
                                const QString& account, const QString& ledger) {
  return Voucher_Lines_Table(Voucher_Lines(Ledger_Session(s, ledger), parameters, account), period);
}

bool Write_Voucher_Lines_Of_Run(AppState& s, const RunParameters& parameters, const QString& period,
                                const QString& account, ListingFormat format,
                                const ListingSink& sink, const QString& ledger) {
  // The count, the text's widths and the lines themselves are read in one transaction, so they
  // agree with each other.
  const DbSession db = Ledger_Session(s, ledger);
  Connection& connection = *db.connection;
  connection.Begin_Transaction();
  struct RollBack {
    Connection& connection;
    ~RollBack() { connection.Rollback(); }
  } roll_back{connection};
  if (connection.engine() == Engine::Postgres)
    connection.Execute("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ");
  AuditRowSource lines;
  const AuditTable table = Voucher_Lines_Table_Read_Along(db, parameters, account, period, &lines);
  return Write_Audit_Listing(s, table, format, lines, sink);
}
