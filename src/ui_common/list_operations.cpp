// Sort toggling and search keys of the list windows.
#include "ui_common/list_operations.h"

#include "db/query.h"
#include "db/recordset.h"
#include "process/app_state.h"

QString Sort_Order_Sql(const QString& sql, const QString& field) {
  QString source = sql;
  QString current;
  bool descending = false;
  const int p = source.indexOf("ORDER BY");
  if (p >= 0) {
    current = source.mid(p + 9);
    descending = source.indexOf("DESC", p) >= 0;
    source = source.left(source.indexOf("ORDER"));
  }
  if (field != current) return source + " ORDER BY " + field;
  return source + " ORDER BY " + field + (descending ? "" : " DESC");
}

bool Toggle_Sort_Order(AppState& state, Recordset& rs, const QString& field) {
  Open_Recordset(state.Db(), rs, Sort_Order_Sql(rs.Source(), field));
  return rs.Is_Open();
}

SearchKeyResult Search_Key_Press(QString& search, int char_code) {
  switch (char_code) {
    case 27:  // Escape
    case 10:  // line feed
    case 9:   // Tab
      return {};
    case 8:  // Backspace
      if (search.isEmpty()) return {true, false};
      search.chop(1);
      return {true, true};
    default: {
      const char32_t c = static_cast<char32_t>(char_code);
      search += QString::fromUcs4(&c, 1);
      return {true, true};
    }
  }
}
