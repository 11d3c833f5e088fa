#include "demo/suite_schema.h"

#include <sqlite3.h>

#include <QDir>
#include <QRegularExpression>

#include "db/connection.h"
#include "db/db_error.h"
#include "db/postgres_server.h"

namespace {

// Type words per engine: {KEY} a 64-bit integer key assigned on insert, {DATE} a date column,
// {MONEY} an amount, {BOOL} a flag; {NULLS_FIRST} after an index column keeps Null before every
// value in the index, where the engine's ORDER BY puts it (PostgreSQL is told so).
QString For_Engine(QString ddl, Engine engine) {
  switch (engine) {
    case Engine::Sqlite:
      ddl.replace("{KEY}", "INTEGER PRIMARY KEY AUTOINCREMENT");
      // ISO text, compared byte by byte with the ISO literals of the dialect step.
      ddl.replace("{DATE}", "TEXT");
      ddl.replace("{NULLS_FIRST}", "");
      ddl.replace("{NOCASE}", " COLLATE NOCASE");
      ddl.replace("{MONEY}", "REAL");
      ddl.replace("{BOOL}", "INTEGER");
      break;
    case Engine::Postgres: {
      // Codes compare byte by byte, as on the embedded engine, whatever the server's locale
      // (account ranges such as '120' to '129.99' must not follow a language's rules).
      static const QRegularExpression text(R"(\bVARCHAR\((\d+)\))");
      ddl.replace(text, "VARCHAR(\\1) COLLATE \"C\"");
      ddl.replace("{KEY}", "BIGSERIAL PRIMARY KEY");
      ddl.replace("{DATE}", "DATE");
      ddl.replace("{NULLS_FIRST}", " NULLS FIRST");
      ddl.replace("{NOCASE}", "");
      ddl.replace("{MONEY}", "DOUBLE PRECISION");
      ddl.replace("{BOOL}", "SMALLINT");
      break;
    }
    case Engine::SqlServer:
      ddl.replace("{KEY}", "BIGINT IDENTITY(1,1) PRIMARY KEY");
      ddl.replace("{DATE}", "DATETIME");
      ddl.replace("{NULLS_FIRST}", "");
      ddl.replace("{NOCASE}", "");
      ddl.replace("{MONEY}", "FLOAT");
      ddl.replace("{BOOL}", "BIT");
      break;
  }
  return ddl;
}

QStringList For_Engine(const QStringList& ddl, Engine engine) {
  QStringList out;
  for (const QString& s : ddl) out << For_Engine(s, engine);
  return out;
}

void Run_All(Connection& connection, const QStringList& statements) {
  for (const QString& s : statements) connection.Execute(s);
}

}  // namespace

QStringList Definitions_Schema(Engine engine) {
  return For_Engine(
      {
          "CREATE TABLE sysuslng (sysus_ID INTEGER PRIMARY KEY, sysus_nm VARCHAR(50) NOT NULL, "
          "sysus VARCHAR(100))",
          "CREATE TABLE sysfrmlng (sysfrm_ID INTEGER PRIMARY KEY, sysfrm_nm VARCHAR(100), "
          "sysfrm_kd VARCHAR(20), sysfrm_dbnm VARCHAR(100) NOT NULL, "
          "Mali_Yil_Baslangic {DATE}, Mali_Yil_Bitis {DATE}, "
          "AnaParaVirgul INTEGER DEFAULT 2, BirimFiyatVirGul INTEGER DEFAULT 2, "
          "DovizVirgul INTEGER DEFAULT 2, DovizBirimFiyatVirgul INTEGER DEFAULT 4, "
          "KurVirgul INTEGER DEFAULT 4, DovizVar {BOOL} DEFAULT 0, RenkBedenVar {BOOL} DEFAULT 0, "
          "PosVar {BOOL} DEFAULT 0, BarkodVar {BOOL} DEFAULT 0, HareketKilit {BOOL} DEFAULT 0, "
          "OzelRenkli INTEGER DEFAULT 0, Renk_Ozel INTEGER DEFAULT 0, Renk_TL INTEGER DEFAULT 0, "
          "Renk_Doviz INTEGER DEFAULT 0, SatirISK_Dahil {BOOL} DEFAULT 0, "
          "FaturaAltiISK_Dahil {BOOL} DEFAULT 0, Masraflar_Dahil {BOOL} DEFAULT 0, "
          "StokMinSeviye INTEGER DEFAULT 0, StokMinRenk INTEGER DEFAULT 0, "
          "StokMaxSeviye INTEGER DEFAULT 0, StokMaxRenk INTEGER DEFAULT 0, "
          "StokSFRSeviye INTEGER DEFAULT 0, StokSFRRenk INTEGER DEFAULT 0, "
          "StokSeviyeOzelKontrol {MONEY} DEFAULT 0, KDV_Dahildir {BOOL} DEFAULT 0, "
          "DefKDV VARCHAR(20) DEFAULT '', KrediLimiti {MONEY}, "
          "KasaHareketListeTipi VARCHAR(10) DEFAULT '')",
          "CREATE TABLE sysusfrmlng (sysus_ID INTEGER NOT NULL, sysfrm_ID INTEGER NOT NULL)",
          "CREATE TABLE Kullanici (Firma_ID INTEGER NOT NULL, Kullanici_ID INTEGER NOT NULL, "
          "CARR {BOOL}, CARB {BOOL})",
          "CREATE UNIQUE INDEX IX_sysfrmlng_dbnm ON sysfrmlng (sysfrm_dbnm)",
          "CREATE INDEX IX_Kullanici ON Kullanici (Firma_ID, Kullanici_ID)",
      },
      engine);
}

