// The login of a program started without a command line. It reads the suite's connection file
// (server, SQL login, password, whether the server box shows), connects to Defination_DB,
// checks the user name and password against `sysuslng` (the name upper-cased by the Turkish
// rules, the password in the suite's encoded form) and lists the companies of the user from
// `sysfrmlng` and `sysusfrmlng`. The chosen company's database becomes Database_Name, and the
// same Open_Company as on the command-line road opens it. The last user name and server are
// remembered under HKEY_CURRENT_USER\DEF_VELORA. The window LoginFrm shows this logic.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>

#include "db/recordset.h"

struct AppState;
struct DbError;
class KeyedGrid;

// The start-up procedures the login calls; the program's entry supplies them.
struct LoginStartUp {
  std::function<QString()> read_connection_file;  // ends the program when there is no line
  std::function<void()> check_regional_settings;
  std::function<void()> open_company;
};

// The texts of the login panel's controls.
struct LoginBoxes {
  QString user = "velora";  // sysus_nm
  QString password;         // sysus
  QString server;           // DB_Name
  bool remember = false;    // Kullanici_Ayar_Sakla
};

enum class LoginOutcome {
  Companies,        // the user is known: the company list is filled
  Failed,           // wrong user or password: the user-name box gets the focus
  Connection_Error  // any other failure: the server box gets the focus
};

inline const char* kLoginRegistryKey = "DEF_VELORA";

class Login {
 public:
  Login(AppState& state, LoginStartUp start_up);

  // Form_Load: reads the connection file (ProgramEnd when it is missing or empty), checks the
  // regional settings, fills the server box with the machine name and then the remembered
  // values, and sets Database_Name to "Defination_DB".
  void Form_Load(LoginBoxes& boxes);
  // Fills the user name and server from the registry when they are stored there.
  void Def_Kullanici_Oku(LoginBoxes& boxes) const;
  // Stores the user name and server.
  void Def_Kullanici_Kaydet(const LoginBoxes& boxes) const;

  // TamamBtn: connects, checks the user and fills `companies` with the user's companies. The
  // third failed login shows its message and ends the program (ProgramEnd).
  LoginOutcome Tamam(const LoginBoxes& boxes, KeyedGrid& companies);
  // Binds the company grid to the rows of Rs_Login: every column of the result, the first two
  // with their captions and widths, the others hidden.
  void Fill_Company_Grid(KeyedGrid& companies);
  // The company of grid row `row` becomes Database_Name; false when the row holds none.
  bool Choose_Company(const KeyedGrid& companies, int row);
  // Opens the chosen company (Open_Company of the start-up).
  void Open_Company();

  bool Show_Server_Box() const { return show_server_box_; }
  int Failed_Logins() const { return failed_logins_; }

 private:
  LoginOutcome Failed_Login();
  LoginOutcome Connection_Failed(const DbError& error);

  AppState& s_;
  LoginStartUp start_up_;
  Recordset rs_login_;  // Rs_Login: the user check, then the company list
  bool show_server_box_ = false;
  uint8_t failed_logins_ = 0;
};
