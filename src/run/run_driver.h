// A statement run, from the filter grid to the statement value that every output renders: the
// run parameters, the stop on a rejected filter value, the calculation, the moved-only and
// footnote conditions appended to the statement query, the workplace name of the heading, and
// the statement read back inside the run's transaction. The run window and the command line
// both drive runs through Run_Statement.
#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "calc/ledger_aggregation.h"
#include "calc/run_parameters.h"
#include "db/db_session.h"
#include "model/statement_lock.h"
#include "process/progress.h"
#include "report/statement.h"
#include "run/parameter_preparation.h"
#include "ui_common/keyed_grid.h"

struct AppState;

struct RunSteps {
  // Shows the waiting frame before the work starts (and paints it).
  std::function<void()> show_waiting;
  // Told before the first row and after every row of the calculation.
  ProgressCallback progress;
  // Hides it when the calculation ends, whatever the outcome.
  std::function<void()> hide_waiting;
  // Whether the calculation records what each row took in (CalculationResult::intake).
  bool record_intake = false;
  // False for a check: the statement is read with the computed amounts, which are then rolled
  // back, so the stored results stay those of the last run.
  bool keep_amounts = true;
  // Writes the output that must be whole before the run's amounts are kept, inside the run's
  // transaction; false (after its message) rolls the run back.
  std::function<bool(const RunOutcome&)> write;
};

// Runs the statement of `grid` in one transaction: the computed amounts and the statement read
// back from them belong to this run alone; a run that fails (or a check) leaves the previous
// results. Empty when the run stopped (a rejected filter value, a database error, a formula
// that cannot be evaluated or an output that could not be written), after its message. The
// grid stays as typed; the values the run completed go to `completions` when given.
std::optional<RunOutcome> Run_Statement(AppState& state, const KeyedGrid& grid,
                                        const RunSteps& steps,
                                        FilterCompletions* completions = nullptr);

// Why a run with these parameters would print nothing: the last month before the first, a
// statement without rows (no such table), no row within the chosen levels, or a period without
// a single ledger line while no row has an amount of its own (every amount would be blank).
// "" when it would print rows.
QString Nothing_To_Print(const AppState& state, const RunParameters& parameters);

// The warning after a run whose formulas name codes no row has: one line per row and code.
QString Unknown_Codes_Text(const CalculationResult& result);

// The statement query with the display conditions appended: "Hareket Görmüşler", the footnote
// option and the level bounds (which rows are printed).
QString Append_Display_Conditions(const RunParameters& parameters);
