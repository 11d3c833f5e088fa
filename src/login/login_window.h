// LoginFrm, the window of a start without a command line ("Giriş"): the login panel
// KullaniciPnl (user name sysus_nm, password sysus, server DB_Name shown when the connection
// file asks for it, "Bu Kullanıcıyı Hatırla", TamamBtn, CikisBtn) and, after a successful
// check, the company panel FirmaPnl with the user's companies in TDBG1. Choosing a company
// closes the window and opens it. The rules are the Login logic's; the window only shows them.
// Every road that ends the program (CikisBtn, Escape, closing the window, the third failed
// login, a failed Open_Company) is reported through Program_Ended.
#pragma once

#include <QWidget>

#include "login/login.h"
#include "ui_common/keyed_grid.h"

class KeyedGridView;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

class LoginFrm : public QWidget {
  Q_OBJECT
 public:
  // Form_Load; a missing or empty connection file ends the program here (ProgramEnd).
  LoginFrm(AppState& state, LoginStartUp start_up, QWidget* parent = nullptr);
  ~LoginFrm() override;

  // TamamBtn's action.
  void TamamBtn_Click();
  // Double-click or Enter on a company row: closes the window and opens the company.
  void Choose_Company();
  // CikisBtn's action.
  void CikisBtn_Click();

  const KeyedGrid& Companies() const { return companies_; }
  Login& Logic() { return login_; }

 signals:
  // The program ends with this exit code.
  void Program_Ended(int exit_code);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Build_Controls();
  QLineEdit* Add_Box(const char* name, const char* tag);
  LoginBoxes Boxes() const;
  void End_Program(int exit_code);

  AppState& s_;
  Login login_;
  KeyedGrid companies_;
  bool activated_ = false;
  bool ended_ = false;

  QLabel* zemin_ = nullptr;
  QFrame* kullanici_pnl_ = nullptr;
  QFrame* firma_pnl_ = nullptr;
  QCheckBox* kullanici_ayar_sakla_ = nullptr;
  QPushButton* tamam_btn_ = nullptr;
  QPushButton* cikis_btn_ = nullptr;
  QLineEdit* db_name_ = nullptr;
  QLineEdit* sysus_ = nullptr;
  QLineEdit* sysus_nm_ = nullptr;
  QLabel* label1_ = nullptr;
  KeyedGridView* tdbg1_ = nullptr;
};
