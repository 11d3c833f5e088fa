// The export files of a laid-out statement: PDF, one HTML page, a text file and a workbook.
// Each is a renderer over the same laid-out pages (report_pages.h), so the files cannot
// disagree with the preview or the printout. The text file and the workbook read a page as
// printed rows: texts standing on the same line, left to right; the HTML page is a table of
// those rows, one cell per column. An export is named after the statement and its period
// ("GT 01.2026-12.2026.pdf") in the user's output folder, beside the registry stand-in's file,
// so that one statement's file never overwrites another's; the writers take the target path so
// any folder will do.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "report/ana_rapor.h"
#include "report/report_pages.h"

struct StatementChart;

enum class ExportKind { Pdf, Html, Text, Excel };

// The extension of an export: "pdf", "html", "txt", "xlsx".
QString Export_Extension(ExportKind kind);
// File name of an export: `base` without the characters a file name cannot hold, then the
// extension ("GT 01.2026-12.2026.pdf").
QString Export_File_Name(const QString& base, ExportKind kind);
// The same with any extension ("png").
QString Export_File_Name(const QString& base, const QString& extension);
// The base name of a statement's exports: its code (its name when it has none) and its
// period's first and last month ("GT 01.2026-12.2026").
QString Statement_File_Base(const StatementHeading& heading);
// The user's output folder: the folder of the registry stand-in's file (the program folder may
// be read-only for the user).
QString Output_Folder();
// The output folder followed by `file_name`; the folder is made when missing.
QString Export_Path(const QString& file_name);
// The message when the written file's program cannot be started: it names the file.
QString Not_Opened_Message(const QString& path);

// One printed line of a page: its texts, left to right. Empty texts are left out.
struct PrintedRow {
  int top = 0;  // twips from the paper's top
  std::vector<const PageText*> texts;
};
// The page's texts gathered into lines: texts whose tops lie within 120 twips of the line's
// first text stand on that line. Lines in order from the top; texts left to right by their
// anchor (left edge, centre or right edge, after their alignment).
std::vector<PrintedRow> Printed_Rows(const ReportPage& page);

// Options of the text file (the dialog "Text'e Yazdır").
struct TextExportOptions {
  QString page_separator;   // written on its own line between pages
  QString field_separator;  // between the texts of a line; empty: texts placed in columns
  bool unicode = false;     // UTF-16 with a byte-order mark; else the Turkish code page 1254
  bool suppress_empty_lines = false;
};

// The text of the text file, before encoding; lines end with "\r\n".
QString Text_Export_Content(const ReportPages& pages, const TextExportOptions& options);
// A self-contained HTML page drawing every report page as printed; texts fall back to a
// sans-serif font where the printed one is missing. `chart`, an SVG document, is shown after the
// statement when given.
QString Html_Export_Content(const ReportPages& pages, const QString& title,
                            const QByteArray& chart = {});

// Writes laid-out pages as a file of `kind`; `title` names the PDF and HTML document and the
// workbook's sheet, `text` are the text file's options. False when the file cannot be written.
bool Write_Pages(const ReportPages& pages, ExportKind kind, const QString& path,
                 const QString& title, const TextExportOptions& text = {});
// The statement laid out (or its pages `laid_out`, when the caller has them) and written as a
// file of `kind`; a workbook of a statement of several amount columns holds them all. The HTML
// page and the workbook add the statement's chart.
bool Write_Statement_File(const Statement& statement, ExportKind kind, const QString& path,
                          const TextExportOptions& text = {},
                          const ReportPages* laid_out = nullptr);

// Writers: false when the file cannot be written.
bool Export_Pdf(const ReportPages& pages, const QString& path, const QString& title = {});
bool Export_Html(const ReportPages& pages, const QString& path, const QString& title = {},
                 const QByteArray& chart = {});
bool Export_Text(const ReportPages& pages, const QString& path, const TextExportOptions& options);
// A workbook of one sheet named `sheet_name` (cut to what a sheet name allows): the first
// page's header on top (without page numbering) with its last row frozen, then one row per
// printed row of every page; captions as texts in a column as wide as the longest, amounts as
// numbers rounded to their output format's decimals and shown in it, each amount in the column
// of its printed position, bold and colours as printed.
// With `chart`, the sheet "Grafik" follows (statement rows are the printed rows with a row
// caption).
bool Export_Xlsx(const ReportPages& pages, const QString& path, const QString& sheet_name = {},
                 const StatementChart* chart = nullptr);
// A workbook of a statement of several amount columns: one sheet column per amount column in
// print order, each row's balance as a number; then the sheet "Grafik".
bool Export_Columns_Xlsx(const Statement& statement, const QString& path);
// A sheet name from a statement name: at most 31 characters, none of []:*?/\, not empty.
QString Sheet_Name(const QString& statement_name);
// Writes the whole file, checked to its last byte: a regular file is replaced only once it is
// written in full; a device or a pipe is written in place. False when anything fails.
bool Write_Export_File(const QString& path, const QByteArray& bytes);
// The same for a file made piece by piece: `write` hands each piece to the function it is given
// (which says whether the piece was written) and says whether every piece was made.
using PieceWriter = std::function<bool(const QByteArray& piece)>;
bool Write_Export_File_In_Pieces(const QString& path,
                                 const std::function<bool(const PieceWriter& piece)>& write);
// The message of a writer's failure: "Dosya yazılamadı: <path>".
QString Unwritable_File_Message(const QString& path);

// Messages of the waiting panel.
inline const QString kHtmlWaitingMessage = "HTML'e Gönderiliyor";
inline const QString kTextWaitingMessage = "Text'e Gönderiliyor";
inline const QString kExcelWaitingMessage = "Excel'e  Gönderiliyor";
