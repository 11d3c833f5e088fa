// The chart drawn in two panels: the bars of the level-1 rows above, the lines of the result
// rows over the months or quarters below (when there are any), each with its legend under it.
// The value axis has round steps written in the company's amount format.
#include "report/statement_chart.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>

#include "report/output_format.h"

namespace {

// Months or quarters: the columns are periods cut from the run's own, without a difference.
bool Over_Time(const Statement& statement) {
  const auto& columns = statement.columns;
  return columns.size() > 1 && std::none_of(columns.begin(), columns.end(), [](const auto& c) {
           return c.kind != ColumnKind::Period;
         });
}

// Footnotes, blank lines and rules are no figures.
bool Has_Figure(const Statement::Row& row) {
  const int kind = row.kind.value_or(0);
  return !Is_Page_Layout_Row(kind) && kind != kRowFootnote;
}

const QColor kPalette[] = {"#4e79a7", "#f28e2b", "#e15759", "#76b7b2", "#59a14f",
                           "#edc948", "#b07aa1", "#ff9da7", "#9c755f", "#7f7f7f",
                           "#1f77b4", "#8c564b", "#17becf", "#bcbd22"};

QColor Series_Color(size_t index) {
  constexpr size_t count = std::size(kPalette);
  if (index < count) return kPalette[index];
  return QColor::fromHsv(static_cast<int>((index * 47) % 360), 150, 200);
}

QFont Font(double pixels, bool bold = false) {
  QFont font("Liberation Sans");
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
  font.setBold(bold);
  return font;
}

// Round steps from the lowest to the highest value, zero among them.
struct Scale {
  double low = 0, high = 1, step = 1;
};

Scale Scale_Of(double low, double high) {
  low = std::min(low, 0.0);
  high = std::max(high, 0.0);
  if (high - low < 1e-9) high = low + 1;
  const double raw = (high - low) / 5;
  const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
  double step = magnitude * 10;
  for (double nice : {1.0, 2.0, 2.5, 5.0}) {
    if (magnitude * nice >= raw) {
      step = magnitude * nice;
      break;
    }
  }
  return {std::floor(low / step) * step, std::ceil(high / step) * step, step};
}

// The text in lines of at most `width`, at most `count` of them: words that do not fit are left
// out and an ellipsis says so; a word longer than a line is cut the same way.
QStringList Wrapped(const QFontMetricsF& metrics, double width, int count, const QString& text) {
  auto cut = [&](const QString& t) { return metrics.elidedText(t, Qt::ElideRight, width); };
  QStringList lines;
  const QStringList words = text.split(u' ', Qt::SkipEmptyParts);
  for (qsizetype i = 0; i < words.size(); ++i) {
    const QString joined = lines.isEmpty() ? QString() : lines.back() + u' ' + words[i];
    if (!lines.isEmpty() && metrics.horizontalAdvance(joined) <= width) {
      lines.back() = joined;
    } else if (lines.size() < count) {
      lines << cut(words[i]);
    } else {
      lines.back() = cut(lines.back() + u'…');
      break;
    }
  }
  return lines;
}

QString Axis_Text(const StatementStyle& style, double value) {
  const QString format = style.amount_format.isEmpty() ? QString("#,##0.00") : style.amount_format;
  return Apply_Output_Format(format, value, style.separators);
}

// A legend: a swatch (a square for bars, a short line for lines) and a title per series,
// flowing over as many lines as it needs; returns the height it takes.
double Legend(QPainter* painter, const std::vector<ChartSeries>& series, bool lines,
              const QRectF& area) {
  const QFont font = Font(12);
  const QFontMetricsF metrics(font);
  const double line_height = metrics.height() + 4;
  double x = area.left(), y = area.top();
  if (painter) painter->setFont(font);
  for (size_t i = 0; i < series.size(); ++i) {
    const double width = 18 + metrics.horizontalAdvance(series[i].title) + 16;
    if (x > area.left() && x + width > area.right()) {
      x = area.left();
      y += line_height;
    }
    if (painter) {
      const QColor color = Series_Color(i);
      const double middle = y + line_height / 2;
      if (lines) {
        painter->setPen(QPen(color, 2.5));
        painter->drawLine(QPointF(x, middle), QPointF(x + 14, middle));
      } else {
        painter->fillRect(QRectF(x + 1, middle - 6, 12, 12), color);
      }
      painter->setPen(Qt::black);
      painter->drawText(QRectF(x + 18, y, width, line_height), Qt::AlignLeft | Qt::AlignVCenter,
                        series[i].title);
    }
    x += width;
  }
  return series.empty() ? 0 : y - area.top() + line_height;
}

// A panel: the value axis with its grid, the labels under the plot, the legend at the bottom;
// `draw` paints the series into the plot with the value-to-y mapping it is given.
template <typename Draw>
void Panel(QPainter& painter, const StatementChart& chart, const QRectF& area,
           const QStringList& labels, const std::vector<ChartSeries>& series, bool lines,
           Draw draw) {
  double low = 0, high = 0;
  for (const ChartSeries& s : series) {
    for (double v : s.values) {
      low = std::min(low, v);
      high = std::max(high, v);
    }
  }
  const Scale scale = Scale_Of(low, high);
  const QFont axis_font = Font(11);
  const QFontMetricsF axis_metrics(axis_font);
  double axis_width = 0;
  for (double v = scale.low; v <= scale.high + scale.step / 2; v += scale.step)
    axis_width = std::max(axis_width, axis_metrics.horizontalAdvance(Axis_Text(chart.style, v)));
  const double legend_height =
      Legend(nullptr, series, lines, QRectF(area.left() + 10, 0, area.width() - 20, 0));
  const double label_height = axis_metrics.height() * (lines ? 1.5 : 4.2);
  const QRectF plot(area.left() + axis_width + 14, area.top() + 8, area.width() - axis_width - 24,
                    area.height() - 8 - label_height - legend_height - 12);
  if (plot.height() < 20 || plot.width() < 20) return;
  auto y_of = [&](double v) {
    return plot.bottom() - (v - scale.low) / (scale.high - scale.low) * plot.height();
  };

  painter.setFont(axis_font);
  for (double v = scale.low; v <= scale.high + scale.step / 2; v += scale.step) {
    const double y = y_of(v);
    painter.setPen(QPen(QColor("#dddddd"), 1));
    painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    painter.setPen(Qt::black);
    painter.drawText(QRectF(area.left(), y - axis_metrics.height() / 2, axis_width + 6,
                            axis_metrics.height()),
                     Qt::AlignRight | Qt::AlignVCenter, Axis_Text(chart.style, v));
  }
  painter.setPen(QPen(Qt::black, 1));
  painter.drawLine(QPointF(plot.left(), plot.top()), QPointF(plot.left(), plot.bottom()));
  painter.drawLine(QPointF(plot.left(), y_of(0)), QPointF(plot.right(), y_of(0)));

  const double slot = plot.width() / std::max<qsizetype>(1, labels.size());
  const QFont label_font = Font(lines ? 11 : 10);
  const QFontMetricsF label_metrics(label_font);
  painter.setFont(label_font);
  for (qsizetype i = 0; i < labels.size(); ++i) {
    const QStringList label = Wrapped(label_metrics, slot - 4, lines ? 1 : 4, labels[i]);
    for (qsizetype l = 0; l < label.size(); ++l)
      painter.drawText(QRectF(plot.left() + i * slot,
                              plot.bottom() + 4 + l * label_metrics.height(), slot,
                              label_metrics.height()),
                       Qt::AlignHCenter | Qt::AlignTop, label[l]);
  }
  draw(plot, slot, y_of);
  Legend(&painter, series, lines,
         QRectF(area.left() + 10, plot.bottom() + label_height + 10, area.width() - 20, 0));
}

}  // namespace

