#include "db/sql_text.h"

#include <QRegularExpression>

QString Sql_Quote_Value(const QString& value) { return QString(value).replace("'", "''"); }

bool Is_Sql_Number(const QString& value) {
  static const QRegularExpression number(R"(^\s*[-+]?(\d+(\.\d*)?|\.\d+)\s*$)");
  return number.match(value).hasMatch();
}

qsizetype Index_Outside_Quotes(const QString& sql, const QString& needle, qsizetype from,
                               Qt::CaseSensitivity cs) {
  bool quoted = false;
  for (qsizetype i = 0; i < sql.size(); ++i) {
    if (sql[i] == u'\'') {
      quoted = !quoted;  // '' inside a literal toggles twice
      continue;
    }
    if (!quoted && i >= from && QStringView(sql).mid(i).startsWith(needle, cs)) return i;
  }
  return -1;
}

QString Like_Prefix_Condition(const QString& column, const QString& value) {
  QString pattern;
  bool escaped = false;
  for (QChar c : value) {
    if (c == u'%' || c == u'_' || c == u'[' || c == u'\\') {
      pattern += u'\\';
      escaped = true;
    }
    pattern += c;
  }
  return column + " LIKE '" + Sql_Quote_Value(pattern) + "%'" + (escaped ? " ESCAPE '\\'" : "");
}

bool Is_Single_Select(const QString& sql) {
  QString text = sql.trimmed();
  if (text.endsWith(u';')) text.chop(1);
  static const QRegularExpression first_word(R"(^(SELECT|WITH)\b)",
                                             QRegularExpression::CaseInsensitiveOption);
  if (!first_word.match(text).hasMatch()) return false;
  for (const char* outside : {";", "--", "/*"})
    if (Index_Outside_Quotes(text, QString::fromLatin1(outside)) >= 0) return false;
  return true;
}
