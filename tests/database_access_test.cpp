// Database access: the dialect step, dates against both literal forms, the recordset subset,
// the query procedures' failure road, sys.inf, the connection strings and the registry.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "app/start_up.h"
#include "db/connection.h"
#include "db/connection_file.h"
#include "db/open_connection.h"
#include "db/query.h"
#include "db/recordset.h"
#include "db/registry.h"
#include "db/sql_dialect.h"
#include "process/program_end.h"
#include "support/case_file.h"
#include "support/test_suite.h"

using SqlDialect = CaseFileTest;

TEST_P(SqlDialect, RewritesForTheEngine) {
  for (const CaseLine& line : Read_Case_File(GetParam())) {
    const QStringList& c = line.fields;
    ASSERT_EQ(c.size(), 2) << line.Where();
    ASSERT_TRUE(QStringList({"Sqlite", "Postgres", "SqlServer"}).contains(line.key))
        << line.Where();
    const Engine engine = line.key == "Sqlite"     ? Engine::Sqlite
                          : line.key == "Postgres" ? Engine::Postgres
                                                   : Engine::SqlServer;
    EXPECT_EQ(To_Engine_Dialect(c[0], engine), c[1]) << line.Where();
  }
}

INSTANTIATE_TEST_SUITE_P(sql_dialect, SqlDialect, testing::ValuesIn(Case_Files("sql_dialect")),
                         Case_File_Name);

TEST(EngineDates, CompareWithBothLiteralFormsAndInMin) {
  TestSuite t;
  t.Exec(
      "INSERT INTO MUHFISHAR (Tarih, Yil, MHesap_Kod, BTutar, ATutar) VALUES "
      "('2026-01-31','2026','100',1,0), ('2026-02-01','2026','100',2,0), "
      "('2026-12-31','2026','100',4,0), ('2025-12-31','2025','100',8,0)");
  t.Connect();
  auto sum = [&](const QString& where) {
    Recordset rs;
    Open_Recordset(t.state.Db(), rs, "SELECT SUM(BTutar) AS S FROM MUHFISHAR WHERE " + where);
    return rs.Number("S");
  };
  EXPECT_EQ(sum("MUHFISHAR.Tarih>='01/01/2026' AND MUHFISHAR.Tarih<='01/31/2026'"), 1);
  EXPECT_EQ(sum("Tarih>='2026/02/01' AND Tarih<='2026/12/31'"), 6);
  EXPECT_EQ(sum("Tarih<'1/1/2026'"), 8);     // one-digit month and day
  EXPECT_EQ(sum("'02/01/2026'<=Tarih"), 6);  // literal on the left
  EXPECT_EQ(sum("Tarih BETWEEN '12/31/2025' AND '02/01/2026'"), 11);

  Recordset rs;
  Open_Recordset(t.state.Db(), rs, "SELECT MIN(Tarih) AS M FROM MUHFISHAR WHERE Yil='2026'");
  EXPECT_EQ(rs.Text("M"), "2026-01-31");

  if (t.On_Postgres()) {
    // The literals reach the server in ISO form, which reads the same whatever its DateStyle.
    t.state.Db().connection->Execute("SET DateStyle TO ISO, DMY");
    EXPECT_EQ(sum("MUHFISHAR.Tarih>='01/01/2026' AND MUHFISHAR.Tarih<='01/31/2026'"), 1);
    // DATE columns: the literals are dates, so the ledger index serves the comparison.
    t.state.Db().connection->Execute("SET enable_seqscan = off");
    const QString plan = t.Plan(
        "SELECT SUM(BTutar) FROM MUHFISHAR WHERE Ana_Hesap_ID=1 AND Yil='2026' AND "
        "Tarih>='01/01/2026' AND Tarih<='01/31/2026'");
    EXPECT_TRUE(plan.contains("Index Only Scan using ix_muhfishar_anahesap")) << plan.toStdString();
    EXPECT_TRUE(plan.contains("(tarih >= '2026-01-01'::date) AND (tarih <= '2026-01-31'::date)"))
        << plan.toStdString();
    EXPECT_TRUE(t.messages.entries.empty());
    return;
  }
  // The run's grouped pass over the period reads the covering index in its order: no line is
  // read from the table, and no sort.
  const QString plan = t.Plan(
      "SELECT Ana_Hesap_ID, MHesap_Kod, SUM(BTutar) FROM MUHFISHAR WHERE Yil='2026' AND "
      "Tarih>='01/01/2026' AND Tarih<='01/31/2026' GROUP BY Ana_Hesap_ID, MHesap_Kod");
  EXPECT_TRUE(plan.contains("USING COVERING INDEX IX_MUHFISHAR_AnaHesap")) << plan.toStdString();
  EXPECT_FALSE(plan.contains("TEMP B-TREE")) << plan.toStdString();
  EXPECT_TRUE(t.messages.entries.empty());
}

