// Numeric output formats built on the shared amount texts, so a report prints amounts exactly
// as the windows show them.
#include "report/output_format.h"

#include <QDate>
#include <cmath>

namespace {

bool Is_Numeric_Format(const QString& format) {
  return format.contains(u'0') || format.contains(u'#');
}

// A number read from the value: numeric types directly, texts in either decimal notation.
bool Read_Number(const QVariant& value, double& number) {
  bool ok = false;
  if (value.typeId() == QMetaType::QString) {
    QString text = value.toString().trimmed();
    number = text.toDouble(&ok);
    if (!ok) number = QString(text).replace(u',', u'.').toDouble(&ok);
    return ok;
  }
  number = value.toDouble(&ok);
  return ok && std::isfinite(number);
}

QString Plain_Text(const QVariant& value, NumberSeparators sep) {
  if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float) {
    return QString::number(value.toDouble(), 'g', 15).replace(u'.', sep.decimal);
  }
  if (value.typeId() == QMetaType::QDate) return value.toDate().toString("dd.MM.yyyy");
  return value.toString();
}

}  // namespace

QString Apply_Output_Format(const QString& format, const QVariant& value, NumberSeparators sep) {
  if (value.isNull() || !value.isValid()) return "";
  double number = 0;
  if (!Is_Numeric_Format(format) || !Read_Number(value, number)) return Plain_Text(value, sep);

  const qsizetype point = format.indexOf(u'.');
  int decimals = 0;
  if (point >= 0) {
    for (qsizetype i = point + 1; i < format.size() && (format.at(i) == u'0' || format.at(i) == u'#'); ++i) {
      ++decimals;
    }
  }
  const QString text = Amount_To_Text(decimals, number, sep);
  const QString integer_part = point < 0 ? format : format.left(point);
  if (!integer_part.contains(u',')) return text;
  return Format_Amount_Text(decimals, text, sep);
}
