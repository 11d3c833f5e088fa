// The audit tables of one run, made inside its transaction once the calculation has recorded
// what each row took in: the coverage check, a row's breakdown and an account's voucher lines,
// headed with the statement's name and period as the printed statement heads them. The command
// line and the windows both make them here.
#pragma once

#include <QString>
#include <optional>

#include "audit/audit_table.h"
#include "calc/ledger_aggregation.h"
#include "calc/run_parameters.h"

struct AppState;
class ReportDataSource;

struct CoverageOutcome {
  AuditTable table;
  bool clean = true;  // nothing left out, nothing counted twice, no line dated outside its year
};

CoverageOutcome Coverage_Of_Run(AppState& state, const RunParameters& parameters,
                                const CalculationResult& result);
// The breakdown of row `row` of the statement's rows `rows` (as the run selected them).
AuditTable Breakdown_Of_Run(AppState& state, const RunParameters& parameters,
                            const CalculationResult& result, const ReportDataSource& rows, int row);
// The accounts whose voucher lines the breakdown of that row offers.
QStringList Breakdown_Accounts_Of_Run(const CalculationResult& result, const ReportDataSource& rows,
                                      int row);
AuditTable Voucher_Lines_Of_Run(AppState& state, const RunParameters& parameters,
                                const QString& account);
// The period of the run as the statement's heading prints it.
QString Period_Of_Run(AppState& state, const RunParameters& parameters);
