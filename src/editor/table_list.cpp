// The table list's statements, search and sort state.
#include "editor/table_list.h"

#include "db/query.h"
#include "process/app_state.h"
#include "ui_common/list_operations.h"
#include "ui_common/turkish_text.h"

namespace {

const QStringList kListKeys = {"Rapor_ID", "Rapor_Kodu", "Rapor_Adi", "Rapor_Tipi"};

QString Heading(int column) {
  return column == kListCodeColumn ? QString("Rapor Kodu") : QString("Rapor Adı");
}

}  // namespace

QColor Color_Of_Value(int bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

QString List_Base_Sql(int list_type) {
  return "SELECT Rapor_ID,Rapor_Kodu,Rapor_Adi,Rapor_Tipi FROM MUHASEBEMALITABLOKART WHERE "
         "Rapor_Tipi=" +
         QString::number(list_type);
}

QString List_Title_Prefix(int list_type) {
  switch (list_type) {
    case 1: return "Bilanço Tablosu Listesi => ";
    case 2: return "Torvika Tablosu Listesi => ";
    default: return "ABC Listesi => ";
  }
}

QString List_Caption(const QString& prefix, int sort_column) {
  return prefix + (sort_column == kListCodeColumn ? " Rapor Koduna Göre.." : " Rapor Adına Göre..");
}

QString Sort_Field_Of(int column) {
  switch (column) {
    case kListCodeColumn: return "Rapor_Kodu";
    case kListNameColumn: return "Rapor_Adi";
    default: return {};
  }
}

int Next_Sort_Column(int column, bool left) {
  if (left) return column <= kListCodeColumn ? kListNameColumn : column - 1;
  return column >= kListNameColumn ? kListCodeColumn : column + 1;
}

QString List_Search_Sql(const QString& base_sql, const QString& sort_field) {
  return base_sql + " ORDER BY " + sort_field + " ASC";
}

TableList::TableList(int type)
    : list_type(type),
      base_sql(List_Base_Sql(type)),
      title_prefix(List_Title_Prefix(type)),
      grid(kListKeys) {
  grid.Set_Col_Hidden(0, true);
  grid.Set_Col_Width(kListCodeColumn, 2500);
  grid.Set_Col_Width(kListNameColumn, 4000);
  grid.Set_Text(0, 3, "Rapor_Tipi");
  Set_Sort_Column(*this, kListCodeColumn);
}

bool Search_List(AppState& state, TableList& list, const QString& text) {
  const QString sql = List_Search_Sql(list.base_sql, list.sort_field);
  const bool reload = sql != list.last_sql;
  if (!reload && text == list.last_search_text) return false;
  if (reload) Open_Recordset(state.Db(), list.rows, sql);
  list.last_sql = sql;
  list.search = text;
  Fill_List_Grid(list);
  list.last_search_text = text;
  return true;
}

void Toggle_List_Order(AppState& state, TableList& list) {
  // A list that failed to open has no statement to re-sort.
  if (list.rows.Source().isEmpty()) return;
  Toggle_Sort_Order(state, list.rows, list.sort_field);
  Fill_List_Grid(list);
}

void Set_Sort_Column(TableList& list, int column) {
  const QString field = Sort_Field_Of(column);
  if (!field.isEmpty()) list.sort_field = field;
  list.sort_column = column;
  for (int c : {kListCodeColumn, kListNameColumn}) {
    const bool sort = c == column;
    list.grid.Set_Text(0, c, Heading(c) + (sort ? " ^" : ""));
    list.grid.Set_Fore_Color(0, c,
                             Color_Of_Value(sort ? kSortColumnColorValue : kOtherColumnColorValue));
  }
}

void Fill_List_Grid(TableList& list) {
  const int current = list.grid.Row();
  list.grid.Clear_Rows();
  if (list.rows.Is_Open() && list.rows.Record_Count() > 0) {
    for (list.rows.Move_First(); !list.rows.Eof(); list.rows.Move_Next()) {
      if (!Starts_With_TR(list.rows.Text(list.sort_field), list.search)) continue;
      const int r = list.grid.Add_Row();
      for (int c = 0; c < list.grid.Cols(); ++c)
        list.grid.Set_Text(r, c, list.rows.Text(list.grid.Col_Key(c)));
    }
  }
  const int rows = list.grid.Rows();
  list.grid.Set_Current(rows == 1 ? 0 : std::clamp(current, 1, rows - 1), list.sort_column);
  Set_Sort_Column(list, list.sort_column);
}

bool Listed_Table(const TableList& list, int row, ListedTable& table) {
  if (row < 1 || row >= list.grid.Rows()) return false;
  table.id = list.grid.Text(row, "Rapor_ID").toLongLong();
  table.code = list.grid.Text(row, "Rapor_Kodu");
  table.name = list.grid.Text(row, "Rapor_Adi");
  table.type = list.grid.Text(row, "Rapor_Tipi").toInt();
  return true;
}

void Delete_Table(AppState& state, qint64 table_id) {
  Recordset shared;
  const QString id = QString::number(table_id);
  Open_Update_Recordset(state.Db(), shared,
                        "DELETE FROM MUHASEBEMALITABLOHAREKET WHERE Rapor_ID=" + id);
  Open_Update_Recordset(state.Db(), shared,
                        "DELETE FROM MUHASEBEMALITABLOKART WHERE Rapor_ID=" + id);
}
