// Amount texts: normalising a value to a fixed number of decimals (Amount_To_Text), grouping
// a typed amount while it is being typed (Format_Amount_Text), and the balance cell of the
// account picker (Format_Balance). Texts use the system separators, "," before the decimals
// and "." between thousands once the regional check has run. Reading, rounding and writing
// are those of ui_common/exact_amount.h.
#pragma once

#include <QChar>
#include <QString>

#include "ui_common/exact_amount.h"

struct AppState;

struct NumberSeparators {
  QChar decimal = u',';
  QChar thousand = u'.';
};
// The state's System_Decimal_Sep and System_Thousand_Sep; "," and "." where they are unset.
NumberSeparators System_Separators(const AppState& state);

// A number value is read by its first 15 significant digits, as an amount shown to the user.
inline constexpr int kAmountSignificantDigits = 15;

// How an amount with `decimals` decimals is written: exactly that many decimals, the
// separators of `sep`, digits grouped in threes when `grouped`.
DigitsStyle Amount_Style(int decimals, NumberSeparators sep, bool grouped = false);

// The value with exactly `decimals` decimals and no grouping, e.g. "-1234,57". The digit
// after the last kept decimal decides: 5 or more rounds away from zero, less cuts. A text
// that is not a number gives zero; one that starts with the thousands separator is read as a
// decimal fraction (".5" is "0,5").
QString Amount_To_Text(int decimals, const QString& value, NumberSeparators sep = {});
// The same for a number (read by kAmountSignificantDigits digits; not finite gives zero),
// grouped in threes when `grouped`.
QString Amount_To_Text(int decimals, double value, NumberSeparators sep = {}, bool grouped = false);

// A typed amount regrouped: only digits, a leading "-" and the first decimal separator are
// kept; the integer part is grouped in threes; at most `decimals` decimals stay (cut, never
// rounded or padded). "" stays "".
QString Format_Amount_Text(int decimals, const QString& text, NumberSeparators sep = {});

// The value in plain decimal for files and cells that are read back: at most `decimals` decimals
// (rounded half away from zero from its shortest text), trailing zeros dropped, no grouping, "0"
// for zero ("-1234.5", "0").
QString Plain_Number_Text(double value, int decimals, QChar decimal = u'.');

// The picker's balance cell: the amount with Currency_Decimals when the column caption holds
// "DOVIZ", else with Amount_Decimals; " (B)" after a debit (positive) balance, the absolute
// amount and " (A)" after a credit (negative) one, "" for zero.
QString Format_Balance(const AppState& state, const QString& column_caption, double value);
