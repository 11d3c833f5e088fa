// The login's surroundings in a test suite: the connection file beside the program folder,
// users with their encoded passwords and companies in Defination_DB, and the start-up
// procedures the login calls, wired to the suite's state.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <initializer_list>

#include "login/login.h"
#include "support/test_suite.h"

// Writes the first line of sys.inf for the suite's program folder.
void Write_Connection_File(const TestSuite& t, const QString& line);
// The suite's own data folder as the server, the "sa" login, no password, no server box.
QString Suite_Connection_Line(const TestSuite& t);
// A user of Defination_DB (replacing one with the same id) with the companies (sysfrm_ID)
// it may open.
void Add_Login_User(TestSuite& t, int id, const QString& name, const QString& password,
                    std::initializer_list<int> companies);
// A second company of the suite's definitions, "İKİNCİ FİRMA" (id 2), on database FIRMA2.
void Add_Second_Company(TestSuite& t);

// The real start-up procedures on the suite's state; `calls` records their names in order and
// Open_Company shows the run window through `run_window`.
LoginStartUp Suite_Start_Up(TestSuite& t, QStringList& calls, std::function<void()> run_window);
