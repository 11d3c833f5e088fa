// Choice lists of the filter rows: a drop-down list of values ("Secenek", items separated by
// "|") or the options of a multiple choice ("CoktanSecmeSecenek", items separated by ","), read
// from the company database by the row's caption; and the multiple-choice popup, a keyed grid
// with a tick column "Secim" ("True"/"False") and an option column "Tip", one data row per
// option with "Hepsi" in the first data row (row 1), loaded from a filter row and stored back.
#pragma once

#include <QString>

#include "model/financial_table.h"
#include "process/progress.h"
#include "ui_common/keyed_grid.h"

struct AppState;

// The look-up statement behind a caption, "" for a caption without one.
// The table code and name lists list the tables of `kind`.
QString Choice_List_Sql(const AppState& state, const QString& caption,
                        int kind = kKindIncomeStatement);
// Whether the caption asks for a two-column list.
bool Is_Two_Column_List(const QString& caption);

// Runs the look-up: "" when it returns no rows, else "|" followed by the values separated by
// "|" (two columns when asked and the first row's Deger2 is not empty).
QString BuildChoiceList(AppState& state, const QString& lookup_sql, bool two_columns);
// The list of "İskonto": "|" then each non-empty discount followed by "|".
QString BuildDiscountList(AppState& state);
// The options of "Satıcı Kodu" / "Satıcı Adı": "," then "code  /  name," per seller.
QString BuildOptionList(AppState& state, const QString& caption);

// After the "Tablo Türü" row changed: the table code and name lists of the chosen kind (a chosen
// code or name of the other kind is cleared) and its first month ("Açılış" for a balance sheet,
// "Ocak" for an income statement).
void Table_Kind_Changed(AppState& state, KeyedGrid& grid);
// The table code and name lists of the chosen kind read again (tables added, renamed or
// deleted meanwhile); a chosen code or name no longer listed is cleared.
void Refill_Table_Lists(AppState& state, KeyedGrid& grid);
// Gives every known caption of the filter grid its list, telling `progress` before each row.
void FillChoiceLists(AppState& state, KeyedGrid& grid, const ProgressCallback& progress = {});

// A value given for the row from outside the window (the command line): one of the row's
// choices, matched without regard to Turkish letter case and then written as the list writes
// it, or, for a row without a list, a value its type accepts (an "OZ" flag: Evet, Hayır,
// Aktif, Pasif, Hepsi; a "TK" table code or name and the other types are checked by the run).
// An empty value clears the row. Returns "" with `value` in the list's spelling, else the
// refusal naming the allowed values.
QString Check_Filter_Value(const KeyedGrid& grid, int row, QString& value);

// The list a row's cell offers in the run window: the row's choices, except that the last
// month offers next year's January only when the first month is December, the one period that
// may end in it.
QString Offered_Choices(const KeyedGrid& grid, int row);

// The popup grid (columns Secim, Tip).
KeyedGrid Make_Choice_Popup();
// Fills the popup from the row's options and ticks its selection (all when it is empty).
void LoadChoiceList(const KeyedGrid& grid, int row, KeyedGrid& popup);
// Writes the ticked options into the row's selection, and "Secimli" or "Hepsi" into its start
// value.
void StoreChoice(KeyedGrid& grid, int row, const KeyedGrid& popup);
bool Popup_Ticked(const KeyedGrid& popup, int row);
void Set_Popup_Tick(KeyedGrid& popup, int row, bool ticked);
// After the tick of `row` changed: "Hepsi" sets every option alike; any other row unticks
// "Hepsi".
void Popup_Tick_Changed(KeyedGrid& popup, int row);
// A double click: toggles the tick of the current row, then the rule above.
void Popup_Double_Click(KeyedGrid& popup);
// The current column always returns to Secim.
void Popup_Col_Changed(KeyedGrid& popup);
