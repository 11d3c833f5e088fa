// Formula rows: an arithmetic expression over the codes of other rows of the same table.
// Formulu_Yerlestir turns the expression into a purely numeric text by replacing each row code
// with that row's current Bakiye; Formul_Al reduces that text to one number, innermost
// parentheses first, handing every flat piece to Hesapla. Evaluation is text rewriting: each
// step computes one operation ("*" and "/" before "+" and "-", each level left to right),
// rounds its result to a currency value (4 decimals) and writes it back into the text.
// The evaluator takes text and returns values only, so it can be driven without a database.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <stdexcept>

#include "db/db_session.h"

// Thrown when a formula cannot be evaluated: division by zero, overflow of the currency
// range, a text that cannot be reduced to a number. `message` is a Turkish sentence naming
// the problem and the text concerned; what() is the same text in UTF-8.
struct FormulaError : std::runtime_error {
  explicit FormulaError(const QString& text)
      : std::runtime_error(text.toStdString()), message(text) {}

  QString message;
};

// Replaces every row code of the formula by that row's Bakiye, looked up in table `Rapor_ID`
// through `SQL` + " WHERE Rapor_ID=<id>AND Satir_Kodu='<code>'" (a recordset of its own). A code
// with no row, or whose Bakiye is NULL, disappears together with the operator that ends it.
// A failing lookup query has shown its messages and raises DbError from the closed recordset.
// Codes that no row of the table has are added to `unknown_codes` when it is given.
QString Formulu_Yerlestir(const DbSession& db, const QString& Gelen_Formul, const QString& SQL,
                          qint64 Rapor_ID, QStringList* unknown_codes = nullptr);
// Reduces a substituted formula to one number (innermost parentheses first).
double Formul_Al(const QString& Formul);  // throws FormulaError
// Evaluates one flat piece in place (rewrites `expression` to the text of its value); a piece
// in enclosing parentheses loses them.
double Hesapla(QString& expression);  // throws FormulaError
// The number text of a value as the system writes it: "-" for negatives, "." as the decimal
// mark, no leading zero (0.5 is ".5"), no thousands separators, at most 4 decimals (rounded
// half away from zero). A value outside the currency range is written with all its digits.
QString Number_Text(double value);
