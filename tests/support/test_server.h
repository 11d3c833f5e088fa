// The engine a test runs on. CTest runs the tests that touch a database twice: as they are, on
// the embedded engine, and under the name pg/... with MALITABLO_TEST_ENGINE=pg on the
// PostgreSQL cluster named in MALITABLO_TEST_PG, or else the one CTest's set-up started. There each
// test gets a PostgreSQL database of its own (its suite's databases are schemas in it), dropped at
// the end. Asked for PostgreSQL without a cluster, a test fails: it never quietly runs on the
// embedded engine instead.
#pragma once

#include <QString>

bool Test_On_Postgres();

class TestServer {
 public:
  // Makes the test's PostgreSQL database when the test runs on PostgreSQL; throws
  // std::runtime_error when it cannot.
  TestServer();
  ~TestServer();
  TestServer(const TestServer&) = delete;
  TestServer& operator=(const TestServer&) = delete;

  bool Is_Postgres() const { return !database_.isEmpty(); }
  // The server name the suite's databases are opened with: `folder` on the embedded engine,
  // "pg:... dbname=<the test's database>" on PostgreSQL.
  QString Server(const QString& folder) const;

 private:
  QString cluster_;   // the cluster's libpq text, "pg:..."
  QString database_;  // the test's own PostgreSQL database
};