// A database made before the dates compared natively declares its date columns with the
// collation MTDATE, which every connection still registers: such a column compares its dates in
// any of the suite's forms with the ISO literals the dialect step sends.
TEST(EngineDates, ColumnsOfTheDateCollationStillCompare) {
  TestSuite t;
  if (t.On_Postgres()) GTEST_SKIP() << "the collation is the embedded engine's";
  t.Exec("CREATE TABLE ESKI (Tarih TEXT COLLATE MTDATE, Tutar INTEGER)");
  t.Exec("CREATE INDEX IX_ESKI ON ESKI (Tarih, Tutar)");
  // Stored in the older forms: a text made by || is no literal the dialect step would rewrite.
  t.Exec(
      "INSERT INTO ESKI VALUES ('2026-01-31',1), ('02/01/'||'2026',2), ('2026/'||'12/31',4), "
      "('12/31/'||'2025',8)");
  t.Connect();
  Recordset rs;
  auto sum = [&](const QString& where) {
    Open_Recordset(t.state.Db(), rs, "SELECT SUM(Tutar) AS S FROM ESKI WHERE " + where);
    return rs.Number("S");
  };
  EXPECT_EQ(sum("Tarih>='01/01/2026' AND Tarih<='2026/02/01'"), 3);
  EXPECT_EQ(sum("Tarih BETWEEN '12/31/2025' AND '01/31/2026'"), 9);
  Open_Recordset(t.state.Db(), rs, "SELECT MIN(Tarih) AS M, MAX(Tarih) AS X FROM ESKI");
  EXPECT_EQ(rs.Text("M"), "12/31/2025");
  EXPECT_EQ(rs.Text("X"), "2026/12/31");
  EXPECT_TRUE(t.messages.entries.empty());
}

namespace {

// The DbError number `action` throws, or 0.
int Error_Number(const std::function<void()>& action) {
  try {
    action();
  } catch (const DbError& e) {
    return e.Number;
  }
  return 0;
}

}  // namespace

TEST(Recordset, MovesFindFieldsAndTheSuiteDialect) {
  TestSuite t;
  t.Exec("INSERT INTO ISYERITANIM VALUES ('01','Merkez'), ('02','Ankara'), ('03', NULL)");
  t.Connect();
  Recordset rs;
  Open_Recordset(t.state.Db(), rs, "SELECT * FROM ISYERITANIM ORDER BY Isyeri_Kodu");
  EXPECT_EQ(rs.Record_Count(), 3);
  EXPECT_EQ(rs.Text("isyeri_adi"), "Merkez");  // names are not case-sensitive
  rs.Move_Last();
  EXPECT_TRUE(rs.Is_Null("Isyeri_Adi"));
  EXPECT_EQ(rs.Text("Isyeri_Adi"), "");
  rs.Move_First();
  EXPECT_TRUE(rs.Find("Isyeri_Kodu = '02'"));
  EXPECT_EQ(rs.Text("Isyeri_Adi"), "Ankara");
  EXPECT_FALSE(rs.Find("Isyeri_Kodu='01'"));  // searches forward only
  EXPECT_TRUE(rs.Eof());
  rs.Move_First();
  EXPECT_EQ(Error_Number([&] { rs.Field("Yok"); }), kErrItemNotFound);
  EXPECT_THROW(rs.Set_Field("Isyeri_Adi", "x"), DbError);  // read-only

  // TOP 1 and ISNULL run on SQLite as the suite writes them.
  Open_Recordset(t.state.Db(), rs,
                 "SELECT TOP 1 ISNULL(Isyeri_Adi, 'Yok') AS Ad FROM FIRMA.dbo.ISYERITANIM ORDER BY "
                 "Isyeri_Kodu DESC");
  ASSERT_EQ(rs.Record_Count(), 1);
  EXPECT_EQ(rs.Text("Ad"), "Yok");
  EXPECT_EQ(rs.Field_Names(), QStringList({"Ad"}));  // as written, on every engine

  // A failing query: the description, then the text, both critical; the open recordset is closed.
  Open_Recordset(t.state.Db(), rs, "SELEC * FROM ISYERITANIM");
  EXPECT_EQ(rs.State(), 0);
  ASSERT_EQ(t.messages.entries.size(), 2u);
  EXPECT_EQ(t.messages.entries[0].kind, MessageKind::Critical);
  EXPECT_TRUE(t.messages.entries[0].text.contains("syntax error"))
      << t.messages.entries[0].text.toStdString();
  EXPECT_EQ(t.messages.entries[1].kind, MessageKind::Critical);
  EXPECT_EQ(t.messages.entries[1].text, "SELEC * FROM ISYERITANIM");
  EXPECT_THROW(rs.Eof(), DbError);
  // An empty result: EOF and BOF at once, and no current record; a closed one throws.
  Open_Recordset(t.state.Db(), rs, "SELECT * FROM ISYERITANIM WHERE 1=0");
  EXPECT_TRUE(rs.Eof() && rs.Bof());
  EXPECT_EQ(Error_Number([&] { rs.Text("Isyeri_Adi"); }), kErrNoCurrentRecord);
  rs.Close();
  EXPECT_EQ(Error_Number([&] { rs.Record_Count(); }), kErrObjectClosed);

  // A row deleted by someone else since it was read is never written as if it were there.
  t.state.Db_Connection->Execute(
      "INSERT INTO MUHASEBEMALITABLOKART (Rapor_Kodu, Rapor_Adi, Rapor_Tipi) VALUES ('K', 'A', 1)");
  Recordset header;
  Open_Update_Recordset(t.state.Db(), header, "SELECT * FROM MUHASEBEMALITABLOKART");
  ASSERT_EQ(header.Record_Count(), 1);
  t.state.Db_Connection->Execute("DELETE FROM MUHASEBEMALITABLOKART");
  header.Set_Field("Rapor_Adi", "B");
  try {
    header.Update_Batch();
    ADD_FAILURE() << "the write of a deleted row went through";
  } catch (const DbError& e) {
    EXPECT_TRUE(e.Description.contains("silinmiş")) << e.what();
  }
}

