#include "db/sql_text.h"

#include <QRegularExpression>
#include <QSet>

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

QStringList Plan_Functions(const QString& plan) {
  // A call is a name, maybe quoted and schema-qualified, right before "(": the form in which
  // PostgreSQL writes expressions back (keywords such as "ANY (" carry a blank). The quotes of
  // a name may be escaped inside the JSON form.
  static const QRegularExpression call(
      R"re((?:(\\?"?[A-Za-z_][\w$]*\\?"?)\.)?(\\?"?[A-Za-z_][\w$]*\\?"?)\()re");
  auto bare = [](QString name) { return name.remove('\\').remove('"').toLower(); };
  QStringList names;
  for (auto it = call.globalMatch(plan); it.hasNext();) {
    const auto m = it.next();
    const QString schema = bare(m.captured(1));
    const QString name = bare(m.captured(2));
    names << (schema.isEmpty() ? name : schema + '.' + name);
  }
  return names;
}

bool Plan_Reads_Only(const QString& plan) {
  static const QRegularExpression writing_node(
      R"re("?Node Type"?\s*:\s*"?(ModifyTable|LockRows))re");
  static const QRegularExpression
      text_node(R"(^\s*(->\s*)?(Insert|Update|Delete|Merge|LockRows)\b)",
                QRegularExpression::MultilineOption);
  if (writing_node.match(plan).hasMatch() || text_node.match(plan).hasMatch()) return false;
  static const QSet<QString> allowed =
      {// sums and windows
       "sum", "count", "avg", "min", "max", "string_agg", "bool_and", "bool_or", "row_number",
       "rank", "dense_rank", "lag", "lead", "first_value", "last_value",
       // values
       "coalesce", "nullif", "greatest", "least", "abs", "round", "trunc", "floor", "ceil",
       "ceiling", "sign", "mod", "row", "exists",
       // text
       "upper", "lower", "initcap", "btrim", "ltrim", "rtrim", "trim", "substring", "substr",
       "left", "right", "length", "char_length", "octet_length", "concat", "concat_ws", "replace",
       "lpad", "rpad", "strpos", "position", "split_part", "like_escape", "textlen",
       // dates
       "to_char", "to_date", "to_number", "to_timestamp", "date_trunc", "date_part", "extract",
       "make_date", "timezone", "date", "now",
       // conversions and type names written with their modifiers
       "cast", "text", "int2", "int4", "int8", "float4", "float8", "numeric", "decimal", "varchar",
       "bpchar", "character", "varying", "timestamp", "time", "interval", "bit"};
  for (QString name : Plan_Functions(plan)) {
    if (name.startsWith("pg_catalog.")) name = name.mid(11);
    if (!allowed.contains(name)) return false;
  }
  return true;
}
