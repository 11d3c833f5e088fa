// The definition window's rules on its three grids, free of widgets: which grids a kind shows,
// the row menu and its items per grid, the window's and the grids' keys, the current row's
// change and delete, the place a new row goes (by its code), the selection colours, and the
// save through the code and name dialog. MuhMaliTabloTanim (table_definition_window) shows the
// grids of a TableDefinition and calls these.
#pragma once

#include <QColor>
#include <QString>
#include <functional>
#include <vector>

#include "model/financial_table.h"
#include "model/table_definition.h"
#include "ui_common/keyed_grid.h"

struct AppState;

inline const char* kDefinitionWindowTitle = "Entegrasyon Parametre Girişi";
inline const char* kDeleteRowQuestion = "Satırı Silmek İstediğinizden Eminmisiniz?";

// Layout by kind: a balance sheet (1) shows the passive grid beside the main one; any other
// kind widens the main grid to 14675 twips (its frame 30 more).
bool Shows_Passive_Grid(const QString& kind);
constexpr int kWideMainGridTwips = 14675;
constexpr int kWideFrameExtraTwips = 30;

// The row menu MnHepsi, in menu order. Items with a row type add a row of that type; the others
// are MnSayfaDuzeni (a submenu without action), MnSatirDegistir, MnSatir_Sil and MnDipNot.
struct RowMenuItem {
  QString name;
  QString caption;
  int row_type = 0;  // 0: not an add-row item
};
const std::vector<RowMenuItem>& Row_Menu_Items();
// The captions of the "SAYFA DÜZENİ" submenu: "BOŞ SATIR", "ÇİFT ÇİZGİ", "TEK ÇİZGİ".
QStringList Page_Layout_Captions();
// Whether an item shows when the menu opens on the grid of `placement`: the footnote grid offers
// "DİPNOT EKLE" instead of the other add-row items and "SAYFA DÜZENİ".
bool Row_Menu_Item_Visible(const QString& item, int placement);

// Keys of the window, seen before its controls'. F3 closes unless the global View_Mode is set;
// Escape closes only when it is; F2 saves while the save button shows.
enum class DefinitionKey { None, Save, Exit };
DefinitionKey Definition_Window_Key(int key_code, bool save_visible, bool view_mode);

// The row type MnSatirDegistir opens the row editor for: the numeric value of the current row's
// Satir_Tipi cell (0 for text that is not a number); nothing (-1) without a current definition
// row.
int Row_To_Change(const KeyedGrid& grid);
// Removes the current definition row; false without one.
bool Delete_Current_Row(KeyedGrid& grid);

// Where a new row goes: a row with a code before the first row whose code sorts after it
// (character codes, case-sensitive), else at the end; a row without a code at the current row
// (at the end when there is no current definition row).
int Insertion_Row(const KeyedGrid& grid, const QString& code);
// The data row (1..) of the grid whose code is `code`, other than `except`; -1 when none.
int Row_With_Code(const KeyedGrid& grid, const QString& code, int except = -1);
// Inserts `row` where Insertion_Row puts it and fills its cells (level and display text
// computed from the code; Formul only in the main grid; Tutar from Bakiye); returns the row.
int Insert_Definition_Row(KeyedGrid& grid, const DefinitionRow& row);

// Selection colours: &H8080FF while the grid has the focus; after it loses it, the grid's
// background on an odd current row, else its alternate-row background.
QColor Focus_Selection_Color();
QColor Unfocused_Selection_Color(int current_row, const QColor& back, const QColor& alternate);

// The save of KaydetBtn (as_new: FKaydetBtn, which first makes the table a new header with id
// 0). The code and name go to the dialog through Table_Code and Table_Name; `ask_code_name`
// shows it and returns false when it was cancelled (KayitIptal). Confirmed, the table takes the
// code and name back and is saved; true when it was stored.
bool Save_Definition(AppState& state, TableDefinition& def, bool as_new,
                     const std::function<bool()>& ask_code_name);
