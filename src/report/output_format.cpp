// Numeric output formats built on the shared amount texts, so a report prints amounts exactly
// as the windows show them.
#include "report/output_format.h"

#include <QDate>
#include <optional>

namespace {

bool Is_Numeric_Format(const QString& format) {
  return format.contains(u'0') || format.contains(u'#');
}

// The digits of a number value: numeric types directly, texts in either decimal notation.
std::optional<DecimalDigits> Read_Number(const QVariant& value) {
  if (value.typeId() == QMetaType::QString)
    return DecimalDigits::Read(value.toString(), kFieldNumberSyntax);
  bool ok = false;
  const double number = value.toDouble(&ok);
  if (!ok) return std::nullopt;
  return DecimalDigits::Of_Double(number, kAmountSignificantDigits);
}

QString Plain_Text(const QVariant& value, NumberSeparators sep) {
  if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float) {
    const auto digits = DecimalDigits::Of_Double(value.toDouble(), kAmountSignificantDigits);
    if (digits) return digits->Text(Amount_Style(0, sep));
    return QString::number(value.toDouble());
  }
  if (value.typeId() == QMetaType::QDate) return value.toDate().toString("dd.MM.yyyy");
  return value.toString();
}

}  // namespace

QString Apply_Output_Format(const QString& format, const QVariant& value, NumberSeparators sep) {
  if (value.isNull() || !value.isValid()) return "";
  const auto number = Is_Numeric_Format(format) ? Read_Number(value) : std::nullopt;
  if (!number) return Plain_Text(value, sep);

  const qsizetype point = format.indexOf(u'.');
  int decimals = 0;
  if (point >= 0) {
    for (qsizetype i = point + 1;
         i < format.size() && (format.at(i) == u'0' || format.at(i) == u'#'); ++i) {
      ++decimals;
    }
  }
  const bool grouped = (point < 0 ? format : format.left(point)).contains(u',');
  return number->Rounded(decimals).Text(Amount_Style(decimals, sep, grouped));
}
