// Dates in the embedded engine are stored as ISO text (YYYY-MM-DD). The suite's SQL writes its
// date literals 'MM/DD/YYYY' or 'YYYY/MM/DD'; the dialect step turns a literal that is exactly
// such a date into ISO text (Iso_Date_Literal), so that the engine's own byte order compares it
// with the stored dates, and date columns are plain text.
// Databases made before carry the collation MTDATE on every date column: it compares both sides
// in ISO form, so comparisons, MIN() and index seeks on those columns agree with SQL Server. It
// stays registered on every connection, as such a schema cannot be read without it.
#pragma once

#include <QString>
#include <string>

struct sqlite3;

void Register_Date_Collation(sqlite3* db);
// The ISO form of a date text in any of the three forms; other text is returned unchanged.
std::string Iso_Date_Key(const char* text, int length);
// 'YYYY-MM-DD' when the whole text is one valid date written M/D/YYYY or YYYY/M/D (month and
// day of one or two digits, the year of four); an empty text for anything else.
QString Iso_Date_Literal(const QString& text);
