// Preparing a run: the filter grid of the run window becomes one RunParameters value (the
// statement query from Base_Sql and the applied rows, the ledger period looked up in the
// ledger's months, the level bounds, the display options, or the message of a refused filter
// value, the display options and the workplace chosen).
#pragma once

#include <QString>
#include <vector>

#include "calc/run_parameters.h"
#include "db/db_session.h"
#include "ui_common/keyed_grid.h"

struct AppState;

// A filter value as the run read it where that differs from what was typed: a table's stored
// spelling, a two-digit year made whole, a non-number emptied in a numeric row.
struct FilterCompletion {
  int row = 0;
  QString key;
  QString text;
};
using FilterCompletions = std::vector<FilterCompletion>;

// The whole value from the grid: the statement query from `base_sql` and the applied rows,
// then the period (looked up in the ledger's months), the closing vouchers ("Kapanış Fişi":
// "Dahil" or "Hariç", by default taken by a balance sheet only), the levels, the options, the
// workplace whose lines the figures are, and the natural sides of the accounts. The grid stays
// as typed; the values completed on the way go to `completions` when given, also when the
// parameters are refused.
RunParameters Parametreleri_Hazirla(const AppState& state, const KeyedGrid& grid,
                                    FilterCompletions* completions = nullptr);
// Writes the completed values into the grid they were read from.
void Apply_Completions(KeyedGrid& grid, const FilterCompletions& completions);

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

// The workplace chosen in the "İşyeri Kodu" / "İşyeri Adı" rows, when the company has two or
// more workplaces; empty otherwise. A later row overrides an earlier one.
struct ChosenWorkplace {
  QString code, name;
};
ChosenWorkplace Chosen_Workplace(const DbSession& db, const KeyedGrid& grid);
// Whether the ledger holds a line that meets `condition` (" AND ..." terms over MUHFISHAR): one
// seek. A failed look-up stops the run.
bool Ledger_Has_Line(const DbSession& db, const QString& condition);
// Whether the ledger holds a line of fiscal year `year`: one seek.
bool Ledger_Has_Year(const DbSession& db, int year);
// Whether the ledger holds closing vouchers ("Kapanış Fişi") in the fiscal year `year`: one seek
// on the voucher type's index.
bool Ledger_Has_Closing_Vouchers(const DbSession& db, int year);
// Whether the ledger's lines carry their workplace (MUHFISHAR.Isyeri_Kodu), so that a
// workplace's figures can be its own.
bool Ledger_Has_Workplace(const DbSession& db);
