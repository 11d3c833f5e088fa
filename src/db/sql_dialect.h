// The SQL the program writes is the suite's SQL Server dialect. Before a statement reaches
// another engine it is rewritten here: SQLite takes `X.dbo.Y` as `X.Y`, IFNULL for ISNULL and
// LIMIT for TOP; PostgreSQL takes schema-qualified names and COALESCE. SQL Server gets the
// text unchanged.
#pragma once

#include <QString>

enum class Engine { Sqlite, Postgres, SqlServer };

QString To_Engine_Dialect(const QString& sql, Engine engine);
