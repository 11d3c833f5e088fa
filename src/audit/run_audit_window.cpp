#include "audit/run_audit_window.h"

#include "audit/audit_table_window.h"
#include "audit/run_audit.h"

DenetimFrm* Show_Coverage(AppState& state, const RunParameters& parameters,
                          const CalculationResult& result, QWidget* parent) {
  return Show_Audit_Table(state, Coverage_Of_Run(state, parameters, result).table, parent);
}

DenetimFrm* Show_Row_Breakdown(AppState& state, const RunParameters& parameters,
                               const CalculationResult& result, const ReportDataSource& rows,
                               int row, QWidget* parent) {
  return Show_Audit_Table(state, Breakdown_Of_Run(state, parameters, result, rows, row), parent,
                          [&state, parameters](const QString& account, QWidget* window) {
                            Show_Audit_Table(state,
                                             Voucher_Lines_Of_Run(state, parameters, account),
                                             window);
                          });
}

PreviewRowAction Breakdown_On_Double_Click(AppState& state, const RunParameters& parameters,
                                           const CalculationResult& result) {
  return [&state, parameters, &result](const ReportDataSource& rows, int row, QWidget* preview) {
    Show_Row_Breakdown(state, parameters, result, rows, row, preview);
  };
}
