// One financial table being defined: the state of the definition window (table id, add and view
// flags, code, name, kind and the three definition grids) and the procedures that move the table
// between the grids and the database. `Save_Table` writes the header and then rewrites every row,
// numbering them 1..n over the main, passive and footnote grids in that order; `Load_Rows`
// relies on that order to put each row back into its grid. The standard definition files that
// fill a new table are read by standard_definition.h.
#pragma once

#include <QString>
#include <cstdint>

#include "db/recordset.h"
#include "model/financial_table.h"
#include "ui_common/keyed_grid.h"

struct AppState;

// Shown after the database's own description when a header with the same code and kind exists.
inline const char* kDuplicateTableMessage =
    "Girdiğiniz Koduna Sahip Bir Tablo Zaten Var.Lütfen Tablo Kodunu Değiştiriniz";

struct TableDefinition : DefinitionGrids {
  qint64 table_id = 0;    // Rapor_ID; 0 for a new table until its first save
  bool add_flag = false;  // the next save inserts a header
  bool view_flag = false;
  QString code;
  QString name;
  QString kind;  // Rapor_Tipi as decimal text ("1", "2", ...)

  Recordset rows;    // the table's rows: read by Load_Rows, written by Save_Table
  Recordset header;  // the header while Save_Table writes it
};

// The statements, each followed by the table id in decimal.
QString Rows_Sql(qint64 table_id);
QString Delete_Rows_Sql(qint64 table_id);
QString Header_Sql(qint64 table_id);

// The window's opening: takes Table_ID, Add_Mode, View_Mode, Table_Code, Table_Name and
// Table_Type from the state, opens the rows, and loads them (change and view) or offers the
// standard definition (add: "Standart Tanımın Getrilmesini İstiyormusunuz.").
TableDefinition Open_Table_Definition(AppState& state);

// Opens `def.rows` for update on the table's rows.
void Open_Rows(AppState& state, TableDefinition& def);
// Fills the grids from `def.rows` and the formula list Row_Code_List / Row_Name_List (entry i
// for main-grid row i at index i, 1..Row_Count; index 0 unused; group rows carry their code and
// name, other rows ""). A table without rows clears the formula list.
void Load_Rows(AppState& state, TableDefinition& def);
// Writes the header and all rows in one transaction; true when everything was written. A new
// table takes its Rapor_ID and switches to change mode once it is stored. A failure leaves the
// stored table, the grids, the id and the mode as they were before the save; it is shown to
// the user: a duplicate code as the database's description and then kDuplicateTableMessage,
// anything else as "Kayıt Yapılırken BirHata Oluştu." and the description.
bool Save_Table(AppState& state, TableDefinition& def);
// Deletes the table's rows from the database.
void Delete_Rows(AppState& state, TableDefinition& def);
