// The code and name dialog's rules (RaporKodAdFrm, code_name_dialog): both must be filled in;
// confirmed, the trimmed texts go back through Table_Code and Table_Name; cancelled, those
// globals get their starting values again and Child_Cancelled is set. Whether the code is free
// is checked by the save (definition_editing.h).
#pragma once

#include <QString>

struct AppState;

// The refusal for a code and a name as typed: "Lütfen Tablo Kodunu Giriniz" for a blank code,
// "Lütfen Tablo Adını Giriniz" for a blank name, the length refusal of a code or name longer
// than its column, "" when both are right.
QString Code_Name_Refusal(const QString& code, const QString& name);

struct CodeNameStart {
  QString code;
  QString name;
};
// The dialog's load: the starting code and name from the state.
CodeNameStart Code_Name_Start(const AppState& state);
// KaydetBtn: false (the refusal shown) when a box is blank; else the trimmed texts are stored.
bool Code_Name_Confirm(AppState& state, const QString& code, const QString& name);
// CikisBtn: the starting values back, Child_Cancelled set.
void Code_Name_Cancel(AppState& state, const CodeNameStart& start);
