// The amount columns a run prints beside its own period: the same months one year earlier with
// the difference and the change, each month of the period, or each quarter. Every column is
// computed by the same calculation as the main period, one after the other in the run's
// transaction; the main period comes last so the stored results stay its own. The run driver
// gives each column its ledger lines: the run's own year read once for all its columns, the
// year before from that year's database where the company has one.
#pragma once

#include <QDate>
#include <QString>
#include <map>
#include <optional>
#include <vector>

#include "calc/run_parameters.h"
#include "report/statement.h"

class DbSession;

// The columns of a run: the main period first, then the others; with the order they print in.
struct ComparisonPlan {
  std::vector<AmountColumn> columns;
  std::vector<size_t> print_order;  // empty: the columns' own order
};

// The columns of the run's comparison. Months and quarters lie within the period (the first
// and the last keep its open bounds, so the columns add up to it); a balance sheet's columns
// all start with the period and end with their month or quarter, the last being the period
// itself. The previous period is the same months of the year before.
ComparisonPlan Comparison_Plan(const RunParameters& parameters, const QDate& fiscal_year_start,
                               const QDate& fiscal_year_end);

// The stored figures of the statement query's rows, by Satir_ID, as a calculation left them.
using ColumnFigures = std::map<QString, RowAmounts>;
ColumnFigures Read_Column_Figures(const DbSession& db, const QString& statement_sql);

// Gives the statement the plan's columns: each row takes its figures in every computed column
// (`figures` by column index; none: the column is empty), the difference and the change are
// worked from the main and the previous column. A previous period without figures puts
// `kNoPreviousPeriod` under the heading.
void Add_Comparison_Columns(Statement& statement, const ComparisonPlan& plan,
                            const std::vector<std::optional<ColumnFigures>>& figures);

extern const char* const kNoPreviousPeriod;
