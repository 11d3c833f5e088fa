// The workbook export on libxlsxwriter. A printed row becomes a sheet row; each text goes to the
// column of its printed position: A the captions, B the inner amount column, C the middle, D
// the outer (texts sharing a column are joined by a blank). Amounts are written as numbers
// rounded to their output format's decimals (exactly, from their decimal digits) and shown in
// that format, so the sheet holds what the page prints. A statement's workbook adds the sheet
// "Grafik": the chart's figures as formulas over the statement sheet's cells, under a native
// column chart of them (and a line chart of the result rows over the months or quarters).
#include <xlsxwriter.h>

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <map>
#include <optional>

#include "report/ana_rapor.h"
#include "report/exports.h"
#include "report/output_format.h"
#include "report/statement.h"
#include "report/statement_chart.h"

namespace {

// Left edges (twips from the margin) where the columns B, C and D begin.
constexpr int kColumnStarts[] = {kInnerAmountLeft, kMiddleAmountLeft, kOuterAmountLeft};
// Column widths in characters: amounts, and the captions' at least and at most.
constexpr double kAmountColumnWidth = 17;
constexpr double kCaptionMinWidth = 30;
constexpr double kCaptionMaxWidth = 100;
// Texts of the page header that number the pages; a workbook has no pages.
const QSet<QString> kPageNumbering = {"Label25", "Sayfa"};

// The column of a text by where it is anchored: a right-aligned text (an amount, the "CARİ"
// heading) by its right edge, others by their left edge.
int Column_Of(const PageText& text, int margin_left) {
  const int anchor = text.alignment == TextAlign::Right ? text.left + text.width - 1 : text.left;
  int column = 0;
  for (int start : kColumnStarts) {
    if (anchor - margin_left >= start) ++column;
  }
  return column;
}

// Decimals of a numeric output format: the digit places after its ".".
int Format_Decimals(const QString& format) {
  const qsizetype point = format.indexOf(u'.');
  int decimals = 0;
  for (qsizetype i = point + 1; point >= 0 && i < format.size(); ++i) {
    if (format.at(i) != u'0' && format.at(i) != u'#') break;
    ++decimals;
  }
  return decimals;
}

// The value of an amount text, rounded to its format's decimals as the page prints it.
bool Number_Of(const PageText& text, double& number) {
  if (text.format.isEmpty() || text.value.isNull() || !text.value.isValid()) return false;
  std::optional<DecimalDigits> digits;
  if (text.value.typeId() == QMetaType::QString) {
    digits = DecimalDigits::Read(text.value.toString(), kFieldNumberSyntax);
  } else {
    bool ok = false;
    const double value = text.value.toDouble(&ok);
    if (ok) digits = DecimalDigits::Of_Double(value, kAmountSignificantDigits);
  }
  if (!digits) return false;
  number = digits->Rounded(Format_Decimals(text.format)).Value();
  return true;
}

// Where a statement row's figure in a statement column stands on the statement's sheet.
struct SheetCell {
  int row = 0;
  int column = 0;
};
using CellOf = std::function<std::optional<SheetCell>(size_t row, size_t column)>;

QString Cell_Reference(const QString& sheet, SheetCell cell) {
  char name[LXW_MAX_CELL_NAME_LENGTH];
  lxw_rowcol_to_cell_abs(name, static_cast<lxw_row_t>(cell.row),
                         static_cast<lxw_col_t>(cell.column), 1, 1);
  return "='" + QString(sheet).replace("'", "''") + "'!" + QString::fromLatin1(name);
}

// A table of `series` (its titles in the first column, one value per label) at `top` of the
// chart's sheet, each value the formula of its cell on the statement's sheet when it has one.
// `by_rows`: a series is a table row (a line over the labels), else a table column (a bar set).
void Write_Chart_Table(lxw_worksheet* sheet, int top, const QStringList& labels,
                       const std::vector<ChartSeries>& series, bool by_rows,
                       const std::function<std::optional<SheetCell>(size_t s, size_t i)>& cell,
                       const QString& statement_sheet, lxw_format* title, lxw_format* number) {
  auto at = [&](size_t s, size_t i) {
    return by_rows ? SheetCell{top + 1 + static_cast<int>(s), 1 + static_cast<int>(i)}
                   : SheetCell{top + 1 + static_cast<int>(i), 1 + static_cast<int>(s)};
  };
  for (qsizetype i = 0; i < labels.size(); ++i) {
    const SheetCell place = by_rows ? SheetCell{top, 1 + static_cast<int>(i)}
                                    : SheetCell{top + 1 + static_cast<int>(i), 0};
    worksheet_write_string(sheet, place.row, place.column, labels[i].toUtf8().constData(), title);
  }
  for (size_t s = 0; s < series.size(); ++s) {
    const SheetCell name = by_rows ? SheetCell{top + 1 + static_cast<int>(s), 0}
                                   : SheetCell{top, 1 + static_cast<int>(s)};
    worksheet_write_string(sheet, name.row, name.column, series[s].title.toUtf8().constData(),
                           title);
    for (size_t i = 0; i < series[s].values.size(); ++i) {
      const SheetCell place = at(s, i);
      const double value = series[s].values[i];
      if (const std::optional<SheetCell> source = cell(s, i)) {
        worksheet_write_formula_num(sheet, place.row, place.column,
                                    Cell_Reference(statement_sheet, *source).toUtf8().constData(),
                                    number, value);
      } else {
        worksheet_write_number(sheet, place.row, place.column, value, number);
      }
    }
  }
}

// The sheet "Grafik" of a statement's workbook: the bars' table and their column chart, then
// the lines' table and their line chart when the statement has months or quarters.
void Add_Chart_Sheet(lxw_workbook* book, const StatementChart& chart,
                     const QString& statement_sheet, const CellOf& cell_of) {
  if (chart.Empty()) return;
  static const char* kSheet = "Grafik";
  lxw_worksheet* sheet = workbook_add_worksheet(book, kSheet);
  if (!sheet) return;
  lxw_format* title = workbook_add_format(book);
  format_set_font_name(title, "Arial Narrow");
  format_set_bold(title);
  lxw_format* number = workbook_add_format(book);
  format_set_font_name(number, "Arial Narrow");
  const QByteArray amount_format =
      chart.style.amount_format.isEmpty() ? "#,##0.00" : chart.style.amount_format.toUtf8();
  format_set_num_format(number, amount_format.constData());
  worksheet_set_column(sheet, 0, 0, kCaptionMinWidth, nullptr);
  worksheet_set_column(sheet, 1,
                       static_cast<lxw_col_t>(
                           std::max<size_t>(chart.bars.size(), chart.point_columns.size())),
                       kAmountColumnWidth, nullptr);

  const int bar_rows = static_cast<int>(chart.categories.size());
  Write_Chart_Table(
      sheet, 0, chart.categories, chart.bars, false,
      [&](size_t s, size_t i) { return cell_of(chart.category_rows[i], chart.bars[s].source); },
      statement_sheet, title, number);
  const int line_top = bar_rows + 2;
  const int chart_top =
      line_top + (chart.lines.empty() ? 0 : static_cast<int>(chart.lines.size()) + 2);
  lxw_chart* columns = workbook_add_chart(book, LXW_CHART_COLUMN);
  chart_title_set_name(columns, (chart.title + " " + chart.subtitle).toUtf8().constData());
  for (size_t s = 0; s < chart.bars.size(); ++s) {
    lxw_chart_series* series = chart_add_series(columns, nullptr, nullptr);
    const lxw_col_t column = static_cast<lxw_col_t>(s + 1);
    chart_series_set_name_range(series, kSheet, 0, column);
    chart_series_set_categories(series, kSheet, 1, 0, static_cast<lxw_row_t>(bar_rows), 0);
    chart_series_set_values(series, kSheet, 1, column, static_cast<lxw_row_t>(bar_rows), column);
  }
  chart_axis_set_num_format(columns->y_axis, amount_format.constData());
  chart_legend_set_position(columns, LXW_CHART_LEGEND_BOTTOM);
  lxw_chart_options place{};
  place.x_scale = 2.2;
  place.y_scale = 1.6;
  worksheet_insert_chart_opt(sheet, static_cast<lxw_row_t>(chart_top), 0, columns, &place);
  if (chart.lines.empty()) return;

  Write_Chart_Table(
      sheet, line_top, chart.points, chart.lines, true,
      [&](size_t s, size_t i) { return cell_of(chart.lines[s].source, chart.point_columns[i]); },
      statement_sheet, title, number);
  lxw_chart* lines = workbook_add_chart(book, LXW_CHART_LINE);
  chart_title_set_name(lines, chart.title.toUtf8().constData());
  const lxw_col_t last = static_cast<lxw_col_t>(chart.points.size());
  for (size_t s = 0; s < chart.lines.size(); ++s) {
    lxw_chart_series* series = chart_add_series(lines, nullptr, nullptr);
    const lxw_row_t row = static_cast<lxw_row_t>(line_top + 1 + static_cast<int>(s));
    chart_series_set_name_range(series, kSheet, row, 0);
    chart_series_set_categories(series, kSheet, static_cast<lxw_row_t>(line_top), 1,
                                static_cast<lxw_row_t>(line_top), last);
    chart_series_set_values(series, kSheet, row, 1, row, last);
    chart_series_set_marker_type(series, LXW_CHART_MARKER_CIRCLE);
  }
  chart_axis_set_num_format(lines->y_axis, amount_format.constData());
  chart_legend_set_position(lines, LXW_CHART_LEGEND_BOTTOM);
  worksheet_insert_chart_opt(sheet, static_cast<lxw_row_t>(chart_top + 26), 0, lines, &place);
}

class Workbook {
 public:
  Workbook(const QString& path, const QString& sheet_name)
      : book_(workbook_new(QFile::encodeName(path).constData())) {
    if (book_) sheet_ = workbook_add_worksheet(book_, Sheet_Name(sheet_name).toUtf8().constData());
  }
  ~Workbook() {
    if (book_) workbook_close(book_);
  }
  bool Ok() const { return book_ && sheet_; }
  lxw_workbook* Book() { return book_; }
  lxw_worksheet* Sheet() { return sheet_; }

