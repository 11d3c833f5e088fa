#include "app/start_up.h"

#include <QDir>
#include <QSysInfo>
#include <cmath>

#include "company/company_parameters.h"
#include "db/connection.h"
#include "db/connection_file.h"
#include "db/open_connection.h"
#include "db/query.h"
#include "db/recordset.h"
#include "db/registry.h"
#include "process/app_state.h"
#include "process/program_end.h"

namespace {
const char* kInternational = "Control Panel\\International";
}

void Open_Connection(AppState& s, const QString& user, const QString& password,
                     const QString& database, const QString& server) {
  try {
    OpenedConnection opened = Open_Connection(user, password, database, server);
    s.Db_Connection = opened.connection;
    s.Connection_String = opened.connection_string;
  } catch (const DbError&) {
    s.Db_Connection = std::make_shared<Connection>();
    throw;
  }
}

QString Read_Connection_File(AppState& s) {
  const QString line = Read_Connection_File(s.Program_Folder);
  if (line.isEmpty()) {
    // Where the file was looked for: above the "Rapor" folder of the program's path.
    const QString path = Connection_File_Path(s.Program_Folder);
    s.Message->Critical(
        "Velora Bağlantı Ayarlarında Hata Tespit Edildi Lütfen Yönetim Panelinden Bağlantı "
        "Ayarlarınızı Kontrol Ediniz.\n" +
            (path.isEmpty() ? "Programın klasörü (" + s.Program_Folder +
                                  ") \"Rapor\" adlı bir klasörün içinde değil; sys.inf onun "
                                  "üstündeki klasörde aranır."
                            : "Aranan dosya: " + QDir::toNativeSeparators(path)),
        "VELORA TİCARİ YAZILIM");
    throw ProgramEnd{1};
  }
  return line;
}

void Parse_Command_Line(AppState& s, const QString& c) {
  const int length = static_cast<int>(c.size());
  int count = 0;
  for (int i = 1; i <= length; ++i)
    if (c[i - 1] == '|' || i == length) ++count;
  if (count == 0) {
    s.Parametreler = QStringList{QString(), "-1"};
    return;
  }
  s.Parametreler = QStringList();
  for (int i = 0; i <= count; ++i) s.Parametreler << QString();
  int last = 0;
  int k = 1;
  for (int i = 1; i <= length; ++i) {
    if (i == length) {
      s.Parametreler[k] = c.mid(last, i - last);
      ++k;
    } else if (c[i - 1] == '|') {
      s.Parametreler[k] = c.mid(last, i - 1 - last);
      last = i;
      ++k;
    }
  }
  if (count < 5) {
    s.Message->Critical("Eksik Paremetre Kullanımı ");
    throw ProgramEnd{1};
  }
  s.Database_Name = s.Parametreler[1];
  s.Server_Name = s.Parametreler[2];
  // An id that is no number within the 32-bit range names no user.
  const double user_id = s.Parametreler[3].trimmed().toDouble();
  s.User_ID = std::isfinite(user_id) && std::abs(user_id) < 2147483648.0
                  ? static_cast<int32_t>(user_id)
                  : 0;
  s.Sql_User = s.Parametreler[4];
  s.Sql_Password = s.Parametreler[5] == QString(QChar(0x00E6)) ? QString() : s.Parametreler[5];
}

QString Regional_Settings_Fault() {
  QString fault;
  if (Registry_Read(Hive::HKEY_CURRENT_USER, kInternational, "sDecimal") != ",") fault = "ONDALIK";
  if (Registry_Read(Hive::HKEY_CURRENT_USER, kInternational, "sThousand") != ".") fault = "BASAMAK";
  if (Registry_Read(Hive::HKEY_CURRENT_USER, kInternational, "sDate") != ".") fault = "TARIH";
  if (Registry_Read(Hive::HKEY_CURRENT_USER, kInternational, "sShortDate") != "dd.MM.yyyy")
    fault = "TARIH";
  return fault;
}

void Check_Regional_Settings(AppState& s) {
  const QString fault = Regional_Settings_Fault();
  const QString decimal = Registry_Read(Hive::HKEY_CURRENT_USER, kInternational, "sDecimal");
  const QString thousand = Registry_Read(Hive::HKEY_CURRENT_USER, kInternational, "sThousand");
  s.System_Decimal_Sep = decimal;
  s.System_Thousand_Sep = thousand;
  if (fault.isEmpty()) return;
  if (!s.Message->Question("Programın Çalışabilmesi için Sistemin Ayarlanması Gerekiyor.\rEğer "
                           "Onaylarsanız Bu ayarlar Yapılacaktır.\rOnaylıyormusunuz ?"))
    throw ProgramEnd{1};
  const bool written =
      Registry_Write(Hive::HKEY_CURRENT_USER, kInternational, "sDecimal", ",") &&
      Registry_Write(Hive::HKEY_CURRENT_USER, kInternational, "sThousand", ".") &&
      Registry_Write(Hive::HKEY_CURRENT_USER, kInternational, "sShortDate", "dd.MM.yyyy") &&
      Registry_Write(Hive::HKEY_CURRENT_USER, kInternational, "sDate", ".");
  if (!written) {
    s.Message->Critical("Ayarlar dosyasına yazılamadı: " + Registry_File());
    throw ProgramEnd{1};
  }
  // The settings take effect at once here: no restart is needed.
  s.System_Decimal_Sep = Registry_Read(Hive::HKEY_CURRENT_USER, kInternational, "sDecimal");
  s.System_Thousand_Sep = Registry_Read(Hive::HKEY_CURRENT_USER, kInternational, "sThousand");
}

void Check_Report_Right(AppState& s) {
  Recordset rs;
  Open_Recordset(s.Db(), rs,
                 "SELECT " + s.Right_Column_R +
                     " FROM Defination_DB.dbo.Kullanici WHERE Firma_ID=" +
                     QString::number(s.Company_ID) +
                     " AND Kullanici_ID=" + QString::number(s.User_ID));
  QVariant right = rs.Field(s.Right_Column_R);
  s.Report_Right = !right.isNull() && right.toString().trimmed() != "0" &&
                   right.toString().compare("false", Qt::CaseInsensitive) != 0 &&
                   !right.toString().trimmed().isEmpty();
}

void Open_Company(AppState& s, const std::function<void()>& show_run_window) {
  try {
    Open_Connection(s, s.Sql_User, s.Sql_Password, s.Database_Name, s.Server_Name);
    Check_Regional_Settings(s);
    Load_Company_Parameters(s);
    s.Right_Column_R = "CARR";
    s.Right_Column_B = "CARB";
    Check_Report_Right(s);
  } catch (const DbError& e) {
    s.Message->Information(
        "Veri Tabanına Bağlanılamadı. Lütfen Service Manager Programı İle Server'ınızı "
        "Başlattıktan sonra programı Tekrar Çalıştırın");
    s.Message->Plain("Hata Ayrıntsı :" + e.Description);
    throw ProgramEnd{1};
  }
  if (!s.Report_Right) {
    s.Message->Information(
        "Bu Raporu Görmeye Yetkiniz Yoktur. Lütfen Sistem Yöneticisi'ne Başvurun");
    throw ProgramEnd{1};
  }
  s.Computer_Name = QSysInfo::machineHostName();
  show_run_window();
}
