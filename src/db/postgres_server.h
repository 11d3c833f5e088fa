// PostgreSQL as the suite's database server. The server name is "pg:" followed by a libpq
// connection string (host, port, dbname, user, ...) naming one PostgreSQL database; each
// database of the suite (Defination_DB, every company) is a schema in it, so that the suite's
// three-part names "X.dbo.Y" become "X.Y". Names are unquoted on every road, so the schema of
// a database is its name in lower case, as PostgreSQL folds unquoted names.
#pragma once

#include <QString>

class QSqlDatabase;

// Hands the keywords of `server` ("pg:...") to `db`; the login's user and password count where
// the string names none of its own.
void Configure_Postgres(QSqlDatabase& db, const QString& server, const QString& user,
                        const QString& password);

QString Postgres_Schema(const QString& database);

// `server` ("pg:...") without its password keyword, for a text that is shown or stored: the
// password then comes from the login, PGPASSWORD or the password file of libpq.
QString Postgres_Server_Without_Password(const QString& server);

// Drops the schema of `database` with everything in it and makes it again, empty; throws
// DbError when the server refuses.
void Recreate_Postgres_Schema(const QString& server, const QString& database, const QString& user,
                              const QString& password);
