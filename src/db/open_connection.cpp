#include "db/open_connection.h"

#include "db/connection.h"

QString Sql_Login_Connection_String(const QString& user, const QString& password,
                                    const QString& database, const QString& server) {
  return "Provider=SQLOLEDB.1;Persist Security Info=False;User ID=" + user +
         ";Password=" + password + ";Initial Catalog=" + database + ";Data Source=" + server;
}

QString Windows_Login_Connection_String(const QString& user, const QString& password,
                                        const QString& database, const QString& server) {
  return "Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;User ID=" +
         user.trimmed() + ";Password=" + password + ";Initial Catalog=" + database +
         ";Data Source=" + server;
}

OpenedConnection Open_Connection(const QString& user, const QString& password,
                                 const QString& database, const QString& server, bool read_only) {
  auto connection = std::make_shared<Connection>();
  try {
    connection->Open(server, database, user, password, false, read_only);
    return {connection, Sql_Login_Connection_String(user, password, database, server)};
  } catch (const DbError&) {
  }
  connection = std::make_shared<Connection>();
  connection->Open(server, database, user, password, true, read_only);
  return {connection, Windows_Login_Connection_String(user, password, database, server)};
}
