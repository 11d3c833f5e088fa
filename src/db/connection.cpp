#include "db/connection.h"

#include <sqlite3.h>

#include <QAtomicInt>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlIndex>
#include <QSqlQuery>
#include <QSqlRecord>
#include <cstdio>
#include <cstring>

#include "db/date_collation.h"
#include "db/postgres_server.h"
#include "db/sql_text.h"

namespace {

QAtomicInt next_connection_id;

DbError To_Db_Error(const QSqlError& e, Engine engine) {
  QString native = e.nativeErrorCode();
  QString text = e.text();
  bool duplicate = false;
  switch (engine) {
    case Engine::Sqlite:
      duplicate = native == "19" || native == "2067" || native == "1555" ||
                  text.contains("UNIQUE constraint failed");
      break;
    case Engine::Postgres: duplicate = native == "23505"; break;
    case Engine::SqlServer:
      duplicate = native == "2627" || native == "2601" || native == "23000";
      break;
  }
  if (duplicate) return {kErrIntegrityViolation, text};
  const bool locked = engine == Engine::Sqlite
                          ? native == "5" || native == "6" || text.contains("database is locked")
                      : engine == Engine::Postgres ? native == "55P03" || native == "40P01"
                                                   : native == "1222";
  if (locked) return {kErrLockTimeout, text};
  // PostgreSQL gives no code with a refused connection, only the server's sentence.
  static const QRegularExpression
      refused(R"(password authentication failed|role ".*" does not exist|no password supplied|)"
              R"(Login failed for user|18456)",
              QRegularExpression::CaseInsensitiveOption);
  if (e.type() == QSqlError::ConnectionError &&
      (native == "28000" || native == "28P01" || refused.match(text).hasMatch()))
    return {kErrLoginRefused, text};
  if (e.type() == QSqlError::ConnectionError) return {kErrConnectionRefused, text};
  return {kErrStatement, text.trimmed()};
}

// A database is named, never given as a path.
bool Is_Plain_Database_Name(const QString& name) {
  return !name.contains('/') && !name.contains('\\') && !name.contains("..") &&
         !QDir::isAbsolutePath(name);
}

// The file starts with the header of an SQLite database (an empty file does not).
bool Is_Sqlite_File(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  return file.read(16) == QByteArray("SQLite format 3\0", 16);
}

// A date column reads as the ISO text the embedded engine stores, so that every engine gives
// the program the same values.
QVariant Stored_Form(const QVariant& value) {
  if (value.typeId() == QMetaType::QDate && !value.isNull())
    return value.toDate().toString(Qt::ISODate);
  return value;
}

// PostgreSQL folds unquoted names to lower case, also the result's column names; a column the
// statement names gets back the spelling it was written with, as the other engines give it.
QStringList Spelled_As_Written(QStringList columns, const QString& sql) {
  static const QRegularExpression word(R"([A-Za-z_][A-Za-z0-9_]*)");
  std::map<QString, QString> spelling;
  for (auto it = word.globalMatch(sql); it.hasNext();) {
    const QString w = it.next().captured();
    spelling.emplace(w.toLower(), w);
  }
  for (QString& column : columns) {
    auto known = spelling.find(column.toLower());
    if (known != spelling.end()) column = known->second;
  }
  return columns;
}

}  // namespace

Engine Engine_For_Server(const QString& server) {
  if (server.startsWith("pg:")) return Engine::Postgres;
  if (server.startsWith("sqlite:")) return Engine::Sqlite;
  if (!server.isEmpty() && QFileInfo(server).isDir()) return Engine::Sqlite;
  return Engine::SqlServer;
}

QString Connection::Sqlite_Folder(const QString& server) {
  return server.startsWith("sqlite:") ? server.mid(7) : server;
}

Connection::Connection()
    : name_(QString("malitablo-%1").arg(next_connection_id.fetchAndAddOrdered(1))) {}

