// The statement's chart ("Grafik"): the level-1 rows with figures (not footnotes, blank lines or
// rules) as bars, one bar per period column in print order; with months or quarters the bars of
// the months or quarters alone (an income statement's total left out) and the result rows as
// lines over them. The figures are those the page prints. One drawing on a QPainter serves the
// window, the printer and the files (PNG, SVG, the HTML page's picture).
#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QStringList>
#include <vector>

#include "report/statement.h"

class QPainter;
class QRectF;

// One bar set (a column's figures over the rows) or one line (a row's figures over the columns).
struct ChartSeries {
  QString title;
  size_t source = 0;  // the statement's column (a bar set) or row (a line)
  std::vector<double> values;
};

struct StatementChart {
  QString title;     // the statement's name
  QString subtitle;  // the company, the period, the workplace and the heading's note
  StatementStyle style;
  // The bars: one category per level-1 row, one set per period column.
  QStringList categories;
  std::vector<size_t> category_rows;  // the statement's rows of the categories
  std::vector<ChartSeries> bars;
  // The lines: one point per month or quarter column, one line per result row.
  QStringList points;
  std::vector<size_t> point_columns;  // the statement's columns of the points
  std::vector<ChartSeries> lines;

  bool Empty() const { return categories.isEmpty() || bars.empty(); }
};

// The chart of a statement; empty when it has no level-1 row.
StatementChart Statement_Chart(const Statement& statement);

// The size a chart is drawn at in its files, in pixels.
inline constexpr QSize kChartSize{1100, 720};

// Draws the chart into `area` (in the painter's units, about a screen pixel each).
void Paint_Chart(QPainter& painter, const StatementChart& chart, const QRectF& area);
// The chart as an SVG document and as a PNG picture of `size`.
QByteArray Chart_Svg(const StatementChart& chart, QSize size = kChartSize);
QByteArray Chart_Png(const StatementChart& chart, QSize size = kChartSize);
