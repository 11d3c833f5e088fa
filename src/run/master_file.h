// The report master file "Master.mtr" beside the program: the base statement of the report
// (Base_Sql), a group statement (Group_Sql, kept and not used further) and the filter rows of
// the run window's grid. The file is a marker line "<TEMELSQL>", the base statement's lines up
// to "<GROUPSQL>", the group statement's lines up to "<FILTRE>", then one filter row per line
// up to "<END>"; a filter line is up to ten fields, each ended by ";".
#pragma once

#include <QString>
#include <QStringList>

#include "ui_common/keyed_grid.h"

struct AppState;

// The ten column keys of the filter grid, in file order.
const QStringList& Filter_Column_Keys();
// An empty filter grid: the ten columns with their headings in row 0, their widths in twips,
// columns 4 to 10 hidden.
KeyedGrid Make_Filter_Grid();

// The master file of the program's folder.
QString Master_File_Path(const AppState& state);
// The message when the base statement of the master file at `path` is not a single statement
// that only reads: the run does not start.
QString Master_Base_Sql_Not_Read_Only(const QString& path);

// Messages of a damaged master file.
QString Master_Base_Sql_Error();
QString Master_Filter_Error();

// Appends one trimmed filter line as a grid row; false (and no row) when a field lacks its
// ";" or the line has more than ten fields. An empty line adds an empty row.
bool Filtreye_Ekle(KeyedGrid& grid, const QString& BFFR);

// Reads the text of a master file: "" when it was read completely, else the message to show.
// A text that ends before "<END>" is a damaged master file.
QString ReadMasterText(const QString& text, QString& base_sql, QString& group_sql, KeyedGrid& grid);
// Reads `path` (UTF-8 when valid, else Windows-1254) into Base_Sql, Group_Sql and `grid`.
// A missing file is a damaged master file.
QString ReadMasterFile(AppState& state, KeyedGrid& grid, const QString& path);
// The master file of the program's folder.
QString ReadMasterFile(AppState& state, KeyedGrid& grid);
// The run window's load: reads the master file; a damaged one shows its message with the
// critical icon and ends the program (ProgramEnd).
void Load_Master_File(AppState& state, KeyedGrid& grid);
