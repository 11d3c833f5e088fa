// The date-box rule on the digits typed.
#include "ui_common/date_box.h"

#include <algorithm>

#include "process/app_state.h"
#include "ui_common/keyed_grid.h"

DateBoxEdit Format_Date_Box(const QString& text, int caret, bool typed) {
  DateBoxEdit edit;
  edit.text = text;
  edit.caret = caret;
  if (!typed) return edit;

  const int new_caret = (caret == 2 || caret == 5) ? caret + 1 : caret;
  QString digits;
  for (QChar c : text)
    if (c >= u'0' && c <= u'9') digits += c;
  const QString day = digits.left(2);
  const QString month = digits.mid(2, 2);
  const QString year = digits.mid(4);

  if (!day.isEmpty() && day.toInt() > 31) {
    edit.message = kDayMessage;
    edit.date_error = true;
  }
  if (!month.isEmpty() && month.toInt() > 12) {
    edit.message = kMonthMessage;
    edit.date_error = true;
  }
  const bool thirty_days = month == "04" || month == "06" || month == "09" || month == "11";
  if ((month == "02" && day.toInt() > 29) || (thirty_days && day.toInt() > 30)) {
    edit.message = kDayMessage;
    edit.date_error = true;
  }

  if (digits.size() != 8 || !edit.date_error) {
    edit.text = day + (day.size() == 2 ? "/" : "") + month + (month.size() == 2 ? "/" : "") + year;
    edit.caret = std::clamp(new_caret, 0, static_cast<int>(edit.text.size()));
    edit.applied = true;
    edit.result = edit.text;
  } else {
    edit.refused = true;
  }
  return edit;
}

DateBoxEdit Format_Date_Box(AppState& state, const QString& text, int caret, bool typed) {
  DateBoxEdit edit = Format_Date_Box(text, caret, typed);
  if (edit.refused) state.Message->Critical(edit.message);
  return edit;
}

DateBoxEdit Format_Date_Box(AppState& state, KeyedGrid& grid, int caret, bool typed) {
  DateBoxEdit edit = Format_Date_Box(state, grid.Text(grid.Row(), grid.Col()), caret, typed);
  if (edit.applied) grid.Set_Text(grid.Row(), grid.Col(), edit.text);
  return edit;
}

bool Date_Refusal_Focuses_List(const QString& window_name) {
  return window_name.contains("Liste") || window_name == "SiparisKart";
}
