// Amount texts on decimal digits (ui_common/exact_amount.h), so no binary rounding creeps in.
#include "ui_common/amount_text.h"

#include <algorithm>
#include <cmath>

#include "process/app_state.h"

namespace {

// Digits, a "-" in the first position and the first decimal separator; nothing else.
QString Keep_Number_Chars(const QString& text, QChar decimal) {
  QString kept;
  bool separator_seen = false;
  for (int i = 0; i < text.size(); ++i) {
    QChar c = text.at(i);
    if (c.isDigit() && c.unicode() < 128) {
      kept += c;
    } else if (c == u'-' && i == 0) {
      kept += c;
    } else if (c == decimal && !separator_seen) {
      kept += c;
      separator_seen = true;
    }
  }
  return kept;
}

// "##,#": the integer digits grouped in threes, without leading zeros; a "-" before them stays.
QString Group_Thousands(const QString& integer, QChar thousand) {
  const QString sign = integer.startsWith(u'-') ? "-" : "";
  if (integer.size() == sign.size()) return integer;
  DecimalDigits digits;
  digits.integer = integer.mid(sign.size());
  DigitsStyle style;
  style.thousand = thousand;
  return sign + digits.Text(style);
}

}  // namespace

NumberSeparators System_Separators(const AppState& state) {
  NumberSeparators sep;
  if (state.System_Decimal_Sep.size() == 1) sep.decimal = state.System_Decimal_Sep.at(0);
  if (state.System_Thousand_Sep.size() == 1) sep.thousand = state.System_Thousand_Sep.at(0);
  return sep;
}

DigitsStyle Amount_Style(int decimals, NumberSeparators sep, bool grouped) {
  DigitsStyle style;
  style.decimal = sep.decimal;
  if (grouped) style.thousand = sep.thousand;
  style.min_decimals = std::max(decimals, 0);
  return style;
}

QString Amount_To_Text(int decimals, const QString& value, NumberSeparators sep) {
  const QString v = value.trimmed();
  auto digits = DecimalDigits::Read(v, NumberSyntax{QString(sep.decimal), sep.thousand});
  if (!digits && v.startsWith(sep.thousand)) {
    // A leading thousands separator stands for the decimal mark: the digits after it are the
    // decimals.
    digits = DecimalDigits{};
    for (QChar c : v.mid(1))
      if (c >= u'0' && c <= u'9') digits->fraction += c;
  }
  return digits.value_or(DecimalDigits{}).Rounded(decimals).Text(Amount_Style(decimals, sep));
}

QString Amount_To_Text(int decimals, double value, NumberSeparators sep, bool grouped) {
  const auto digits = DecimalDigits::Of_Double(value, kAmountSignificantDigits);
  const DigitsStyle style = Amount_Style(decimals, sep, grouped);
  return digits.value_or(DecimalDigits{}).Rounded(decimals).Text(style);
}

QString Format_Amount_Text(int decimals, const QString& text, NumberSeparators sep) {
  if (text.isEmpty()) return "";
  const QString kept = Keep_Number_Chars(text, sep.decimal);
  const int point = kept.indexOf(sep.decimal);
  if (point < 0) return kept == "0" ? kept : Group_Thousands(kept, sep.thousand);

  QString integer = kept.left(point).trimmed();
  if (integer != "0" && integer != "-0") integer = Group_Thousands(integer, sep.thousand);
  // Without decimals a typed separator has nothing to stand before.
  if (decimals <= 0) return integer;
  return integer + sep.decimal + kept.mid(point + 1).left(decimals);
}

QString Format_Balance(const AppState& state, const QString& column_caption, double value) {
  if (value == 0) return "";
  const int n =
      column_caption.toUpper().contains("DOVIZ") ? state.Currency_Decimals : state.Amount_Decimals;
  const QString amount = Amount_To_Text(n, std::fabs(value), System_Separators(state), true);
  return amount + (value > 0 ? " (B)" : " (A)");
}

QString Plain_Number_Text(double value, int decimals, QChar decimal) {
  const auto digits = DecimalDigits::Of_Double(value);
  if (!digits) return QString::number(value, 'f', decimals);
  DigitsStyle style;
  style.decimal = decimal;
  return digits->Rounded(decimals).Text(style);
}
