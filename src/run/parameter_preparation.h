// Preparing a run: the filter grid of the run window becomes one RunParameters value (the
// statement query from Base_Sql and the applied rows, the ledger period looked up in the
// ledger's months, the level bounds, the display options, or the message of a refused filter
// value, the display options and the workplace chosen).
#pragma once

#include <QString>

#include "calc/run_parameters.h"
#include "db/db_session.h"
#include "ui_common/keyed_grid.h"

struct AppState;

// The whole value from the grid: the statement query from `base_sql` and the applied rows,
// then the period (looked up in the ledger's months), the levels and the options.
RunParameters Parametreleri_Hazirla(const AppState& state, KeyedGrid& grid);

// The two ledger look-ups of the period, each one index seek: the least month number of a
// month name's lines (IX_MUHFISHAR_Ay), and the opening vouchers' first date
// (IX_MUHFISHAR_IslemTipi).
QString Month_Number_Sql(const QString& month);
QString Opening_Date_Sql();

// The statement query: each applied row (Girsin true) up to the first row without caption
// goes through the condition builder of its type.
struct StatementQuery {
  QString sql;
  bool has_where = false;
  QString error;  // the last refused value's message, "" when none
};
StatementQuery Build_Report_Sql(const QString& base_sql, KeyedGrid& grid);

// The statement kind chosen in the "Tablo Türü" row: kKindBalanceSheet for "Bilanço", else
// kKindIncomeStatement (also when the grid has no such row).
int Table_Kind(const KeyedGrid& grid);
// The base statement for `kind`: its own kind condition names the chosen kind.
QString Base_Sql_For_Kind(const QString& base_sql, int kind);
// Puts the stored spelling of the table code and name the user typed into their cells, matched
// among the tables of `kind` in Turkish without regard to letter case ("gt" finds "GT", "ı"
// matches "I"). Returns "" when they matched or nothing was typed, else the message that no
// such table exists (naming the other kind when the code or name is one of its tables).
QString Match_Table_Names(const DbSession& db, int kind, KeyedGrid& grid);

// The chosen workplace's name for the report header, from the "İşyeri Kodu" / "İşyeri Adı"
// values of the run, when the company has two or more workplaces; "" otherwise.
QString Isyeri_Filtresi(const DbSession& db, const RunParameters& parameters);
