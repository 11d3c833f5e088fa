// The one database connection of the program. The server name picks the engine: a folder (or
// "sqlite:FOLDER") is the embedded SQLite engine, one file per database with Defination_DB
// attached; "pg:" and a libpq connection string is PostgreSQL; anything else is SQL Server
// through ODBC. Statements are given in the suite's dialect and rewritten for the engine.
#pragma once

#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "db/db_error.h"
#include "db/sql_dialect.h"

class QSqlDatabase;

struct QueryResult {
  bool has_rows = false;  // false for statements that return no result set
  QStringList columns;
  std::vector<std::vector<QVariant>> rows;
  int rows_affected = -1;
  QVariant last_insert_id;
};

class Connection {
 public:
  Connection();
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Opens `database` on `server`; throws DbError when the engine refuses. `integrated` is the
  // Windows-login form, which servers that know no such login treat as the SQL login.
  // `read_only` opens it for reading alone where the engine allows (the embedded engine's file
  // opened read-only, PostgreSQL's transactions read-only); SQL Server opens it as it is.
  void Open(const QString& server, const QString& database, const QString& user,
            const QString& password, bool integrated, bool read_only = false);
  bool Is_Open() const;
  Engine engine() const { return engine_; }
  QString Database_Name() const { return database_; }

  QueryResult Execute(const QString& sql);
  // Runs `sql` with positional values bound (the recordset's own writes).
  QueryResult Execute_Bound(const QString& sql, const std::vector<QVariant>& values);
  // Runs a query read forward only, handing its rows to `row` one at a time and keeping none:
  // for results too large to hold. The result's columns (and no rows) are returned.
  using RowReader = std::function<void(const std::vector<QVariant>& values)>;
  QueryResult Execute_Each_Row(const QString& sql, const RowReader& row);
  // Runs one statement for each row of values inside a single transaction (bulk loads).
  void Execute_Batch(const QString& sql, const std::vector<std::vector<QVariant>>& rows);
  // One transaction over the statements that follow, up to Commit or Rollback. Begin and Commit
  // throw DbError when the engine refuses; Rollback never throws. A transaction for writing
  // takes the embedded engine's write lock at once, so concurrent writers wait for each other
  // (a lock not granted in time is DbError::Is_Lock_Timeout()).
  void Begin_Transaction(bool for_writing = false);
  void Commit();
  void Rollback();
  bool In_Transaction() const { return in_transaction_; }
  // Marks the open transaction as doing `work` (a small number > 0) on `scope` until it ends,
  // so that a connection refused a lock can tell whose work it waited for: Marked_Work gives
  // the work another connection marked on `scope`, 0 when none. The embedded engine locks the
  // whole database, so there a mark covers every scope. SQL Server keeps no marks.
  void Mark_Work(int work, qint64 scope);
  int Marked_Work(qint64 scope);
  QString Primary_Key(const QString& table) const;
  // True when `sql` is one statement that only reads: the engine's own test where it has one
  // (the embedded engine prepares it and asks), else the text's shape (Is_Single_Select).
  // On PostgreSQL the statement is also planned and run inside a read-only savepoint: a plan
  // with a data-modifying node or a function Plan_Reads_Only does not allow is refused.
  bool Is_Read_Only_Statement(const QString& sql);

  static QString Sqlite_Folder(const QString& server);

 private:
  QueryResult Run(const QString& sql, const std::vector<QVariant>* values,
                  const RowReader* each_row = nullptr);
  QString Own_Database_Unqualified(const QString& sql) const;
  QString Look_Up_Primary_Key(const QString& table) const;
  QSqlDatabase Db() const;
  bool Postgres_Reads_Only(const QString& sql);
  QString Work_Marks_File() const;
  void Drop_Work_Mark();

  QString name_;
  QString database_;
  Engine engine_ = Engine::Sqlite;
  bool open_ = false;
  bool in_transaction_ = false;
  int work_mark_fd_ = -1;  // the embedded engine's mark of the open transaction
  QRegularExpression own_prefix_;
  mutable std::map<QString, QString>
      primary_keys_;  // "<database>.dbo." on the embedded engine; empty otherwise
};

Engine Engine_For_Server(const QString& server);
