// A throw-away suite for a test: a temporary folder laid out like an installed suite
// (Rapor/ for the program, Veri/ for the databases, sys.inf), a registry file of its own,
// and an AppState with recorded messages. Its databases are on the test's engine
// (test_server.h): SQLite files in Veri/, or schemas of a PostgreSQL database of its own.
#pragma once

#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "process/app_state.h"
#include "process/messages.h"
#include "support/test_server.h"

class TestSuite {
  TestServer server_;  // made first, dropped last

 public:
  // Makes Defination_DB with one company `database` (id 1, user 1 with the report right) and
  // the company database with every table, empty.
  TestSuite();
  ~TestSuite();

  QString Root() const { return dir_.path(); }
  QString Data_Folder() const;
  // The server name the databases are opened with: Data_Folder() on the embedded engine.
  QString Server() const { return server_.Server(Data_Folder()); }
  bool On_Postgres() const { return server_.Is_Postgres(); }
  QString Database() const { return "FIRMA"; }
  // Opens the company database on state.Db_Connection.
  void Connect();
  // Runs statements on the company database (through its own connection).
  void Exec(const QString& sql);
  void Exec_Definitions(const QString& sql);
  // SELECT COUNT(*) FROM `from_where`, on state's connection.
  int Count(const QString& from_where);
  // The engine's plan for `sql` on state's connection, a line per step.
  QString Plan(const QString& sql);
  // Correct regional settings, so no question is asked.
  void Set_Regional_Settings();
  // Makes the demo suite in Demo_Folder() with the regional settings set, and returns the
  // command line that opens its first company.
  QString Make_Demo();
  QString Demo_Folder() const { return Root() + "/demo"; }
  QString Command_Line(int user = 1) const;

  RecordingMessages messages;
  AppState state{messages};

 private:
  QTemporaryDir dir_;
  QByteArray old_registry_;
};
