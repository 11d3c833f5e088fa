// Amount normalisation and grouping on digit strings, so no binary rounding creeps in.
#include "ui_common/amount_text.h"

#include <QRegularExpression>
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

// Sign, digits grouped by thousands separators, then optionally the decimal separator and
// digits: the texts the system reads as numbers.
bool Is_Number(const QString& text, NumberSeparators sep) {
  const QString d = QRegularExpression::escape(QString(sep.decimal));
  const QString t = QRegularExpression::escape(QString(sep.thousand));
  const QRegularExpression number(QString("^[+-]?(\\d[\\d%1]*(%2\\d*)?|%2\\d+)$").arg(t, d));
  return number.match(text).hasMatch();
}

QString Strip_Leading_Zeros(const QString& digits) {
  int first = 0;
  while (first < digits.size() - 1 && digits.at(first) == u'0') ++first;
  return digits.mid(first);
}

// Adds one unit in the last place of a digit string; a carry out of the first digit adds a 1.
QString Increment_Digits(QString digits) {
  for (int i = digits.size() - 1; i >= 0; --i) {
    if (digits.at(i) != u'9') {
      digits[i] = QChar(digits.at(i).unicode() + 1);
      return digits;
    }
    digits[i] = u'0';
  }
  return "1" + digits;
}

// "##,#": the integer digits grouped in threes, without leading zeros.
QString Group_Thousands(const QString& integer, QChar thousand) {
  QString sign = integer.startsWith(u'-') ? "-" : "";
  QString digits = integer.mid(sign.size());
  if (digits.isEmpty()) return integer;
  digits = Strip_Leading_Zeros(digits);
  QString grouped;
  for (int i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += thousand;
    grouped += digits.at(i);
  }
  return sign + grouped;
}

// The value in plain decimal with up to 15 significant digits, never in exponent form.
QString Double_Text(double value, QChar decimal) {
  if (!std::isfinite(value)) return {};
  QString text = QString::number(value, 'g', 15);
  if (text.contains(u'e')) {
    int magnitude = value == 0 ? 0 : static_cast<int>(std::floor(std::log10(std::fabs(value))));
    text = QString::number(value, 'f', std::clamp(14 - magnitude, 0, 340));
    if (text.contains(u'.')) {
      while (text.endsWith(u'0')) text.chop(1);
      if (text.endsWith(u'.')) text.chop(1);
    }
  }
  text.replace(u'.', decimal);
  return text;
}

}  // namespace

NumberSeparators System_Separators(const AppState& state) {
  NumberSeparators sep;
  if (state.System_Decimal_Sep.size() == 1) sep.decimal = state.System_Decimal_Sep.at(0);
  if (state.System_Thousand_Sep.size() == 1) sep.thousand = state.System_Thousand_Sep.at(0);
  return sep;
}

QString Amount_To_Text(int decimals, const QString& value, NumberSeparators sep) {
  const int n = std::max(decimals, 0);
  QString v = value.trimmed();
  if (!Is_Number(v, sep)) {
    if (!v.startsWith(sep.thousand)) return n >= 1 ? "0" + QString(sep.decimal) + QString(n, u'0') : "0";
    v = "0" + QString(sep.decimal) + v.mid(1);
  }
  v = Keep_Number_Chars(v, sep.decimal);

  const bool negative = v.startsWith(u'-');
  if (negative) v.remove(0, 1);
  const int point = v.indexOf(sep.decimal);
  QString integer = point < 0 ? v : v.left(point);
  QString fraction = point < 0 ? QString() : v.mid(point + 1);
  if (integer.isEmpty()) integer = "0";

  if (fraction.size() > n) {
    const bool up = fraction.at(n) >= u'5';
    fraction.truncate(n);
    if (up) {
      QString digits = Increment_Digits(integer + fraction);
      integer = digits.left(digits.size() - n);
      fraction = digits.right(n);
    }
  }
  fraction = fraction.leftJustified(n, u'0');
  integer = Strip_Leading_Zeros(integer);

  const bool zero = integer == "0" && !fraction.contains(QRegularExpression("[1-9]"));
  QString result = (negative && !zero ? "-" : "") + integer;
  if (n >= 1) result += sep.decimal + fraction;
  return result;
}

QString Amount_To_Text(int decimals, double value, NumberSeparators sep) {
  return Amount_To_Text(decimals, Double_Text(value, sep.decimal), sep);
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
  const int n = column_caption.toUpper().contains("DOVIZ") ? state.Currency_Decimals
                                                           : state.Amount_Decimals;
  const NumberSeparators sep = System_Separators(state);
  const QString amount = Format_Amount_Text(n, Amount_To_Text(n, std::fabs(value), sep), sep);
  return amount + (value > 0 ? " (B)" : " (A)");
}

QString Plain_Number_Text(double value, int decimals, QChar decimal) {
  QString text = QString::number(value, 'f', decimals);
  if (text.contains(u'.')) {
    while (text.endsWith(u'0')) text.chop(1);
    if (text.endsWith(u'.')) text.chop(1);
  }
  if (text == "-0") text = "0";
  text.replace(u'.', decimal);
  return text;
}