  // One format per look; libxlsxwriter keeps them until the workbook closes.
  lxw_format* Format(const PageText& text, bool number) {
    const QString key = QString("%1|%2|%3|%4")
                            .arg(text.font.bold)
                            .arg(text.color.rgb())
                            .arg(number ? text.format : QString())
                            .arg(number || text.alignment == TextAlign::Right);
    auto found = formats_.find(key);
    if (found != formats_.end()) return found->second;
    lxw_format* format = workbook_add_format(book_);
    format_set_font_name(format, "Arial Narrow");
    format_set_font_size(format, text.font.size);
    if (text.font.bold) format_set_bold(format);
    format_set_font_color(format, static_cast<lxw_color_t>(text.color.rgb() & 0xFFFFFF));
    if (number) format_set_num_format(format, text.format.toUtf8().constData());
    if (number || text.alignment == TextAlign::Right) format_set_align(format, LXW_ALIGN_RIGHT);
    formats_.emplace(key, format);
    return format;
  }

  // Closes the workbook; false when it could not be written.
  bool Close() {
    const lxw_error error = workbook_close(book_);
    book_ = nullptr;
    return error == LXW_NO_ERROR;
  }

 private:
  lxw_workbook* book_;
  lxw_worksheet* sheet_ = nullptr;
  std::map<QString, lxw_format*> formats_;
};

// Writes a printed row; returns the column of the last number it wrote (-1: none).
int Write_Row(Workbook& book, const PrintedRow& row, int sheet_row, int margin_left) {
  std::map<int, std::vector<const PageText*>> cells;
  for (const PageText* text : row.texts) cells[Column_Of(*text, margin_left)].push_back(text);
  int number_column = -1;
  for (const auto& [column, texts] : cells) {
    double number = 0;
    if (texts.size() == 1 && Number_Of(*texts.front(), number)) {
      worksheet_write_number(book.Sheet(), sheet_row, column, number,
                             book.Format(*texts.front(), true));
      number_column = column;
      continue;
    }
    QStringList parts;
    for (const PageText* text : texts) parts << text->text.trimmed();
    worksheet_write_string(book.Sheet(), sheet_row, column, parts.join(' ').toUtf8().constData(),
                           book.Format(*texts.front(), false));
  }
  return number_column;
}

// The workbook written by the library at `path`; false when it could not be made. With a
// chart, its sheet follows; the statement rows are the printed rows with a row caption, in order.
bool Write_Workbook(const ReportPages& pages, const QString& path, const QString& sheet_name,
                    const StatementChart* chart) {
  Workbook book(path, sheet_name);
  if (!book.Ok()) return false;

  const int margin_left = pages.setup.margin_left;
  // The captions' column holds the longest caption of the body.
  double caption_width = kCaptionMinWidth;
  for (const ReportPage& page : pages.pages) {
    for (const PageText& text : page.texts) {
      if (text.section == "Detail" && Column_Of(text, margin_left) == 0)
        caption_width = std::max(caption_width, text.text.trimmed().size() * 1.1 + 2);
    }
  }
  worksheet_set_column(book.Sheet(), 0, 0, std::min(caption_width, kCaptionMaxWidth), nullptr);
  worksheet_set_column(book.Sheet(), 1, 3, kAmountColumnWidth, nullptr);

  int sheet_row = 0;
  int header_rows = 0;
  bool header_written = false;
  QString last_group_heading;
  std::vector<std::optional<SheetCell>> statement_cells;  // by statement row
  for (const ReportPage& page : pages.pages) {
    for (const PrintedRow& printed : Printed_Rows(page)) {
      PrintedRow row{printed.top, {}};
      bool header = false;
      for (const PageText* text : printed.texts) {
        if (text->section == "PageFooter") continue;
        if (text->section == "PageHeader") {
          header = true;
          if (header_written || kPageNumbering.contains(text->control)) continue;
        }
        row.texts.push_back(text);
      }
      if (row.texts.empty()) continue;
      // A group heading repeated at the top of a page goes on with the same group: a sheet has
      // no pages, so it is written once.
      const bool group_heading =
          std::all_of(row.texts.begin(), row.texts.end(),
                      [](const PageText* t) { return t->section == "GroupHeader1"; });
      if (group_heading) {
        const QString heading = row.texts.front()->text;
        if (heading == last_group_heading) continue;
        last_group_heading = heading;
      }
      if (!header && !header_written && sheet_row > 0) {
        header_rows = sheet_row;
        ++sheet_row;  // a blank row under the header
      }
      if (!header) header_written = true;
      const int number_column = Write_Row(book, row, sheet_row++, margin_left);
      if (std::any_of(row.texts.begin(), row.texts.end(), [](const PageText* t) {
            return t->section == "Detail" && t->control == "txtSatir_Adi";
          }))
        statement_cells.push_back(number_column < 0
                                      ? std::nullopt
                                      : std::optional<SheetCell>({sheet_row - 1, number_column}));
    }
    header_written = true;
  }
  // The header stays in view while the rows scroll.
  if (header_rows > 0) worksheet_freeze_panes(book.Sheet(), header_rows, 0);
  if (chart)
    Add_Chart_Sheet(book.Book(), *chart, Sheet_Name(sheet_name),
                    [&](size_t row, size_t) -> std::optional<SheetCell> {
                      return row < statement_cells.size() ? statement_cells[row] : std::nullopt;
                    });
  return book.Close();
}

// A statement of several amount columns: its heading, then a row of the columns' titles and
// one sheet row per statement row, its caption indented by level and its balance in every
// column in print order, as numbers in the amount format (the change in percent with two
// decimals).
bool Write_Columns_Workbook(const Statement& statement, const QString& path) {
  lxw_workbook* book = workbook_new(QFile::encodeName(path).constData());
  if (!book) return false;
  lxw_worksheet* sheet =
      workbook_add_worksheet(book, Sheet_Name(statement.heading.title).toUtf8().constData());
  if (!sheet) {
    workbook_close(book);
    return false;
  }
  auto format = [&](bool bold, const char* number, bool right) {
    lxw_format* f = workbook_add_format(book);
    format_set_font_name(f, "Arial Narrow");
    if (bold) format_set_bold(f);
    if (number) format_set_num_format(f, number);
    if (right) format_set_align(f, LXW_ALIGN_RIGHT);
    return f;
  };
  const QByteArray amount_format = statement.style.amount_format.isEmpty()
                                       ? QByteArray("#,##0.00")
                                       : statement.style.amount_format.toUtf8();
  lxw_format* text = format(false, nullptr, false);
  lxw_format* bold_text = format(true, nullptr, false);
  lxw_format* title = format(true, nullptr, true);
  lxw_format* amount = format(false, amount_format.constData(), true);
  lxw_format* bold_amount = format(true, amount_format.constData(), true);
  lxw_format* change = format(false, "0.00", true);
  lxw_format* bold_change = format(true, "0.00", true);

  const StatementHeading& heading = statement.heading;
  int sheet_row = 0;
  for (const QString& line :
       {heading.company, heading.title, heading.period, heading.workplace, heading.note}) {
    if (!line.isEmpty())
      worksheet_write_string(sheet, sheet_row++, 0, line.toUtf8().constData(), bold_text);
  }
  ++sheet_row;
  const std::vector<size_t> order = Printed_Columns(statement);
  for (size_t i = 0; i < order.size(); ++i)
    worksheet_write_string(sheet, sheet_row, static_cast<lxw_col_t>(i + 1),
                           statement.columns[order[i]].title.toUtf8().constData(), title);
  worksheet_freeze_panes(sheet, ++sheet_row, 1);
  const int first_row = sheet_row;
  double caption_width = kCaptionMinWidth;
  for (const Statement::Row& row : statement.rows) {
    const QString caption = Indented_Caption(row);
    caption_width = std::max(caption_width, caption.size() * 1.1 + 2);
    worksheet_write_string(sheet, sheet_row, 0, caption.toUtf8().constData(),
                           row.emphasis ? bold_text : text);
    for (size_t i = 0; i < order.size(); ++i) {
      const std::optional<double> balance = Printed_Balance(statement, row, order[i]);
      if (!balance) continue;
      const bool percent = statement.columns[order[i]].kind == ColumnKind::Change;
      lxw_format* f =
          percent ? (row.emphasis ? bold_change : change) : (row.emphasis ? bold_amount : amount);
      worksheet_write_number(sheet, sheet_row, static_cast<lxw_col_t>(i + 1), *balance, f);
    }
    ++sheet_row;
  }
  worksheet_set_column(sheet, 0, 0, std::min(caption_width, kCaptionMaxWidth), nullptr);
  worksheet_set_column(sheet, 1, static_cast<lxw_col_t>(order.size()), kAmountColumnWidth, nullptr);
  Add_Chart_Sheet(book, Statement_Chart(statement), Sheet_Name(statement.heading.title),
                  [&](size_t row, size_t column) -> std::optional<SheetCell> {
                    const auto at = std::find(order.begin(), order.end(), column);
                    return SheetCell{first_row + static_cast<int>(row),
                                     1 + static_cast<int>(at - order.begin())};
                  });
  return workbook_close(book) == LXW_NO_ERROR;
}

// Writes a file made by the library in a folder of its own, then copies it whole.
template <typename Write>
bool Made_Then_Copied(const QString& path, Write write) {
  QTemporaryDir folder;
  if (!folder.isValid()) return false;
  const QString made = folder.filePath("Temp.xlsx");
  if (!write(made)) return false;
  QFile file(made);
  if (!file.open(QIODevice::ReadOnly)) return false;
  return Write_Export_File(path, file.readAll());
}

}  // namespace

QString Sheet_Name(const QString& statement_name) {
  QString name;
  for (QChar c : statement_name.simplified()) {
    if (QString("[]:*?/\\").contains(c)) c = u' ';
    name += c;
  }
  name = name.simplified().left(31).trimmed();
  // A sheet name may not begin or end with an apostrophe.
  while (name.startsWith(u'\'')) name.remove(0, 1);
  while (name.endsWith(u'\'')) name.chop(1);
  return name.isEmpty() ? QString("Sayfa1") : name;
}

bool Export_Xlsx(const ReportPages& pages, const QString& path, const QString& sheet_name,
                 const StatementChart* chart) {
  // The library writes its own file: it is made in a folder of its own, then copied whole.
  return Made_Then_Copied(path, [&](const QString& made) {
    return Write_Workbook(pages, made, sheet_name, chart);
  });
}

bool Export_Columns_Xlsx(const Statement& statement, const QString& path) {
  return Made_Then_Copied(path, [&](const QString& made) {
    return Write_Columns_Workbook(statement, made);
  });
}
