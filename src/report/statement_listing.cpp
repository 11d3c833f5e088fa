#include "report/statement_listing.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

#include "model/financial_table.h"
#include "process/app_state.h"
#include "report/ana_rapor.h"
#include "report/output_format.h"
#include "report/report_data.h"
#include "ui_common/amount_text.h"

namespace {

const char* kColumns[] = {"Rapor_Yeri", "Satir_No", "Satir_Tipi", "Satir_Kodu", "Satir_Seviyesi",
                          "Satir_Adi", "BTutar", "ATutar", "Bakiye"};
const char* kAmounts[] = {"BTutar", "ATutar", "Bakiye"};

bool Is_Amount(const QString& column) {
  return std::find(std::begin(kAmounts), std::end(kAmounts), column) != std::end(kAmounts);
}

QString Csv_Field(const QString& text) {
  if (!text.contains(',') && !text.contains('"') && !text.contains('\n')) return text;
  return "\"" + QString(text).replace("\"", "\"\"") + "\"";
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

QByteArray Text(const AppState& s, const ReportDataSource& rows) {
  struct Line {
    QString caption;
    QString amount;
    bool heading;
  };
  std::vector<Line> lines;
  int placement = 0;
  for (int r = 0; r < rows.Row_Count(); ++r) {
    int place = rows.Value(r, "Rapor_Yeri").toInt();
    if (place != placement && Placement_Heading_Shown(place, rows.Value(r, "Rapor_Tipi").toInt()))
      lines.push_back({Placement_Caption(place), "", true});
    placement = place;
    int level = std::max(1, rows.Value(r, "Satir_Seviyesi").toInt());
    QString caption = QString(2 * (level - 1), ' ') + rows.Value(r, "Satir_Adi").toString().trimmed();
    QVariant amount = rows.Value(r, "Bakiye");
    const bool blank = Amount_Blank(amount.toDouble());
    lines.push_back({caption, blank ? QString() : Apply_Output_Format(s.Amount_Format, amount,
                                                                      System_Separators(s)),
                     false});
  }
  int caption_width = 40, amount_width = 18;
  for (const Line& l : lines) {
    caption_width = std::max(caption_width, static_cast<int>(l.caption.size()));
    amount_width = std::max(amount_width, static_cast<int>(l.amount.size()));
  }
  QString title = rows.Row_Count() > 0 ? rows.Value(0, "Rapor_Adi").toString().trimmed() : QString();
  QStringList out;
  out << s.Company_Name;
  if (!title.isEmpty()) out << title;
  if (!s.Workplace_Name.isEmpty()) out << "İşyeri: " + s.Workplace_Name;
  out << "Tarih: " + QDate::currentDate().toString("dd.MM.yyyy");
  out << QString(caption_width + 2 + amount_width, '-');
  for (const Line& l : lines) {
    if (l.heading) {
      out << "" << l.caption;
      continue;
    }
    out << l.caption.leftJustified(caption_width) + "  " + l.amount.rightJustified(amount_width);
  }
  for (QString& line : out)
    while (line.endsWith(' ')) line.chop(1);
  return (out.join('\n') + '\n').toUtf8();
}

}  // namespace

bool Parse_Listing_Format(const QString& name, ListingFormat* format) {
  if (name == "text") *format = ListingFormat::Text;
  else if (name == "csv") *format = ListingFormat::Csv;
  else if (name == "json") *format = ListingFormat::Json;
  else return false;
  return true;
}

QByteArray Statement_Listing(const AppState& s, const ReportDataSource& rows, ListingFormat format) {
  switch (format) {
    case ListingFormat::Csv: return Csv(rows);
    case ListingFormat::Json: return Json(rows);
    case ListingFormat::Text: break;
  }
  return Text(s, rows);
}
