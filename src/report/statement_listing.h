// The statement as a listing for the command line: a readable text statement with amounts in
// the company's format, CSV, or JSON (an array of row objects with amounts as numbers). All
// three render the same rows that the printed statement shows.
#pragma once

#include <QByteArray>
#include <QString>

struct AppState;
class ReportDataSource;

enum class ListingFormat { Text, Csv, Json };

// "text", "csv", "json"; false for anything else.
bool Parse_Listing_Format(const QString& name, ListingFormat* format);
QByteArray Statement_Listing(const AppState& state, const ReportDataSource& rows, ListingFormat format);
