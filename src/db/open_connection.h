// Opening the program's one connection. The SQL-login form is tried first and the
// Windows-login form only when it fails; `Connection_String` keeps the text of the form that
// opened. Every call replaces `Db_Connection`.
#pragma once

#include <QString>

struct AppState;

QString Sql_Login_Connection_String(const QString& user, const QString& password,
                                    const QString& database, const QString& server);
QString Windows_Login_Connection_String(const QString& user, const QString& password,
                                        const QString& database, const QString& server);

// Throws DbError when both forms fail.
void Open_Connection(AppState& state, const QString& user, const QString& password,
                     const QString& database, const QString& server);
