#include "db/query.h"

#include "db/recordset.h"

namespace {

void Open_With_Lock(const DbSession& db, Recordset& rs, const QString& sql, LockType lock) {
  try {
    rs.Close();
    rs.Open(db.connection, sql, lock);
  } catch (const DbError& e) {
    rs.Close();
    if (db.show_error) {
      db.show_error(e.Description);
      db.show_error(sql);
    }
  }
}

}  // namespace

void Open_Recordset(const DbSession& db, Recordset& rs, const QString& sql) {
  Open_With_Lock(db, rs, sql, LockType::ReadOnly);
}

void Open_Update_Recordset(const DbSession& db, Recordset& rs, const QString& sql) {
  Open_With_Lock(db, rs, sql, LockType::BatchOptimistic);
}
