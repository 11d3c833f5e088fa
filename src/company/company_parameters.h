// The company's settings, read from its row of Defination_DB.dbo.sysfrmlng into the process
// state: company id and name, fiscal year, the decimals and number formats of amounts, and the
// suite's company flags. Every column must exist: a missing one means the definitions database
// is older than the program, and the suite's update tool is offered.
#pragma once

#include <QString>

struct AppState;

// File name of the suite's database update tool in the program folder.
inline const char* kUpdateToolName = "VeloraGuncelle";

// Returns only on success; on any failure shows its message and throws ProgramEnd.
void Load_Company_Parameters(AppState& state);
