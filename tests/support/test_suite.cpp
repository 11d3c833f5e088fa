#include "support/test_suite.h"

#include <QDir>

#include "app/start_up.h"
#include "db/connection.h"
#include "db/open_connection.h"
#include "db/query.h"
#include "db/recordset.h"
#include "db/registry.h"
#include "demo/demo_suite.h"
#include "demo/suite_schema.h"

TestSuite::TestSuite() {
  old_registry_ = qgetenv("MALITABLO_REGISTRY");
  qputenv("MALITABLO_REGISTRY", (dir_.path() + "/registry.ini").toUtf8());
  QDir(dir_.path()).mkpath("Rapor");
  state.Program_Folder = dir_.path() + "/Rapor";
  QDir().mkpath(Data_Folder());
  Create_Database(Server(), "Defination_DB");
  {
    Connection db;
    db.Open(Server(), "Defination_DB", "sa", "", false);
    Create_Definitions_Schema(db);
    db.Execute("INSERT INTO sysuslng (sysus_ID, sysus_nm, sysus) VALUES (1, 'ADMIN', '')");
    db.Execute(
        "INSERT INTO sysfrmlng (sysfrm_ID, sysfrm_nm, sysfrm_kd, sysfrm_dbnm, Mali_Yil_Baslangic, "
        "Mali_Yil_Bitis) VALUES (1, ' Deneme A.Ş. ', '001', 'FIRMA', '2026-01-01', '2026-12-31')");
    db.Execute("INSERT INTO Kullanici (Firma_ID, Kullanici_ID, CARR, CARB) VALUES (1, 1, 1, 1)");
    db.Execute("INSERT INTO Kullanici (Firma_ID, Kullanici_ID, CARR, CARB) VALUES (1, 2, 0, 0)");
    db.Execute(
        "INSERT INTO Kullanici (Firma_ID, Kullanici_ID, CARR, CARB) VALUES (1, 3, NULL, NULL)");
  }
  Create_Company_Database(Server(), Database());
  state.Server_Name = Server();
  state.Database_Name = Database();
  state.Sql_User = "sa";
}

TestSuite::~TestSuite() {
  state.Db_Connection.reset();
  if (old_registry_.isEmpty())
    qunsetenv("MALITABLO_REGISTRY");
  else
    qputenv("MALITABLO_REGISTRY", old_registry_);
}

QString TestSuite::Data_Folder() const { return dir_.path() + "/Veri"; }

void TestSuite::Connect() { Open_Connection(state, "sa", "", Database(), Server()); }

void TestSuite::Exec(const QString& sql) {
  Connection db;
  db.Open(Server(), Database(), "sa", "", false);
  db.Execute(sql);
}

void TestSuite::Exec_Definitions(const QString& sql) {
  Connection db;
  db.Open(Server(), "Defination_DB", "sa", "", false);
  db.Execute(sql);
}

int TestSuite::Count(const QString& from_where) {
  Recordset rs;
  Open_Recordset(state.Db(), rs, "SELECT COUNT(*) AS N FROM " + from_where);
  return rs.Field("N").toInt();
}

QString TestSuite::Plan(const QString& sql) {
  Recordset rs;
  Open_Recordset(state.Db(), rs, (On_Postgres() ? "EXPLAIN " : "EXPLAIN QUERY PLAN ") + sql);
  QString plan;
  for (; !rs.Eof(); rs.Move_Next()) plan += rs.Text(On_Postgres() ? "QUERY PLAN" : "detail") + "\n";
  return plan;
}

void TestSuite::Set_Regional_Settings() {
  const char* key = "Control Panel\\International";
  Registry_Write(Hive::HKEY_CURRENT_USER, key, "sDecimal", ",");
  Registry_Write(Hive::HKEY_CURRENT_USER, key, "sThousand", ".");
  Registry_Write(Hive::HKEY_CURRENT_USER, key, "sDate", ".");
  Registry_Write(Hive::HKEY_CURRENT_USER, key, "sShortDate", "dd.MM.yyyy");
}

QString TestSuite::Make_Demo() {
  Set_Regional_Settings();
  DemoOptions options;
  options.suite_folder = Demo_Folder();
  options.program_folder = MALITABLO_PROGRAM_DIR;
  Create_Demo_Suite(options);
  return QString(kDemoCompany) + "|" + Demo_Data_Folder(Demo_Folder()) + "|1|sa|" + QChar(0x00E6);
}

QString TestSuite::Command_Line(int user) const {
  return Database() + "|" + Server() + "|" + QString::number(user) + "|sa|" + QChar(0x00E6);
}
