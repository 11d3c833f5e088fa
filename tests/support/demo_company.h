// A fixture over the demo suite, made once for the test suite (on the embedded engine, or on the
// PostgreSQL server the test engine names) and opened as the command line opens it: a registry
// of the test's own, the regional settings question answered, the first demo company.
#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>

#include "process/app_state.h"
#include "support/test_server.h"
#include "support/test_suite.h"

class DemoCompanyTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  void SetUp() override;
  void TearDown() override;
  // Opens the suite's `database` into `s` as the command line opens a company.
  static void Open_Demo_Database(AppState& s, const QString& database);

  static QTemporaryDir* dir_;
  static TestServer* server_;
  std::unique_ptr<QTemporaryDir> registry_;
  RecordingMessages messages;
  AppState state{messages};
};
