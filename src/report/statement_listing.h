// The statement as a listing for the command line: a readable text statement with amounts in
// the company's format, CSV, or JSON (an array of row objects with amounts as numbers). All
// three render the same rows that the printed statement shows; the text takes the printed
// statement's heading and its decisions on each row (amount column, indentation, blank zeros,
// rules around the result). CSV and JSON amounts are exact decimals rounded to the company's
// amount decimals.
#pragma once

#include <QByteArray>
#include <QString>

struct Statement;

enum class ListingFormat { Text, Csv, Json };

// A CSV field: quoted (quotes doubled) when it holds a comma, a quote, a carriage return or a
// line feed.
QString Csv_Field(const QString& text);

// "text", "csv", "json"; false for anything else.
bool Parse_Listing_Format(const QString& name, ListingFormat* format);
QByteArray Statement_Listing(const Statement& statement, ListingFormat format);
