// The procedures through which every query of the program is sent. They never raise: a
// failing statement shows its error description and then its text, and leaves the recordset
// closed (or returns false), so the caller's next use of it fails in the caller's own handling.
#pragma once

#include <QString>

#include "db/connection.h"
#include "db/db_session.h"

class Recordset;

void Open_Recordset(const DbSession& db, Recordset& rs, const QString& sql);
void Open_Update_Recordset(const DbSession& db, Recordset& rs, const QString& sql);
// Reads the rows of `sql` forward only, one at a time, without keeping them (a result too large
// to hold in a recordset); false when the statement failed, perhaps after some rows.
bool Read_Each_Row(const DbSession& db, const QString& sql, const Connection::RowReader& row);
