#include "audit/audit_table.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

#include "process/app_state.h"
#include "report/output_format.h"
#include "report/statement_listing.h"
#include "ui_common/amount_text.h"

namespace {

// Every row of the table, then those of `more`.
void Each_Row(const AuditTable& table, const AuditRowSource& more,
              const std::function<void(const AuditRow& row)>& each) {
  for (const AuditRow& row : table.rows) each(row);
  if (more) more(each);
}

// Sink writes stop at the first failure; the rows still read are not written.
class Writer {
 public:
  explicit Writer(const ListingSink& sink) : sink_(sink) {}
  void operator()(const QByteArray& piece) {
    if (ok_) ok_ = sink_(piece);
  }
  bool Ok() const { return ok_; }

 private:
  const ListingSink& sink_;
  bool ok_ = true;
};

bool Csv(const AuditTable& table, const AuditRowSource& more, const ListingSink& sink) {
  Writer write(sink);
  QStringList header;
  for (const AuditColumn& c : table.columns) header << c.key;
  write((header.join(',') + "\r\n").toUtf8());
  Each_Row(table, more, [&](const AuditRow& row) {
    QStringList fields;
    for (size_t c = 0; c < table.columns.size(); ++c) {
      const QVariant v = c < row.values.size() ? row.values[c] : QVariant();
      if (v.isNull())
        fields << QString();
      else if (table.columns[c].amount)
        fields << Plain_Number_Text(v.toDouble(), 4);
      else
        fields << Csv_Field(v.toString());
    }
    write((fields.join(',') + "\r\n").toUtf8());
  });
  return write.Ok();
}

QJsonObject Json_Row(const AuditTable& table, const AuditRow& row) {
  QJsonObject object;
  for (size_t c = 0; c < table.columns.size(); ++c) {
    const QVariant v = c < row.values.size() ? row.values[c] : QVariant();
    const QString& key = table.columns[c].key;
    if (v.isNull())
      object[key] = QJsonValue::Null;
    else if (table.columns[c].amount)
      object[key] = v.toDouble();
    else
      object[key] = v.toString();
  }
  return object;
}

// The document as QJsonDocument indents it, its rows written one at a time: the document is
// laid out around a marker row and the rows go where the marker stands (the last array of the
// document, its keys being in order).
bool Json(const AuditTable& table, const AuditRowSource& more, const ListingSink& sink) {
  QJsonObject document;
  document["baslik"] = table.title;
  document["aciklama"] = QJsonArray::fromStringList(table.heading);
  document["notlar"] = QJsonArray::fromStringList(table.notes);
  const QByteArray marker = "\"satirlar-burada\"";
  document["satirlar"] = QJsonArray{QString::fromUtf8(marker.mid(1, marker.size() - 2))};
  const QByteArray whole = QJsonDocument(document).toJson(QJsonDocument::Indented);
  const qsizetype at = whole.lastIndexOf(marker);
  const qsizetype line_start = whole.lastIndexOf('\n', at) + 1;
  const qsizetype line_end = whole.indexOf('\n', at) + 1;
  const QByteArray indent = whole.mid(line_start, whole.indexOf('"', line_start) - line_start);
  Writer write(sink);
  bool first = true;
  Each_Row(table, more, [&](const AuditRow& row) {
    QByteArray text = QJsonDocument(Json_Row(table, row)).toJson(QJsonDocument::Indented);
    text.chop(1);  // the document's closing line break
    text = indent + text.replace("\n", "\n" + indent);
    write(first ? whole.left(line_start) + text : ",\n" + text);
    first = false;
  });
  if (first) {
    document["satirlar"] = QJsonArray();
    write(QJsonDocument(document).toJson(QJsonDocument::Indented));
  } else {
    write("\n" + whole.mid(line_end));
  }
  return write.Ok();
}

bool Text(const AppState& s, const AuditTable& table, const AuditRowSource& more,
          const ListingSink& sink) {
  const int columns = static_cast<int>(table.columns.size());
  std::vector<int> widths(columns);
  auto cell = [&](const AuditRow& row, int c) {
    QString text = Audit_Cell_Text(s, table, row, c);
    if (c == 0) text.prepend(QString(2 * row.depth, ' '));
    return text;
  };
  for (int c = 0; c < columns; ++c) widths[c] = table.columns[c].caption.size();
  Each_Row(table, more, [&](const AuditRow& row) {
    for (int c = 0; c < columns; ++c)
      widths[c] = std::max(widths[c], static_cast<int>(cell(row, c).size()));
  });
  auto line = [&](const std::vector<QString>& texts) {
    QString text;
    for (int c = 0; c < columns; ++c) {
      if (c > 0) text += "  ";
      text += table.columns[c].amount ? texts[c].rightJustified(widths[c])
                                      : texts[c].leftJustified(widths[c]);
    }
    while (text.endsWith(' ')) text.chop(1);
    return text;
  };
  Writer write(sink);
  auto out = [&](const QString& text) { write((text + '\n').toUtf8()); };
  out(s.Company_Name);
  out(table.title);
  for (const QString& heading : table.heading) out(heading);
  out("TARİH : " + QDate::currentDate().toString("dd.MM.yyyy"));
  std::vector<QString> captions;
  for (const AuditColumn& c : table.columns) captions.push_back(c.caption);
  int width = 0;
  for (int w : widths) width += w + 2;
  const QString rule(std::max(width - 2, 0), '-');
  out(rule);
  out(line(captions));
  out(rule);
  Each_Row(table, more, [&](const AuditRow& row) {
    std::vector<QString> texts;
    for (int c = 0; c < columns; ++c) texts.push_back(cell(row, c));
    out(line(texts));
  });
  if (!table.notes.isEmpty()) {
    out("");
    for (const QString& note : table.notes) out(note);
  }
  return write.Ok();
}

// The page of the printed table.
constexpr int kMargin = 850;  // 15 mm
constexpr int kRowHeight = 255;
const ReportFont kBodyFont{"Liberation Sans Narrow", 9, false};
const ReportFont kTitleFont{"Liberation Sans", 12, true};
const ReportFont kHeadingFont{"Liberation Sans", 9, false};
const ReportFont kCaptionFont{"Liberation Sans", 8, true};

class Pages {
 public:
  Pages(const AppState& state, const AuditTable& table) : s_(state), table_(table) {
    int left = kMargin;
    for (const AuditColumn& c : table.columns) {
      lefts_.push_back(left);
      left += c.width;
    }
    right_ = left;
  }

