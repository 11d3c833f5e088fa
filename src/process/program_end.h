// Ending the program from inside logic. Start-up failures and the user's refusals end the
// program after their message; logic throws ProgramEnd and the entry point returns its code,
// so tests can watch a road that would end the process. The message has been shown before the
// throw; what() only names the event.
#pragma once

#include <stdexcept>

struct ProgramEnd : std::runtime_error {
  explicit ProgramEnd(int code = 1)
      : std::runtime_error("Program sonlandırıldı."), exit_code(code) {}

  int exit_code = 1;
};
