// Opening the program's one connection. The SQL-login form is tried first and the
// Windows-login form only when it fails; the connection string is the text of the form that
// opened.
#pragma once

#include <QString>
#include <memory>

class Connection;

QString Sql_Login_Connection_String(const QString& user, const QString& password,
                                    const QString& database, const QString& server);
QString Windows_Login_Connection_String(const QString& user, const QString& password,
                                        const QString& database, const QString& server);

struct OpenedConnection {
  std::shared_ptr<Connection> connection;
  QString connection_string;
};

// Throws DbError when both forms fail. `read_only`: see Connection::Open.
OpenedConnection Open_Connection(const QString& user, const QString& password,
                                 const QString& database, const QString& server,
                                 bool read_only = false);
