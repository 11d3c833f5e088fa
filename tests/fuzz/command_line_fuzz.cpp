// The command line parser on any text: its fields joined again are the text, and a text of
// fewer than five fields ends the program after its message.
#include <QString>
#include <QStringList>

#include "app/start_up.h"
#include "fuzz_check.h"
#include "process/app_state.h"
#include "process/program_end.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString command_line = Fuzz_Text(data, size);
  SilentMessages messages;
  AppState state(messages);
  bool ended = false;
  try {
    Parse_Command_Line(state, command_line);
  } catch (const ProgramEnd& end) {
    ended = true;
    FUZZ_CHECK(end.exit_code != 0 && messages.shown == 1, command_line);
  }
  if (command_line.isEmpty()) {
    FUZZ_CHECK(state.Parametreler == QStringList({QString(), "-1"}) && !ended, command_line);
    return 0;
  }
  FUZZ_CHECK(state.Parametreler.size() >= 2, command_line);
  FUZZ_CHECK(state.Parametreler.mid(1).join('|') == command_line, command_line);
  FUZZ_CHECK(ended == (state.Parametreler.size() - 1 < 5), command_line);
  if (!ended) {
    FUZZ_CHECK(state.Database_Name == state.Parametreler[1], command_line);
    FUZZ_CHECK(state.Server_Name == state.Parametreler[2], command_line);
    FUZZ_CHECK(state.Sql_User == state.Parametreler[4], command_line);
  }
  return 0;
}
