// Laid-out pages as plain data: each page is a list of positioned texts and lines, in twips from
// the paper's top-left corner, with their fonts and colours. The report engine produces them once;
// the PDF, preview, print, HTML, text and spreadsheet renderers only draw them, so every output
// shows the same layout decisions.
#pragma once

#include <QColor>
#include <QString>
#include <QVariant>
#include <vector>

#include "ui_common/twips.h"

enum class TextAlign { Left, Center, Right };

struct ReportFont {
  QString family = "Liberation Sans Narrow";
  double size = 9;  // points
  bool bold = false;
};

// A4 portrait by default.
struct PageSetup {
  int width = 11906;
  int height = 16838;
  int margin_left = 400;
  int margin_right = 400;
  int margin_top = 720;
  int margin_bottom = 720;
};

struct PageText {
  QString text;
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  ReportFont font;
  QColor color = Qt::black;
  TextAlign alignment = TextAlign::Left;
  QString control;  // name of the control it came from
  QString section;  // name of the section it came from
  // Fields: the value the text was formatted from and the output format, so a renderer can
  // write the number itself (a workbook cell) instead of its text. Null for labels.
  QVariant value;
  QString format;
};

struct PageLine {
  int x1 = 0;
  int y1 = 0;
  int x2 = 0;
  int y2 = 0;
  int width = 15;
  QColor color = Qt::black;
  QString control;
  QString section;
};

struct ReportPage {
  int number = 0;  // 1-based
  std::vector<PageText> texts;
  std::vector<PageLine> lines;
};

struct ReportPages {
  PageSetup setup;
  std::vector<ReportPage> pages;
};
