// The banded report engine: a report definition made of sections (report header, page header,
// one group level, detail, page footer, report footer) holding labels, data fields and lines
// placed in twips, plus format hooks; Run_Report lays it out over the rows of a data source into
// pages of plain positioned items (report_pages.h) that every renderer draws. Hooks change the
// controls of the running definition, and such changes persist from row to row.
#pragma once

#include <QColor>
#include <QString>
#include <QVariant>
#include <functional>
#include <vector>

#include "report/report_data.h"
#include "report/report_pages.h"

enum class ControlKind { Label, Field, Line };

// A field bound to one of these names prints the page number or the page count, formatted
// with the field's output format, or both as "n / N".
inline const QString Page_Number_Field = "=PageNumber";
inline const QString Page_Count_Field = "=PageCount";
inline const QString Page_Of_Count_Field = "=PageOfCount";

struct ReportControl {
  QString name;
  ControlKind kind = ControlKind::Label;
  // Labels: the caption. Fields: refilled from the bound column before every format hook,
  // so a hook may still replace it for the current row.
  QString text;
  QVariant value;         // fields only: the bound column's value for the current row
  QString column;         // fields only
  QString output_format;  // fields only, e.g. "#,##0.00"
  // Twips from the section's top-left corner. A line runs from (left, top) to
  // (left + width, top + height).
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 225;
  ReportFont font;
  QColor fore_color = Qt::black;
  TextAlign alignment = TextAlign::Left;
  int line_width = 15;  // lines only, twips
  bool visible = true;
};

struct ReportSection {
  QString name;
  int height = 0;  // twips
  bool visible = true;
  // A section that only closes what precedes it (a rule under a group): when it no longer fits
  // on the page it is left out instead of opening the next page with it.
  bool closing = false;
  // A group header printed again under the page header of every page its group continues on.
  bool repeat_on_page = false;
  std::vector<ReportControl> controls;

  // The control named `name`; throws std::out_of_range when there is none.
  ReportControl& Control(const QString& name);
  const ReportControl& Control(const QString& name) const;
  ReportControl& Add_Label(const QString& name, const QString& caption, int left, int top,
                           int width);
  ReportControl& Add_Field(const QString& name, const QString& column, int left, int top, int width,
                           const QString& output_format = {});
  ReportControl& Add_Line(const QString& name, int x1, int y1, int x2, int y2);
};

struct ReportDefinition;

// What a hook sees: the running definition (its controls may be changed), the data, the
// current row (-1 when none) and the page being filled.
struct ReportContext {
  ReportDefinition& report;
  const ReportDataSource& data;
  int row = -1;
  int page_number = 0;

  // The current row's value of `column`; null without a row or column.
  QVariant Value(const QString& column) const;
};

using ReportHook = std::function<void(ReportContext&)>;

struct ReportDefinition {
  ReportDefinition();

  PageSetup page;
  ReportSection report_header;
  ReportSection page_header;
  ReportSection group_header;
  ReportSection detail;
  ReportSection group_footer;
  ReportSection page_footer;
  ReportSection report_footer;
  // The group sections print only when a key column is given; a new group starts whenever the
  // key's text differs from the previous row's.
  QString group_column;

  ReportHook report_start;  // before the first section
  ReportHook page_header_format;
  ReportHook group_header_format;
  ReportHook detail_format;
  ReportHook report_end;  // after the last page is laid out
};

// Runs the definition (a working copy: the caller's stays as designed) over every row of
// `data` into pages. A section whose hook makes it taller than the room left on the page
// moves to the next page.
ReportPages Run_Report(ReportDefinition definition, const ReportDataSource& data);
