// The two procedures through which every query of the program is sent. They never raise: a
// failing statement shows its error description and then its text, and leaves the recordset
// closed, so the caller's next use of it fails in the caller's own handling.
#pragma once

#include <QString>

struct AppState;
class Recordset;

void Open_Recordset(AppState& state, Recordset& rs, const QString& sql);
void Open_Update_Recordset(AppState& state, Recordset& rs, const QString& sql);
