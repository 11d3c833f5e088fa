// The login window on the demo suite, driven by keys offscreen: its controls and focus colours,
// the arrow and Enter navigation, failed logins and their end, Escape, the company list and the
// road through Open_Company to the run window, and the remembered user and server.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QSysInfo>
#include <QTest>
#include <memory>

#include "demo/demo_suite.h"
#include "login/login_window.h"
#include "run/filter_window.h"
#include "support/login_suite.h"
#include "support/test_suite.h"
#include "ui_common/keyed_grid_widget.h"

namespace {

const QString kCheck = "Kullanıcı adınızı ve şifrenizi kontrol ediniz.";
const QColor kFocusBack(0xFC, 0xE1, 0xD1);

class DemoLogin {
 public:
  DemoLogin() {
    t.Set_Regional_Settings();
    DemoOptions options;
    options.suite_folder = t.Root();
    Create_Demo_Suite(options);
    QFile::copy(QString(MALITABLO_PROGRAM_DIR) + "/Master.mtr",
                t.state.Program_Folder + "/Master.mtr");
    t.state.Movement_Table = "CARIHAREKETLER";
  }

  void Open() {
    w = std::make_unique<LoginFrm>(t.state, Suite_Start_Up(t, calls, [this] {
                                     run_window = std::make_unique<FiltreFrm>(t.state);
                                     run_window->show();
                                   }));
    QObject::connect(w.get(), &LoginFrm::Program_Ended,
                     [this](int exit_code) { ended.push_back(exit_code); });
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
  }

  template <typename T = QWidget>
  T* Control(const char* name) {
    return w->findChild<T*>(name);
  }
  QLineEdit* Box(const char* name) { return Control<QLineEdit>(name); }
  QWidget* Focus() { return QApplication::focusWidget(); }
  void Key(Qt::Key key) { QTest::keyClick(Focus(), key); }
  void Type(const QString& text) { QTest::keyClicks(Focus(), text); }
  static QColor Back(QLineEdit* box) { return box->palette().color(QPalette::Base); }

  TestSuite t;
  QStringList calls;
  std::unique_ptr<FiltreFrm> run_window;
  std::vector<int> ended;
  std::unique_ptr<LoginFrm> w;
};

}  // namespace

TEST(LoginWindow, ControlsFocusColoursAndArrowKeys) {
  DemoLogin d;
  d.Open();
  EXPECT_FALSE(d.Control<QCheckBox>("Kullanici_Ayar_Sakla")->isChecked());
  EXPECT_EQ(d.Box("sysus_nm")->text(), "velora");
  EXPECT_EQ(d.Box("sysus")->echoMode(), QLineEdit::Password);
  EXPECT_EQ(d.Box("sysus")->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr,
                                               d.Box("sysus")),
            '*');
  // The demo's connection file hides the server box and its label.
  EXPECT_FALSE(d.Box("DB_Name")->isVisible());
  EXPECT_FALSE(d.Control("Label1")->isVisible());
  EXPECT_TRUE(d.Control("KullaniciPnl")->isVisible());
  EXPECT_FALSE(d.Control("FirmaPnl")->isVisible());

  // The password box has the focus and its colour; the others are white.
  ASSERT_EQ(d.Focus(), d.Box("sysus"));
  EXPECT_EQ(DemoLogin::Back(d.Box("sysus")), kFocusBack);
  EXPECT_EQ(DemoLogin::Back(d.Box("sysus_nm")), QColor(Qt::white));
  // Up goes to the user name, whose text is selected; Down comes back; with the server box
  // hidden, Down from the password stays; Left and Right go nowhere.
  d.Key(Qt::Key_Up);
  ASSERT_EQ(d.Focus(), d.Box("sysus_nm"));
  EXPECT_EQ(d.Box("sysus_nm")->selectedText(), "velora");
  EXPECT_EQ(DemoLogin::Back(d.Box("sysus_nm")), kFocusBack);
  EXPECT_EQ(DemoLogin::Back(d.Box("sysus")), QColor(Qt::white));
  d.Key(Qt::Key_Down);
  EXPECT_EQ(d.Focus(), d.Box("sysus"));
  d.Key(Qt::Key_Down);
  EXPECT_EQ(d.Focus(), d.Box("sysus"));
  d.Key(Qt::Key_Left);
  d.Key(Qt::Key_Right);
  EXPECT_EQ(d.Focus(), d.Box("sysus"));
  EXPECT_TRUE(d.ended.empty());
  EXPECT_TRUE(d.t.messages.entries.empty());
}

