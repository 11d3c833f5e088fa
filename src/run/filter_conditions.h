// Filter conditions: the builders that turn one row of the run window's filter grid into a
// condition of the report statement, by the row's type code ("GR" range, "TR" date range,
// "TK" equality, "OZ" flag, "CS" multiple choice, "BTR" date upper bound; "BL" and "DT" rows
// are run options read as Boolean). A condition on a column of a table that the statement
// joins with "JOIN table ON(...)" goes inside that ON clause; any other condition is appended
// with " WHERE " or " AND ". A value written inside quotes has its quotes doubled; a value
// written bare must be a number, else the build's error says so and no condition is made.
#pragma once

#include <QString>

#include "ui_common/keyed_grid.h"

// The statement query being built from the filter rows: whether it has its WHERE yet, and the
// message of the last refused filter value ("" when none).
struct StatementBuild {
  bool has_where = false;
  QString error;
};

struct JoinInsertPosition {
  int mode = 1;            // 1: append at the end; 2: insert before `position`
  qsizetype position = 0;  // the closing parenthesis of the JOIN's ON clause
};
// Where a condition on `alan` ("table.column" or "column") goes in `sql`.
JoinInsertPosition FindJoinInsertPosition(const QString& sql, const QString& alan);

// "GR": start condition and end condition, each when its value is not empty.
QString AddRangeCondition(StatementBuild& build, const QString& sql, KeyedGrid& grid, int row,
                          const QString& alan, const QString& ayirac);
// "TK": equality, unless the value is empty, "Hepsi" or "Farketmez".
QString AddEqualCondition(StatementBuild& build, const QString& sql, KeyedGrid& grid, int row,
                          const QString& alan, const QString& ayirac);
// "OZ": column = 1 for "Evet"/"Aktif", 0 for "Hayır"/"Pasif"; "Hepsi" and any other value
// add nothing.
QString AddFlagCondition(StatementBuild& build, const QString& sql, KeyedGrid& grid, int row,
                         const QString& alan);
// "TR": dates typed day.month.year, written 'yyyy/mm/dd'; a two-digit year is 20yy, a date
// without a year takes the current year, in SQL and in the cell. Each bound is checked on its
// own: a wrong one is the build's error whatever the other.
QString AddDateRangeCondition(StatementBuild& build, const QString& sql, KeyedGrid& grid, int row,
                              const QString& alan);
// "BTR": column <= the start date.
QString AddDateUpToCondition(StatementBuild& build, const QString& sql, KeyedGrid& grid, int row,
                             const QString& alan);
// "CS": " WHERE (a=x OR a=y)" / " AND (...)" from the row's selection, or "".
QString BuildMultipleChoiceCondition(StatementBuild& build, KeyedGrid& grid, int row,
                                     const QString& alan, const QString& ayirac);
// "BL", "DT": "Evet", "Aktif" and "Ayrı Sayfaya" are true, everything else false.
bool RowAsBoolean(const KeyedGrid& grid, int row);
// Empties the row's start and end values when they are not empty and not numbers.
void ClearNonNumericValues(KeyedGrid& grid, int row);

// Boolean text of a grid cell: "True"/"False" in any case, or a number (non-zero is true);
// anything else is false.
bool Text_As_Boolean(const QString& text);
// The date parser of the filter rows: dd.mm.yyyy, dd.mm.yy (20yy) or dd.mm (the current year),
// with ".", "/" or "-" between the parts, naming a real day of that year (29.02 only in a leap
// year).
bool Is_Valid_Date_Text(const QString& text);
// The message for a bare value that is not a number.
QString Not_A_Number_Text(const QString& caption, const QString& value);
