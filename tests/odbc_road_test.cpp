// The ODBC road (unixODBC, a DSN-less connection string) exercised for what does not depend on
// the SQL dialect: connecting in the two login forms, refused logins and their messages, a
// recordset read and an update. No SQL Server runs here, so a private odbcinst.ini gives the
// driver name the connection asks for ("FreeTDS") to PostgreSQL's ODBC driver, and the
// connection reaches the test's database on the pg/ cluster. Runs only as pg/OdbcRoad.*.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "db/connection.h"
#include "db/open_connection.h"
#include "db/recordset.h"
#include "support/test_server.h"

namespace {

QString Postgres_Odbc_Driver() {
  for (const QString& folder : QDir("/usr/lib").entryList({"*-linux-gnu*"}, QDir::Dirs)) {
    const QString driver = "/usr/lib/" + folder + "/odbc/psqlodbcw.so";
    if (QFile::exists(driver)) return driver;
  }
  return {};
}

// The libpq keyword `key` of a "pg:" server name.
QString Keyword(const QString& server, const QString& key) {
  for (const QString& part : server.mid(3).split(' ', Qt::SkipEmptyParts))
    if (part.startsWith(key + "=")) return part.mid(key.size() + 1);
  return {};
}

class OdbcRoad : public ::testing::Test {
 protected:
  void SetUp() override {
    const QString driver = Postgres_Odbc_Driver();
    ASSERT_FALSE(driver.isEmpty()) << "PostgreSQL's ODBC driver (odbc-postgresql) not installed";
    ASSERT_TRUE(server_.Is_Postgres()) << "runs on the pg/ cluster only";
    QFile ini(config_.filePath("odbcinst.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(("[FreeTDS]\nDriver=" + driver + "\n").toUtf8());
    ini.close();
    qputenv("ODBCSYSINI", config_.path().toUtf8());
    const QString pg = server_.Server(QString());
    database_ = Keyword(pg, "dbname");
    // The socket folder and the port as the ODBC driver takes them; not a folder itself, so
    // the connection takes the ODBC road.
    odbc_server_ = Keyword(pg, "host") + ";Port=" + Keyword(pg, "port");
  }

  TestServer server_;
  QTemporaryDir config_;
  QString database_;
  QString odbc_server_;
};

}  // namespace

TEST_F(OdbcRoad, ConnectsReadsAndUpdates) {
  ASSERT_EQ(Engine_For_Server(odbc_server_), Engine::SqlServer);
  auto db = std::make_shared<Connection>();
  db->Open(odbc_server_, database_, "postgres", "", false);
  ASSERT_TRUE(db->Is_Open());
  EXPECT_EQ(db->engine(), Engine::SqlServer);
  db->Execute("CREATE TABLE odbc_deneme (Kod INTEGER PRIMARY KEY, Ad VARCHAR(20))");
  db->Execute("INSERT INTO odbc_deneme (Kod, Ad) VALUES (1, 'Merkez'), (2, 'Şube')");

  Recordset rs;
  rs.Open(db, "SELECT Kod, Ad FROM odbc_deneme ORDER BY Kod", LockType::BatchOptimistic);
  ASSERT_EQ(rs.Record_Count(), 2);
  EXPECT_EQ(rs.Field("Kod").toInt(), 1);
  EXPECT_EQ(rs.Text("Ad"), "Merkez");
  rs.Move_Next();
  EXPECT_EQ(rs.Text("Ad"), "Şube");  // Turkish letters through the driver
  rs.Set_Field("Ad", "Ankara Şube");
  rs.Update_Batch();

  Recordset again;
  again.Open(db, "SELECT Ad FROM odbc_deneme WHERE Kod = 2", LockType::ReadOnly);
  ASSERT_EQ(again.Record_Count(), 1);
  EXPECT_EQ(again.Text("Ad"), "Ankara Şube");

  // The Windows-login form: the user as typed, blanks trimmed.
  Connection integrated;
  integrated.Open(odbc_server_, database_, " postgres ", "", true);
  EXPECT_TRUE(integrated.Is_Open());
}

TEST_F(OdbcRoad, TheFormThatOpenedAndRefusedLogins) {
  OpenedConnection opened = Open_Connection("postgres", "", database_, odbc_server_);
  ASSERT_TRUE(opened.connection && opened.connection->Is_Open());
  EXPECT_EQ(opened.connection_string,
            Sql_Login_Connection_String("postgres", "", database_, odbc_server_));

  // A login the server does not know: refused in both forms, with the server's reason, and told
  // apart from other failures (the login counts it as a failed attempt).
  try {
    Open_Connection("kimse_yok", "", database_, odbc_server_);
    ADD_FAILURE() << "an unknown login connected";
  } catch (const DbError& e) {
    EXPECT_EQ(e.Number, kErrLoginRefused);
    EXPECT_TRUE(e.Description.contains("kimse_yok")) << e.Description.toStdString();
  }
  // A database that is not there.
  try {
    Connection db;
    db.Open(odbc_server_, "yok_boyle_bir_veritabani", "postgres", "", false);
    ADD_FAILURE() << "a missing database connected";
  } catch (const DbError& e) {
    EXPECT_EQ(e.Number, kErrConnectionRefused);
    EXPECT_TRUE(e.Description.contains("yok_boyle_bir_veritabani")) << e.Description.toStdString();
  }
}
