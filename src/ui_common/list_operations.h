// The two list operations of the list windows: F12 toggles the sort order of the list's
// recordset on a field, and typed characters build the incremental-search text that a timer
// then looks up.
#pragma once

#include <QString>

struct AppState;
class Recordset;

// The statement re-sorted on `field`: an ORDER BY other than exactly `field` gives
// "... ORDER BY field" (ascending), exactly `field` gives "... ORDER BY field DESC"; a
// statement without ORDER BY gets " ORDER BY " and the field.
QString Sort_Order_Sql(const QString& sql, const QString& field);

// Reopens `rs` read-only with Sort_Order_Sql of its statement; true when it is open again.
bool Toggle_Sort_Order(AppState& state, Recordset& rs, const QString& field);

struct SearchKeyResult {
  bool result = false;         // the key was taken by the search
  bool restart_timer = false;  // the search timer starts again from now
};
// A character typed into a list: Escape, line feed and Tab are ignored; Backspace removes the
// last character of `search` (when there is one); any other character is appended.
SearchKeyResult Search_Key_Press(QString& search, int char_code);
