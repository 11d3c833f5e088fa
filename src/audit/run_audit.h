// The audit tables of one run, made inside its transaction once the calculation has recorded
// what each row took in: the coverage check, a row's breakdown and an account's voucher lines,
// headed with the statement's name and period as the run's statement heads them. The command
// line and the windows both make them here.
#pragma once

#include <QString>
#include <optional>

#include "audit/audit_table.h"
#include "report/statement.h"

struct AppState;

struct CoverageOutcome {
  AuditTable table;
  bool clean = true;  // nothing left out, nothing counted twice, no line dated outside its year
};

CoverageOutcome Coverage_Of_Run(AppState& state, const RunOutcome& run);
// The breakdown of row `row` of the run's statement in amount column `column`: a period column
// of its own is broken down over its period's calculation, the main period, a difference and a
// change over the run's.
AuditTable Breakdown_Of_Run(AppState& state, const RunOutcome& run, int row, size_t column = 0);
// The period whose ledger lines make up column `column` (the run's own for the main column, a
// difference or a change), and how the breakdown heads it: the statement's period, or the
// column's dates followed by its title.
RunParameters Column_Parameters(const RunOutcome& run, size_t column);
QString Column_Period_Text(const RunOutcome& run, size_t column);
// The accounts whose voucher lines the breakdown of that row offers.
QStringList Breakdown_Accounts_Of_Run(const RunOutcome& run, int row, size_t column = 0);
// The database whose ledger column `column`'s lines come from: the previous fiscal year's own,
// or "" for the company's.
QString Column_Ledger(const RunOutcome& run, size_t column);
// An account's voucher lines in the run's period (`period` as the statement prints it), from
// the company's ledger or from that of database `ledger`, opened for reading alone.
AuditTable Voucher_Lines_Of_Run(AppState& state, const RunParameters& parameters,
                                const QString& period, const QString& account,
                                const QString& ledger = {});
// The same lines listed to `sink` as they are read, none of them held, all from one read of the
// database; false when the sink failed.
bool Write_Voucher_Lines_Of_Run(AppState& state, const RunParameters& parameters,
                                const QString& period, const QString& account, ListingFormat format,
                                const ListingSink& sink, const QString& ledger = {});
