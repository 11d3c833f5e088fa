#include "db/postgres_server.h"

#include <QAtomicInt>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <utility>
#include <vector>

#include "db/db_error.h"

namespace {

// The "key=value" pairs of a libpq connection string; a value may be single-quoted, with
// backslash escapes, as libpq writes them.
std::vector<std::pair<QString, QString>> Keywords(const QString& text) {
  std::vector<std::pair<QString, QString>> out;
  int i = 0;
  const int n = text.size();
  while (i < n) {
    while (i < n && text[i].isSpace()) ++i;
    int eq = text.indexOf('=', i);
    if (i >= n || eq < 0) break;
    QString key = text.mid(i, eq - i).trimmed();
    i = eq + 1;
    while (i < n && text[i].isSpace()) ++i;
    QString value;
    if (i < n && text[i] == '\'') {
      for (++i; i < n && text[i] != '\''; ++i) {
        if (text[i] == '\\' && i + 1 < n) ++i;
        value += text[i];
      }
      ++i;
    } else {
      while (i < n && !text[i].isSpace()) value += text[i++];
    }
    out.emplace_back(key, value);
  }
  return out;
}

QString Quoted(const QString& value) {
  return "'" + QString(value).replace("\\", "\\\\").replace("'", "\\'") + "'";
}

QAtomicInt next_admin_id;

}  // namespace

void Configure_Postgres(QSqlDatabase& db, const QString& server, const QString& user,
                        const QString& password) {
  QString options;
  QString own_user = user, own_password = password;
  for (const auto& [key, value] : Keywords(server.mid(3))) {
    if (key == "host")
      db.setHostName(value);
    else if (key == "port")
      db.setPort(value.toInt());
    else if (key == "dbname")
      db.setDatabaseName(value);
    else if (key == "user")
      own_user = value;
    else if (key == "password")
      own_password = value;
    else
      options += (options.isEmpty() ? "" : ";") + key + "=" + Quoted(value);
  }
  db.setUserName(own_user);
  db.setPassword(own_password);
  db.setConnectOptions(options);
}

QString Postgres_Server_Without_Password(const QString& server) {
  if (!server.startsWith("pg:")) return server;
  QStringList kept;
  for (const auto& [key, value] : Keywords(server.mid(3)))
    if (key != "password") {
      const bool plain = !value.isEmpty() && !value.contains(QRegularExpression(R"([\s'\\])"));
      kept << key + "=" + (plain ? value : Quoted(value));
    }
  return "pg:" + kept.join(' ');
}

QString Postgres_Schema(const QString& database) { return database.toLower(); }

void Recreate_Postgres_Schema(const QString& server, const QString& database, const QString& user,
                              const QString& password) {
  const QString name = QString("malitablo-admin-%1").arg(next_admin_id.fetchAndAddOrdered(1));
  const QString schema = "\"" + QString(Postgres_Schema(database)).replace("\"", "\"\"") + "\"";
  DbError failure{0, QString()};
  {
    QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", name);
    Configure_Postgres(db, server, user, password);
    if (!db.open()) {
      failure = {kErrConnectionRefused, db.lastError().text()};
    } else {
      QSqlQuery query(db);
      for (const QString& sql :
           {QString("SET client_min_messages TO WARNING"),  // no notice of a schema not there
            "DROP SCHEMA IF EXISTS " + schema + " CASCADE", "CREATE SCHEMA " + schema}) {
        if (!query.exec(sql)) {
          failure = {kErrStatement, query.lastError().text()};
          break;
        }
      }
      db.close();
    }
  }
  QSqlDatabase::removeDatabase(name);
  if (failure.Number != 0) throw failure;
}
