// Printed rows, the export paths, and the PDF, HTML and text writers. The text file places a
// line's texts in columns of 75 twips (a character of the printed narrow font at 9 pt; less
// where the body prints smaller) when no field separator is given (right-aligned texts end where
// they end on paper; a text that would run into the next keeps two blanks before it) and keeps the
// vertical gaps of the page as empty lines, one per 255 twips, so it reads like the printout.
#include "report/exports.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QStringEncoder>
#include <algorithm>
#include <cmath>
#include <optional>

#include "db/registry.h"
#include "db/suite_text.h"
#include "report/ana_rapor.h"
#include "report/report_renderer.h"
#include "report/statement_chart.h"
#include "ui_common/twips.h"

namespace {

constexpr int kSameLineTwips = 120;
constexpr int kTextLineTwips = 255;
constexpr int kTextColumnTwips = 75;
constexpr double kTextColumnPoints = 9;  // the printed size whose character is 75 twips wide

// The text file's character: 75 twips, or narrower where the body's narrow font prints smaller
// (a statement of many amount columns), so that its columns keep apart as on paper.
int Text_Column_Twips(const ReportPages& pages) {
  double size = kTextColumnPoints;
  for (const ReportPage& page : pages.pages)
    for (const PageText& text : page.texts)
      if (text.section == "Detail" && text.font.family.contains("Narrow") && !text.text.isEmpty())
        size = std::min(size, text.font.size);
  return static_cast<int>(std::lround(kTextColumnTwips * size / kTextColumnPoints));
}
// The PDF writer runs at 1440 dots per inch, so one device unit is one twip.

// A line's texts in columns: each at its printed place, at least two blanks after the previous.
QString Placed_Line(const PrintedRow& row, int margin_left, int column_twips) {
  QString line;
  for (const PageText* text : row.texts) {
    const int length = static_cast<int>(text->text.size());
    const int left = (text->left - margin_left) / column_twips;
    int start = left;
    if (text->alignment == TextAlign::Right) {
      start = (text->left - margin_left + text->width) / column_twips - length;
    } else if (text->alignment == TextAlign::Center) {
      start = (text->left - margin_left + text->width / 2) / column_twips - length / 2;
    }
    const int minimum = line.isEmpty() ? 0 : static_cast<int>(line.size()) + 2;
    start = std::max({start, minimum, 0});
    line += QString(start - line.size(), u' ') + text->text;
  }
  return line;
}

QString Separated_Line(const PrintedRow& row, const QString& separator) {
  QStringList fields;
  for (const PageText* text : row.texts) fields << text->text.trimmed();
  return fields.join(separator);
}

// The printed font first, then its usual stand-ins, then any sans-serif font.
QString Font_Stack(const QString& family) {
  QStringList fonts{"'" + family + "'"};
  if (family.contains("Narrow")) fonts << "'Arial Narrow'";
  fonts << QStringList{"'Liberation Sans'", "Arial", "Helvetica", "sans-serif"};
  fonts.removeDuplicates();
  return fonts.join(", ");
}

}  // namespace

QString Export_Extension(ExportKind kind) {
  switch (kind) {
    case ExportKind::Pdf: return "pdf";
    case ExportKind::Html: return "html";
    case ExportKind::Text: return "txt";
    case ExportKind::Excel: break;
  }
  return "xlsx";
}

QString Export_File_Name(const QString& base, ExportKind kind) {
  return Export_File_Name(base, Export_Extension(kind));
}

QString Export_File_Name(const QString& base, const QString& extension) {
  QString name;
  for (const QChar c : base.simplified())
    name += c.unicode() < 32 || QStringLiteral("\\/:*?\"<>|").contains(c) ? QChar(u'-') : c;
  name = name.trimmed();
  while (name.startsWith(u'.')) name.remove(0, 1);
  if (name.isEmpty()) name = "MaliTablo";
  return name + "." + extension;
}

QString Statement_File_Base(const StatementHeading& heading) {
  QString base = heading.code.isEmpty() ? heading.title : heading.code;
  if (heading.first_day.isValid() && heading.last_day.isValid())
    base +=
        " " + heading.first_day.toString("MM.yyyy") + "-" + heading.last_day.toString("MM.yyyy");
  return base;
}

