// Company parameters: every column read in its type, the number formats, and the two failure
// roads (a missing column offers the update tool; anything else apologises).
#include <gtest/gtest.h>

#include "company/company_parameters.h"
#include "process/program_end.h"
#include "support/test_suite.h"

TEST(CompanyParameters, ReadsEveryColumn) {
  TestSuite t;
  t.Exec_Definitions(
      "UPDATE sysfrmlng SET AnaParaVirgul=3, DovizVirgul=0, KurVirgul=5, BirimFiyatVirGul=1, "
      "DovizBirimFiyatVirgul=6, DovizVar=1, Renk_TL=255, StokSeviyeOzelKontrol=12.34567, "
      "DefKDV='18', KrediLimiti=1500.5, KasaHareketListeTipi='3'");
  t.Connect();
  Load_Company_Parameters(t.state);
  auto& s = t.state;
  EXPECT_EQ(s.Fiscal_Year_End, QDate(2026, 12, 31));
  EXPECT_EQ(s.Amount_Decimals, 3);
  EXPECT_EQ(s.Amount_Format, "#,##0.000");
  EXPECT_EQ(s.Currency_Format, "#,##0");
  EXPECT_EQ(s.Currency_Unit_Price_Format, "#,##0.000000");
  EXPECT_TRUE(s.Company_Settings.DovizVar);
  EXPECT_DOUBLE_EQ(s.Company_Settings.StokSeviyeOzelKontrol, 12.3457);  // currency: 4 decimals
  EXPECT_DOUBLE_EQ(s.Company_Settings.DefKDV, 18);
  EXPECT_DOUBLE_EQ(s.Company_Settings.KrediLimiti, 1500.5);
  EXPECT_EQ(s.Company_Settings.KasaHareketListeTipi, 3);
  EXPECT_TRUE(t.messages.entries.empty());

  // Empty and NULL settings take their defaults.
  t.Exec_Definitions("UPDATE sysfrmlng SET DefKDV='', KrediLimiti=NULL, KasaHareketListeTipi=''");
  Load_Company_Parameters(t.state);
  EXPECT_EQ(s.Company_Settings.DefKDV, 0);
  EXPECT_EQ(s.Company_Settings.KrediLimiti, 0);
  EXPECT_EQ(s.Company_Settings.KasaHareketListeTipi, 1);
}

TEST(CompanyParameters, MissingColumnOffersTheUpdateTool) {
  TestSuite t;
  t.Exec_Definitions("ALTER TABLE sysfrmlng DROP COLUMN KasaHareketListeTipi");
  t.Connect();
  // No: the program ends and nothing is started.
  EXPECT_THROW(Load_Company_Parameters(t.state), ProgramEnd);
  ASSERT_EQ(t.messages.entries.size(), 1u);
  EXPECT_EQ(t.messages.entries[0].kind, MessageKind::Question);
  EXPECT_EQ(t.messages.entries[0].text,
            "Velora Tanımlama VeriTabanında Eksik Alanara Rastladı. güncelleştirme Çalıştırmak "
            "Gerekebilir.\rŞimdi Güncelleme Çalıştırmak İstiyormusunuz?.Lütfen Bu İşlemi program "
            "Satıcınıza Danışmadan Onaylamayınız.");
  // Yes without the tool in the program folder: the configuration message, then the end.
  t.messages.entries.clear();
  t.messages.Answer(true);
  EXPECT_THROW(Load_Company_Parameters(t.state), ProgramEnd);
  ASSERT_EQ(t.messages.entries.size(), 2u);
  EXPECT_EQ(t.messages.entries[1].kind, MessageKind::Plain);
  EXPECT_EQ(t.messages.entries[1].text,
            "Sistem Bu Haliyle Çalışamaz Durumda ve Veritabanı Konfigürasyon Dosyasına "
            "Ulaşılamadı.\rLütfen Pogram Satıcınızla Görüşünüz.");
}

TEST(CompanyParameters, OtherFailuresApologise) {
  // No row for the database name; a name with an apostrophe (quoted safely, matching no row);
  // a NULL where a value is needed.
  for (const char* fault : {"BASKA", "O'NEIL", "NULL"}) {
    TestSuite t;
    if (QString(fault) == "NULL") t.Exec_Definitions("UPDATE sysfrmlng SET AnaParaVirgul=NULL");
    t.Connect();
    if (QString(fault) != "NULL") t.state.Database_Name = fault;
    EXPECT_THROW(Load_Company_Parameters(t.state), ProgramEnd) << fault;
    ASSERT_EQ(t.messages.entries.size(), 1u) << fault;
    EXPECT_EQ(t.messages.entries[0].kind, MessageKind::Information);
    EXPECT_EQ(t.messages.entries[0].text,
              "Velora Tanımlam Veritabanıyla İlgili Bir Hata Tespit Etti. Sistem Bu Haliye "
              "Çalışmaz.Bunun İçin Özür Dileriz. Lütfen Program Satıcınızla Görüşünüz.");
    EXPECT_TRUE(t.messages.entries[0].title.startsWith("Velora:"));
    EXPECT_GT(t.messages.entries[0].title.size(), 7);
  }
}
