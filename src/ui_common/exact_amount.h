// Exact amounts. Amount is a sign and a count of ten-thousandths in 64 bits: the range and the
// resolution of the currency values the accounting suite stores (-922,337,203,685,477.5808 to
// 922,337,203,685,477.5807). It is built on DecimalDigits, a value written out as its decimal
// digits, on which the one rounding rule of the program works: the digit after the last kept
// decimal decides, 5 or more rounds away from zero. A double is read by its decimal text (its
// shortest round-trip text unless a number of significant digits is asked for), so 0.50005
// rounds to 0.5001 as it reads and not as its binary neighbour 0.500049999… would. Every
// number text of the program is DecimalDigits::Text with its own DigitsStyle, and every number
// text read is recognised by DecimalDigits::Read with its own NumberSyntax.
#pragma once

#include <QChar>
#include <QString>
#include <cstdint>
#include <optional>

// What a number text may look like: an optional sign, then digits with at most one decimal mark
// and at least one digit ("5", "5.", ".5"). The first character after the sign is a digit or
// the mark; a thousands separator, when allowed, may stand anywhere after the first digit
// before the mark. Digits are ASCII digits only.
struct NumberSyntax {
  QString decimal_marks = ".";  // any one of these is the decimal mark
  QChar thousand = {};          // allowed between integer digits when set
  bool blanks_around = false;   // white space before and after the number
};

// How a number is written: the sign only before a non-zero value, the integer part without
// leading zeros, trailing decimal zeros dropped down to `min_decimals` and zeros added up to it.
struct DigitsStyle {
  QChar decimal = u'.';
  QChar thousand = {};  // integer digits grouped in threes when set
  int min_decimals = 0;
  bool leading_zero = true;  // "0.5"; false writes ".5" (a zero alone is still "0")
};

// A decimal value as digits: no size or precision limit.
struct DecimalDigits {
  bool negative = false;
  QString integer = "0";  // no leading zeros
  QString fraction;       // digits after the mark, as many as given

  // The digits of a text in `syntax`; empty when it is not a number.
  static std::optional<DecimalDigits> Read(const QString& text, const NumberSyntax& syntax = {});
  // The digits of a finite value: its shortest round-trip text, or with `significant` > 0 its
  // text to that many significant digits. Empty for infinities and NaN.
  static std::optional<DecimalDigits> Of_Double(double value, int significant = 0);

  // Rounded to at most `decimals` decimals, half away from zero.
  DecimalDigits Rounded(int decimals) const;
  bool Is_Zero() const;
  // The nearest double.
  double Value() const;
  QString Text(const DigitsStyle& style = {}) const;
};

// True when `text` is a number in `syntax`.
bool Is_Number_Text(const QString& text, const NumberSyntax& syntax = {});

class Amount {
 public:
  static constexpr uint64_t kMaxPositiveUnits = 9223372036854775807ULL;
  static constexpr uint64_t kMaxNegativeUnits = 9223372036854775808ULL;
  static constexpr int kDecimals = 4;

  Amount() = default;
  // Empty when the rounded value lies outside the range.
  static std::optional<Amount> From_Units(bool negative, uint64_t units);
  static std::optional<Amount> From_Digits(const DecimalDigits& digits);
  // Empty also for infinities and NaN.
  static std::optional<Amount> From_Double(double value);
  static std::optional<Amount> Read(const QString& text, const NumberSyntax& syntax = {});

  bool Negative() const { return negative_; }
  uint64_t Units() const { return units_; }  // ten-thousandths
  double Value() const;
  DecimalDigits Digits() const;
  QString Text(const DigitsStyle& style = {}) const { return Digits().Text(style); }

  friend bool operator==(const Amount&, const Amount&) = default;

 private:
  bool negative_ = false;
  uint64_t units_ = 0;
};
