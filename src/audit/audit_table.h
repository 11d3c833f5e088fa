// An audit result as a table: a title, heading lines, columns and rows of values, and notes
// under it. The coverage check, a row's breakdown and an account's voucher lines each become
// one; the windows, the printed pages (and through them the print-out and the export files)
// and the command line's text, CSV and JSON only render it, so they cannot disagree.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <vector>

#include "report/report_pages.h"
#include "report/statement_listing.h"

struct AppState;

struct AuditColumn {
  QString key;      // the CSV header and the JSON name
  QString caption;  // what the window and the page show
  bool amount = false;
  int width = 1500;  // twips on the printed page
};

struct AuditRow {
  AuditRow() = default;
  AuditRow(std::vector<QVariant> row_values) : values(std::move(row_values)) {}

  std::vector<QVariant> values;  // one per column; amounts as numbers, null prints nothing
  int depth = 0;                 // indentation of the first column
  bool bold = false;
  QString account;  // the account code whose voucher lines a double-click opens; "" none
};

struct AuditTable {
  QString title;
  QStringList heading;  // statement, period and summary lines under the title
  std::vector<AuditColumn> columns;
  std::vector<AuditRow> rows;
  QStringList notes;  // lines under the table
};

// Rows read while they are listed, for tables too large to hold: each call hands every row, in
// order, to `row`; a listing may walk them more than once.
using AuditRowSource = std::function<void(const std::function<void(const AuditRow& row)>& row)>;
// Where a listing goes piece by piece; false when a piece could not be written.
using ListingSink = std::function<bool(const QByteArray& piece)>;

// The text of a cell as shown: amounts in the company's amount format.
QString Audit_Cell_Text(const AppState& state, const AuditTable& table, const AuditRow& row,
                        int column);
// Text (the heading, then aligned columns), CSV (the column keys, then the rows; amounts with
// four decimals) or JSON (title, heading, rows as objects by column key, notes).
QByteArray Audit_Listing(const AppState& state, const AuditTable& table, ListingFormat format);
// The same listing written to `sink` as it is made, with the rows of `more` after the table's
// own (the text walks them twice, for its column widths first): memory stays flat however many
// rows `more` gives. False as soon as the sink fails.
bool Write_Audit_Listing(const AppState& state, const AuditTable& table, ListingFormat format,
                         const AuditRowSource& more, const ListingSink& sink);
// The table laid out on A4 pages for the printer and the export writers: title and heading on
// the first page, column captions on every page, page numbers at the bottom.
ReportPages Audit_Pages(const AppState& state, const AuditTable& table);