Connection::~Connection() {
  { QSqlDatabase::database(name_, false).close(); }
  QSqlDatabase::removeDatabase(name_);
}

QSqlDatabase Connection::Db() const { return QSqlDatabase::database(name_, false); }

bool Connection::Is_Open() const { return open_; }

void Connection::Open(const QString& server, const QString& database, const QString& user,
                      const QString& password, bool integrated) {
  open_ = false;
  own_prefix_ = QRegularExpression();
  primary_keys_.clear();
  database_ = database;
  engine_ = Engine_For_Server(server);
  QSqlDatabase::removeDatabase(name_);
  switch (engine_) {
    case Engine::Sqlite: {
      // The name is checked before any file is looked at: it may not reach out of the folder.
      if (!Is_Plain_Database_Name(database))
        throw DbError{kErrConnectionRefused, "Veritabanı adı geçersiz: " + database};
      QDir folder(Sqlite_Folder(server));
      QString file = folder.filePath(database + ".sqlite");
      QString definitions = folder.filePath("Defination_DB.sqlite");
      // Opening never creates a database: a missing, empty or foreign file is refused as it is.
      if (database.isEmpty() || !QFileInfo(file).isFile() || !Is_Sqlite_File(file))
        throw DbError{kErrConnectionRefused,
                      "Veritabanı bulunamadı veya erişim reddedildi: " + file};
      if (!QFileInfo(definitions).isFile() || !Is_Sqlite_File(definitions))
        throw DbError{kErrConnectionRefused, "Tanımlama veritabanı bulunamadı: " + definitions};
      QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name_);
      db.setDatabaseName(file);
      if (!db.open()) throw To_Db_Error(db.lastError(), engine_);
      QVariant handle = db.driver()->handle();
      auto* sqlite = *static_cast<sqlite3* const*>(handle.data());
      Register_Date_Collation(sqlite);
      sqlite3_busy_timeout(sqlite, 5000);
      open_ = true;
      own_prefix_ = QRegularExpression("\\b" + QRegularExpression::escape(database) + "\\.dbo\\.",
                                       QRegularExpression::CaseInsensitiveOption);
      Execute("PRAGMA journal_mode=WAL");
      Execute("PRAGMA synchronous=NORMAL");
      // Attached under its own name even when it is the main file, so that
      // "Defination_DB.dbo.X" reads the same on every road.
      Execute("ATTACH DATABASE '" + QString(definitions).replace("'", "''") + "' AS Defination_DB");
      return;
    }
    case Engine::Postgres: {
      // "pg:" and a libpq connection string names the server's database; the suite's
      // database is a schema in it, which must exist: none is made on the way.
      QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", name_);
      Configure_Postgres(db, server, integrated ? user.trimmed() : user, password);
      if (!db.open()) throw To_Db_Error(db.lastError(), engine_);
      open_ = true;
      const QString schema = Postgres_Schema(database);
      QueryResult found;
      if (!database.isEmpty())
        found = Execute_Bound("SELECT 1 FROM pg_namespace WHERE nspname = ?", {schema});
      if (found.rows.empty()) {
        open_ = false;
        db.close();
        throw DbError{kErrConnectionRefused,
                      "Veritabanı bulunamadı veya erişim reddedildi: " + database};
      }
      Execute("SET search_path TO \"" + QString(schema).replace("\"", "\"\"") + "\"");
      // Both date literal forms of the suite ('MM/DD/YYYY', 'YYYY/MM/DD') read as the
      // suite means them, whatever the server's own setting.
      Execute("SET DateStyle TO ISO, MDY");
      return;
    }
    case Engine::SqlServer: {
      QSqlDatabase db = QSqlDatabase::addDatabase("QODBC", name_);
      QString dsn =
          "DRIVER={FreeTDS};SERVER=" + server + ";DATABASE=" + database + ";TDS_Version=7.4;";
      if (integrated)
        dsn += "Trusted_Connection=yes;UID=" + user.trimmed() + ";PWD=" + password + ";";
      else
        dsn += "UID=" + user + ";PWD=" + password + ";";
      db.setDatabaseName(dsn);
      if (!db.open()) throw To_Db_Error(db.lastError(), engine_);
      open_ = true;
      return;
    }
  }
}

