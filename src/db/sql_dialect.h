// The SQL the program writes is the suite's SQL Server dialect. Before a statement reaches
// another engine it is rewritten here: SQLite takes `X.dbo.Y` as `X.Y`, IFNULL for ISNULL and
// LIMIT for TOP; PostgreSQL takes schema-qualified names and COALESCE. On both, a literal that
// is exactly a valid date 'MM/DD/YYYY' or 'YYYY/MM/DD' becomes 'YYYY-MM-DD' (any such text,
// whether a date column or not stands beside it). SQL Server gets the text unchanged.
#pragma once

#include <QString>

enum class Engine { Sqlite, Postgres, SqlServer };

QString To_Engine_Dialect(const QString& sql, Engine engine);
