#include "model/statement_lock.h"

#include <algorithm>

#include "db/connection.h"
#include "db/query.h"
#include "db/recordset.h"

namespace {

QString Lock_Header_Sql(Engine engine, qint64 table_id) {
  const QString id = QString::number(table_id);
  if (engine == Engine::SqlServer)
    return "SELECT Rapor_ID FROM MUHASEBEMALITABLOKART WITH (UPDLOCK, ROWLOCK) WHERE Rapor_ID=" +
           id;
  return "SELECT Rapor_ID FROM MUHASEBEMALITABLOKART WHERE Rapor_ID=" + id + " FOR UPDATE";
}

DbError Busy(Connection& connection, qint64 table_id) {
  int marked = 0;
  try {
    marked = connection.Marked_Work(table_id);
  } catch (const DbError&) {
    // Without the marks the message names the usual holder: a run.
  }
  return {kErrStatementBusy,
          QString::fromUtf8(marked == static_cast<int>(StatementWork::Save) ? kSaveLockedMessage
                                                                            : kRunLockedMessage)};
}

}  // namespace

void Begin_Statement_Work(Connection& connection, StatementWork work,
                          std::vector<qint64> table_ids) {
  std::sort(table_ids.begin(), table_ids.end());
  table_ids.erase(std::unique(table_ids.begin(), table_ids.end()), table_ids.end());
  const qint64 first = table_ids.empty() ? 0 : table_ids.front();
  try {
    connection.Begin_Transaction(true);
  } catch (const DbError& e) {
    if (e.Is_Lock_Timeout()) throw Busy(connection, first);
    throw;
  }
  qint64 locking = first;
  try {
    // The embedded engine's transaction holds the database's write lock already.
    if (connection.engine() != Engine::Sqlite)
      for (qint64 id : table_ids) {
        locking = id;
        connection.Execute(Lock_Header_Sql(connection.engine(), id));
      }
    for (qint64 id : table_ids) connection.Mark_Work(static_cast<int>(work), id);
    if (table_ids.empty()) connection.Mark_Work(static_cast<int>(work), 0);
  } catch (const DbError& e) {
    connection.Rollback();
    if (!e.Is_Lock_Timeout()) throw;
    throw Busy(connection, locking);
  }
}

std::vector<qint64> Statement_Table_Ids(const DbSession& db, const QString& statement_sql) {
  Recordset rows;
  Open_Recordset(db, rows, statement_sql);
  std::vector<qint64> ids;
  if (!rows.Is_Open()) throw DbError{kErrObjectClosed, {}};
  for (; !rows.Eof(); rows.Move_Next()) ids.push_back(rows.Field("Rapor_ID").toLongLong());
  std::sort(ids.begin(), ids.end());
  ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
  return ids;
}