TEST(ConnectionFile, PathRuleAndFields) {
  EXPECT_EQ(Connection_File_Path("/opt/suite/Rapor"), "/opt/suite/sys.inf");
  EXPECT_EQ(Connection_File_Path("/opt/suite/RaporV2/bin"), "/opt/suite/sys.inf");
  EXPECT_EQ(Connection_File_Path("/opt/suite/rapor"), "");  // case-sensitive
  EXPECT_EQ(Connection_File_Fields("srv;sa;pw"), (QStringList{"srv", "sa", "pw", "", ""}));
  EXPECT_EQ(Connection_File_Fields("a;b;c;1;e;f;g"), (QStringList{"a", "b", "c", "1", "e"}));

  TestSuite t;
  QFile file(t.Root() + "/sys.inf");
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(
      "SUNUCU;sa;\xfe"
      "ifre;1\r\nikinci satır\r\n");  // "şifre" in Windows-1254
  file.close();
  EXPECT_EQ(Read_Connection_File(t.state), QString("SUNUCU;sa;şifre;1"));

  // Missing file, or an empty first line: the message and the end.
  QFile::remove(t.Root() + "/sys.inf");
  EXPECT_THROW(Read_Connection_File(t.state), ProgramEnd);
  ASSERT_EQ(t.messages.entries.size(), 1u);
  EXPECT_EQ(t.messages.entries[0].title, "VELORA TİCARİ YAZILIM");
  EXPECT_EQ(t.messages.entries[0].kind, MessageKind::Critical);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("\r\nSUNUCU\r\n");
  file.close();
  EXPECT_THROW(Read_Connection_File(t.state), ProgramEnd);
}

TEST(OpenConnection, KeepsTheFormThatOpened) {
  EXPECT_EQ(Sql_Login_Connection_String("sa", "p;w", "DB", "SRV"),
            "Provider=SQLOLEDB.1;Persist Security Info=False;User ID=sa;Password=p;w;Initial "
            "Catalog=DB;Data Source=SRV");
  EXPECT_EQ(Windows_Login_Connection_String(" sa ", "pw", "DB", "SRV"),
            "Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;User "
            "ID=sa;Password=pw;Initial Catalog=DB;Data Source=SRV");
  TestSuite t;
  Open_Connection(t.state, "sa", "", t.Database(), t.Server());
  EXPECT_EQ(t.state.Connection_String,
            Sql_Login_Connection_String("sa", "", t.Database(), t.Server()));
  EXPECT_THROW(Open_Connection(t.state, "sa", "", "YOK", t.Server()), DbError);
}

TEST(Registry, ReadWriteAndValueTypes) {
  TestSuite t;
  Registry_Write(Hive::HKEY_CURRENT_USER, "Software\\DEF_VELORA", "Kullanici", "AYŞE");
  EXPECT_EQ(Registry_Read(Hive::HKEY_CURRENT_USER, "Software\\DEF_VELORA", "Kullanici"), "AYŞE");
  EXPECT_EQ(Registry_Read(Hive::HKEY_LOCAL_MACHINE, "Software\\DEF_VELORA", "Kullanici"), "");
  // A string is cut at its first character 0.
  Registry_Write(Hive::HKEY_CURRENT_USER, "K", "Z", QString("ab") + QChar(0) + "cd");
  EXPECT_EQ(Registry_Read(Hive::HKEY_CURRENT_USER, "K", "Z"), "ab");
  // Binary: the low 16 bits of the cell as a signed number.
  Registry_Write_Binary(Hive::HKEY_CURRENT_USER, "K", "B", QByteArray("\xff\xff\x01\x00", 4));
  EXPECT_EQ(Registry_Read(Hive::HKEY_CURRENT_USER, "K", "B"), "-1");
  // A registry that is a folder takes nothing, and says so.
  const QByteArray file = qgetenv("MALITABLO_REGISTRY");
  QTemporaryDir folder;
  qputenv("MALITABLO_REGISTRY", folder.path().toUtf8());
  EXPECT_FALSE(Registry_Write(Hive::HKEY_CURRENT_USER, "K", "Z", "x"));
  qputenv("MALITABLO_REGISTRY", file);
  EXPECT_TRUE(Registry_Write(Hive::HKEY_CURRENT_USER, "K", "Z", "y"));
}
