#include "report/statement_listing.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <algorithm>

#include "model/financial_table.h"
#include "report/ana_rapor.h"
#include "report/output_format.h"
#include "report/statement.h"
#include "ui_common/amount_text.h"

namespace {

const char* kColumns[] = {"Rapor_Yeri", "Satir_No", "Satir_Tipi", "Satir_Kodu", "Satir_Seviyesi",
                          "Satir_Adi",  "BTutar",   "ATutar",     "Bakiye"};

// A row's value in a listing column: numbers as stored, texts trimmed, amounts of the main
// period; empty for NULL.
struct Field {
  enum { Null, Number, Text, Amount } type = Null;
  int number = 0;
  QString text;
};

Field Value(const Statement::Row& row, const QString& column, int decimals) {
  auto number = [](const std::optional<int>& v) {
    return v ? Field{Field::Number, *v, {}} : Field{};
  };
  auto amount = [&](const std::optional<double>& v) {
    return v ? Field{Field::Amount, 0, Plain_Number_Text(*v, decimals)} : Field{};
  };
  if (column == "Rapor_Yeri") return number(row.place);
  if (column == "Satir_No") return number(row.number);
  if (column == "Satir_Tipi") return number(row.kind);
  if (column == "Satir_Seviyesi") return number(row.level);
  if (column == "Satir_Kodu") return {Field::Text, 0, row.code};
  if (column == "Satir_Adi") return {Field::Text, 0, row.caption};
  if (column == "BTutar") return amount(row.Main().debit);
  if (column == "ATutar") return amount(row.Main().credit);
  return amount(row.Main().balance);
}

// The columns beside the main period's figures: none for a statement of one column, else
// every amount column in print order.
std::vector<size_t> Listed_Columns(const Statement& statement) {
  if (statement.columns.size() < 2) return {};
  return Printed_Columns(statement);
}

QString Amount_Text(const std::optional<double>& amount, int decimals) {
  return amount ? Plain_Number_Text(*amount, decimals) : QString();
}

QByteArray Csv(const Statement& statement) {
  const std::vector<size_t> listed = Listed_Columns(statement);
  const int decimals = statement.style.amount_decimals;
  QStringList lines;
  QStringList header;
  for (const char* c : kColumns) header << c;
  for (size_t c : listed)
    for (const char* field : {"BTutar", "ATutar", "Bakiye"})
      header << Csv_Field(statement.columns[c].title + " " + field);
  lines << header.join(',');
  for (const Statement::Row& row : statement.rows) {
    QStringList fields;
    for (const char* c : kColumns) {
      const Field field = Value(row, c, statement.style.amount_decimals);
      fields << (field.type == Field::Number ? QString::number(field.number)
                                             : Csv_Field(field.text));
    }
    for (size_t c : listed) {
      const RowAmounts& amounts = row.amounts[c];
      fields << Amount_Text(amounts.debit, decimals) << Amount_Text(amounts.credit, decimals)
             << Amount_Text(amounts.balance, decimals);
    }
    lines << fields.join(',');
  }
  return (lines.join("\r\n") + "\r\n").toUtf8();
}

QString Json_String(const QString& text) {
  const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
  return QString::fromUtf8(array.mid(1, array.size() - 2));
}

QString Json_Date(const QDate& date) {
  return date.isValid() ? "\"" + date.toString(Qt::ISODate) + "\"" : QString("null");
}

QString Json_Amount(const std::optional<double>& amount, int decimals) {
  return amount ? Amount_Text(amount, decimals) : QString("null");
}

// The row's figures in every amount column, in print order, as one JSON array.
QString Json_Columns(const Statement& statement, const Statement::Row& row,
                     const std::vector<size_t>& listed) {
  const int decimals = statement.style.amount_decimals;
  QStringList objects;
  for (size_t c : listed) {
    const AmountColumn& column = statement.columns[c];
    const RowAmounts& amounts = row.amounts[c];
    objects << "{\"title\": " + Json_String(column.title) +
                   ", \"from\": " + Json_Date(column.first_day) +
                   ", \"to\": " + Json_Date(column.last_day) +
                   ", \"BTutar\": " + Json_Amount(amounts.debit, decimals) +
                   ", \"ATutar\": " + Json_Amount(amounts.credit, decimals) +
                   ", \"Bakiye\": " + Json_Amount(amounts.balance, decimals) + "}";
  }
  return "[\n            " + objects.join(",\n            ") + "\n        ]";
}

// An array of row objects, keys in name order; amounts are written as their exact decimals.
// A statement of several amount columns adds each row's figures in all of them ("columns").
QByteArray Json(const Statement& statement) {
  const std::vector<size_t> listed = Listed_Columns(statement);
  QStringList keys;
  for (const char* c : kColumns) keys << c;
  keys.sort();
  QStringList objects;
  for (const Statement::Row& row : statement.rows) {
    QStringList members;
    for (const QString& key : keys) {
      const Field field = Value(row, key, statement.style.amount_decimals);
      const QString value = field.type == Field::Null     ? QString("null")
                            : field.type == Field::Number ? QString::number(field.number)
                            : field.type == Field::Text   ? Json_String(field.text)
                                                          : field.text;
      members << "        \"" + key + "\": " + value;
    }
    if (!listed.empty()) members << "        \"columns\": " + Json_Columns(statement, row, listed);
    objects << "    {\n" + members.join(",\n") + "\n    }";
  }
  if (objects.isEmpty()) return "[\n]\n";
  return ("[\n" + objects.join(",\n") + "\n]\n").toUtf8();
}

// A balance as the page prints it: the company's format; nothing for a nil or missing one.
QString Printed_Amount(const StatementStyle& style, const std::optional<double>& balance) {
  if (!balance || Amount_Blank(*balance)) return {};
  return Apply_Output_Format(style.amount_format, *balance, style.separators);
}

// The heading's lines as the text listing prints them.
QStringList Heading_Lines(const StatementHeading& heading) {
  QStringList out;
  out << heading.company;
  out << heading.title;
  if (!heading.period.isEmpty()) out << heading.period;
  if (!heading.workplace.isEmpty()) out << "İşyeri : " + heading.workplace;
  out << "TARİH : " + heading.print_date.toString("dd.MM.yyyy");
  if (!heading.note.isEmpty()) out << heading.note;
  return out;
}

// A statement of several amount columns as text: each row's caption indented by level, then its
// balance in every column in print order, under the columns' titles.
QByteArray Columns_Text(const Statement& statement, const std::vector<size_t>& listed) {
  const StatementStyle& style = statement.style;
  std::vector<QStringList> cells;
  int caption_width = 40, amount_width = 14;
  for (size_t c : listed)
    amount_width = std::max(amount_width, static_cast<int>(statement.columns[c].title.size()));
  for (const Statement::Row& row : statement.rows) {
    QStringList line{Indented_Caption(row)};
    for (size_t c : listed) {
      line << Printed_Amount(style, row.amounts[c].balance);
      amount_width = std::max(amount_width, static_cast<int>(line.back().size()));
    }
    caption_width = std::max(caption_width, static_cast<int>(line.front().size()));
    cells.push_back(line);
  }
  auto text_line = [&](const QStringList& line) {
    QString text = line.front().leftJustified(caption_width);
    for (qsizetype i = 1; i < line.size(); ++i) text += "  " + line[i].rightJustified(amount_width);
    while (text.endsWith(' ')) text.chop(1);
    return text;
  };
  QStringList out = Heading_Lines(statement.heading);
  QStringList titles{QString()};
  for (size_t c : listed) titles << statement.columns[c].title;
  out << QString(caption_width + static_cast<int>(listed.size()) * (amount_width + 2), '-');
  out << text_line(titles);
  for (const QStringList& line : cells) out << text_line(line);
  return (out.join('\n') + '\n').toUtf8();
}

// The printed statement as text: its heading, then each row with its caption indented by level
// and its amount in the column the page prints it in (inner, middle, outer), the result rows
// between rules, under the placement headings the page shows.
QByteArray Text(const Statement& statement) {
  if (const std::vector<size_t> listed = Listed_Columns(statement); !listed.empty())
    return Columns_Text(statement, listed);
  struct Line {
    QString caption;
    QString amount;
    int column = 0;  // 0 inner, 1 middle, 2 outer
    bool heading = false;
    bool rules = false;
  };
  const StatementHeading& heading = statement.heading;
  std::vector<Line> lines;
  int placement = 0;
  for (const Statement::Row& row : statement.rows) {
    const int place = row.place.value_or(0);
    if (place != placement && Placement_Heading_Shown(place, heading.kind))
      lines.push_back({Placement_Caption(place), {}, 0, true, false});
    placement = place;
    Line line;
    line.caption = Indented_Caption(row);
    line.amount = Printed_Amount(statement.style, row.Main().balance);
    line.column = static_cast<int>(row.amount_place);
    line.rules = row.net_result;
    lines.push_back(line);
  }
  int caption_width = 40, amount_width = 16;
  for (const Line& l : lines) {
    if (!l.heading) caption_width = std::max(caption_width, static_cast<int>(l.caption.size()));
    amount_width = std::max(amount_width, static_cast<int>(l.amount.size()));
  }
  const int width = caption_width + 3 * (amount_width + 2);
  auto amount_line = [&](int column, const QString& amount) {
    QString text = QString(caption_width, ' ');
    for (int c = 0; c < 3; ++c)
      text +=
          "  " + (c == column ? amount.rightJustified(amount_width) : QString(amount_width, ' '));
    return text;
  };
  QStringList out = Heading_Lines(heading);
  out << QString(width, '-');
  for (const Line& l : lines) {
    if (l.heading) {
      out << "" << l.caption;
      continue;
    }
    if (l.rules) out << amount_line(l.column, QString(amount_width, '-'));
    QString text = amount_line(l.column, l.amount);
    text.replace(0, l.caption.size(), l.caption);
    out << text;
    if (l.rules) out << amount_line(l.column, QString(amount_width, '='));
  }
  for (QString& line : out)
    while (line.endsWith(' ')) line.chop(1);
  return (out.join('\n') + '\n').toUtf8();
}

}  // namespace

QString Csv_Field(const QString& text) {
  static const QRegularExpression special("[,\"\r\n]");
  if (!text.contains(special)) return text;
  return "\"" + QString(text).replace("\"", "\"\"") + "\"";
}

bool Parse_Listing_Format(const QString& name, ListingFormat* format) {
  if (name == "text")
    *format = ListingFormat::Text;
  else if (name == "csv")
    *format = ListingFormat::Csv;
  else if (name == "json")
    *format = ListingFormat::Json;
  else
    return false;
  return true;
}

QByteArray Statement_Listing(const Statement& statement, ListingFormat format) {
  switch (format) {
    case ListingFormat::Csv: return Csv(statement);
    case ListingFormat::Json: return Json(statement);
    case ListingFormat::Text: break;
  }
  return Text(statement);
}
