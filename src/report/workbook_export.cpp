// The workbook export on libxlsxwriter. A printed row becomes a sheet row; each text goes to the
// column of its printed position: A the captions, B the second amount column, C the first, D
// the designed amount position (texts sharing a column are joined by a blank). Amounts are
// written as numbers with their output format, so the sheet shows the company's decimals.
#include <xlsxwriter.h>

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <map>

#include "report/ana_rapor.h"
#include "report/exports.h"
#include "report/output_format.h"

namespace {

// Left edges (twips from the margin) where the columns B, C and D begin.
constexpr int kColumnStarts[] = {5670, kATutarLeft, kBakiyeLeft};
// Texts of the page header that number the pages; a workbook has no pages.
const QSet<QString> kPageNumbering = {"Label25", "Sayfa"};

int Column_Of(const PageText& text, int margin_left) {
  int column = 0;
  for (int start : kColumnStarts) {
    if (text.left - margin_left >= start) ++column;
  }
  return column;
}

bool Number_Of(const PageText& text, double& number) {
  if (text.format.isEmpty() || text.value.isNull() || !text.value.isValid()) return false;
  if (text.value.typeId() == QMetaType::QString) {
    const auto digits = DecimalDigits::Read(text.value.toString(), kFieldNumberSyntax);
    if (digits) number = digits->Value();
    return digits.has_value();
  }
  bool ok = false;
  number = text.value.toDouble(&ok);
  return ok;
}

class Workbook {
 public:
  explicit Workbook(const QString& path) : book_(workbook_new(QFile::encodeName(path).constData())) {
    if (book_) sheet_ = workbook_add_worksheet(book_, "Sayfa1");
  }
  ~Workbook() {
    if (book_) workbook_close(book_);
  }
  bool Ok() const { return book_ && sheet_; }
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

void Write_Row(Workbook& book, const PrintedRow& row, int sheet_row, int margin_left) {
  std::map<int, std::vector<const PageText*>> cells;
  for (const PageText* text : row.texts) cells[Column_Of(*text, margin_left)].push_back(text);
  for (const auto& [column, texts] : cells) {
    double number = 0;
    if (texts.size() == 1 && Number_Of(*texts.front(), number)) {
      worksheet_write_number(book.Sheet(), sheet_row, column, number, book.Format(*texts.front(), true));
      continue;
    }
    QStringList parts;
    for (const PageText* text : texts) parts << text->text.trimmed();
    worksheet_write_string(book.Sheet(), sheet_row, column, parts.join(' ').toUtf8().constData(),
                           book.Format(*texts.front(), false));
  }
}

// The workbook written by the library at `path`; false when it could not be made.
bool Write_Workbook(const ReportPages& pages, const QString& path) {
  Workbook book(path);
  if (!book.Ok()) return false;
  worksheet_set_column(book.Sheet(), 0, 0, 48, nullptr);
  worksheet_set_column(book.Sheet(), 1, 3, 16, nullptr);

  const int margin_left = pages.setup.margin_left;
  int sheet_row = 0;
  bool header_written = false;
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
      if (!header && !header_written && sheet_row > 0) ++sheet_row;  // a blank row under the header
      if (!header) header_written = true;
      Write_Row(book, row, sheet_row++, margin_left);
    }
    header_written = true;
  }
  return book.Close();
}

}  // namespace

bool Export_Xlsx(const ReportPages& pages, const QString& path) {
  // The library writes its own file: it is made in a folder of its own, then copied whole.
  QTemporaryDir folder;
  if (!folder.isValid()) return false;
  const QString made = folder.filePath("Temp.xlsx");
  if (!Write_Workbook(pages, made)) return false;
  QFile file(made);
  if (!file.open(QIODevice::ReadOnly)) return false;
  return Write_Export_File(path, file.readAll());
}
