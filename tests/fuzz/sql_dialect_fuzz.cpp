// The dialect step on any statement: SQL Server gets it unchanged, and the other engines'
// rewriting touches what stands inside quotes only to write a date literal in ISO form.
#include <QDate>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include "db/sql_dialect.h"
#include "fuzz_check.h"

namespace {

// The quoted literals of a statement, in order, each with its quotes (a doubled quote stays
// inside its literal).
QStringList Literals(const QString& sql) {
  QStringList literals;
  qsizetype start = -1;
  for (qsizetype i = 0; i < sql.size(); ++i) {
    if (sql[i] != '\'') continue;
    if (start < 0) {
      start = i;
    } else if (i + 1 < sql.size() && sql[i + 1] == '\'') {
      ++i;
    } else {
      literals << sql.mid(start, i - start + 1);
      start = -1;
    }
  }
  if (start >= 0) literals << sql.mid(start);
  return literals;
}

// What the engines are sent for a literal: 'YYYY-MM-DD' for a valid date written M/D/YYYY or
// YYYY/M/D, else the literal itself.
QString Sent_Literal(const QString& literal) {
  static const QRegularExpression us(R"(^'([0-9]{1,2})/([0-9]{1,2})/([0-9]{4})'$)");
  static const QRegularExpression ymd(R"(^'([0-9]{4})/([0-9]{1,2})/([0-9]{1,2})'$)");
  QDate date;
  if (auto m = us.match(literal); m.hasMatch())
    date = QDate(m.captured(3).toInt(), m.captured(1).toInt(), m.captured(2).toInt());
  else if (auto m = ymd.match(literal); m.hasMatch())
    date = QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
  return date.isValid() ? "'" + date.toString(Qt::ISODate) + "'" : literal;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString sql = Fuzz_Text(data, size);
  FUZZ_CHECK(To_Engine_Dialect(sql, Engine::SqlServer) == sql, sql);
  // A statement that ends inside a literal is broken whatever is appended to it.
  if (sql.count('\'') % 2) return 0;
  QStringList sent;
  for (const QString& literal : Literals(sql)) sent << Sent_Literal(literal);
  for (Engine engine : {Engine::Sqlite, Engine::Postgres}) {
    const QString rewritten = To_Engine_Dialect(sql, engine);
    // TOP n moves to the end as LIMIT n, which adds no quote.
    FUZZ_CHECK(Literals(rewritten) == sent, sql + " -> " + rewritten);
    // Once rewritten, a statement has nothing left to rewrite in its literals.
    FUZZ_CHECK(Literals(To_Engine_Dialect(rewritten, engine)) == sent, sql + " -> " + rewritten);
  }
  return 0;
}
