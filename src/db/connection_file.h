// The suite's connection file sys.inf. It lies in the suite's folder: the program folder is cut
// just before the path part that begins with "Rapor". Only the first line is read; it holds up
// to five fields separated by ";" (server, SQL login, password, server-box flag, unused).
#pragma once

#include <QString>
#include <QStringList>

// The path of sys.inf for a program folder; "" when the folder holds no "Rapor".
QString Connection_File_Path(const QString& program_folder);
// The first line of sys.inf beside `program_folder`; "" when there is none.
QString Read_Connection_File(const QString& program_folder);
// The five fields of the line (missing ones empty, later ones dropped).
QStringList Connection_File_Fields(const QString& line);
