#include "report/statement_listing.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <algorithm>

#include "model/financial_table.h"
#include "process/app_state.h"
#include "report/ana_rapor.h"
#include "report/output_format.h"
#include "report/report_data.h"
#include "ui_common/amount_text.h"

namespace {

const char* kColumns[] = {"Rapor_Yeri", "Satir_No", "Satir_Tipi", "Satir_Kodu", "Satir_Seviyesi",
                          "Satir_Adi",  "BTutar",   "ATutar",     "Bakiye"};
const char* kAmounts[] = {"BTutar", "ATutar", "Bakiye"};

bool Is_Amount(const QString& column) {
  return std::find(std::begin(kAmounts), std::end(kAmounts), column) != std::end(kAmounts);
}

QByteArray Csv(const ReportDataSource& rows) {
  QStringList lines;
  QStringList header;
  for (const char* c : kColumns) header << c;
  lines << header.join(',');
  for (int r = 0; r < rows.Row_Count(); ++r) {
    QStringList fields;
    for (const char* c : kColumns) {
      QVariant v = rows.Value(r, c);
      if (v.isNull())
        fields << QString();
      else if (Is_Amount(c))
        fields << Plain_Number_Text(v.toDouble(), 4);
      else
        fields << Csv_Field(v.toString().trimmed());
    }
    lines << fields.join(',');
  }
  return (lines.join("\r\n") + "\r\n").toUtf8();
}

QByteArray Json(const ReportDataSource& rows) {
  QJsonArray array;
  for (int r = 0; r < rows.Row_Count(); ++r) {
    QJsonObject object;
    for (const char* c : kColumns) {
      QVariant v = rows.Value(r, c);
      if (v.isNull())
        object[c] = QJsonValue::Null;
      else if (Is_Amount(c))
        object[c] = v.toDouble();
      else if (QString(c) == "Satir_Kodu" || QString(c) == "Satir_Adi")
        object[c] = v.toString().trimmed();
      else
        object[c] = v.toInt();
    }
    array.append(object);
  }
  return QJsonDocument(array).toJson(QJsonDocument::Indented);
}

// The printed statement as text: its heading, then each row with its caption indented by level
// and its amount in the column the page prints it in (inner, middle, outer), the result rows
// between rules, under the placement headings the page shows.
QByteArray Text(const AppState& s, const StatementHeading& heading, const ReportDataSource& rows) {
  struct Line {
    QString caption;
    QString amount;
    int column = 0;  // 0 inner, 1 middle, 2 outer
    bool heading = false;
    bool rules = false;
  };
  std::vector<Line> lines;
  int placement = 0;
  for (int r = 0; r < rows.Row_Count(); ++r) {
    const int place = rows.Value(r, "Rapor_Yeri").toInt();
    if (place != placement && Placement_Heading_Shown(place, rows.Value(r, "Rapor_Tipi").toInt()))
      lines.push_back({Placement_Caption(place), {}, 0, true, false});
    placement = place;
    const QVariant amount = rows.Value(r, "Bakiye");
    const DetailLook look = Detail_Look(rows.Value(r, "Satir_Tipi").toString(),
                                        rows.Value(r, "Satir_Seviyesi").toString(),
                                        amount.toDouble(), Is_Net_Result(rows, r));
    Line line;
    line.caption = QString(2 * (look.caption_indent / kLevelIndent), ' ') +
                   rows.Value(r, "Satir_Adi").toString().trimmed();
    if (!look.amount_blank)
      line.amount = Apply_Output_Format(s.Amount_Format, amount, System_Separators(s));
    line.column = look.amount_left == kOuterAmountLeft    ? 2
                  : look.amount_left == kMiddleAmountLeft ? 1
                                                          : 0;
    line.rules = look.result_rules;
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
  QStringList out;
  out << heading.company;
  out << heading.title;
  if (!heading.period.isEmpty()) out << heading.period;
  if (!heading.workplace.isEmpty()) out << "İşyeri : " + heading.workplace;
  out << "TARİH : " + QDate::currentDate().toString("dd.MM.yyyy");
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

QByteArray Statement_Listing(const AppState& s, const StatementHeading& heading,
                             const ReportDataSource& rows, ListingFormat format) {
  switch (format) {
    case ListingFormat::Csv: return Csv(rows);
    case ListingFormat::Json: return Json(rows);
    case ListingFormat::Text: break;
  }
  return Text(s, heading, rows);
}
