// The account picker's rules: the statement that lists the chart of accounts (MUHKART) with the
// balances of MUHBAKIYE, the opening a caller passes, the incremental search text, the sort column
// with its field, caption and heading mark, and the rows' colours. Any account may be chosen,
// main accounts included.
// MuhHesapListesi (account_picker_window) shows the list and calls these.
#pragma once

#include <QString>
#include <QStringList>

#include "db/recordset.h"
#include "ui_common/keyed_grid.h"

struct AppState;

inline const char* kAccountsBaseSql =
    "SELECT MUHKART.MHesap_ID,MUHKART.MHesap_Kod,MHesap_Ad,ISNULL(SUM(MUHBAKIYE.Bakiye),0) as "
    "Bakiye,AnaHesaptir,MUHKART.MO_Kod1,MUHKART.MO_Kod2,MUHKART.MO_Kod3,MUHKART.MGrup_Kod FROM "
    "MUHKART LEFT JOIN MUHBAKIYE ON (MUHBAKIYE.MHesap_ID=MUHKART.MHesap_ID) ";
inline const char* kAccountsGroupBy =
    " GROUP BY MUHKART.MHesap_ID,MUHKART.MHesap_Kod,MHesap_Ad,AnaHesaptir,MUHKART.MO_Kod1,"
    "MUHKART.MO_Kod2,MUHKART.MO_Kod3,MUHKART.MGrup_Kod";
inline const char* kListTypes = "Hepsi|Aktif Olanlar|Aktif Olmayanlar";
inline const char* kDefaultListType = "Aktif Olanlar";

// Grid columns: 0 MHesap_ID and 4 AnaHesaptir hidden; 1, 2, 5-8 sortable; 3 the balance.
constexpr int kAccountCodeColumn = 1;
constexpr int kAccountNameColumn = 2;
constexpr int kAccountBalanceColumn = 3;
QStringList Account_Grid_Keys();
// "MUHKART.MHesap_Kod", "MHesap_Ad", "MUHKART.MO_Kod1" ...; "" for a column that does not sort.
QString Account_Sort_Field(int column);
// The column Left (or Right) moves the sort to, through 1, 2, 5, 6, 7, 8, wrapping.
int Next_Account_Sort_Column(int column, bool left);
// "Muhasebe Hesap Listesi -> Koda Göre..." and the like.
QString Account_Caption(int sort_column);
// "Muhasebe Hesabı Sayısı : " and the count.
QString Account_Count_Caption(int count);

// What a caller's opening (Account_List_Type) opens the picker with: the sort column by its last
// character ("0" code, any other name) and, unless the trimmed opening is one character, the
// search text (the opening without that character).
struct PickerStart {
  int sort_column = kAccountCodeColumn;
  QString search;
  bool reset_opening = false;  // the opening text goes back to "0"
};
PickerStart Picker_Start(const QString& opening);

// The list's statement for the list type's text, in the order of the sort field. The search
// text filters its rows in the program, so that case is ignored by Turkish rules on every
// engine.
QString Account_Search_Sql(const QString& sort_field, const QString& list_type);

// A character typed in the list; true when the search text changed. Searching by code, a blank,
// "*", ",", "." or "/" types the separator "." and Tab, "+", "-" are ignored.
bool Account_Search_Key(QString& search, bool by_code, int char_code);

// The grid of the listed accounts whose sort column begins with `search` (case ignored by
// Turkish rules): the headings (the sort column marked), the balance text, the row colours (a
// top-level account red and bold, a main account blue, bold when `bold_main`).
void Fill_Account_Grid(const AppState& state, Recordset& rows, KeyedGrid& grid, int sort_column,
                       bool bold_main, const QString& search = {});
