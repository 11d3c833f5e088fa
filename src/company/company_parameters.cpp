#include "company/company_parameters.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <cmath>

#include "company/number_formats.h"
#include "db/query.h"
#include "db/recordset.h"
#include "db/sql_text.h"
#include "process/app_state.h"
#include "process/program_end.h"

namespace {

constexpr long kErrInvalidUseOfNull = 94;
constexpr long kErrTypeMismatch = 13;
constexpr long kErrOverflow = 6;

QVariant Value(const Recordset& rs, const char* column) {
  QVariant v = rs.Field(column);
  if (v.isNull())
    throw DbError{kErrInvalidUseOfNull, QString("Null'ın geçersiz kullanımı (") + column + ")"};
  return v;
}

double Number(const Recordset& rs, const char* column) {
  QVariant v = Value(rs, column);
  if (v.typeId() == QMetaType::Bool) return v.toBool() ? -1 : 0;
  bool ok = false;
  double d = v.toString().trimmed().replace(',', '.').toDouble(&ok);
  if (!ok) throw DbError{kErrTypeMismatch, QString("Tür uyuşmazlığı (") + column + ")"};
  return d;
}

template <typename T>
T Whole(const Recordset& rs, const char* column, double low, double high) {
  double d = std::round(Number(rs, column));
  if (d < low || d > high) throw DbError{kErrOverflow, QString("Taşma (") + column + ")"};
  return static_cast<T>(d);
}

int16_t Int16(const Recordset& rs, const char* c) { return Whole<int16_t>(rs, c, -32768, 32767); }
int32_t Int32(const Recordset& rs, const char* c) {
  return Whole<int32_t>(rs, c, -2147483648.0, 2147483647.0);
}
uint8_t Byte(const Recordset& rs, const char* c) { return Whole<uint8_t>(rs, c, 0, 255); }
bool Flag(const Recordset& rs, const char* c) {
  QVariant v = Value(rs, c);
  QString t = v.toString().trimmed();
  if (t.compare("true", Qt::CaseInsensitive) == 0) return true;
  if (t.compare("false", Qt::CaseInsensitive) == 0) return false;
  return Number(rs, c) != 0;
}
QDate Date(const Recordset& rs, const char* c) {
  QVariant v = Value(rs, c);
  QDate d = v.toDate();
  if (!d.isValid()) d = QDate::fromString(v.toString().left(10), "yyyy-MM-dd");
  if (!d.isValid()) throw DbError{kErrTypeMismatch, QString("Tür uyuşmazlığı (") + c + ")"};
  return d;
}

void Read_Parameters(AppState& s, const Recordset& rs) {
  // The columns in their reading order; each must exist.
  s.Company_ID = static_cast<int16_t>(Whole<int16_t>(rs, "sysfrm_ID", -32768, 32767));
  s.Company_Name = Value(rs, "sysfrm_nm").toString().trimmed();
  s.Fiscal_Year_Start = Date(rs, "Mali_Yil_Baslangic");
  s.Fiscal_Year_End = Date(rs, "Mali_Yil_Bitis");
  s.Amount_Decimals = Byte(rs, "AnaParaVirgul");
  s.Amount_Format = Number_Format(s.Amount_Decimals);
  s.Unit_Price_Decimals = Int32(rs, "BirimFiyatVirGul");
  s.Unit_Price_Format = Number_Format(s.Unit_Price_Decimals);
  s.Currency_Decimals = Byte(rs, "DovizVirgul");
  s.Currency_Format = Number_Format(s.Currency_Decimals);
  s.Currency_Unit_Price_Decimals = Int32(rs, "DovizBirimFiyatVirgul");
  s.Currency_Unit_Price_Format = Number_Format(s.Currency_Unit_Price_Decimals);
  s.Rate_Decimals = Byte(rs, "KurVirgul");
  s.Rate_Format = Number_Format(s.Rate_Decimals);
  auto& c = s.Company_Settings;
  c.DovizVar = Flag(rs, "DovizVar");
  c.RenkBedenVar = Flag(rs, "RenkBedenVar");
  c.PosVar = Flag(rs, "PosVar");
  c.BarkodVar = Flag(rs, "BarkodVar");
  c.HareketKilit = Flag(rs, "HareketKilit");
  c.OzelRenkli = Byte(rs, "OzelRenkli");
  c.Renk_Ozel = Int32(rs, "Renk_Ozel");
  c.Renk_TL = Int32(rs, "Renk_TL");
  c.Renk_Doviz = Int32(rs, "Renk_Doviz");
  c.SatirISK_Dahil = Flag(rs, "SatirISK_Dahil");
  c.FaturaAltiISK_Dahil = Flag(rs, "FaturaAltiISK_Dahil");
  c.Masraflar_Dahil = Flag(rs, "Masraflar_Dahil");
  c.StokMinSeviye = Byte(rs, "StokMinSeviye");
  c.StokMinRenk = Int32(rs, "StokMinRenk");
  c.StokMaxSeviye = Byte(rs, "StokMaxSeviye");
  c.StokMaxRenk = Int32(rs, "StokMaxRenk");
  c.StokSFRSeviye = Byte(rs, "StokSFRSeviye");
  c.StokSFRRenk = Int32(rs, "StokSFRRenk");
  c.StokSeviyeOzelKontrol = std::round(Number(rs, "StokSeviyeOzelKontrol") * 10000) / 10000;
  c.KDV_Dahildir = Flag(rs, "KDV_Dahildir");
  c.DefKDV = 0;
  if (rs.Text("DefKDV") != "") c.DefKDV = std::round(Number(rs, "DefKDV") * 10000) / 10000;
  c.KrediLimiti =
      rs.Is_Null("KrediLimiti") ? 0 : std::round(Number(rs, "KrediLimiti") * 10000) / 10000;
  c.KasaHareketListeTipi = 1;
  if (rs.Text("KasaHareketListeTipi") != "")
    c.KasaHareketListeTipi = Int16(rs, "KasaHareketListeTipi");
}

void Offer_Update_Tool(AppState& s) {
  bool yes = s.Message->Question(
      "Velora Tanımlama VeriTabanında Eksik Alanara Rastladı. güncelleştirme Çalıştırmak "
      "Gerekebilir.\rŞimdi Güncelleme Çalıştırmak İstiyormusunuz?.Lütfen Bu İşlemi program "
      "Satıcınıza Danışmadan Onaylamayınız.");
  if (!yes) return;
  QString tool = QDir(s.Program_Folder).filePath(kUpdateToolName);
  if (QFileInfo(tool).isFile())
    QProcess::startDetached(tool, {}, s.Program_Folder);
  else
    s.Message->Plain(
        "Sistem Bu Haliyle Çalışamaz Durumda ve Veritabanı Konfigürasyon Dosyasına "
        "Ulaşılamadı.\rLütfen Pogram Satıcınızla Görüşünüz.");
}

}  // namespace

void Load_Company_Parameters(AppState& s) {
  Recordset rs;
  try {
    Open_Recordset(s.Db(), rs,
                   "SELECT * FROM Defination_DB.dbo.sysfrmlng WHERE sysfrm_dbnm='" +
                       Sql_Quote_Value(s.Database_Name) + "'");
    Read_Parameters(s, rs);
  } catch (const DbError& e) {
    if (e.Number == kErrItemNotFound) {
      Offer_Update_Tool(s);
    } else {
      s.Message->Information(
          "Velora Tanımlam Veritabanıyla İlgili Bir Hata Tespit Etti. Sistem Bu Haliye "
          "Çalışmaz.Bunun İçin Özür Dileriz. Lütfen Program Satıcınızla Görüşünüz.",
          "Velora:" + e.Description);
    }
    throw ProgramEnd{1};
  }
}
