// A statement run, from the filter grid to the rows that the output shows: the run parameters,
// the stop on a rejected filter value, the calculation, the moved-only and footnote conditions
// appended to Report_Sql, the output, and the workplace name of the report header. The run
// window and the command line both drive runs through Run_Statement.
#pragma once

#include <QString>
#include <functional>

#include "ui_common/keyed_grid.h"

struct AppState;

struct RunSteps {
  // Shows the waiting frame before the work starts (and paints it).
  std::function<void()> show_waiting;
  // Hides it when the calculation ends, whatever the outcome.
  std::function<void()> hide_waiting;
  // Produces the output chosen by the user; Report_Sql then selects the rows to show.
  std::function<void()> produce_output;
};

// Runs the statement of `grid`. Returns false when the run stopped (a rejected filter value,
// a database error or a formula that cannot be evaluated), after its message.
bool Run_Statement(AppState& state, KeyedGrid& grid, const RunSteps& steps);

// The display conditions: "Hareket Görmüşler" and the footnote option, appended to Report_Sql.
void Append_Display_Conditions(AppState& state, const KeyedGrid& grid);
