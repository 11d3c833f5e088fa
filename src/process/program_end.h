// Ending the program from inside logic. Start-up failures and the user's refusals end the
// program after their message; logic throws ProgramEnd and the entry point returns its code,
// so tests can watch a road that would end the process.
#pragma once

struct ProgramEnd {
  int exit_code = 1;
};
