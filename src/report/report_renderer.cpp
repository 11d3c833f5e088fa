// Painting of laid-out pages with QPainter.
#include "report/report_renderer.h"

#include <QFont>
#include <QPageSize>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>

#include "ui_common/twips.h"

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
    painter.drawText(box,
                     static_cast<int>(Alignment_Flags(text.alignment) | Qt::AlignTop |
                                      Qt::TextSingleLine | Qt::TextDontClip),
                     text.text);
  }
}

QPageLayout Page_Layout(const PageSetup& setup) {
  const bool landscape = setup.width > setup.height;
  const QPageSize size(QSizeF(std::min(setup.width, setup.height) / double(kTwipsPerPoint),
                              std::max(setup.width, setup.height) / double(kTwipsPerPoint)),
                       QPageSize::Point, QString(), QPageSize::FuzzyMatch);
  return QPageLayout(size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                     QMarginsF(0, 0, 0, 0));
}
