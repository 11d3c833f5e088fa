#include "db/sql_dialect.h"

#include <QRegularExpression>

namespace {

// Rewrites outside quoted literals only; `rewrite` gets each unquoted stretch.
template <typename F>
QString Outside_Literals(const QString& sql, F rewrite) {
  QString out;
  QString chunk;
  bool in_literal = false;
  for (QChar c : sql) {
    if (c == '\'') {
      if (!in_literal) {
        out += rewrite(chunk);
        chunk.clear();
      }
      in_literal = !in_literal;
      out += c;
      continue;
    }
    if (in_literal)
      out += c;
    else
      chunk += c;
  }
  out += in_literal ? chunk : rewrite(chunk);
  return out;
}

QString Move_Top_To_Limit(const QString& sql) {
  static const QRegularExpression top(R"(^(\s*SELECT\s+(?:DISTINCT\s+)?)TOP\s+(\d+)\s+)",
                                      QRegularExpression::CaseInsensitiveOption);
  auto m = top.match(sql);
  if (!m.hasMatch()) return sql;
  QString rest = sql.mid(m.capturedEnd());
  QString body = m.captured(1) + rest;
  while (body.endsWith(' ') || body.endsWith(';')) body.chop(1);
  return body + " LIMIT " + m.captured(2);
}

}  // namespace

QString To_Engine_Dialect(const QString& sql, Engine engine) {
  if (engine == Engine::SqlServer) return sql;
  static const QRegularExpression dbo(R"(\b(\w+)\.dbo\.)", QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression isnull(R"(\bISNULL\s*\()", QRegularExpression::CaseInsensitiveOption);
  // SQL Server reads "Rapor_ID=7AND ..." as 7 AND; the other engines need the blank.
  static const QRegularExpression glued_keyword(R"(\b(\d+(?:\.\d+)?)(AND|OR)\b)",
                                                QRegularExpression::CaseInsensitiveOption);
  // An ordered derived table carries "OFFSET 0 ROWS"; SQLite writes it with a LIMIT.
  static const QRegularExpression offset(R"(\bOFFSET\s+(\d+)\s+ROWS?\b)",
                                         QRegularExpression::CaseInsensitiveOption);
  QString text = Outside_Literals(sql, [engine](QString part) {
    part.replace(dbo, "\\1.");
    if (engine == Engine::Sqlite) part.replace(offset, "LIMIT -1 OFFSET \\1");
    part.replace(isnull, engine == Engine::Sqlite ? "IFNULL(" : "COALESCE(");
    part.replace(glued_keyword, "\\1 \\2");
    return part;
  });
  return Move_Top_To_Limit(text);
}
