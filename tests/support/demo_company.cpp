#include "support/demo_company.h"

#include "app/start_up.h"
#include "demo/demo_suite.h"

QTemporaryDir* DemoCompanyTest::dir_ = nullptr;
TestServer* DemoCompanyTest::server_ = nullptr;

void DemoCompanyTest::SetUpTestSuite() {
  dir_ = new QTemporaryDir;
  server_ = new TestServer;
  DemoOptions options;
  options.suite_folder = dir_->path();
  options.program_folder = MALITABLO_PROGRAM_DIR;
  if (server_->Is_Postgres()) options.server = server_->Server(QString());
  Create_Demo_Suite(options);
}

void DemoCompanyTest::TearDownTestSuite() {
  delete server_;
  server_ = nullptr;
  delete dir_;
  dir_ = nullptr;
}

void DemoCompanyTest::SetUp() {
  registry_.reset(new QTemporaryDir);
  qputenv("MALITABLO_REGISTRY", (registry_->path() + "/registry.ini").toUtf8());
  messages.Answer(true);  // the regional settings question of a fresh registry
  Open_Demo_Database(state, kDemoCompany);
  messages.entries.clear();
}

void DemoCompanyTest::Open_Demo_Database(AppState& s, const QString& database) {
  s.Program_Folder = MALITABLO_PROGRAM_DIR;
  Parse_Command_Line(s, database + "|" + server_->Server(Demo_Data_Folder(dir_->path())) +
                            "|1|sa|" + QChar(0xE6));
  Open_Company(s, [] {});
}

void DemoCompanyTest::TearDown() { qunsetenv("MALITABLO_REGISTRY"); }
