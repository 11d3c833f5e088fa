#include "run/run_driver.h"

#include "process/app_state.h"
#include "calc/formula.h"
#include "calc/ledger_aggregation.h"
#include "run/run_parameters.h"

namespace {

const QString kTable = "MUHASEBEMALITABLOHAREKET";

void Append_Condition(AppState& s, const QString& condition) {
  s.Report_Sql += (s.Sql_Has_Where ? " AND " : " WHERE ") + condition;
}

}  // namespace

void Append_Display_Conditions(AppState& s, const KeyedGrid& grid) {
  s.Sql_Has_Where = s.Report_Sql.contains("WHERE");
  for (int row = 1; row < grid.Rows(); ++row) {
    if (grid.Text(row, "FiltreLbl") != "Hareket Görmüşler") continue;
    QString value = grid.Text(row, "Baslangic");
    if (value == "Evet")
      Append_Condition(s, kTable + ".Bakiye<>0");
    else if (value == "Hayır")
      Append_Condition(s, "(" + kTable + ".Bakiye=0 OR " + kTable + ".Bakiye IS NULL)");
  }
  s.Sql_Has_Where = s.Report_Sql.contains("WHERE");
  if (!s.Print_Footnotes) Append_Condition(s, kTable + ".Satir_Tipi<>10");
}

bool Run_Statement(AppState& s, KeyedGrid& grid, const RunSteps& steps) {
  s.Error_Text = "";
  Parametreleri_Hazirla(s, grid);
  s.F2_Run_Flag = false;
  if (!s.Error_Text.isEmpty()) {
    s.Message->Critical(s.Error_Text);
    return false;
  }
  if (steps.show_waiting) steps.show_waiting();
  try {
    Tablo_Hesapla(s);
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
  if (!s.Error_Text.isEmpty()) {
    s.Message->Plain(s.Error_Text);
    return false;
  }
  Append_Display_Conditions(s, grid);
  // The workplace name is looked up before the output, which is produced at once here and
  // shows it in its page header.
  Isyeri_Filtresi(s, grid);
  if (steps.produce_output) steps.produce_output();
  return true;
}
