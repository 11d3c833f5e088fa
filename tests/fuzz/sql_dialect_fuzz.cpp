// The dialect step on any statement: SQL Server gets it unchanged, and the other engines'
// rewriting never touches what stands inside quotes.
#include <QString>
#include <QStringList>

#include "db/sql_dialect.h"
#include "fuzz_check.h"

namespace {

// The quoted literals of a statement, in order (a doubled quote ends one and starts the next).
QStringList Literals(const QString& sql) {
  QStringList literals;
  qsizetype start = -1;
  for (qsizetype i = 0; i < sql.size(); ++i) {
    if (sql[i] != '\'') continue;
    if (start < 0) {
      start = i;
    } else {
      literals << sql.mid(start, i - start + 1);
      start = -1;
    }
  }
  if (start >= 0) literals << sql.mid(start);
  return literals;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString sql = Fuzz_Text(data, size);
  FUZZ_CHECK(To_Engine_Dialect(sql, Engine::SqlServer) == sql, sql);
  // A statement that ends inside a literal is broken whatever is appended to it.
  if (sql.count('\'') % 2) return 0;
  for (Engine engine : {Engine::Sqlite, Engine::Postgres}) {
    const QString rewritten = To_Engine_Dialect(sql, engine);
    // TOP n moves to the end as LIMIT n, which adds no quote.
    FUZZ_CHECK(Literals(rewritten) == Literals(sql), sql + " -> " + rewritten);
  }
  return 0;
}
