// Painting of laid-out pages with QPainter and the PDF renderer on QPdfWriter. The writer runs
// at 1440 dots per inch, so one device unit is one twip.
#include "report/report_renderer.h"

#include <QFile>
#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <cmath>

namespace {

Qt::Alignment Alignment_Flags(TextAlign alignment) {
  switch (alignment) {
    case TextAlign::Center: return Qt::AlignHCenter;
    case TextAlign::Right: return Qt::AlignRight;
    case TextAlign::Left: break;
  }
  return Qt::AlignLeft;
}

int Scaled(int twips, double factor) { return static_cast<int>(std::lround(twips * factor)); }

}  // namespace

void Paint_Page(QPainter& painter, const ReportPage& page, double device_per_twip) {
  for (const PageLine& line : page.lines) {
    QPen pen(line.color);
    pen.setWidthF(std::max(1.0, line.width * device_per_twip));
    painter.setPen(pen);
    painter.drawLine(Scaled(line.x1, device_per_twip), Scaled(line.y1, device_per_twip),
                     Scaled(line.x2, device_per_twip), Scaled(line.y2, device_per_twip));
  }
  for (const PageText& text : page.texts) {
    if (text.text.isEmpty()) continue;
    QFont font(text.font.family);
    font.setPointSizeF(text.font.size);
    font.setBold(text.font.bold);
    painter.setFont(font);
    painter.setPen(text.color);
    const QRect box(Scaled(text.left, device_per_twip), Scaled(text.top, device_per_twip),
                    Scaled(text.width, device_per_twip), Scaled(text.height, device_per_twip));
    painter.drawText(box, static_cast<int>(Alignment_Flags(text.alignment) | Qt::AlignTop |
                                           Qt::TextSingleLine | Qt::TextDontClip),
                     text.text);
  }
}

bool PdfRenderer::Render(const ReportPages& pages) {
  if (QFile::exists(path_) && !QFile::remove(path_)) return false;
  QPdfWriter writer(path_);
  writer.setResolution(kTwipsPerInch);
  writer.setCreator("MaliTablo");
  if (!title_.isEmpty()) writer.setTitle(title_);
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
  return painter.end();
}

bool Render_Pdf(const ReportPages& pages, const QString& path) {
  return PdfRenderer(path).Render(pages);
}