QStringList Company_Schema(Engine engine) {
  return For_Engine(
      {
          // Chart of accounts, balances and voucher lines of the suite.
          "CREATE TABLE MUHKART (MHesap_ID {KEY}, MHesap_Kod VARCHAR(30) NOT NULL, "
          "MHesap_Ad VARCHAR(100), MO_Kod1 VARCHAR(30), MO_Kod2 VARCHAR(30), MO_Kod3 VARCHAR(30), "
          "MGrup_Kod VARCHAR(30), Aktif {BOOL} DEFAULT 1, AnaHesaptir {BOOL} DEFAULT 0)",
          "CREATE TABLE MUHBAKIYE (MHesap_ID INTEGER NOT NULL, Bakiye {MONEY})",
          "CREATE TABLE MUHFISHAR (MFisHar_ID {KEY}, Fis_No INTEGER, Tarih {DATE}, Yil VARCHAR(4), "
          "AY VARCHAR(10), Ay_Index INTEGER, Islem_Tipi VARCHAR(30), MHesap_Kod VARCHAR(30), "
          "Ana_Hesap_ID INTEGER, Aciklama VARCHAR(100), BTutar {MONEY} DEFAULT 0, "
          "ATutar {MONEY} DEFAULT 0, Isyeri_Kodu VARCHAR(20))",
          "CREATE TABLE ISYERITANIM (Isyeri_Kodu VARCHAR(20), Isyeri_Adi VARCHAR(100))",
          // The program's own statement definitions.
          "CREATE TABLE MUHASEBEMALITABLOKART (Rapor_ID {KEY}, Rapor_Kodu VARCHAR(50) NOT NULL, "
          "Rapor_Adi VARCHAR(100), Rapor_Tipi INTEGER NOT NULL)",
          "CREATE TABLE MUHASEBEMALITABLOHAREKET (Satir_ID {KEY}, Rapor_ID BIGINT NOT NULL, "
          "Rapor_Yeri INTEGER, Satir_No INTEGER, Satir_Tipi INTEGER, Satir_Kodu VARCHAR(50), "
          "Satir_Adi VARCHAR(200), Satir_Seviyesi INTEGER, Hesaplama_Tipi INTEGER, "
          "Bakiye_Tipi INTEGER, Hesap_Karakteri INTEGER, Ters_Bakiye INTEGER, "
          "MHesap_KodBas VARCHAR(30), MHesap_KodBit VARCHAR(30), Formul VARCHAR(500), "
          "BTutar {MONEY}, ATutar {MONEY}, Bakiye {MONEY})",
          // Look-up tables of the run window's choice lists.
          "CREATE TABLE CARIKART (Cari_Kod VARCHAR(30), Unvan VARCHAR(100), O_Kod1 VARCHAR(30), "
          "O_Kod2 VARCHAR(30), O_Kod3 VARCHAR(30), Grup_Kod VARCHAR(30), Ilce VARCHAR(50), "
          "Sehir VARCHAR(50), Vergi_Dairesi VARCHAR(50), ISK VARCHAR(20))",
          "CREATE TABLE CARIHAREKETLER (O_Kod VARCHAR(30), Belge_No VARCHAR(30))",
          "CREATE TABLE KASAKART (Kasa_Kod VARCHAR(30), Kasa_Ad VARCHAR(100), O_Kod VARCHAR(30))",
          "CREATE TABLE STOKKART (Stok_Kod VARCHAR(30), Stok_Ad VARCHAR(100), KDV VARCHAR(10), "
          "Ana_Birim VARCHAR(20), Birim2 VARCHAR(20), Birim3 VARCHAR(20), "
          "Uretici_Firma VARCHAR(100), O_Kod VARCHAR(30), O_Kod2 VARCHAR(30), O_Kod3 VARCHAR(30), "
          "Grup_Kod VARCHAR(30))",
          "CREATE TABLE HESAPKART (Banka_Ad VARCHAR(100), Hesap_Ad VARCHAR(100), "
          "Hesap_No VARCHAR(50), Sube VARCHAR(100), O_Kod VARCHAR(30))",
          "CREATE TABLE POSANLASMA (Taksit_Sayisi VARCHAR(10), Aciklama VARCHAR(100), "
          "Opsiyon_Gun VARCHAR(10), Kesinti_Orani VARCHAR(10))",
          "CREATE TABLE AMBAR (Ambar_No VARCHAR(20), Ambar_Ad VARCHAR(100))",
          "CREATE TABLE HIZMETTANIM (Kod VARCHAR(30), Ad VARCHAR(100))",
          "CREATE TABLE MASRAFTANIM (Kod VARCHAR(30), Ad VARCHAR(100))",
          "CREATE TABLE INDIRIMTANIM (Kod VARCHAR(30), Ad VARCHAR(100))",
          "CREATE TABLE SABLONKART (Sablon_Kod VARCHAR(30), Sablon_Ad VARCHAR(100))",
          "CREATE TABLE DOVIZTANIM (Doviz_Kod VARCHAR(10), Doviz_Ad VARCHAR(50))",
          "CREATE TABLE SATICI (Satici_Kodu VARCHAR(30), Satici_Adi VARCHAR(100))",
          // Every ledger query of the calculation is an index seek.
          // The two ledger indexes cover the sums, so a row's lines are read from the index alone.
          // The first is in the order of the run's one grouped pass over the period (by main
          // account and code), which then needs no sort.
          "CREATE INDEX IX_MUHFISHAR_AnaHesap ON MUHFISHAR "
          "(Ana_Hesap_ID, MHesap_Kod, Yil, Tarih, BTutar, ATutar)",
          "CREATE INDEX IX_MUHFISHAR_Kod ON MUHFISHAR (MHesap_Kod, Yil, Tarih, BTutar, ATutar)",
          // Year and dates are always asked together with an account, so they follow the account
          // in the two indexes above; an index led by the year would tempt the planner to scan
          // the whole year's lines for every statement row. The opening voucher's first date
          // and a month's first number are each one seek on their own index.
          "CREATE INDEX IX_MUHFISHAR_IslemTipi ON MUHFISHAR (Islem_Tipi, Tarih)",
          "CREATE INDEX IX_MUHFISHAR_Ay ON MUHFISHAR (AY, Ay_Index{NULLS_FIRST})",
          "CREATE INDEX IX_MUHKART_Kod ON MUHKART (MHesap_Kod)",
          "CREATE UNIQUE INDEX IX_MALITABLOKART_Kod ON MUHASEBEMALITABLOKART (Rapor_Kodu, Rapor_Tipi)",
          "CREATE INDEX IX_MALITABLOHAREKET_Rapor ON MUHASEBEMALITABLOHAREKET (Rapor_ID, Satir_No)",
          "CREATE INDEX IX_MALITABLOHAREKET_Kod ON MUHASEBEMALITABLOHAREKET (Satir_Kodu)",
          // The rows under a code prefix (LIKE 'code%') of one table and place: a seek, not a
          // scan of the table for every row; the embedded engine's LIKE ignores case, so its
          // prefix seek needs an index without case.
          "CREATE INDEX IX_MALITABLOHAREKET_Onek ON MUHASEBEMALITABLOHAREKET "
          "(Rapor_ID, Rapor_Yeri, Satir_Kodu{NOCASE})",
      },
      engine);
}

void Create_Definitions_Schema(Connection& connection) {
  Run_All(connection, Definitions_Schema(connection.engine()));
}

void Create_Company_Schema(Connection& connection) {
  Run_All(connection, Company_Schema(connection.engine()));
}

void Create_Sqlite_Database(const QString& folder, const QString& database) {
  QDir().mkpath(folder);
  sqlite3* handle = nullptr;
  const QString path = QDir(folder).filePath(database + ".sqlite");
  int rc = sqlite3_open_v2(path.toUtf8().constData(), &handle,
                           SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  // The journal mode is written into the file's header, so the file is a database from here
  // on (the connection opens nothing less).
  if (rc == SQLITE_OK)
    rc = sqlite3_exec(handle, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
  sqlite3_close(handle);
  if (rc != SQLITE_OK)
    throw DbError{kErrConnectionRefused, "Veritabanı dosyası oluşturulamadı: " + path};
}

void Create_Database(const QString& server, const QString& database) {
  if (Engine_For_Server(server) == Engine::Postgres)
    Recreate_Postgres_Schema(server, database, "sa", "");
  else  // a folder of the embedded engine, made when missing
    Create_Sqlite_Database(Connection::Sqlite_Folder(server), database);
}