StatementChart Statement_Chart(const Statement& statement) {
  StatementChart chart;
  chart.title = statement.heading.title;
  QStringList subtitle{statement.heading.company, statement.heading.period,
                       statement.heading.workplace, statement.heading.note};
  subtitle.removeAll(QString());
  chart.subtitle = subtitle.join("   ");
  chart.style = statement.style;
  auto figure = [&](size_t row, size_t column) {
    return Printed_Balance(statement, statement.rows[row], column).value_or(0);
  };
  std::vector<size_t> periods;
  for (size_t c : Printed_Columns(statement))
    if (statement.columns[c].kind == ColumnKind::Period) periods.push_back(c);
  for (size_t r = 0; r < statement.rows.size(); ++r) {
    if (statement.rows[r].level != 1 || !Has_Figure(statement.rows[r])) continue;
    chart.categories << statement.rows[r].caption;
    chart.category_rows.push_back(r);
  }
  if (chart.categories.isEmpty()) return chart;
  // Over months or quarters an income statement's main column is their total, twelve times a
  // month's bar: the bars and the lines stand over the parts alone. A balance sheet's main
  // column is its last month.
  const bool over_time = Over_Time(statement);
  for (size_t c : periods) {
    if (over_time && c == 0 && statement.heading.kind != kKindBalanceSheet) continue;
    if (over_time) {
      chart.points << statement.columns[c].title;
      chart.point_columns.push_back(c);
    }
    ChartSeries bars{statement.columns[c].title, c, {}};
    for (size_t r : chart.category_rows) bars.values.push_back(figure(r, c));
    chart.bars.push_back(std::move(bars));
  }
  if (!over_time) return chart;
  for (size_t r = 0; r < statement.rows.size(); ++r) {
    if (!statement.rows[r].net_result) continue;
    ChartSeries line{statement.rows[r].caption, r, {}};
    for (size_t c : chart.point_columns) line.values.push_back(figure(r, c));
    chart.lines.push_back(std::move(line));
  }
  return chart;
}