QueryResult Connection::Execute(const QString& sql) { return Run(sql, nullptr); }

QueryResult Connection::Execute_Bound(const QString& sql, const std::vector<QVariant>& values) {
  return Run(sql, &values);
}

QueryResult Connection::Run(const QString& sql, const std::vector<QVariant>* values) {
  // MALITABLO_TRACE_SQL=1 writes every statement with its time to stderr.
  static const bool trace = qEnvironmentVariableIsSet("MALITABLO_TRACE_SQL");
  QElapsedTimer timer;
  if (trace) timer.start();
  struct Trace {
    bool on;
    const QElapsedTimer& timer;
    const QString& sql;
    ~Trace() {
      if (on)
        std::fprintf(stderr, "[%8.3f ms] %s\n", timer.nsecsElapsed() / 1e6,
                     sql.toUtf8().constData());
    }
  } trace_line{trace, timer, sql};
  if (!open_) throw DbError{kErrConnectionRefused, "Veritabanı bağlantısı açık değil."};
  QSqlDatabase db = Db();
  QSqlQuery query(db);
  query.setForwardOnly(true);
  QString text = To_Engine_Dialect(Own_Database_Unqualified(sql), engine_);
  bool ok;
  if (values) {
    ok = query.prepare(text);
    if (ok) {
      for (const QVariant& v : *values) query.addBindValue(v);
      ok = query.exec();
    }
  } else {
    ok = query.exec(text);
  }
  if (!ok) throw To_Db_Error(query.lastError(), engine_);
  QueryResult result;
  result.has_rows = query.isSelect();
  result.rows_affected = query.numRowsAffected();
  // PostgreSQL's driver asks the server for lastval() here, which fails (and spoils the rows
  // still to be read) after a statement that used no sequence; its new keys come back through
  // INSERT ... RETURNING instead.
  if (engine_ != Engine::Postgres) result.last_insert_id = query.lastInsertId();
  if (result.has_rows) {
    QSqlRecord record = query.record();
    int n = record.count();
    for (int i = 0; i < n; ++i) result.columns << record.fieldName(i);
    if (engine_ == Engine::Postgres) result.columns = Spelled_As_Written(result.columns, sql);
    while (query.next()) {
      std::vector<QVariant> row;
      row.reserve(n);
      for (int i = 0; i < n; ++i) row.push_back(Stored_Form(query.value(i)));
      result.rows.push_back(std::move(row));
    }
    if (query.lastError().isValid()) throw To_Db_Error(query.lastError(), engine_);
  }
  return result;
}

QString Connection::Own_Database_Unqualified(const QString& sql) const {
  // "<this database>.dbo.X" is X itself: the embedded engine knows the open file as "main".
  if (own_prefix_.pattern().isEmpty() || !sql.contains(database_, Qt::CaseInsensitive)) return sql;
  return QString(sql).replace(own_prefix_, QString());
}

void Connection::Execute_Batch(const QString& sql, const std::vector<std::vector<QVariant>>& rows) {
  if (!open_) throw DbError{kErrConnectionRefused, "Veritabanı bağlantısı açık değil."};
  QSqlDatabase db = Db();
  db.transaction();
  QSqlQuery query(db);
  if (!query.prepare(To_Engine_Dialect(Own_Database_Unqualified(sql), engine_))) {
    db.rollback();
    throw To_Db_Error(query.lastError(), engine_);
  }
  for (const auto& values : rows) {
    for (int i = 0; i < static_cast<int>(values.size()); ++i) query.bindValue(i, values[i]);
    if (!query.exec()) {
      DbError e = To_Db_Error(query.lastError(), engine_);
      db.rollback();
      throw e;
    }
  }
  if (!db.commit()) throw To_Db_Error(db.lastError(), engine_);
}

