#include "editor/account_list.h"

#include "db/query.h"
#include "editor/table_list.h"
#include "process/app_state.h"
#include "ui_common/amount_text.h"
#include "ui_common/turkish_text.h"

namespace {

const int kSortOrder[] = {1, 2, 5, 6, 7, 8};

QString Heading(int column) {
  switch (column) {
    case 1: return "Hesap Kodu";
    case 2: return "Hesap Adı";
    case 3: return "Bakiye";
    case 5: return "Özel Kod1";
    case 6: return "Özel Kod2";
    case 7: return "Özel Kod3";
    case 8: return "Grup Kod";
    default: return {};
  }
}

}  // namespace

QStringList Account_Grid_Keys() {
  return {"MHesap_ID", "MHesap_Kod", "MHesap_Ad", "Bakiye",   "AnaHesaptir",
          "MO_Kod1",   "MO_Kod2",    "MO_Kod3",   "MGrup_Kod"};
}

QString Account_Sort_Field(int column) {
  switch (column) {
    case 1: return "MUHKART.MHesap_Kod";
    case 2: return "MHesap_Ad";
    case 5: return "MUHKART.MO_Kod1";
    case 6: return "MUHKART.MO_Kod2";
    case 7: return "MUHKART.MO_Kod3";
    case 8: return "MUHKART.MGrup_Kod";
    default: return {};
  }
}

int Next_Account_Sort_Column(int column, bool left) {
  const int n = static_cast<int>(std::size(kSortOrder));
  int i = 0;
  while (i < n && kSortOrder[i] != column) ++i;
  if (i == n) return kAccountCodeColumn;
  return kSortOrder[(i + (left ? n - 1 : 1)) % n];
}

QString Account_Caption(int sort_column) {
  const QString prefix = "Muhasebe Hesap Listesi -> ";
  switch (sort_column) {
    case 1: return prefix + "Koda Göre...";
    case 2: return prefix + "Unvana Göre...";
    case 5: return prefix + "Özel Kod1'e Göre...";
    case 6: return prefix + "Özel Kod2'e Göre...";
    case 7: return prefix + "Özel Kod3'e Göre...";
    case 8: return prefix + "Grup Koda Göre...";
    default: return prefix;
  }
}

QString Account_Count_Caption(int count) {
  return "Muhasebe Hesabı Sayısı : " + QString::number(count);
}

PickerStart Picker_Start(const QString& opening) {
  PickerStart start;
  start.sort_column =
      opening.endsWith('0') || opening.isEmpty() ? kAccountCodeColumn : kAccountNameColumn;
  if (opening.trimmed().size() != 1) {
    start.search = opening.chopped(opening.isEmpty() ? 0 : 1);
    start.reset_opening = true;
  }
  return start;
}

QString Account_Search_Sql(const QString& sort_field, const QString& list_type) {
  QString sql = kAccountsBaseSql;
  if (list_type == "Aktif Olanlar")
    sql += " WHERE MUHKART.Aktif=1";
  else if (list_type == "Aktif Olmayanlar")
    sql += " WHERE Aktif=0";
  sql += kAccountsGroupBy;
  return sort_field.isEmpty() ? sql : sql + " ORDER BY " + sort_field;
}

bool Account_Search_Key(QString& search, bool by_code, int c) {
  if (c == 27 || c == 10) return false;
  if (c == 8) {
    if (search.isEmpty()) return false;
    search.chop(1);
    return true;
  }
  if (c == 9) return false;
  if (by_code) {
    if (c == '+' || c == '-') return false;
    if (c == ' ' || c == '*' || c == ',' || c == '.' || c == '/') {
      search += '.';
      return true;
    }
  }
  search += QChar(c);
  return true;
}

void Fill_Account_Grid(const AppState& state, Recordset& rows, KeyedGrid& grid, int sort_column,
                       bool bold_main, const QString& search) {
  if (grid.Cols() == 0) grid = KeyedGrid(Account_Grid_Keys());
  grid.Clear_Rows();
  for (int c = 0; c < grid.Cols(); ++c) {
    const bool sort = c == sort_column;
    grid.Set_Text(0, c, Heading(c) + (sort ? " ^" : ""));
    grid.Set_Fore_Color(0, c,
                        Color_Of_Value(sort ? kSortColumnColorValue : kOtherColumnColorValue));
  }
  grid.Set_Col_Hidden(0, true);
  grid.Set_Col_Hidden(4, true);
  grid.Set_Col_Width(1, 3200);
  grid.Set_Col_Width(2, 5300);
  grid.Set_Col_Width(3, 2300);
  const QColor red = Color_Of_Value(255), blue = Color_Of_Value(16711680);
  if (rows.Is_Open() && rows.Record_Count() > 0) {
    const QString sort_key = grid.Col_Key(sort_column);
    for (rows.Move_First(); !rows.Eof(); rows.Move_Next()) {
      if (!Starts_With_TR(rows.Text(sort_key), search)) continue;
      const int r = grid.Add_Row();
      for (int c = 0; c < grid.Cols(); ++c)
        if (c != kAccountBalanceColumn) grid.Set_Text(r, c, rows.Text(grid.Col_Key(c)));
      grid.Set_Text(r, kAccountBalanceColumn,
                    Format_Balance(state, "Bakiye", rows.Field("Bakiye").toDouble()));
      const bool top = !grid.Text(r, 1).contains('.');
      const bool main = grid.Text(r, 4).trimmed() == "1";
      if (top || main) {
        for (int c = 0; c < grid.Cols(); ++c) {
          grid.Set_Fore_Color(r, c, top ? red : blue);
          grid.Set_Bold(r, c, top || bold_main);
        }
      }
    }
  }
  grid.Set_Current(grid.Rows() > 1 ? 1 : 0, kAccountCodeColumn);
}
