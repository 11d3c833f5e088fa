#include "db/query.h"

#include "app/app_state.h"

namespace {

void Open_With_Lock(AppState& state, Recordset& rs, const QString& sql, LockType lock) {
  try {
    rs.Close();
    rs.Open(state.Db_Connection, sql, lock);
  } catch (const DbError& e) {
    rs.Close();
    state.Message->Critical(e.Description);
    state.Message->Critical(sql);
  }
}

}  // namespace

void Open_Recordset(AppState& state, Recordset& rs, const QString& sql) {
  Open_With_Lock(state, rs, sql, LockType::ReadOnly);
}

void Open_Update_Recordset(AppState& state, Recordset& rs, const QString& sql) {
  Open_With_Lock(state, rs, sql, LockType::BatchOptimistic);
}
