// Run parameters: before a statement is computed, the filter grid of the run window becomes
// the statement query Report_Sql (Base_Sql with the conditions of the applied rows), the
// ledger period condition Date_Filter_Sql that every ledger query of the calculation appends
// (fiscal year, first and last month, row levels), and the options Print_Footnotes and
// Row_Lines. After the output has started, Isyeri_Filtresi names the chosen workplace for the
// report header.
#pragma once

#include <QString>

#include "ui_common/keyed_grid.h"

struct AppState;

// Both passes below, in order.
void Parametreleri_Hazirla(AppState& state, KeyedGrid& grid);
// Report_Sql from Base_Sql: each applied row (Girsin true) up to the first row without caption
// goes through the condition builder of its type.
void Build_Report_Sql(AppState& state, KeyedGrid& grid);
// Date_Filter_Sql, Print_Footnotes and Row_Lines from the rows' captions.
void Build_Date_Filter(AppState& state, const KeyedGrid& grid);
// Workplace_Name from the "İşyeri Kodu" / "İşyeri Adı" rows when the company has two or more
// workplaces.
void Isyeri_Filtresi(AppState& state, const KeyedGrid& grid);

// The last day of a month ("01".."12") in `year`, as two-digit text.
QString Month_Last_Day(const QString& month, int year);
