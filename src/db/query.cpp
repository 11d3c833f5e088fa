#include "db/query.h"

#include "db/recordset.h"

namespace {

void Show_Failure(const DbSession& db, const DbError& e, const QString& sql) {
  if (db.show_error) {
    db.show_error(e.Description);
    db.show_error(sql);
  }
}

void Open_With_Lock(const DbSession& db, Recordset& rs, const QString& sql, LockType lock) {
  try {
    rs.Close();
    rs.Open(db.connection, sql, lock);
  } catch (const DbError& e) {
    rs.Close();
    Show_Failure(db, e, sql);
  }
}

}  // namespace

void Open_Recordset(const DbSession& db, Recordset& rs, const QString& sql) {
  Open_With_Lock(db, rs, sql, LockType::ReadOnly);
}

void Open_Update_Recordset(const DbSession& db, Recordset& rs, const QString& sql) {
  Open_With_Lock(db, rs, sql, LockType::BatchOptimistic);
}

bool Read_Each_Row(const DbSession& db, const QString& sql, const Connection::RowReader& row) {
  try {
    if (!db.connection) throw DbError{kErrConnectionRefused, "Veritabanı bağlantısı açık değil."};
    db.connection->Execute_Each_Row(sql, row);
    return true;
  } catch (const DbError& e) {
    Show_Failure(db, e, sql);
    return false;
  }
}