TEST(LoginWindow, WrongPasswordThenTheCompanyOpensTheRunWindow) {
  DemoLogin d;
  d.Open();
  d.Type("yanlis");
  d.Key(Qt::Key_Return);
  EXPECT_EQ(d.t.messages.Texts(), QStringList{kCheck});
  EXPECT_EQ(d.Focus(), d.Box("sysus_nm"));
  EXPECT_TRUE(d.Control("KullaniciPnl")->isVisible());

  // Enter in the user-name box only moves to the password box: no attempt is spent.
  d.Key(Qt::Key_Return);
  EXPECT_EQ(d.t.messages.Texts(), QStringList{kCheck});
  ASSERT_EQ(d.Focus(), d.Box("sysus"));
  d.Type("velora");  // the whole old text was selected
  EXPECT_EQ(d.Box("sysus")->text(), "velora");
  d.Key(Qt::Key_Return);
  EXPECT_EQ(d.t.messages.entries.size(), 1u);
  EXPECT_FALSE(d.Control("KullaniciPnl")->isVisible());
  EXPECT_TRUE(d.Control("FirmaPnl")->isVisible());
  auto* grid = d.Control<KeyedGridView>("TDBG1");
  ASSERT_EQ(d.Focus(), grid);
  ASSERT_EQ(grid->model()->rowCount(), 3);  // the first company twice: this year and the last
  EXPECT_EQ(grid->model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "Firma Adı");
  EXPECT_EQ(grid->columnWidth(0), 200);
  EXPECT_EQ(grid->columnWidth(1), 113);
  for (int col = 2; col < 6; ++col) EXPECT_TRUE(grid->isColumnHidden(col)) << col;
  EXPECT_EQ(grid->model()->index(0, 0).data().toString(), "Anadolu Gıda Ltd. Şti.");

  // Down to the first company of the suite, Enter: the window closes, the company opens.
  QTest::keyClick(grid, Qt::Key_Down);
  QTest::keyClick(grid, Qt::Key_Return);
  EXPECT_FALSE(d.w->isVisible());
  EXPECT_EQ(d.t.state.Database_Name, kDemoCompany);
  EXPECT_EQ(d.t.state.User_ID, 1);
  EXPECT_EQ(d.calls.last(), "Open_Company");
  ASSERT_TRUE(d.run_window);
  EXPECT_TRUE(d.run_window->isVisible());
  EXPECT_EQ(d.t.state.Company_Name, "Örnek Ticaret A.Ş.");
  EXPECT_TRUE(d.ended.empty());
}

TEST(LoginWindow, ThreeFailuresEscapeAndAUserWithoutCompanies) {
  DemoLogin d;
  d.Open();
  for (int i = 0; i < 3; ++i) {
    d.Box("sysus")->setFocus();
    d.Type("x");
    d.Key(Qt::Key_Return);
  }
  const QString last_try =
      "Giriş Hatası Böyle Bir Kullanıcı Tanımlı Değil.Deneme Sayınız Bitmiştir.";
  EXPECT_EQ(d.t.messages.Texts(), (QStringList{kCheck, kCheck, last_try}));
  EXPECT_EQ(d.ended, std::vector<int>{1});

  // Escape anywhere ends the program; the next window counts its failures anew.
  d.ended.clear();
  d.t.messages.entries.clear();
  d.Open();
  d.Key(Qt::Key_Escape);
  EXPECT_EQ(d.ended, std::vector<int>{0});
  // So does closing the window.
  d.ended.clear();
  d.Open();
  d.w->close();
  EXPECT_EQ(d.ended, std::vector<int>{0});

  d.ended.clear();
  Add_Login_User(d.t, 9, "BOŞ", "boş", {});
  d.Open();
  d.Box("sysus_nm")->setText("boş");
  d.Box("sysus")->setText("boş");
  d.Key(Qt::Key_Return);
  EXPECT_TRUE(d.t.messages.entries.empty());
  EXPECT_TRUE(d.Control("FirmaPnl")->isVisible());
  auto* grid = d.Control<KeyedGridView>("TDBG1");
  EXPECT_EQ(grid->model()->rowCount(), 0);
  QTest::keyClick(grid, Qt::Key_Return);
  EXPECT_TRUE(d.w->isVisible());
  EXPECT_TRUE(d.ended.empty());
  EXPECT_FALSE(d.run_window);
  // Escape in the company list ends the program as well.
  QTest::keyClick(grid, Qt::Key_Escape);
  EXPECT_EQ(d.ended, std::vector<int>{0});
}

TEST(LoginWindow, ServerBoxAndTheRememberedUserAndServer) {
  DemoLogin d;
  Write_Connection_File(d.t, "SUNUCU;sa;;1");
  d.Open();
  ASSERT_TRUE(d.Box("DB_Name")->isVisible());
  EXPECT_TRUE(d.Control("Label1")->isVisible());
  EXPECT_EQ(d.Box("DB_Name")->text(), QSysInfo::machineHostName().trimmed());
  // Down cycles user name, password, server; Up goes back.
  d.Key(Qt::Key_Down);
  EXPECT_EQ(d.Focus(), d.Box("DB_Name"));
  d.Key(Qt::Key_Down);
  EXPECT_EQ(d.Focus(), d.Box("sysus_nm"));
  d.Key(Qt::Key_Up);
  EXPECT_EQ(d.Focus(), d.Box("DB_Name"));

  d.Box("DB_Name")->setText(" " + Demo_Data_Folder(d.t.Root()) + " ");
  QTest::mouseClick(d.Control<QCheckBox>("Kullanici_Ayar_Sakla"), Qt::LeftButton);
  d.Box("sysus_nm")->setText("muhasebe");
  d.Box("sysus")->setText("muhasebe");
  QTest::mouseClick(d.Control<QPushButton>("TamamBtn"), Qt::LeftButton);
  EXPECT_TRUE(d.t.messages.entries.empty()) << d.t.messages.Texts().join("|").toStdString();
  EXPECT_TRUE(d.Control("FirmaPnl")->isVisible());
  EXPECT_EQ(d.t.state.User_ID, 2);
  // MUHASEBE may not see the report in the second company: its message, then the end.
  QTest::keyClick(d.Control("TDBG1"), Qt::Key_Return);
  EXPECT_EQ(d.t.state.Database_Name, kDemoCompany2);
  EXPECT_EQ(d.t.messages.Texts(),
            QStringList{"Bu Raporu Görmeye Yetkiniz Yoktur. Lütfen Sistem Yöneticisi'ne Başvurun"});
  EXPECT_EQ(d.ended, std::vector<int>{1});
  EXPECT_FALSE(d.run_window);

  // The next start shows the remembered user and server.
  d.Open();
  EXPECT_EQ(d.Box("sysus_nm")->text(), "muhasebe");
  EXPECT_EQ(d.Box("DB_Name")->text(), Demo_Data_Folder(d.t.Root()));
}
