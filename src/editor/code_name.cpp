// Checks and results of the code and name dialog.
#include "editor/code_name.h"

#include "editor/definition_editing.h"
#include "process/app_state.h"
#include "process/messages.h"

QString Code_Name_Refusal(const QString& code, const QString& name) {
  if (code.trimmed().isEmpty()) return "Lütfen Tablo Kodunu Giriniz";
  if (name.trimmed().isEmpty()) return "Lütfen Tablo Adını Giriniz";
  const QString code_refusal = Length_Refusal("Tablo Kodu", code.trimmed(), kTableCodeLength);
  if (!code_refusal.isEmpty()) return code_refusal;
  return Length_Refusal("Tablo Adı", name.trimmed(), kTableNameLength);
}

CodeNameStart Code_Name_Start(const AppState& state) {
  return {state.Table_Code, state.Table_Name};
}

bool Code_Name_Confirm(AppState& state, const QString& code, const QString& name) {
  const QString refusal = Code_Name_Refusal(code, name);
  if (!refusal.isEmpty()) {
    state.Message->Critical(refusal);
    return false;
  }
  state.Table_Code = code.trimmed();
  state.Table_Name = name.trimmed();
  return true;
}

void Code_Name_Cancel(AppState& state, const CodeNameStart& start) {
  state.Child_Cancelled = true;
  state.Table_Code = start.code;
  state.Table_Name = start.name;
}
