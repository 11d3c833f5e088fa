// Substitution of row codes and evaluation of the numeric text by rewriting. Values are
// carried as exact amounts (ten-thousandths with their sign); operands are read as doubles and
// every operation's result is rounded to the nearest ten-thousandth, half away from zero, and
// checked against the amount range before it is written back.
#include "calc/formula.h"

#include <algorithm>
#include <optional>

#include "db/query.h"
#include "db/recordset.h"
#include "db/sql_text.h"
#include "process/app_state.h"
#include "ui_common/exact_amount.h"

namespace {

// Values are written back into the text without a leading zero (".5").
constexpr DigitsStyle kFormulaStyle{.leading_zero = false};

// The two texts that one evaluation carries from Hesapla to Formul_Al: the piece last passed
// (as passed, parentheses included) and the number text of its value.
struct Evaluation {
  QString last_piece;
  QString result_text;
};

[[noreturn]] void Fail(const QString& message) { throw FormulaError{message}; }

[[noreturn]] void Fail_Unreducible(const QString& text) {
  Fail(QString("Formül bir sayıya indirgenemiyor: %1").arg(text));
}

bool Is_Digit(QChar c) { return c >= '0' && c <= '9'; }
bool Is_Sign(QChar c) { return c == '+' || c == '-'; }
bool Is_Numeric_Char(QChar c) { return Is_Digit(c) || c == '.'; }

// Operands are plain decimal numbers (an optional sign, digits with at most one "."), read as
// doubles.
std::optional<double> Read_Number(const QString& text) {
  if (!Is_Number_Text(text)) return std::nullopt;
  bool ok = false;
  const double value = (text.startsWith('+') ? text.mid(1) : text).toDouble(&ok);
  if (!ok) return std::nullopt;
  return value;
}

// A run of two or more signs is read as the sign it amounts to ("--3" is "+3"); after an
// operand its first character stays the operator ("5---3" is "5-+3"). Negative values
// written next to "-" or to a negative result ("1+-2*-3" becomes "1+--6") stay readable.
QString Collapse_Signs(const QString& text) {
  QString out;
  for (int i = 0; i < text.size(); ++i) {
    int end = i;
    while (end < text.size() && Is_Sign(text[end])) ++end;
    if (end - i < 2) {
      out += text[i];
      continue;
    }
    int start = i;
    if (!out.isEmpty() && Is_Numeric_Char(out.back())) out += text[start++];
    if (end > start) {
      const auto minus = std::count(text.begin() + start, text.begin() + end, QChar('-'));
      out += minus % 2 ? '-' : '+';
    }
    i = end - 1;
  }
  return out;
}

// The first operation due in a flat text: its place and its operands as they stand.
struct Operation {
  int start = 0;
  int end = 0;
  QString a;
  QChar op;
  QString b;
};

// "*" and "/" go first: while the text holds one of them, an operand followed by "+" or "-"
// is passed over and the scan starts again at the next number.
Operation Find_Operation(const QString& text, const QString& expression) {
  const bool has_mul_div = text.contains('*') || text.contains('/');
  Operation found;
  int i = 0;
  if (!text.isEmpty() && Is_Sign(text[0])) {
    found.a = text[0];
    i = 1;
  }
  bool a_has_digit = false;
  int op_pos = -1;
  QString b_sign;
  for (; i < text.size(); ++i) {
    const QChar c = text[i];
    if (found.op.isNull()) {
      if (Is_Numeric_Char(c)) {
        found.a += c;
        a_has_digit = a_has_digit || Is_Digit(c);
      } else if (a_has_digit) {
        found.op = c;
        op_pos = i;
      } else {
        Fail_Unreducible(expression);
      }
      continue;
    }
    if (!Is_Numeric_Char(c)) {
      if (Is_Sign(c) && i == op_pos + 1) {
        b_sign = c;
      } else {
        found.op = c;
        op_pos = i;
        b_sign.clear();
      }
      continue;
    }
    if (found.op == '*' || found.op == '/' || !has_mul_div) {
      int end = i;
      while (end < text.size() && Is_Numeric_Char(text[end])) ++end;
      found.b = b_sign + text.mid(i, end - i);
      found.end = end;
      return found;
    }
    found.a = c;
    found.start = i;
    a_has_digit = Is_Digit(c);
    found.op = QChar();
    b_sign.clear();
  }
  Fail_Unreducible(expression);
}

Amount To_Amount_Or_Fail(double value, const QString& expression) {
  const auto amount = Amount::From_Double(value);
  if (!amount) Fail(QString("Formülün sonucu tutar sınırlarının dışında: %1").arg(expression));
  return *amount;
}

Amount Compute(const Operation& operation, const QString& expression) {
  const auto a = Read_Number(operation.a);
  const auto b = Read_Number(operation.b);
  if (!a || !b) Fail_Unreducible(expression);
  double result = 0;
  switch (operation.op.unicode()) {
    case '+': result = *a + *b; break;
    case '-': result = *a - *b; break;
    case '*': result = *a * *b; break;
    case '/':
      if (*b == 0) Fail(QString("Formülde sıfıra bölme var: %1").arg(expression));
      result = *a / *b;
      break;
    default: Fail_Unreducible(expression);
  }
  return To_Amount_Or_Fail(result, expression);
}

Amount Evaluate_Piece(QString& expression, Evaluation& evaluation) {
  evaluation.last_piece = expression;
  QString text = expression.trimmed();
  if (text.contains('(')) text = text.mid(1, text.size() - 2);
  text.replace(',', '.');
  text.remove(' ');
  if (text.endsWith('+') || text.endsWith('-')) text += '0';
  if (text.endsWith('*') || text.endsWith('/')) text += '1';
  text = Collapse_Signs(text);
  for (QChar c : text)
    if (!Is_Numeric_Char(c) && !Is_Sign(c) && c != '*' && c != '/') Fail_Unreducible(expression);

  // Every step removes at least one operator, so the text is a number within its length.
  const int step_limit = text.size() + 1;
  for (int step = 0; !Is_Number_Text(text); ++step) {
    if (step > step_limit) Fail_Unreducible(expression);
    const Operation operation = Find_Operation(text, expression);
    const QString value = Compute(operation, expression).Text(kFormulaStyle);
    QString rewritten = text.left(operation.start) + value + text.mid(operation.end);
    rewritten = Collapse_Signs(rewritten);
    if (rewritten == text) Fail_Unreducible(expression);
    text = rewritten;
  }
  const auto number = Read_Number(text);
  if (!number) Fail_Unreducible(expression);
  const Amount result = To_Amount_Or_Fail(*number, expression);
  evaluation.result_text = result.Text(kFormulaStyle);
  expression = evaluation.result_text;
  return result;
}

// A number written against a parenthesis ("2(3)", "(1)(2)") would be glued into another
// number by the rewriting.
bool Has_Glued_Parenthesis(const QString& formula) {
  QString text = formula;
  text.remove(' ');
  for (int i = 1; i < text.size(); ++i) {
    const QChar before = text[i - 1], after = text[i];
    if ((before == ')' && (Is_Numeric_Char(after) || after == '(')) ||
        (Is_Numeric_Char(before) && after == '('))
      return true;
  }
  return false;
}

}  // namespace