QString Output_Folder() { return QFileInfo(Registry_File()).absolutePath(); }

QString Export_Path(const QString& file_name) {
  const QString folder = Output_Folder();
  QDir().mkpath(folder);
  return QDir(folder).filePath(file_name);
}

QString Not_Opened_Message(const QString& path) {
  return "Dosya yazıldı: " + QDir::toNativeSeparators(path) +
         "\nBu dosyayı açacak program başlatılamadı; dosyayı bu konumdan açabilirsiniz.";
}

std::vector<PrintedRow> Printed_Rows(const ReportPage& page) {
  std::vector<const PageText*> texts;
  for (const PageText& text : page.texts) {
    if (!text.text.trimmed().isEmpty()) texts.push_back(&text);
  }
  std::stable_sort(texts.begin(), texts.end(),
                   [](const PageText* a, const PageText* b) { return a->top < b->top; });
  std::vector<PrintedRow> rows;
  for (const PageText* text : texts) {
    if (rows.empty() || text->top - rows.back().top > kSameLineTwips)
      rows.push_back({text->top, {}});
    rows.back().texts.push_back(text);
  }
  // Left to right by where a text is anchored: its left edge, centre or right edge.
  auto anchor = [](const PageText* t) {
    return t->alignment == TextAlign::Right    ? t->left + t->width
           : t->alignment == TextAlign::Center ? t->left + t->width / 2
                                               : t->left;
  };
  for (PrintedRow& row : rows) {
    std::stable_sort(row.texts.begin(), row.texts.end(),
                     [&](const PageText* a, const PageText* b) { return anchor(a) < anchor(b); });
  }
  return rows;
}

QString Text_Export_Content(const ReportPages& pages, const TextExportOptions& options) {
  QStringList lines;
  const int column_twips = Text_Column_Twips(pages);
  for (size_t p = 0; p < pages.pages.size(); ++p) {
    if (p > 0 && !options.page_separator.isEmpty()) lines << options.page_separator;
    int previous_top = -1;
    for (const PrintedRow& row : Printed_Rows(pages.pages[p])) {
      if (previous_top >= 0 && !options.suppress_empty_lines) {
        const int gaps =
            static_cast<int>(std::lround((row.top - previous_top) / double(kTextLineTwips))) - 1;
        for (int i = 0; i < gaps; ++i) lines << QString();
      }
      previous_top = row.top;
      lines << (options.field_separator.isEmpty()
                    ? Placed_Line(row, pages.setup.margin_left, column_twips)
                    : Separated_Line(row, options.field_separator));
    }
  }
  if (options.suppress_empty_lines) {
    lines.removeIf([](const QString& line) { return line.trimmed().isEmpty(); });
  }
  return lines.isEmpty() ? QString() : lines.join("\r\n") + "\r\n";
}

bool Export_Text(const ReportPages& pages, const QString& path, const TextExportOptions& options) {
  const QString content = Text_Export_Content(pages, options);
  if (!options.unicode) return Write_Export_File(path, Encode_Windows1254(content));
  QStringEncoder encoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
  const QByteArray bytes = encoder.encode(content);
  return Write_Export_File(path, bytes);
}

