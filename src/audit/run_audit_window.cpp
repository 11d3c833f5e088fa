#include "audit/run_audit_window.h"

#include <algorithm>

#include "audit/audit_table_window.h"
#include "audit/run_audit.h"

DenetimFrm* Show_Coverage(AppState& state, const RunOutcome& run, QWidget* parent) {
  return Show_Audit_Table(state, Coverage_Of_Run(state, run).table, parent);
}

DenetimFrm* Show_Row_Breakdown(AppState& state, const RunOutcome& run, int row, QWidget* parent,
                               size_t column) {
  return Show_Audit_Table(state, Breakdown_Of_Run(state, run, row, column), parent,
                          [&state, parameters = Column_Parameters(run, column),
                           period = Column_Period_Text(run, column),
                           ledger = Column_Ledger(run, column)](const QString& account,
                                                                QWidget* window) {
                            Show_Audit_Table(state,
                                             Voucher_Lines_Of_Run(state, parameters, period,
                                                                  account, ledger),
                                             window);
                          });
}

PreviewRowAction Breakdown_On_Double_Click(AppState& state, const RunOutcome& run) {
  return [&state, &run](int row, int column, QWidget* preview) {
    Show_Row_Breakdown(state, run, row, preview, static_cast<size_t>(std::max(column, 0)));
  };
}
