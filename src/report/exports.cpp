// Printed rows, the export paths, and the PDF, HTML and text writers. The text file places a
// line's texts in columns of 75 twips (a character of the printed narrow font) when no
// field separator is given (right-aligned texts end where they end on paper; a text that would
// run into the next keeps two blanks before it) and keeps the vertical gaps of the page as empty
// lines, one per 255 twips, so it reads like the printout.
#include "report/exports.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QStringEncoder>
#include <algorithm>
#include <cmath>

#include "db/registry.h"
#include "db/suite_text.h"
#include "report/ana_rapor.h"
#include "report/report_renderer.h"
#include "ui_common/twips.h"

namespace {

constexpr int kSameLineTwips = 120;
constexpr int kTextLineTwips = 255;
constexpr int kTextColumnTwips = 75;
// The PDF writer runs at 1440 dots per inch, so one device unit is one twip.

// A line's texts in columns: each at its printed place, at least two blanks after the previous.
QString Placed_Line(const PrintedRow& row, int margin_left) {
  QString line;
  for (const PageText* text : row.texts) {
    const int length = static_cast<int>(text->text.size());
    const int left = (text->left - margin_left) / kTextColumnTwips;
    int start = left;
    if (text->alignment == TextAlign::Right) {
      start = (text->left - margin_left + text->width) / kTextColumnTwips - length;
    } else if (text->alignment == TextAlign::Center) {
      start = (text->left - margin_left + text->width / 2) / kTextColumnTwips - length / 2;
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

QString Px(int twips) { return QString::number(twips / double(kTwipsPerPixel), 'f', 1) + "px"; }

}  // namespace

QString Export_File_Name(ExportKind kind) {
  switch (kind) {
    case ExportKind::Pdf: return "Temp.pdf";
    case ExportKind::Html: return "Temp.Htm";
    case ExportKind::Text: return "Temp.txt";
    case ExportKind::Excel: break;
  }
  return "Temp.xlsx";
}

QString Output_Folder() { return QFileInfo(Registry_File()).absolutePath(); }

QString Export_Path(ExportKind kind) {
  const QString folder = Output_Folder();
  QDir().mkpath(folder);
  return QDir(folder).filePath(Export_File_Name(kind));
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
      lines << (options.field_separator.isEmpty() ? Placed_Line(row, pages.setup.margin_left)
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

QString Html_Export_Content(const ReportPages& pages, const QString& title) {
  const PageSetup& setup = pages.setup;
  QString html;
  html +=
      "<!DOCTYPE html>\n<html lang=\"tr\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
      title.toHtmlEscaped() +
      "</title>\n<style>\n"
      "body { background: #808080; margin: 0; padding: 12px 0; }\n"
      ".page { position: relative; background: #fff; margin: 0 auto 12px auto; overflow: hidden;"
      " width: " +
      Px(setup.width) + "; height: " + Px(setup.height) +
      "; }\n"
      ".t { position: absolute; white-space: pre; overflow: visible; }\n"
      ".l { position: absolute; }\n"
      "</style>\n</head>\n<body>\n";
  for (const ReportPage& page : pages.pages) {
    html += QString("<div class=\"page\" id=\"sayfa%1\">\n").arg(page.number);
    for (const PageLine& line : page.lines) {
      const int left = std::min(line.x1, line.x2), top = std::min(line.y1, line.y2);
      const int width = std::abs(line.x2 - line.x1), height = std::abs(line.y2 - line.y1);
      html += QString(
                  "<div class=\"l\" style=\"left:%1;top:%2;width:%3;height:%4;"
                  "border-top:%5 solid %6;\"></div>\n")
                  .arg(Px(left), Px(top), Px(width), Px(height), Px(line.width), line.color.name());
    }
    for (const PrintedRow& row : Printed_Rows(page)) {
      html += "<div class=\"row\">";
      for (const PageText* text : row.texts) {
        const char* align = text->alignment == TextAlign::Right    ? "right"
                            : text->alignment == TextAlign::Center ? "center"
                                                                   : "left";
        html +=
            QString(
                "<span class=\"t\" style=\"left:%1;top:%2;width:%3;font-family:%4;"
                "font-size:%5pt;font-weight:%6;color:%7;text-align:%8;\">%9</span>")
                .arg(Px(text->left), Px(text->top), Px(text->width), Font_Stack(text->font.family))
                .arg(text->font.size)
                .arg(text->font.bold ? "bold" : "normal", text->color.name(), align,
                     text->text.toHtmlEscaped());
      }
      html += "</div>\n";
    }
    html += "</div>\n";
  }
  html += "</body>\n</html>\n";
  return html;
}

bool Export_Html(const ReportPages& pages, const QString& path, const QString& title) {
  return Write_Export_File(path, Html_Export_Content(pages, title).toUtf8());
}

bool Write_Export_File(const QString& path, const QByteArray& bytes) {
  const QFileInfo target(path);
  if (target.exists() && !target.isFile()) {
    // A device or a pipe is written in place: a file renamed over it would replace it.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    const bool written = file.write(bytes) == bytes.size() && file.flush();
    file.close();
    return written && file.error() == QFileDevice::NoError;
  }
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  file.write(bytes);
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
  const QPageSize size(QSizeF(pages.setup.width / double(kTwipsPerPoint),
                              pages.setup.height / double(kTwipsPerPoint)),
                       QPageSize::Point, QString(), QPageSize::FuzzyMatch);
  writer.setPageLayout(QPageLayout(size, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));

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
                          const TextExportOptions& text) {
  return Write_Pages(Run_AnaRapor(statement), kind, path, statement.heading.title, text);
}