void Paint_Chart(QPainter& painter, const StatementChart& chart, const QRectF& area) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(area, Qt::white);
  const QFont title_font = Font(18, true);
  const QFont subtitle_font = Font(12);
  const double title_height = QFontMetricsF(title_font).height();
  const double subtitle_height = QFontMetricsF(subtitle_font).height();
  painter.setPen(Qt::black);
  painter.setFont(title_font);
  painter.drawText(QRectF(area.left(), area.top() + 8, area.width(), title_height),
                   Qt::AlignHCenter, chart.title);
  painter.setFont(subtitle_font);
  painter.drawText(QRectF(area.left(), area.top() + 10 + title_height, area.width(),
                          subtitle_height),
                   Qt::AlignHCenter, chart.subtitle);
  const double top = area.top() + 20 + title_height + subtitle_height;
  const double height = area.bottom() - top;
  const bool lines = !chart.lines.empty() && !chart.points.isEmpty();
  const QRectF bar_area(area.left(), top, area.width(), lines ? height * 0.6 : height);
  Panel(painter, chart, bar_area, chart.categories, chart.bars, false,
        [&](const QRectF& plot, double slot, auto y_of) {
          const double width = slot * 0.8 / std::max<size_t>(1, chart.bars.size());
          for (size_t s = 0; s < chart.bars.size(); ++s) {
            for (size_t i = 0; i < chart.bars[s].values.size(); ++i) {
              const double x = plot.left() + i * slot + slot * 0.1 + s * width;
              const double y0 = y_of(0), y = y_of(chart.bars[s].values[i]);
              painter.fillRect(QRectF(x, std::min(y0, y), width, std::abs(y - y0)),
                               Series_Color(s));
            }
          }
        });
  if (lines) {
    const QRectF line_area(area.left(), bar_area.bottom() + 6, area.width(),
                           area.bottom() - bar_area.bottom() - 6);
    Panel(painter, chart, line_area, chart.points, chart.lines, true,
          [&](const QRectF& plot, double slot, auto y_of) {
            for (size_t s = 0; s < chart.lines.size(); ++s) {
              QPainterPath path;
              const std::vector<double>& values = chart.lines[s].values;
              for (size_t i = 0; i < values.size(); ++i) {
                const QPointF point(plot.left() + (i + 0.5) * slot, y_of(values[i]));
                if (i == 0)
                  path.moveTo(point);
                else
                  path.lineTo(point);
              }
              painter.setPen(QPen(Series_Color(s), 2.5));
              painter.setBrush(Qt::NoBrush);
              painter.drawPath(path);
              painter.setBrush(Series_Color(s));
              for (size_t i = 0; i < values.size(); ++i)
                painter.drawEllipse(QPointF(plot.left() + (i + 0.5) * slot, y_of(values[i])), 3.5,
                                    3.5);
            }
          });
  }
  painter.restore();
}

QByteArray Chart_Svg(const StatementChart& chart, QSize size) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setSize(size);
  svg.setViewBox(QRect(QPoint(0, 0), size));
  svg.setResolution(96);  // a pixel of the drawing is a screen pixel
  svg.setTitle(chart.title);
  QPainter painter;
  if (!painter.begin(&svg)) return {};
  Paint_Chart(painter, chart, QRectF(QPointF(0, 0), size));
  painter.end();
  return buffer.data();
}

QByteArray Chart_Png(const StatementChart& chart, QSize size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    Paint_Chart(painter, chart, QRectF(QPointF(0, 0), size));
  }
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return buffer.data();
}
