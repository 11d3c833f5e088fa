// The date-box editor: a date is typed as digits (day, month, year) and shown with "/" after
// a two-digit day and a two-digit month while it is typed. A day above 31 (above 29 in
// February, above 30 in April, June, September and November) or a month above 12 sets the
// date error; once all 8 digits are there such a date is refused with a message and the text
// is left as typed. The rule works on plain text and caret; the run window applies it to the
// current cell of its filter grid.
#pragma once

#include <QString>

struct AppState;
class KeyedGrid;

inline const char* kDayMessage = "Gün alanını yanlış girdiniz.";
inline const char* kMonthMessage = "Ay alanını yanlış girdiniz.";

struct DateBoxEdit {
  QString text;             // the box's text afterwards (unchanged unless `applied`)
  int caret = 0;            // the caret afterwards
  bool applied = false;     // the text was rewritten from its digits
  bool date_error = false;  // Date_Error: a wrong day or month was typed
  bool refused = false;     // 8 digits and a date error: `message` is shown
  QString message;          // the day or month message
  QString result;           // what the procedure returns: the new text when applied, else ""
};

// Nothing happens when `typed` is false. A caret at position 2 or 5 (just before where a
// separator goes) moves one further.
DateBoxEdit Format_Date_Box(const QString& text, int caret, bool typed);
// The same, showing the message of a refusal (critical icon).
DateBoxEdit Format_Date_Box(AppState& state, const QString& text, int caret, bool typed);
// The same on the grid's current cell, whose editor has its caret at `caret`; an applied
// text is written back into the cell.
DateBoxEdit Format_Date_Box(AppState& state, KeyedGrid& grid, int caret, bool typed);

// After a refusal the focus goes to the window's list grid TDBG1 when the window's name
// contains "Liste" or is "SiparisKart"; otherwise it stays on the edited box.
bool Date_Refusal_Focuses_List(const QString& window_name);
