// The export files of a laid-out statement: PDF, one HTML page, a text file and a workbook.
// Each is a renderer over the same laid-out pages (report_pages.h), so the files cannot
// disagree with the preview or the printout. The text file and the workbook read a page as
// printed rows: texts standing on the same line, left to right. Every export writes its fixed
// file in the program folder (Temp.pdf, Temp.Htm, Temp.txt, Temp.xlsx), overwriting the last
// one; the writers take the target path so any folder will do.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "report/report_pages.h"

struct AppState;

enum class ExportKind { Pdf, Html, Text, Excel };

// File name of an export ("Temp.pdf", "Temp.Htm", "Temp.txt", "Temp.xlsx").
QString Export_File_Name(ExportKind kind);
// The program folder followed by the export's file name.
QString Export_Path(const AppState& state, ExportKind kind);

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
// A self-contained HTML page drawing every report page as printed.
QString Html_Export_Content(const ReportPages& pages, const QString& title);

// Writers: false when the file cannot be written.
bool Export_Pdf(const ReportPages& pages, const QString& path, const QString& title = {});
bool Export_Html(const ReportPages& pages, const QString& path, const QString& title = {});
bool Export_Text(const ReportPages& pages, const QString& path, const TextExportOptions& options);
// A workbook of one sheet: the first page's header on top (without page numbering), then one row
// per printed row of every page; captions as texts, amounts as numbers in their output format,
// each amount in the column of its printed position, bold and colours as printed.
bool Export_Xlsx(const ReportPages& pages, const QString& path);
// Writes the whole file, checked to its last byte: a regular file is replaced only once it is
// written in full; a device or a pipe is written in place. False when anything fails.
bool Write_Export_File(const QString& path, const QByteArray& bytes);
// The message of a writer's failure: "Dosya yazılamadı: <path>".
QString Unwritable_File_Message(const QString& path);

// The statement generated for an export: Export_Waiting is set while the report runs;
// AnaRapor's ReportEnd (or a failure) clears it.
ReportPages Generate_For_Export(AppState& state);
// Messages of the waiting panel.
inline const QString kHtmlWaitingMessage = "HTML'e Gönderiliyor";
inline const QString kTextWaitingMessage = "Text'e Gönderiliyor";
inline const QString kExcelWaitingMessage = "Excel'e  Gönderiliyor";
