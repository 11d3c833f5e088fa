#include "login/login.h"

#include <QSysInfo>

#include "db/connection.h"
#include "db/db_error.h"
#include "db/open_connection.h"
#include "db/query.h"
#include "db/registry.h"
#include "db/sql_text.h"
#include "process/app_state.h"
#include "process/program_end.h"
#include "ui_common/keyed_grid.h"
#include "ui_common/turkish_text.h"

namespace {

const char* kUserValue = "DEF_KUL";
const char* kServerValue = "DEF_SRVR";
const char* kDefinitions = "Defination_DB";

struct CompanyColumn {
  const char* caption;
  int twips;
};
const CompanyColumn kCompanyColumns[] = {{"Firma Adı", 3000}, {"Firma Kodu", 1700}};

// Replaces the program's connection; a refused one leaves an unopened connection behind.
void Connect(AppState& s) {
  try {
    OpenedConnection opened =
        Open_Connection(s.Sql_User, s.Sql_Password, s.Database_Name, s.Server_Name);
    s.Db_Connection = opened.connection;
    s.Connection_String = opened.connection_string;
  } catch (const DbError&) {
    s.Db_Connection = std::make_shared<Connection>();
    throw;
  }
}

}  // namespace

Login::Login(AppState& state, LoginStartUp start_up) : s_(state), start_up_(std::move(start_up)) {}

void Login::Form_Load(LoginBoxes& boxes) {
  failed_logins_ = 0;
  const QString line = start_up_.read_connection_file();
  const QStringList fields = line.split(';');
  s_.Server_Name = fields.value(0);
  s_.Sql_User = fields.value(1);
  s_.Sql_Password = fields.value(2);
  // A fourth field whose number is 1 shows the server box; text that is no number hides it.
  bool number = false;
  const double flag = fields.value(3).trimmed().toDouble(&number);
  show_server_box_ = !fields.value(3).isEmpty() && number && flag == 1;
  start_up_.check_regional_settings();
  s_.Computer_Name = QSysInfo::machineHostName().trimmed();
  boxes.server = s_.Computer_Name;
  Def_Kullanici_Oku(boxes);
  s_.Database_Name = kDefinitions;
}

void Login::Def_Kullanici_Oku(LoginBoxes& boxes) const {
  const QString user = Registry_Read(Hive::HKEY_CURRENT_USER, kLoginRegistryKey, kUserValue);
  if (!user.isEmpty()) boxes.user = user.trimmed();
  const QString server = Registry_Read(Hive::HKEY_CURRENT_USER, kLoginRegistryKey, kServerValue);
  if (!server.isEmpty()) boxes.server = server.trimmed();
}

void Login::Def_Kullanici_Kaydet(const LoginBoxes& boxes) const {
  Registry_Write(Hive::HKEY_CURRENT_USER, kLoginRegistryKey, kUserValue, boxes.user.trimmed());
  Registry_Write(Hive::HKEY_CURRENT_USER, kLoginRegistryKey, kServerValue, boxes.server.trimmed());
}

LoginOutcome Login::Tamam(const LoginBoxes& boxes, KeyedGrid& companies) {
  try {
    if (show_server_box_) s_.Server_Name = boxes.server.trimmed();
    Connect(s_);
    Open_Recordset(s_.Db(), rs_login_,
                   "SELECT sysus_ID FROM sysuslng WHERE sysus_nm='" +
                       Sql_Quote_Value(Upper_TR(boxes.user)) + "' and sysus='" +
                       Sql_Quote_Value(Encode_Password(boxes.password)) + "'");
    if (rs_login_.Record_Count() < 1) return Failed_Login();
    if (boxes.remember) Def_Kullanici_Kaydet(boxes);
    rs_login_.Move_First();
    s_.User_ID = static_cast<int32_t>(rs_login_.Number("sysus_ID"));
    Open_Recordset(
        s_.Db(), rs_login_,
        "SELECT sysfrmlng.sysfrm_nm,sysfrmlng.sysfrm_kd,sysfrmlng.sysfrm_dbnm,sysfrmlng.sysfrm_ID,"
        "sysfrmlng.Mali_Yil_Baslangic,sysfrmlng.Mali_Yil_Bitis FROM sysfrmlng,sysusfrmlng WHERE "
        "sysfrmlng.sysfrm_ID=sysusfrmlng.sysfrm_ID and sysusfrmlng.sysus_ID=" +
            QString::number(s_.User_ID) + " ORDER BY sysfrmlng.sysfrm_ID DESC");
    Fill_Company_Grid(companies);
    return LoginOutcome::Companies;
  } catch (const DbError& e) {
    if (e.Number == kErrLoginRefused) return Failed_Login();
    return Connection_Failed(e);
  }
}

LoginOutcome Login::Failed_Login() {
  ++failed_logins_;
  if (failed_logins_ >= 3) {
    s_.Message->Critical(
        "Giriş Hatası Böyle Bir Kullanıcı Tanımlı Değil.Deneme Sayınız Bitmiştir.");
    throw ProgramEnd{1};
  }
  s_.Message->Critical("Kullanıcı adınızı ve şifrenizi kontrol ediniz.");
  return LoginOutcome::Failed;
}

LoginOutcome Login::Connection_Failed(const DbError& error) {
  s_.Message->Critical("Veri Tabanına Bağlanılamadı ");
  s_.Message->Plain(error.Description);
  s_.Message->Plain(QString::number(error.Number));
  return LoginOutcome::Connection_Error;
}

void Login::Fill_Company_Grid(KeyedGrid& companies) {
  const QStringList columns = rs_login_.Field_Names();
  KeyedGrid grid(columns);
  for (int col = 0; col < grid.Cols(); ++col) {
    if (col < 2) {
      grid.Set_Text(0, col, kCompanyColumns[col].caption);
      grid.Set_Col_Width(col, kCompanyColumns[col].twips);
    } else {
      grid.Set_Text(0, col, columns.at(col));
      grid.Set_Col_Hidden(col, true);
    }
  }
  if (rs_login_.Record_Count() > 0) rs_login_.Move_First();
  while (!rs_login_.Eof()) {
    const int row = grid.Add_Row();
    for (int col = 0; col < grid.Cols(); ++col)
      grid.Set_Text(row, col, rs_login_.Text(columns.at(col)));
    rs_login_.Move_Next();
  }
  grid.Set_Current(grid.Rows() > 1 ? 1 : 0, 0);
  companies = grid;
}

bool Login::Choose_Company(const KeyedGrid& companies, int row) {
  if (row < 1 || row >= companies.Rows()) return false;
  s_.Database_Name = companies.Text(row, "sysfrm_dbnm").trimmed();
  return true;
}

void Login::Open_Company() { start_up_.open_company(); }