QString Html_Export_Content(const ReportPages& pages, const QString& title,
                            const QByteArray& chart) {
  // The page header is written once above the table, the page footer not at all: the table
  // holds the body's printed rows, so it pastes into a spreadsheet with its columns.
  auto repeated = [](const PageText* text) {
    return text->section == "PageHeader" || text->section == "PageFooter";
  };
  // A column per control; an amount printed at several places (right-aligned at several left
  // edges) has a column per place, as on paper. Columns in the order of their left edges.
  struct Column {
    QString key;
    int left = 0;
  };
  std::vector<Column> columns;
  // A text continued on a line of its own (kContinuedSuffix) stays in its text's column.
  // A column is a section's control; right-aligned texts (amounts) also by where they stand.
  auto column_key = [](const QString& section, const QString& control, const PageText* text) {
    const QString key = section + "/" + control;
    return text->alignment == TextAlign::Right ? key + "@" + QString::number(text->left) : key;
  };
  auto key_of = [&](const PageText* text) {
    QString control = text->control;
    if (control.endsWith(kContinuedSuffix)) control.chop(kContinuedSuffix.size());
    return column_key(text->section, control, text);
  };
  std::vector<std::vector<PrintedRow>> rows_of_pages;
  for (const ReportPage& page : pages.pages) {
    rows_of_pages.push_back(Printed_Rows(page));
    for (const PrintedRow& row : rows_of_pages.back()) {
      for (const PageText* text : row.texts) {
        if (repeated(text)) continue;
        const QString key = key_of(text);
        const auto found = std::find_if(columns.begin(), columns.end(),
                                        [&](const Column& c) { return c.key == key; });
        if (found == columns.end())
          columns.push_back({key, text->left});
        else
          found->left = std::min(found->left, text->left);
      }
    }
  }
  std::stable_sort(columns.begin(), columns.end(),
                   [](const Column& a, const Column& b) { return a.left < b.left; });
  auto cell_style = [](const PageText* text) {
    const char* align = text->alignment == TextAlign::Right    ? "right"
                        : text->alignment == TextAlign::Center ? "center"
                                                               : "left";
    return QString("font-family:%1;font-size:%2pt;font-weight:%3;color:%4;text-align:%5;")
        .arg(Font_Stack(text->font.family))
        .arg(text->font.size)
        .arg(text->font.bold ? "bold" : "normal", text->color.name(), align);
  };

  QString html = "<!DOCTYPE html>\n<html lang=\"tr\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
                 title.toHtmlEscaped() +
                 "</title>\n<style>\n"
                 "body { margin: 12px; }\n"
                 ".baslik { margin: 0 0 4px 0; white-space: pre; }\n"
                 "table { border-collapse: collapse; }\n"
                 "td { padding: 1px 8px; white-space: pre; vertical-align: top; }\n"
                 "</style>\n</head>\n<body>\n";
  // A page header label "lblX" heads the detail's field "txtX": the table's first row.
  auto heading_key = [&](const PageText* text) {
    if (text->section != "PageHeader" || !text->control.startsWith("lbl")) return QString();
    return column_key("Detail", "txt" + text->control.mid(3), text);
  };
  std::vector<const PageText*> headings(columns.size(), nullptr);
  bool headed = false;
  if (!rows_of_pages.empty()) {
    for (const PrintedRow& row : rows_of_pages.front()) {
      QStringList texts;
      const PageText* first = nullptr;
      for (const PageText* text : row.texts) {
        if (text->section != "PageHeader") continue;
        if (const QString key = heading_key(text); !key.isEmpty()) {
          for (size_t c = 0; c < columns.size(); ++c)
            if (columns[c].key == key) headings[c] = text;
          headed = true;
          continue;
        }
        if (!first) first = text;
        texts << text->text.trimmed().toHtmlEscaped();
      }
      if (first)
        html += "<p class=\"baslik\" style=\"" + cell_style(first) + "\">" + texts.join("  ") +
                "</p>\n";
    }
  }
  html += "<table>\n";
  if (headed) {
    html += "<tr>";
    for (const PageText* heading : headings)
      html += heading ? "<td style=\"" + cell_style(heading) + "\">" +
                            heading->text.trimmed().toHtmlEscaped() + "</td>"
                      : QString("<td></td>");
    html += "</tr>\n";
  }
  for (const std::vector<PrintedRow>& rows : rows_of_pages) {
    for (const PrintedRow& row : rows) {
      std::vector<std::vector<const PageText*>> cells(columns.size());
      bool any = false;
      for (const PageText* text : row.texts) {
        if (repeated(text)) continue;
        const QString key = key_of(text);
        for (size_t c = 0; c < columns.size(); ++c)
          if (columns[c].key == key) cells[c].push_back(text);
        any = true;
      }
      if (!any) continue;
      html += "<tr>";
      for (size_t c = 0; c < cells.size(); ++c) {
        const std::vector<const PageText*>& cell = cells[c];
        if (cell.empty()) {
          html += "<td></td>";
          continue;
        }
        QStringList texts;
        for (const PageText* text : cell) texts << text->text.toHtmlEscaped();
        // An indented caption keeps its indentation within its column.
        const int indent = (cell.front()->left - columns[c].left) / kTwipsPerPixel;
        const QString padding =
            indent > 0 ? QString("padding-left:%1px;").arg(indent + 8) : QString();
        html +=
            "<td style=\"" + cell_style(cell.front()) + padding + "\">" + texts.join(" ") + "</td>";
      }
      html += "</tr>\n";
    }
  }
  html += "</table>\n";
  if (!chart.isEmpty())
    html += "<p class=\"grafik\"><img alt=\"Grafik\" src=\"data:image/svg+xml;base64," +
            QString::fromLatin1(chart.toBase64()) + "\"></p>\n";
  html += "</body>\n</html>\n";
  return html;
}

