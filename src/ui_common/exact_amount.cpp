// Decimal digits, their one rounding rule and their texts; the ten-thousandths amount on top.
#include "ui_common/exact_amount.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

bool Is_Digit(QChar c) { return c >= u'0' && c <= u'9'; }

QString Without_Leading_Zeros(const QString& digits) {
  qsizetype first = 0;
  while (first < digits.size() - 1 && digits.at(first) == u'0') ++first;
  return digits.isEmpty() ? QString("0") : digits.mid(first);
}

bool All_Zeros(const QString& digits) {
  return std::all_of(digits.begin(), digits.end(), [](QChar c) { return c == u'0'; });
}

// Adds one unit in the last place of a digit string; a carry out of the first digit adds a 1.
QString Increment(QString digits) {
  for (qsizetype i = digits.size() - 1; i >= 0; --i) {
    if (digits.at(i) != u'9') {
      digits[i] = QChar(digits.at(i).unicode() + 1);
      return digits;
    }
    digits[i] = u'0';
  }
  return "1" + digits;
}

QString Grouped(const QString& digits, QChar thousand) {
  QString grouped;
  for (qsizetype i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += thousand;
    grouped += digits.at(i);
  }
  return grouped;
}

// "1.2345e-07" written out without its exponent.
std::optional<DecimalDigits> Expand_Exponent(const QString& text) {
  const qsizetype e = text.indexOf(u'e');
  const auto mantissa = DecimalDigits::Read(text.left(e));
  bool ok = false;
  const int exponent = text.mid(e + 1).toInt(&ok);
  if (!mantissa || !ok) return std::nullopt;
  DecimalDigits digits = *mantissa;
  const QString all = mantissa->integer + mantissa->fraction;
  const qsizetype point = mantissa->integer.size() + exponent;
  if (point <= 0) {
    digits.integer = "0";
    digits.fraction = QString(-point, u'0') + all;
  } else if (point >= all.size()) {
    digits.integer = Without_Leading_Zeros(all + QString(point - all.size(), u'0'));
    digits.fraction.clear();
  } else {
    digits.integer = Without_Leading_Zeros(all.left(point));
    digits.fraction = all.mid(point);
  }
  return digits;
}

}  // namespace

std::optional<DecimalDigits> DecimalDigits::Read(const QString& number,
                                                 const NumberSyntax& syntax) {
  const QStringView text =
      syntax.blanks_around ? QStringView(number).trimmed() : QStringView(number);
  DecimalDigits digits;
  qsizetype i = 0;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
    digits.negative = text[i] == u'-';
    ++i;
  }
  QString integer;
  bool mark = false;
  for (; i < text.size(); ++i) {
    const QChar c = text[i];
    if (Is_Digit(c)) {
      (mark ? digits.fraction : integer) += c;
    } else if (!mark && syntax.decimal_marks.contains(c)) {
      mark = true;
    } else if (!mark && !syntax.thousand.isNull() && c == syntax.thousand && !integer.isEmpty()) {
      continue;
    } else {
      return std::nullopt;
    }
  }
  if (integer.isEmpty() && digits.fraction.isEmpty()) return std::nullopt;
  digits.integer = Without_Leading_Zeros(integer);
  return digits;
}

std::optional<DecimalDigits> DecimalDigits::Of_Double(double value, int significant) {
  if (!std::isfinite(value)) return std::nullopt;
  if (significant > 0) {
    const QString text = QString::number(value, 'g', significant);
    return text.contains(u'e') ? Expand_Exponent(text) : Read(text);
  }
  char buffer[400];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  return Read(QString::fromLatin1(buffer, result.ptr - buffer));
}

DecimalDigits DecimalDigits::Rounded(int decimals) const {
  const qsizetype n = std::max(decimals, 0);
  if (fraction.size() <= n) return *this;
  DecimalDigits rounded = *this;
  rounded.fraction.truncate(n);
  if (fraction.at(n) >= u'5') {
    const QString digits = Increment(rounded.integer + rounded.fraction);
    rounded.integer = Without_Leading_Zeros(digits.left(digits.size() - n));
    rounded.fraction = digits.right(n);
  }
  return rounded;
}

bool DecimalDigits::Is_Zero() const { return All_Zeros(integer) && All_Zeros(fraction); }

double DecimalDigits::Value() const { return Text().toDouble(); }

QString DecimalDigits::Text(const DigitsStyle& style) const {
  const qsizetype min_decimals = std::max(style.min_decimals, 0);
  QString decimals = fraction;
  while (decimals.size() > min_decimals && decimals.endsWith(u'0')) decimals.chop(1);
  decimals = decimals.leftJustified(min_decimals, u'0');
  const QString whole = Without_Leading_Zeros(integer);

  QString text = negative && !Is_Zero() ? "-" : "";
  if (style.leading_zero || decimals.isEmpty() || whole != "0")
    text += style.thousand.isNull() ? whole : Grouped(whole, style.thousand);
  if (!decimals.isEmpty()) text += style.decimal + decimals;
  return text;
}

bool Is_Number_Text(const QString& text, const NumberSyntax& syntax) {
  return DecimalDigits::Read(text, syntax).has_value();
}

std::optional<Amount> Amount::From_Units(bool negative, uint64_t units) {
  if (units > (negative ? kMaxNegativeUnits : kMaxPositiveUnits)) return std::nullopt;
  Amount amount;
  amount.negative_ = negative && units != 0;
  amount.units_ = units;
  return amount;
}

std::optional<Amount> Amount::From_Digits(const DecimalDigits& digits) {
  const DecimalDigits rounded = digits.Rounded(kDecimals);
  const QString whole = Without_Leading_Zeros(rounded.integer);
  // Sixteen integer digits are at least 10^19 ten-thousandths, beyond either limit.
  if (whole.size() > 15) return std::nullopt;
  uint64_t units = 0;
  for (QChar digit : whole + rounded.fraction.leftJustified(kDecimals, u'0'))
    units = units * 10 + (digit.unicode() - u'0');
  return From_Units(rounded.negative, units);
}

std::optional<Amount> Amount::From_Double(double value) {
  const auto digits = DecimalDigits::Of_Double(value);
  if (!digits) return std::nullopt;
  return From_Digits(*digits);
}

std::optional<Amount> Amount::Read(const QString& text, const NumberSyntax& syntax) {
  const auto digits = DecimalDigits::Read(text, syntax);
  if (!digits) return std::nullopt;
  return From_Digits(*digits);
}

double Amount::Value() const {
  const double magnitude = static_cast<double>(units_) / 10000.0;
  return negative_ ? -magnitude : magnitude;
}

DecimalDigits Amount::Digits() const {
  DecimalDigits digits;
  digits.negative = negative_;
  digits.integer = QString::number(units_ / 10000);
  digits.fraction = QString("%1").arg(units_ % 10000, kDecimals, 10, QChar(u'0'));
  return digits;
}