  ReportPages Lay_Out() {
    New_Page();
    Text(s_.Company_Name, kMargin, kHeadingFont, right_ - kMargin);
    top_ += kRowHeight;
    Text(table_.title, kMargin, kTitleFont, right_ - kMargin, TextAlign::Center);
    top_ += 360;
    for (const QString& line : table_.heading) {
      Text(line, kMargin, kHeadingFont, right_ - kMargin);
      top_ += kRowHeight;
    }
    top_ += 80;
    Captions();
    for (const AuditRow& row : table_.rows) {
      if (top_ + kRowHeight > Bottom()) {
        New_Page();
        Captions();
      }
      for (size_t c = 0; c < table_.columns.size(); ++c) {
        const AuditColumn& column = table_.columns[c];
        const int indent = c == 0 ? 200 * row.depth : 0;
        ReportFont font = kBodyFont;
        font.bold = row.bold;
        PageText& text =
            Text(Audit_Cell_Text(s_, table_, row, static_cast<int>(c)), lefts_[c] + indent, font,
                 column.width - indent - 60, column.amount ? TextAlign::Right : TextAlign::Left);
        if (column.amount && c < row.values.size() && !row.values[c].isNull()) {
          text.value = row.values[c];
          text.format = s_.Amount_Format;
        }
      }
      top_ += kRowHeight;
    }
    if (!table_.notes.isEmpty()) top_ += kRowHeight / 2;
    for (const QString& note : table_.notes)
      for (const QString& line : Wrapped(note)) {
        if (top_ + kRowHeight > Bottom()) New_Page();
        Text(line, kMargin, kHeadingFont, right_ - kMargin);
        top_ += kRowHeight;
      }
    const int count = static_cast<int>(result_.pages.size());
    for (ReportPage& page : result_.pages) {
      PageText number;
      number.text = QString("SAYFA : %1 / %2").arg(page.number).arg(count);
      number.left = kMargin;
      number.width = right_ - kMargin;
      number.top = result_.setup.height - kMargin + 120;
      number.height = kRowHeight;
      number.font = kHeadingFont;
      number.alignment = TextAlign::Right;
      number.section = "PageFooter";
      page.texts.push_back(number);
    }
    return result_;
  }

