// Start-up: the command line of five fields ("database|server|user id|sql user|password",
// "æ" for an empty password), the regional-settings check, the user's report right, and
// Open_Company, which both roads (command line and login window) take to open a company.
#pragma once

#include <QString>
#include <functional>

struct AppState;

// Opens the program's connection into Db_Connection and Connection_String. A failure leaves an
// unopened connection there and throws DbError.
void Open_Connection(AppState& state, const QString& user, const QString& password,
                     const QString& database, const QString& server);
// The first line of sys.inf; shows the connection-settings message and ends the program
// (ProgramEnd) when there is none.
QString Read_Connection_File(AppState& state);

// Splits the command-line text into Parametreler and the five globals; an empty text leaves
// Parametreler(1) = "-1". Too few fields: message, then ProgramEnd.
void Parse_Command_Line(AppState& state, const QString& command_line);
// The last wrong regional setting: "ONDALIK" (decimal), "BASAMAK" (thousands), "TARIH" (date
// separator or short date); "" when all are right.
QString Regional_Settings_Fault();
// Sets the system separators; offers to fix wrong settings (ProgramEnd on No).
void Check_Regional_Settings(AppState& state);
// Sets Report_Right from the user's row of Defination_DB.dbo.Kullanici. Throws DbError.
void Check_Report_Right(AppState& state);
// Connects, checks, loads the company and calls `show_run_window` when the user may see the
// report. Every failure ends with its message and ProgramEnd.
void Open_Company(AppState& state, const std::function<void()>& show_run_window);
