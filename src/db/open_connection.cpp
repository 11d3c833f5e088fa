#include "db/open_connection.h"

#include "app/app_state.h"

QString Sql_Login_Connection_String(const QString& user, const QString& password,
                                    const QString& database, const QString& server) {
  return "Provider=SQLOLEDB.1;Persist Security Info=False;User ID=" + user + ";Password=" +
         password + ";Initial Catalog=" + database + ";Data Source=" + server;
}

QString Windows_Login_Connection_String(const QString& user, const QString& password,
                                        const QString& database, const QString& server) {
  return "Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;User ID=" +
         user.trimmed() + ";Password=" + password + ";Initial Catalog=" + database +
         ";Data Source=" + server;
}

void Open_Connection(AppState& state, const QString& user, const QString& password,
                     const QString& database, const QString& server) {
  state.Db_Connection = std::make_shared<Connection>();
  try {
    state.Db_Connection->Open(server, database, user, password, false);
    state.Connection_String = Sql_Login_Connection_String(user, password, database, server);
    return;
  } catch (const DbError&) {
  }
  state.Db_Connection = std::make_shared<Connection>();
  state.Db_Connection->Open(server, database, user, password, true);
  state.Connection_String = Windows_Login_Connection_String(user, password, database, server);
}
