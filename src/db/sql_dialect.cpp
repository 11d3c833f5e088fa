#include "db/sql_dialect.h"

#include <QRegularExpression>

#include "db/date_collation.h"

namespace {

// Rewrites outside quoted literals with `rewrite` (each unquoted stretch) and each whole
// literal, doubled quotes inside it included, with `literal` (its text between the quotes).
template <typename F, typename L>
QString Rewrite_Parts(const QString& sql, F rewrite, L literal) {
  QString out;
  qsizetype done = 0;
  while (done < sql.size()) {
    const qsizetype open = sql.indexOf('\'', done);
    if (open < 0) break;
    out += rewrite(sql.mid(done, open - done));
    qsizetype close = open + 1;
    while ((close = sql.indexOf('\'', close)) >= 0 && close + 1 < sql.size() &&
           sql[close + 1] == '\'')
      close += 2;
    if (close < 0) return out + sql.mid(open);  // a literal to the end stays as it is
    out += '\'' + literal(sql.mid(open + 1, close - open - 1)) + '\'';
    done = close + 1;
  }
  return out + rewrite(sql.mid(done));
}

QString Move_Top_To_Limit(const QString& sql) {
  // The statement may be asked for its plan (EXPLAIN [QUERY PLAN] SELECT TOP ...).
  static const QRegularExpression
      top(R"(^(\s*(?:EXPLAIN\s+(?:QUERY\s+PLAN\s+)?)?SELECT\s+(?:DISTINCT\s+)?)TOP\s+(\d+)\s+)",
          QRegularExpression::CaseInsensitiveOption);
  auto m = top.match(sql);
  if (!m.hasMatch()) return sql;
  QString rest = sql.mid(m.capturedEnd());
  QString body = m.captured(1) + rest;
  while (body.endsWith(' ') || body.endsWith(';')) body.chop(1);
  return body + " LIMIT " + m.captured(2);
}

// SQL Server and SQLite sort Null before every value (after, in descending order); PostgreSQL
// the other way round. Each item of every ORDER BY says so for PostgreSQL.
QString Nulls_As_Elsewhere(const QString& sql) {
  static const QRegularExpression order_by(R"(\bORDER\s+BY\b)",
                                           QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression clause_end(R"(^\s*(LIMIT|OFFSET|FETCH|FOR)\b)",
                                             QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression descending(R"(\bDESC\s*$)",
                                             QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression has_nulls(R"(\bNULLS\s+(FIRST|LAST)\s*$)",
                                            QRegularExpression::CaseInsensitiveOption);
  QString out;
  qsizetype done = 0;
  auto match = order_by.globalMatch(sql);
  while (match.hasNext()) {
    auto m = match.next();
    if (m.capturedStart() < done || sql.left(m.capturedStart()).count('\'') % 2 != 0) continue;
    out += sql.mid(done, m.capturedEnd() - done);
    qsizetype i = m.capturedEnd();
    qsizetype item_start = i;
    int depth = 0;
    bool quoted = false;
    auto close_item = [&](qsizetype end) {
      QString item = sql.mid(item_start, end - item_start);
      QString trimmed = item;
      while (trimmed.endsWith(' ')) trimmed.chop(1);
      out += trimmed;
      if (!trimmed.trimmed().isEmpty() && !has_nulls.match(trimmed).hasMatch())
        out += descending.match(trimmed).hasMatch() ? " NULLS LAST" : " NULLS FIRST";
      out += item.mid(trimmed.size());
    };
    for (; i < sql.size(); ++i) {
      const QChar c = sql[i];
      if (c == '\'') quoted = !quoted;
      if (quoted) continue;
      if (c == '(') ++depth;
      if (c == ')' && depth-- == 0) break;
      if (c == ';' && depth == 0) break;
      if (c == ',' && depth == 0) {
        close_item(i);
        out += ',';
        item_start = i + 1;
      } else if (depth == 0 && c.isSpace() && clause_end.match(sql.mid(i)).hasMatch()) {
        break;
      }
    }
    close_item(i);
    done = i;
  }
  return out + sql.mid(done);
}

}  // namespace

QString To_Engine_Dialect(const QString& sql, Engine engine) {
  if (engine == Engine::SqlServer) return sql;
  static const QRegularExpression dbo(R"(\b(\w+)\.dbo\.)",
                                      QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression isnull(R"(\bISNULL\s*\()",
                                         QRegularExpression::CaseInsensitiveOption);
  // SQL Server reads "Rapor_ID=7AND ..." as 7 AND; the other engines need the blank.
  static const QRegularExpression glued_keyword(R"(\b(\d+(?:\.\d+)?)(AND|OR)\b)",
                                                QRegularExpression::CaseInsensitiveOption);
  // An ordered derived table carries "OFFSET 0 ROWS"; SQLite writes it with a LIMIT.
  static const QRegularExpression offset(R"(\bOFFSET\s+(\d+)\s+ROWS?\b)",
                                         QRegularExpression::CaseInsensitiveOption);
  // LIKE ignores letter case on SQL Server (its collations) and on SQLite; PostgreSQL's ILIKE.
  static const QRegularExpression like(R"(\bLIKE\b)", QRegularExpression::CaseInsensitiveOption);
  QString text = Rewrite_Parts(
      sql,
      [engine](QString part) {
        part.replace(dbo, "\\1.");
        if (engine == Engine::Postgres) part.replace(like, "ILIKE");
        if (engine == Engine::Sqlite) part.replace(offset, "LIMIT -1 OFFSET \\1");
        part.replace(isnull, engine == Engine::Sqlite ? "IFNULL(" : "COALESCE(");
        part.replace(glued_keyword, "\\1 \\2");
        return part;
      },
      [](const QString& literal) {
        // A date literal in ISO form compares natively with the stored dates (embedded engine) and
        // reads the same whatever the server's DateStyle (PostgreSQL).
        const QString iso = Iso_Date_Literal(literal);
        return iso.isEmpty() ? literal : iso;
      });
  text = Move_Top_To_Limit(text);
  return engine == Engine::Postgres ? Nulls_As_Elsewhere(text) : text;
}
