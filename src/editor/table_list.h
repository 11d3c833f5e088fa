// The table list's rules: the statement that lists one kind's table definitions, the incremental
// search by code or by name, the sort column with its heading mark and colour, the caption, and
// the delete of a table (its rows first, then its header). MuhMaliTabloListe (table_list_window)
// shows the list and calls these; the definition window it opens is table_definition_window.
#pragma once

#include <QColor>
#include <QString>
#include <cstdint>

#include "db/recordset.h"
#include "ui_common/keyed_grid.h"

struct AppState;

// Columns of the list: 1 the code, 2 the name; column 0 (Rapor_ID) is hidden.
constexpr int kListCodeColumn = 1;
constexpr int kListNameColumn = 2;
// The sort column's heading colour and the other headings', as BGR colour values.
constexpr int kSortColumnColorValue = 13330740;
constexpr int kOtherColumnColorValue = 128;
QColor Color_Of_Value(int bgr);

// "SELECT Rapor_ID,Rapor_Kodu,Rapor_Adi,Rapor_Tipi FROM MUHASEBEMALITABLOKART WHERE Rapor_Tipi="
// and the kind.
QString List_Base_Sql(int list_type);
// "Bilanço Tablosu Listesi => ", "Torvika Tablosu Listesi => " or "ABC Listesi => ".
QString List_Title_Prefix(int list_type);
// The prefix followed by " Rapor Koduna Göre.." (code column) or " Rapor Adına Göre..".
QString List_Caption(const QString& prefix, int sort_column);
// "Rapor_Kodu" for the code column, "Rapor_Adi" for the name column, "" for another.
QString Sort_Field_Of(int column);
// The column Left or Right moves the sort to: the other of the two, wrapping.
int Next_Sort_Column(int column, bool left);
// The list's statement: the base and " ORDER BY <field> ASC". The search text filters its rows
// in the program, so that case is ignored by Turkish rules on every engine.
QString List_Search_Sql(const QString& base_sql, const QString& sort_field);

// The list's state between searches.
struct TableList {
  explicit TableList(int type);

  int list_type;
  QString base_sql;
  QString last_sql;  // "" forces the next search to reload
  QString sort_field = "Rapor_Kodu";
  int sort_column = kListCodeColumn;
  QString last_search_text = "|";
  QString search;  // the rows shown are those whose sort field begins with it
  QString title_prefix;
  Recordset rows;  // Rs_List
  KeyedGrid grid;  // what the window shows: Rapor_ID, Rapor_Kodu, Rapor_Adi, Rapor_Tipi
};

// Runs the search for `text`: reloads the rows when the statement differs from the last one,
// and the grid when they or the text changed. True when the grid was filled again.
bool Search_List(AppState& state, TableList& list, const QString& text);
// F12: re-sorts the rows on the sort field (ascending, descending, ascending, ...).
void Toggle_List_Order(AppState& state, TableList& list);
// Moves the sort to `column` (1 or 2; any other column keeps the field): marks its heading with
// " ^" and the sort colour and the other heading with the other colour. The rows are re-ordered
// at the next search.
void Set_Sort_Column(TableList& list, int column);
// The grid from the rows whose sort field begins with the search text, case ignored by Turkish
// rules, with the headings marked for the sort column; the current row is kept where it was
// when it still exists.
void Fill_List_Grid(TableList& list);

// The table of grid row `row`, when the row exists.
struct ListedTable {
  int32_t id = 0;
  QString code;
  QString name;
  int type = 0;
};
bool Listed_Table(const TableList& list, int row, ListedTable& table);

// "Seçilen Rapor Tanımı Silinecektir. Onaylıyormusunuz?"
inline const char* kDeleteTableQuestion = "Seçilen Rapor Tanımı Silinecektir. Onaylıyormusunuz?";
// Deletes the table's rows and then its header; the list's next search reads the database again.
void Delete_Table(AppState& state, qint64 table_id);
