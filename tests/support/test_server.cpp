#include "support/test_server.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <stdexcept>

#include "db/postgres_server.h"

namespace {

QAtomicInt next_admin;

// Runs `sql` on the cluster's own "postgres" database; returns the error text, empty on success.
QString On_Cluster(const QString& cluster, const QString& sql) {
  const QString name = QString("malitablo-test-admin-%1").arg(next_admin.fetchAndAddOrdered(1));
  QString error;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", name);
    Configure_Postgres(db, cluster + " dbname=postgres", "postgres", "");
    if (!db.open()) {
      error = db.lastError().text();
    } else {
      QSqlQuery query(db);
      if (!query.exec(sql)) error = query.lastError().text();
      db.close();
    }
  }
  QSqlDatabase::removeDatabase(name);
  return error;
}

// The cluster named in MALITABLO_TEST_PG, else the one CTest's set-up started and wrote down.
QString Cluster() {
  QString cluster = qEnvironmentVariable("MALITABLO_TEST_PG");
  if (!cluster.isEmpty()) return cluster;
  QFile file(MALITABLO_PG_CLUSTER_FILE);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
  static const QRegularExpression line("^export MALITABLO_TEST_PG='(.*)'$");
  for (const QString& text : QString::fromUtf8(file.readAll()).split('\n')) {
    const auto m = line.match(text);
    if (m.hasMatch()) return m.captured(1);
  }
  return {};
}

}  // namespace

bool Test_On_Postgres() { return qgetenv("MALITABLO_TEST_ENGINE") == "pg"; }

TestServer::TestServer() {
  if (!Test_On_Postgres()) return;
  cluster_ = Cluster();
  if (!cluster_.startsWith("pg:"))
    throw std::runtime_error(
        "MALITABLO_TEST_ENGINE=pg needs MALITABLO_TEST_PG=\"pg:host=... port=... user=...\" "
        "(CTest's pg/cluster-start or scripts/test starts a cluster and names it)");
  database_ = QString("malitablo_test_%1_%2")
                  .arg(QCoreApplication::applicationPid())
                  .arg(QRandomGenerator::global()->generate());
  const QString error = On_Cluster(cluster_, "CREATE DATABASE " + database_);
  if (!error.isEmpty()) {
    database_.clear();
    throw std::runtime_error("PostgreSQL test database not made: " + error.toStdString());
  }
}

TestServer::~TestServer() {
  if (Is_Postgres()) On_Cluster(cluster_, "DROP DATABASE IF EXISTS " + database_ + " WITH (FORCE)");
}

QString TestServer::Server(const QString& folder) const {
  return Is_Postgres() ? cluster_ + " dbname=" + database_ : folder;
}
