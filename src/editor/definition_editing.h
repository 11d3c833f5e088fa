// The definition window's rules on its three grids, free of widgets: which grids a kind shows,
// the columns they show and the text of each cell, the row menu and its items per grid, the
// window's and the grids' keys, the current row's change, move and delete, the place a new row
// goes, the page layout rows, the selection colours, unsaved changes, and the save through the
// code and name dialog. MuhMaliTabloTanim (table_definition_window) shows the
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
inline const char* kUnsavedChangesQuestion =
    "Tabloda kaydedilmemiş değişiklikler var. Kaydetmeden çıkmak istiyor musunuz?";

// The widths of the definition tables' text columns, and the refusal of a longer text:
// "Tablo Adı en fazla 100 karakter olabilir (106 karakter yazıldı)."; "" when it fits.
constexpr int kTableCodeLength = 50, kTableNameLength = 100;
constexpr int kRowCodeLength = 50, kRowNameLength = 200, kAccountCodeLength = 30;
constexpr int kFormulaLength = 500;
QString Length_Refusal(const QString& caption, const QString& text, int max);

// The window's title: the table's code and name before kDefinitionWindowTitle ("Yeni Tablo"
// for a table not saved yet).
QString Definition_Window_Title(const QString& code, const QString& name);

// The columns a definition grid shows, in order: code, caption, row kind, accounts, formula
// (main grid only) and options, each with its heading. The caption's heading is the
// placement's caption (none for the main grid: "Açıklama").
struct ShownColumn {
  QString key;
  QString heading;
  int twips = 1200;
};
std::vector<ShownColumn> Definition_Shown_Columns(int placement);
// Hides every other column of `grid` and gives the shown ones their headings and widths.
void Show_Definition_Columns(KeyedGrid& grid, int placement);
// What a cell of a definition row shows for its stored `value`: the caption indented by the
// row's level (a rule row shows its rule), the kind's caption, the accounts ("600" or
// "600 - 602"), the options that apply to the kind; other cells show their value.
QString Definition_Cell_Text(const KeyedGrid& grid, int row, const QString& key,
                             const QString& value);

// Layout by kind: a balance sheet (1) shows the passive grid beside the main one; any other
// kind widens the main grid to 14675 twips (its frame 30 more).
bool Shows_Passive_Grid(const QString& kind);
constexpr int kWideMainGridTwips = 14675;
constexpr int kWideFrameExtraTwips = 30;

// The row menu MnHepsi, in menu order. Items with a row type add a row of that type; the others
// are MnSayfaDuzeni (the submenu of the page layout rows), MnSatirDegistir, MnYukari and
// MnAsagi (move the row), MnSatir_Sil and MnDipNot.
struct RowMenuItem {
  QString name;
  QString caption;
  int row_type = 0;  // 0: not an add-row item
};
const std::vector<RowMenuItem>& Row_Menu_Items();
// The items of the "SAYFA DÜZENİ" submenu: "BOŞ SATIR", "ÇİFT ÇİZGİ", "TEK ÇİZGİ", each adding
// a row of its kind below the current one.
const std::vector<RowMenuItem>& Page_Layout_Items();
// Whether an item shows when the menu opens on the grid of `placement`: the footnote grid offers
// "DİPNOT EKLE" instead of the other add-row items and "SAYFA DÜZENİ".
bool Row_Menu_Item_Visible(const QString& item, int placement);

// Keys of the window, seen before its controls'. F3 closes unless the global View_Mode is set;
// Escape closes only when it is; F2 saves while the save button shows.
enum class DefinitionKey { None, Save, Exit };
DefinitionKey Definition_Window_Key(int key_code, bool save_visible, bool view_mode);

// The row type MnSatirDegistir opens the row editor for: the numeric value of the current row's
// Satir_Tipi cell (0 for text that is not a number); nothing (-1) without a current definition
// row or on a page layout row, which has nothing to change.
int Row_To_Change(const KeyedGrid& grid);
// Removes the current definition row; false without one.
bool Delete_Current_Row(KeyedGrid& grid);
// Moves the current row one place up (step -1) or down (+1) and keeps it current; false at
// either end or without a current row.
bool Move_Current_Row(KeyedGrid& grid, int step);

// Where a new row goes: below the current row, at the end when there is no current row.
int Insertion_Row(const KeyedGrid& grid);
// The data row (1..) of the grid whose code is `code`, other than `except`; -1 when none.
int Row_With_Code(const KeyedGrid& grid, const QString& code, int except = -1);
// Inserts `row` where Insertion_Row puts it, fills its cells (level and display text computed
// from the code; Formul only in the main grid; Tutar from Bakiye) and makes it current;
// returns the row.
int Insert_Definition_Row(KeyedGrid& grid, const DefinitionRow& row);
// The row a page layout item adds: its kind, no code or caption, no calculation.
DefinitionRow Page_Layout_Row(int row_type);

// The grids' contents, to tell whether anything changed since they were loaded or saved.
QString Definition_Snapshot(const DefinitionGrids& grids);

// Selection colours: &H8080FF while the grid has the focus; after it loses it, the grid's
// background on an odd current row, else its alternate-row background.
QColor Focus_Selection_Color();
QColor Unfocused_Selection_Color(int current_row, const QColor& back, const QColor& alternate);

// The save of KaydetBtn (as_new: FKaydetBtn, which first makes the table a new header with id
// 0). The code and name go to the dialog through Table_Code and Table_Name; `ask_code_name`
// shows it and returns false when it was cancelled (KayitIptal). Confirmed, the table takes the
// code and name back and is saved; true when it was stored. A code another table of the kind
// has (case ignored by Turkish rules) is refused with kDuplicateTableMessage before the
// database is asked.
bool Code_Taken(AppState& state, const TableDefinition& def);
bool Save_Definition(AppState& state, TableDefinition& def, bool as_new,
                     const std::function<bool()>& ask_code_name);
