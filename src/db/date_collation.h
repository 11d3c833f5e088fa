// Dates in the embedded engine are stored as ISO text (YYYY-MM-DD). The suite's SQL compares
// them with literals written 'MM/DD/YYYY' or 'YYYY/MM/DD'. The collation MTDATE, declared on
// every date column, compares both sides in ISO form, so comparisons, MIN() and index seeks
// on date columns all agree with SQL Server.
#pragma once

#include <QString>

struct sqlite3;

void Register_Date_Collation(sqlite3* db);
// The ISO form of a date text in any of the three forms; other text is returned unchanged.
std::string Iso_Date_Key(const char* text, int length);