void Connection::Begin_Transaction(bool for_writing) {
  if (!open_) throw DbError{kErrConnectionRefused, "Veritabanı bağlantısı açık değil."};
  if (in_transaction_) throw DbError{kErrStatement, "Bağlantıda zaten açık bir işlem var."};
  QSqlDatabase db = Db();
  if (for_writing && engine_ == Engine::Sqlite) {
    // The write lock is taken at the start (waiting up to the busy timeout), so two writers
    // queue instead of one failing half-way when it first writes.
    QSqlQuery begin(db);
    if (!begin.exec("BEGIN IMMEDIATE")) throw To_Db_Error(begin.lastError(), engine_);
  } else if (!db.transaction()) {
    throw To_Db_Error(db.lastError(), engine_);
  }
  in_transaction_ = true;
}

void Connection::Commit() {
  if (!in_transaction_) throw DbError{kErrStatement, "Bağlantıda açık bir işlem yok."};
  QSqlDatabase db = Db();
  if (!db.commit()) {
    DbError e = To_Db_Error(db.lastError(), engine_);
    Rollback();
    throw e;
  }
  in_transaction_ = false;
}

void Connection::Rollback() {
  if (!in_transaction_) return;
  in_transaction_ = false;
  Db().rollback();
}

bool Connection::Is_Read_Only_Statement(const QString& sql) const {
  if (!Is_Single_Select(sql)) return false;
  if (engine_ != Engine::Sqlite || !open_) return true;
  const QByteArray text = To_Engine_Dialect(Own_Database_Unqualified(sql), engine_).toUtf8();
  QVariant handle = Db().driver()->handle();
  auto* sqlite = *static_cast<sqlite3* const*>(handle.data());
  sqlite3_stmt* statement = nullptr;
  const char* tail = nullptr;
  if (sqlite3_prepare_v2(sqlite, text.constData(), static_cast<int>(text.size()), &statement,
                         &tail) != SQLITE_OK) {
    sqlite3_finalize(statement);
    return true;  // not a statement the engine knows: running it reports the error
  }
  const bool read_only =
      statement && sqlite3_stmt_readonly(statement) && QByteArray(tail).trimmed().isEmpty();
  sqlite3_finalize(statement);
  return read_only;
}

QString Connection::Primary_Key(const QString& table) const {
  // Asked on every write of a recordset: each table's key is looked up once per connection.
  auto known = primary_keys_.find(table);
  if (known != primary_keys_.end()) return known->second;
  return primary_keys_[table] = Look_Up_Primary_Key(table);
}

QString Connection::Look_Up_Primary_Key(const QString& table) const {
  QString name = table;
  if (engine_ == Engine::Sqlite) {
    // Keys of the program's own tables are INTEGER PRIMARY KEY columns.
    QSqlQuery query(Db());
    QString schema = "main";
    int dot = name.lastIndexOf('.');
    if (dot >= 0) {
      schema = name.left(name.indexOf('.'));
      name = name.mid(dot + 1);
    }
    if (query.exec("PRAGMA " + schema + ".table_info(" + name + ")")) {
      while (query.next())
        if (query.value(5).toInt() == 1) return query.value(1).toString();
    }
    return {};
  }
  if (engine_ == Engine::Postgres) {
    // The schema-qualified or bare name, folded as PostgreSQL folds unquoted names.
    QSqlQuery query(Db());
    query.prepare(
        "SELECT a.attname FROM pg_index i JOIN pg_attribute a ON a.attrelid = i.indrelid AND "
        "a.attnum = ANY(i.indkey) WHERE i.indisprimary AND i.indrelid = to_regclass(?)");
    query.addBindValue(name);
    if (query.exec() && query.next()) return query.value(0).toString();
    return {};
  }
  QSqlIndex index = Db().primaryIndex(name);
  return index.isEmpty() ? QString() : index.fieldName(0);
}
