#include "run/run_driver.h"

#include "calc/formula.h"
#include "calc/ledger_aggregation.h"
#include "model/financial_table.h"
#include "process/app_state.h"
#include "run/parameter_preparation.h"

namespace {

const QString kTable = "MUHASEBEMALITABLOHAREKET";

void Append_Condition(QString& sql, const QString& condition) {
  sql += (sql.contains("WHERE") ? " AND " : " WHERE ") + condition;
}

}  // namespace

QString Append_Display_Conditions(const QString& statement_sql, bool print_footnotes,
                                  const KeyedGrid& grid) {
  QString sql = statement_sql;
  for (int row = 1; row < grid.Rows(); ++row) {
    if (grid.Text(row, "FiltreLbl") != "Hareket Görmüşler") continue;
    QString value = grid.Text(row, "Baslangic");
    if (value == "Evet")
      Append_Condition(sql, kTable + ".Bakiye<>0");
    else if (value == "Hayır")
      Append_Condition(sql, "(" + kTable + ".Bakiye=0 OR " + kTable + ".Bakiye IS NULL)");
  }
  if (!print_footnotes)
    Append_Condition(sql, kTable + ".Satir_Tipi<>" + QString::number(kRowFootnote));
  return sql;
}

bool Run_Statement(AppState& s, KeyedGrid& grid, const RunSteps& steps) {
  RunParameters parameters = Parametreleri_Hazirla(s, grid);
  s.Report_Sql = parameters.statement_sql;
  s.Row_Lines = parameters.row_lines;
  s.F2_Run_Flag = false;
  if (!parameters.error.isEmpty()) {
    s.Message->Critical(parameters.error);
    return false;
  }
  if (steps.show_waiting) steps.show_waiting();
  try {
    Tablo_Hesapla(s.Db(), parameters, steps.progress);
  } catch (const DbError& e) {
    if (steps.hide_waiting) steps.hide_waiting();
    // A failing query has shown its own two messages; its closed recordset adds nothing.
    if (e.Number != kErrObjectClosed) s.Message->Critical(e.Description);
    return false;
  } catch (const FormulaError& e) {
    if (steps.hide_waiting) steps.hide_waiting();
    s.Message->Critical(e.message);
    return false;
  }
  if (steps.hide_waiting) steps.hide_waiting();
  parameters.statement_sql =
      Append_Display_Conditions(parameters.statement_sql, parameters.print_footnotes, grid);
  // The workplace name is looked up before the output, which is produced at once here and
  // shows it in its page header.
  parameters.workplace_name = Isyeri_Filtresi(s.Db(), grid);
  s.Report_Sql = parameters.statement_sql;
  s.Workplace_Name = parameters.workplace_name;
  if (steps.produce_output) steps.produce_output(parameters);
  return true;
}