bool Export_Html(const ReportPages& pages, const QString& path, const QString& title,
                 const QByteArray& chart) {
  return Write_Export_File(path, Html_Export_Content(pages, title, chart).toUtf8());
}

bool Write_Export_File(const QString& path, const QByteArray& bytes) {
  return Write_Export_File_In_Pieces(path, [&](const PieceWriter& piece) { return piece(bytes); });
}

bool Write_Export_File_In_Pieces(const QString& path,
                                 const std::function<bool(const PieceWriter& piece)>& write) {
  auto pieces_into = [&](QFileDevice& file) {
    return write([&](const QByteArray& piece) { return file.write(piece) == piece.size(); });
  };
  const QFileInfo target(path);
  if (target.exists() && !target.isFile()) {
    // A device or a pipe is written in place: a file renamed over it would replace it.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    const bool written = pieces_into(file) && file.flush();
    file.close();
    return written && file.error() == QFileDevice::NoError;
  }
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (!pieces_into(file)) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

bool Export_Pdf(const ReportPages& pages, const QString& path, const QString& title) {
  // Drawn in memory, then written as one checked file.
  QBuffer pdf;
  pdf.open(QIODevice::WriteOnly);
  QPdfWriter writer(&pdf);
  writer.setResolution(kTwipsPerInch);
  writer.setCreator("MaliTablo");
  if (!title.isEmpty()) writer.setTitle(title);
  writer.setPageLayout(Page_Layout(pages.setup));

  QPainter painter;
  if (!painter.begin(&writer)) return false;
  bool first = true;
  for (const ReportPage& page : pages.pages) {
    if (!first) writer.newPage();
    first = false;
    Paint_Page(painter, page, 1.0);
  }
  if (!painter.end()) return false;
  return Write_Export_File(path, pdf.data());
}

QString Unwritable_File_Message(const QString& path) { return "Dosya yazılamadı: " + path; }

bool Write_Pages(const ReportPages& pages, ExportKind kind, const QString& path,
                 const QString& title, const TextExportOptions& text) {
  switch (kind) {
    case ExportKind::Pdf: return Export_Pdf(pages, path, title);
    case ExportKind::Html: return Export_Html(pages, path, title);
    case ExportKind::Text: return Export_Text(pages, path, text);
    case ExportKind::Excel: break;
  }
  return Export_Xlsx(pages, path, title);
}

bool Write_Statement_File(const Statement& statement, ExportKind kind, const QString& path,
                          const TextExportOptions& text, const ReportPages* laid_out) {
  if (kind == ExportKind::Excel && statement.columns.size() > 1)
    return Export_Columns_Xlsx(statement, path);
  std::optional<ReportPages> own;
  const ReportPages& pages = laid_out ? *laid_out : own.emplace(Run_AnaRapor(statement));
  if (kind == ExportKind::Html) {
    const StatementChart chart = Statement_Chart(statement);
    return Export_Html(pages, path, statement.heading.title,
                       chart.Empty() ? QByteArray() : Chart_Svg(chart));
  }
  if (kind == ExportKind::Excel) {
    const StatementChart chart = Statement_Chart(statement);
    return Export_Xlsx(pages, path, statement.heading.title, &chart);
  }
  return Write_Pages(pages, kind, path, statement.heading.title, text);
}
