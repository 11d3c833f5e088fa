// The audit windows of a run: the coverage check (the run window's output "Kontrol") and the
// breakdown of a statement row, opened by a double-click on the row in the preview; a
// double-click on an account of the breakdown opens its voucher lines. Each is a DenetimFrm.
#pragma once

#include "report/output_window.h"
#include "report/statement.h"

struct AppState;
class DenetimFrm;
class QWidget;

DenetimFrm* Show_Coverage(AppState& state, const RunOutcome& run, QWidget* parent);
// The breakdown of `row` in amount column `column`; its accounts' voucher lines are those of
// the column's period.
DenetimFrm* Show_Row_Breakdown(AppState& state, const RunOutcome& run, int row, QWidget* parent,
                               size_t column = 0);
// The preview's double-click: the breakdown of the row, in the column clicked, from `run`, which
// must outlive the preview (a run whose calculation recorded its intake).
PreviewRowAction Breakdown_On_Double_Click(AppState& state, const RunOutcome& run);
