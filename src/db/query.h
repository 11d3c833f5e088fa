// The two procedures through which every query of the program is sent. They never raise: a
// failing statement shows its error description and then its text, and leaves the recordset
// closed, so the caller's next use of it fails in the caller's own handling.
#pragma once

#include <QString>

#include "db/db_session.h"

class Recordset;

void Open_Recordset(const DbSession& db, Recordset& rs, const QString& sql);
void Open_Update_Recordset(const DbSession& db, Recordset& rs, const QString& sql);