 private:
  int Bottom() const { return result_.setup.height - kMargin; }

  // A note cut at blanks into lines of at most kNoteWidth characters, which fit the page in the
  // heading font.
  static QStringList Wrapped(const QString& note) {
    constexpr int kNoteWidth = 110;
    QStringList lines;
    QString line;
    for (const QString& word : note.split(' ')) {
      if (!line.isEmpty() && line.size() + 1 + word.size() > kNoteWidth) {
        lines << line;
        line.clear();
      }
      line += (line.isEmpty() ? "" : " ") + word;
    }
    if (!line.isEmpty()) lines << line;
    return lines;
  }

  void New_Page() {
    ReportPage page;
    page.number = static_cast<int>(result_.pages.size()) + 1;
    result_.pages.push_back(page);
    top_ = kMargin;
  }

  PageText& Text(const QString& text, int left, const ReportFont& font, int width,
                 TextAlign alignment = TextAlign::Left) {
    PageText t;
    t.text = text;
    t.left = left;
    t.top = top_;
    t.width = width;
    t.height = kRowHeight;
    t.font = font;
    t.alignment = alignment;
    t.section = "Detail";
    result_.pages.back().texts.push_back(t);
    return result_.pages.back().texts.back();
  }

  void Captions() {
    for (size_t c = 0; c < table_.columns.size(); ++c) {
      const AuditColumn& column = table_.columns[c];
      Text(column.caption, lefts_[c], kCaptionFont, column.width - 60,
           column.amount ? TextAlign::Right : TextAlign::Left)
          .section = "PageHeader";
    }
    top_ += kRowHeight;
    PageLine rule;
    rule.x1 = kMargin;
    rule.x2 = right_;
    rule.y1 = rule.y2 = top_ - 20;
    rule.section = "PageHeader";
    result_.pages.back().lines.push_back(rule);
    top_ += 40;
  }

  const AppState& s_;
  const AuditTable& table_;
  std::vector<int> lefts_;
  int right_ = 0;
  int top_ = 0;
  ReportPages result_;
};

}  // namespace

QString Audit_Cell_Text(const AppState& s, const AuditTable& table, const AuditRow& row,
                        int column) {
  if (column < 0 || column >= static_cast<int>(row.values.size())) return {};
  const QVariant& v = row.values[column];
  if (v.isNull()) return {};
  if (table.columns[column].amount)
    return Apply_Output_Format(s.Amount_Format, v.toDouble(), System_Separators(s));
  return v.toString();
}

QByteArray Audit_Listing(const AppState& s, const AuditTable& table, ListingFormat format) {
  QByteArray listing;
  Write_Audit_Listing(s, table, format, {}, [&](const QByteArray& piece) {
    listing += piece;
    return true;
  });
  return listing;
}

bool Write_Audit_Listing(const AppState& s, const AuditTable& table, ListingFormat format,
                         const AuditRowSource& more, const ListingSink& sink) {
  switch (format) {
    case ListingFormat::Csv: return Csv(table, more, sink);
    case ListingFormat::Json: return Json(table, more, sink);
    case ListingFormat::Text: break;
  }
  return Text(s, table, more, sink);
}

ReportPages Audit_Pages(const AppState& s, const AuditTable& table) {
  return Pages(s, table).Lay_Out();
}