QString Number_Text(double value) {
  if (const auto amount = Amount::From_Double(value)) return amount->Text(kFormulaStyle);
  if (const auto digits = DecimalDigits::Of_Double(value)) return digits->Text(kFormulaStyle);
  return QString::number(value);
}

double Hesapla(QString& expression) {
  Evaluation evaluation;
  return Evaluate_Piece(expression, evaluation).Value();
}

double Formul_Al(const QString& Formul) {
  if (Has_Glued_Parenthesis(Formul)) Fail_Unreducible(Formul);
  Evaluation evaluation;
  QString work = Formul;
  // Each round removes one pair of parentheses, the last round the operators.
  const int round_limit = static_cast<int>(Formul.count('(')) + 1;
  for (int round = 0; round < round_limit; ++round) {
    const int open = static_cast<int>(work.lastIndexOf('('));
    QString piece = work;
    if (open >= 0) {
      const int close = static_cast<int>(work.indexOf(')', open));
      if (close < 0) Fail(QString("Formülde kapanmayan parantez var: %1").arg(Formul));
      piece = work.mid(open, close - open + 1);
    }
    try {
      Evaluate_Piece(piece, evaluation);
    } catch (const FormulaError& e) {
      if (evaluation.last_piece == Formul) throw;
      throw FormulaError(e.message + QString(" (formül: %1)").arg(Formul));
    }
    work.replace(evaluation.last_piece, evaluation.result_text);
    // The text itself and not the last piece gives the value, so "-(1+2)" is -3.
    if (Is_Number_Text(work)) {
      const auto number = Read_Number(work);
      if (number) return To_Amount_Or_Fail(*number, Formul).Value();
    }
  }
  Fail_Unreducible(Formul);
}

QString Formulu_Yerlestir(const DbSession& db, const QString& Gelen_Formul, const QString& SQL,
                          qint64 Rapor_ID, QStringList* unknown_codes) {
  static const QString operators = "+-*/()";
  QString token;
  QString output;
  Recordset rs;
  for (int pos = 0; pos <= Gelen_Formul.size(); ++pos) {
    const bool at_end = pos == Gelen_Formul.size();
    const QString character = at_end ? QString() : QString(Gelen_Formul[pos]);
    if (!at_end && !operators.contains(character)) {
      token += character;
      continue;
    }
    if (token.isEmpty()) {
      output += character;
      continue;
    }
    Open_Recordset(db, rs,
                   SQL + " WHERE Rapor_ID=" + QString::number(Rapor_ID) + "AND Satir_Kodu='" +
                       Sql_Quote_Value(token) + "'");
    // A code with no row or no value disappears with the operator that ends it.
    if (!rs.Eof() && !rs.Is_Null("Bakiye")) output += Number_Text(rs.Number("Bakiye")) + character;
    if (rs.Is_Open() && rs.Eof() && unknown_codes && !unknown_codes->contains(token))
      unknown_codes->append(token);
    token.clear();
  }
  output.replace(',', '.');
  output.remove(' ');
  return output;
}
