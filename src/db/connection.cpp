#include "db/connection.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

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
  Drop_Work_Mark();
  { QSqlDatabase::database(name_, false).close(); }
  QSqlDatabase::removeDatabase(name_);
}

QSqlDatabase Connection::Db() const { return QSqlDatabase::database(name_, false); }

bool Connection::Is_Open() const { return open_; }

void Connection::Open(const QString& server, const QString& database, const QString& user,
                      const QString& password, bool integrated, bool read_only) {
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
      if (read_only) db.setConnectOptions("QSQLITE_OPEN_READONLY");
      if (!db.open()) throw To_Db_Error(db.lastError(), engine_);
      QVariant handle = db.driver()->handle();
      auto* sqlite = *static_cast<sqlite3* const*>(handle.data());
      Register_Date_Collation(sqlite);
      sqlite3_busy_timeout(sqlite, 5000);
      open_ = true;
      own_prefix_ = QRegularExpression("\\b" + QRegularExpression::escape(database) + "\\.dbo\\.",
                                       QRegularExpression::CaseInsensitiveOption);
      if (!read_only) {
        Execute("PRAGMA journal_mode=WAL");
        Execute("PRAGMA synchronous=NORMAL");
      }
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
      // A lock is waited for as long as on the embedded engine (its busy timeout), then
      // refused (DbError::Is_Lock_Timeout()) instead of waiting without end.
      Execute("SET lock_timeout TO '5s'");
      if (read_only) Execute("SET default_transaction_read_only TO on");
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

QueryResult Connection::Execute_Each_Row(const QString& sql, const RowReader& row) {
  return Run(sql, nullptr, &row);
}

QueryResult Connection::Run(const QString& sql, const std::vector<QVariant>* values,
                            const RowReader* each_row) {
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
      if (each_row)
        (*each_row)(row);
      else
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
  Drop_Work_Mark();
}

void Connection::Rollback() {
  if (!in_transaction_) return;
  in_transaction_ = false;
  Db().rollback();
  Drop_Work_Mark();
}

namespace {

// The key of a scope's marks on PostgreSQL: one per schema (suite database) and scope.
QString Mark_Key(qint64 scope) {
  return "hashtext(current_schema() || ':" + QString::number(scope) + "')";
}

// An open-file-description lock on byte `work` of the marks file: held by the open file, so
// another connection of the same process sees it too, and gone when the process dies.
bool Byte_Lock(int fd, int work, short type, int command, short* found = nullptr) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = work;
  lock.l_len = 1;
  if (fcntl(fd, command, &lock) != 0) return false;
  if (found) *found = lock.l_type;
  return true;
}

}  // namespace

QString Connection::Work_Marks_File() const { return Db().databaseName() + "-work"; }

void Connection::Mark_Work(int work, qint64 scope) {
  if (!in_transaction_ || work <= 0) return;
  if (engine_ == Engine::Postgres) {
    Execute("SELECT pg_advisory_xact_lock_shared(" + Mark_Key(scope) + ", " +
            QString::number(work) + ")");
  } else if (engine_ == Engine::Sqlite && work_mark_fd_ < 0) {
    const int fd = ::open(QFile::encodeName(Work_Marks_File()).constData(),
                          O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return;  // no mark: a refused connection then names no work
    if (Byte_Lock(fd, work, F_RDLCK, F_OFD_SETLK))
      work_mark_fd_ = fd;
    else
      ::close(fd);
  }
}

int Connection::Marked_Work(qint64 scope) {
  if (engine_ == Engine::Postgres) {
    const QueryResult found = Execute(
        "SELECT objid FROM pg_locks WHERE locktype = 'advisory' AND granted AND objsubid = 2 "
        "AND pid <> pg_backend_pid() AND database = (SELECT oid FROM pg_database WHERE datname "
        "= current_database()) AND classid = " +
        Mark_Key(scope) + "::oid");
    return found.rows.empty() ? 0 : found.rows[0][0].toInt();
  }
  if (engine_ != Engine::Sqlite) return 0;
  const int fd = ::open(QFile::encodeName(Work_Marks_File()).constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return 0;
  int marked = 0;
  for (int work = 1; work <= 8 && marked == 0; ++work) {
    short type = F_UNLCK;
    if (Byte_Lock(fd, work, F_WRLCK, F_OFD_GETLK, &type) && type != F_UNLCK) marked = work;
  }
  ::close(fd);
  return marked;
}

void Connection::Drop_Work_Mark() {
  if (work_mark_fd_ < 0) return;
  ::close(work_mark_fd_);
  work_mark_fd_ = -1;
}

bool Connection::Postgres_Reads_Only(const QString& sql) {
  // Planned, then run to its last row, inside a read-only transaction (a savepoint of the open
  // one): a data-modifying statement or one that locks rows fails there; the plan names the
  // functions. Any failure refuses the statement. Nothing of it stays.
  const bool own = !in_transaction_;
  bool reads_only = false;
  try {
    if (own) {
      Execute("BEGIN TRANSACTION READ ONLY");
    } else {
      Execute("SAVEPOINT malitablo_read_only");
      Execute("SET TRANSACTION READ ONLY");
    }
    QString plan;
    for (const auto& row : Execute("EXPLAIN (VERBOSE, FORMAT JSON) " + sql).rows)
      for (const QVariant& value : row) plan += value.toString();
    if (Plan_Reads_Only(plan)) {
      Execute("DECLARE malitablo_read_only NO SCROLL CURSOR FOR " + sql);
      Execute("MOVE FORWARD ALL IN malitablo_read_only");
      reads_only = true;
    }
  } catch (const DbError&) {
    reads_only = false;
  }
  try {
    if (own) {
      Execute("ROLLBACK");
    } else {
      Execute("ROLLBACK TO SAVEPOINT malitablo_read_only");
      Execute("RELEASE SAVEPOINT malitablo_read_only");
    }
  } catch (const DbError&) {
    return false;
  }
  return reads_only;
}

bool Connection::Is_Read_Only_Statement(const QString& sql) {
  if (!Is_Single_Select(sql)) return false;
  if (!open_) return true;
  if (engine_ == Engine::Postgres) return Postgres_Reads_Only(sql);
  if (engine_ != Engine::Sqlite) return true;
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
