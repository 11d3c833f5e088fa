// The login without a window: the connection file and the server box, the user check with its
// messages and the count of failures, the company list, the remembered user and server, the
// chosen company opened by Open_Company, the demo's users, and the demo ledger made again by its
// number.
#include <gtest/gtest.h>

#include <QDir>
#include <QSysInfo>
#include <cmath>
#include <map>

#include "db/connection.h"
#include "db/registry.h"
#include "demo/demo_suite.h"
#include "login/login.h"
#include "process/program_end.h"
#include "support/login_suite.h"
#include "support/test_suite.h"
#include "ui_common/keyed_grid.h"

namespace {

const QString kCheck = "Kullanıcı adınızı ve şifrenizi kontrol ediniz.";

// A suite with the login's users: VELORA (id 1, both companies; the report right in FIRMA) and
// IŞIK (id 5, no company).
class LoginSuite {
 public:
  LoginSuite() : login(t.state, Suite_Start_Up(t, calls, [this] { run_window_shown = true; })) {
    t.Set_Regional_Settings();
    Add_Second_Company(t);
    Add_Login_User(t, 1, "VELORA", "velora", {1, 2});
    Add_Login_User(t, 5, "IŞIK", "ışık", {});
    Write_Connection_File(t, Suite_Connection_Line(t));
  }
  LoginBoxes Load() {
    LoginBoxes boxes;
    login.Form_Load(boxes);
    return boxes;
  }
  LoginOutcome Try(const QString& user, const QString& password, bool remember = false) {
    LoginBoxes boxes = Load_Once();
    boxes.user = user;
    boxes.password = password;
    boxes.remember = remember;
    return login.Tamam(boxes, companies);
  }
  QStringList Messages() const { return t.messages.Texts(); }

  TestSuite t;
  QStringList calls;
  bool run_window_shown = false;
  Login login;
  KeyedGrid companies;

 private:
  LoginBoxes Load_Once() {
    if (!loaded_) boxes_ = Load();
    loaded_ = true;
    return boxes_;
  }
  bool loaded_ = false;
  LoginBoxes boxes_;
};

QString Remembered(const char* value) {
  return Registry_Read(Hive::HKEY_CURRENT_USER, kLoginRegistryKey, value);
}

}  // namespace

TEST(LoginLoad, ConnectionFileServerBoxAndStartValues) {
  LoginSuite l;
  Write_Connection_File(l.t, "SUNUCU;kullanici;gizli;1;bos;fazla");
  LoginBoxes boxes = l.Load();
  EXPECT_EQ(l.calls, (QStringList{"Read_Connection_File", "Check_Regional_Settings"}));
  EXPECT_EQ(l.t.state.Server_Name, "SUNUCU");
  EXPECT_EQ(l.t.state.Sql_User, "kullanici");
  EXPECT_EQ(l.t.state.Sql_Password, "gizli");
  EXPECT_EQ(l.t.state.Database_Name, "Defination_DB");
  EXPECT_TRUE(l.login.Show_Server_Box());
  EXPECT_EQ(boxes.user, "velora");
  EXPECT_EQ(boxes.server, QSysInfo::machineHostName().trimmed());
  EXPECT_EQ(l.t.state.Computer_Name, boxes.server);

  // Field 4: any text whose number is 1 shows the box; empty, another number or no number hides it.
  const std::pair<const char*, bool> flags[] = {{"1", true},   {"01", true}, {" 1", true},
                                                {"1.0", true}, {"", false},  {"2", false},
                                                {"0", false},  {"x", false}};
  for (const auto& [flag, shown] : flags) {
    Write_Connection_File(l.t, QString("S;sa;;") + flag);
    l.Load();
    EXPECT_EQ(l.login.Show_Server_Box(), shown) << flag;
  }
  // Three fields only: user and password of the file, the box hidden.
  Write_Connection_File(l.t, "S;sa");
  l.Load();
  EXPECT_EQ(l.t.state.Sql_Password, "");
  EXPECT_FALSE(l.login.Show_Server_Box());

  // No line: the connection-settings message with its title, and the end.
  Write_Connection_File(l.t, "");
  l.t.messages.entries.clear();
  EXPECT_THROW(l.Load(), ProgramEnd);
  ASSERT_EQ(l.t.messages.entries.size(), 1u);
  EXPECT_EQ(l.t.messages.entries[0].title, "VELORA TİCARİ YAZILIM");
  EXPECT_EQ(l.t.messages.entries[0].kind, MessageKind::Critical);
  // It names the file looked for.
  EXPECT_TRUE(l.t.messages.entries[0].text.contains("\nAranan dosya: " + l.t.Root() + "/sys.inf"))
      << l.t.messages.entries[0].text.toStdString();
}

TEST(LoginCheck, UsersPasswordsAndTheCompanyList) {
  LoginSuite l;
  // A wrong password and an unknown user: the same message, each counted. A quote in the name
  // is only a wrong name, not a broken statement. (The third failure: LoginWindow tests.)
  EXPECT_EQ(l.Try("velora", "yanlis"), LoginOutcome::Failed);
  EXPECT_EQ(l.Try("o'neil", "velora"), LoginOutcome::Failed);
  EXPECT_EQ(l.login.Failed_Logins(), 2);
  ASSERT_EQ(l.t.messages.entries.size(), 2u);
  EXPECT_EQ(l.t.messages.entries[0].kind, MessageKind::Critical);
  EXPECT_EQ(l.Messages(), (QStringList{kCheck, kCheck}));

  // The right password after two failures: the user's companies, newest id first.
  EXPECT_EQ(l.Try("velora", "velora"), LoginOutcome::Companies);
  EXPECT_EQ(l.t.messages.entries.size(), 2u);
  EXPECT_EQ(l.t.state.User_ID, 1);
  // (The list's columns as shown: LoginWindow tests.)
  const KeyedGrid& g = l.companies;
  ASSERT_EQ(g.Rows(), 3);
  EXPECT_EQ(g.Text(1, "sysfrm_nm"), "İKİNCİ FİRMA");
  EXPECT_EQ(g.Text(2, "sysfrm_nm"), " Deneme A.Ş. ");
  EXPECT_EQ(g.Text(2, "sysfrm_kd"), "001");
  EXPECT_EQ(g.Row(), 1);

  // The name is upper-cased by the Turkish rules; a user with no company gets an empty list.
  EXPECT_EQ(l.Try("ışık", "ışık"), LoginOutcome::Companies);
  EXPECT_EQ(l.t.state.User_ID, 5);
  EXPECT_EQ(l.companies.Rows(), 1);
  EXPECT_EQ(l.companies.Text(0, 0), "Firma Adı");
  EXPECT_EQ(l.t.messages.entries.size(), 2u);
}

TEST(LoginCheck, ServerThatRefusesAndTheTypedServer) {
  LoginSuite l;
  Write_Connection_File(l.t, "DOSYADAKI;sa;;1");
  LoginBoxes boxes = l.Load();
  boxes.password = "velora";
  boxes.server = " sqlite:" + l.t.Root() + "/Yok ";
  EXPECT_EQ(l.login.Tamam(boxes, l.companies), LoginOutcome::Connection_Error);
  EXPECT_EQ(l.t.state.Server_Name, "sqlite:" + l.t.Root() + "/Yok");
  ASSERT_EQ(l.t.messages.entries.size(), 3u);
  EXPECT_EQ(l.t.messages.entries[0].kind, MessageKind::Critical);
  EXPECT_EQ(l.t.messages.entries[0].text, "Veri Tabanına Bağlanılamadı ");
  EXPECT_EQ(l.t.messages.entries[1].kind, MessageKind::Plain);
  EXPECT_TRUE(l.t.messages.entries[1].text.contains("Yok")) << l.Messages().join("|").toStdString();
  EXPECT_EQ(l.t.messages.entries[2].kind, MessageKind::Plain);
  EXPECT_EQ(l.t.messages.entries[2].text, QString::number(kErrConnectionRefused));
  EXPECT_EQ(l.login.Failed_Logins(), 0);

  // A server that refuses the login counts it as a failed attempt (an unknown role here).
  if (l.t.Server().startsWith("pg:")) {
    boxes.server = l.t.Server() + " user=yok_boyle_biri";
    EXPECT_EQ(l.login.Tamam(boxes, l.companies), LoginOutcome::Failed);
    EXPECT_EQ(l.login.Failed_Logins(), 1);
  }

  // What is typed in the server box is the server used.
  boxes.server = " " + l.t.Server() + " ";
  EXPECT_EQ(l.login.Tamam(boxes, l.companies), LoginOutcome::Companies);
  EXPECT_EQ(l.t.state.Server_Name, l.t.Server());
}

TEST(LoginRemember, StoredOnlyWhenTickedAndShownOnTheNextStart) {
  LoginSuite l;
  EXPECT_EQ(l.Try("velora", "yanlis", true), LoginOutcome::Failed);
  EXPECT_EQ(l.Try("velora", "velora", false), LoginOutcome::Companies);
  EXPECT_EQ(Remembered("DEF_KUL"), "");
  EXPECT_EQ(Remembered("DEF_SRVR"), "");

  // Ticked: the user name as typed and the server box's text, trimmed, even with the box hidden.
  LoginBoxes boxes = l.Load();
  boxes.user = "Velora";
  boxes.password = "velora";
  boxes.server = " BAŞKA ";
  boxes.remember = true;
  EXPECT_EQ(l.login.Tamam(boxes, l.companies), LoginOutcome::Companies);
  EXPECT_EQ(Remembered("DEF_KUL"), "Velora");
  EXPECT_EQ(Remembered("DEF_SRVR"), "BAŞKA");
  LoginBoxes next = l.Load();
  EXPECT_EQ(next.user, "Velora");
  EXPECT_EQ(next.server, "BAŞKA");
  // Stored values are trimmed when read back, too.
  Registry_Write(Hive::HKEY_CURRENT_USER, kLoginRegistryKey, "DEF_KUL", "  ali ");
  EXPECT_EQ(l.Load().user, "ali");
}

TEST(LoginCompany, TheChosenCompanyIsOpened) {
  LoginSuite l;
  ASSERT_EQ(l.Try("velora", "velora"), LoginOutcome::Companies);
  EXPECT_FALSE(l.login.Choose_Company(l.companies, 0));
  EXPECT_FALSE(l.login.Choose_Company(l.companies, 3));
  EXPECT_EQ(l.t.state.Database_Name, "Defination_DB");
  ASSERT_TRUE(l.login.Choose_Company(l.companies, 1));
  EXPECT_EQ(l.t.state.Database_Name, "FIRMA2");
  ASSERT_TRUE(l.login.Choose_Company(l.companies, 2));
  EXPECT_EQ(l.t.state.Database_Name, "FIRMA");
  l.login.Open_Company();
  EXPECT_TRUE(l.run_window_shown);
  EXPECT_EQ(l.calls.last(), "Open_Company");
  EXPECT_EQ(l.t.state.Company_Name.trimmed(), "Deneme A.Ş.");
  EXPECT_TRUE(l.t.state.Report_Right);

  // A company whose database is missing ends with Open_Company's connection message.
  l.run_window_shown = false;
  ASSERT_TRUE(l.login.Choose_Company(l.companies, 1));
  EXPECT_THROW(l.login.Open_Company(), ProgramEnd);
  EXPECT_FALSE(l.run_window_shown);
  EXPECT_TRUE(l.Messages().join("|").startsWith("Veri Tabanına Bağlanılamadı. Lütfen Service"));
}

TEST(LoginDemo, TheDemoUsersLogIn) {
  TestSuite t;
  t.Set_Regional_Settings();
  DemoOptions options;
  options.suite_folder = t.Root();
  Create_Demo_Suite(options);
  QStringList calls;
  KeyedGrid grid;
  Login login(t.state, Suite_Start_Up(t, calls, [] {}));
  LoginBoxes boxes;
  login.Form_Load(boxes);
  EXPECT_FALSE(login.Show_Server_Box());
  EXPECT_EQ(t.state.Server_Name, Demo_Data_Folder(t.Root()));

  // The initial user name with its password; the old names no longer log in.
  boxes.user = "ADMIN";
  EXPECT_EQ(login.Tamam(boxes, grid), LoginOutcome::Failed);
  boxes.user = "velora";
  boxes.password = "velora";
  ASSERT_EQ(login.Tamam(boxes, grid), LoginOutcome::Companies);
  EXPECT_EQ(t.state.User_ID, 1);
  // The first company's previous fiscal year is listed under the same code.
  ASSERT_EQ(grid.Rows(), 4);
  const int current = grid.Find_Row("sysfrm_dbnm", kDemoCompany),
            previous = grid.Find_Row("sysfrm_dbnm", Demo_Previous_Year_Database(2026));
  ASSERT_GT(current, 0);
  ASSERT_GT(previous, 0);
  EXPECT_GT(grid.Find_Row("sysfrm_dbnm", kDemoCompany2), 0);
  EXPECT_EQ(grid.Text(previous, "sysfrm_kd"), grid.Text(current, "sysfrm_kd"));
  EXPECT_EQ(grid.Text(previous, "sysfrm_nm"), grid.Text(current, "sysfrm_nm"));
  // The company opened, and MUHASEBE refused the second one's report: LoginWindow tests.
}

namespace {

// Every voucher line of both demo companies, in the order written.
std::vector<std::vector<QVariant>> Demo_Ledger(const QString& suite_folder,
                                               uint64_t ledger_number) {
  DemoOptions options;
  options.suite_folder = suite_folder;
  options.ledger_number = ledger_number;
  Create_Demo_Suite(options);
  std::vector<std::vector<QVariant>> lines;
  for (const char* company : {kDemoCompany, kDemoCompany2}) {
    Connection db;
    db.Open(Demo_Data_Folder(suite_folder), company, "sa", "", false);
    QueryResult result = db.Execute(
        "SELECT Fis_No, Tarih, MHesap_Kod, BTutar, ATutar, Isyeri_Kodu FROM MUHFISHAR ORDER BY "
        "MFisHar_ID");
    lines.insert(lines.end(), result.rows.begin(), result.rows.end());
  }
  return lines;
}

}  // namespace

TEST(DemoLedger, SameNumberSameLedger) {
  TestSuite t;
  const auto first = Demo_Ledger(t.Root() + "/a", 42);
  ASSERT_GT(first.size(), 1000u);
  EXPECT_EQ(Demo_Ledger(t.Root() + "/b", 42), first);
  EXPECT_NE(Demo_Ledger(t.Root() + "/c", 43), first);
  EXPECT_NE(Demo_Ledger(t.Root() + "/d", 0), first);
}

// The first company's year opens with its previous year's closing balances; that year, and the
// year itself when asked, close every income statement account into the period's result.
TEST(DemoLedger, TheYearOpensWithLastYearsClosingBalances) {
  TestSuite t;
  DemoOptions options;
  options.suite_folder = t.Root();
  options.closing = true;
  Create_Demo_Suite(options);
  const QString folder = Demo_Data_Folder(t.Root());
  auto balances = [&](const QString& database, const QString& where) {
    Connection db;
    db.Open(folder, database, "sa", "", false);
    std::map<QString, double> by_code;
    for (const auto& row : db.Execute("SELECT MHesap_Kod, SUM(BTutar - ATutar) FROM MUHFISHAR " +
                                      where + " GROUP BY MHesap_Kod")
                               .rows)
      if (std::fabs(row[1].toDouble()) >= 0.005) by_code[row[0].toString()] = row[1].toDouble();
    return by_code;
  };
  const QString previous = Demo_Previous_Year_Database(options.year);
  const auto closed = balances(previous, "");
  const auto opening = balances(kDemoCompany, "WHERE Islem_Tipi='Açılış Fişi'");
  ASSERT_GT(opening.size(), 10u);
  ASSERT_EQ(opening.size(), closed.size());
  for (const auto& [code, balance] : closed) {
    EXPECT_FALSE(code.startsWith('6') || code.startsWith('7')) << code.toStdString();
    ASSERT_TRUE(opening.count(code)) << code.toStdString();
    EXPECT_NEAR(opening.at(code), balance, 0.005) << code.toStdString();
  }
  // Closed: the income statement accounts' result is in 590 or 591, and they stand at nil.
  for (const QString& database : {previous, QString(kDemoCompany)}) {
    SCOPED_TRACE(database.toStdString());
    double result = 0;
    for (const auto& [code, balance] : balances(database, "WHERE Islem_Tipi<>'Kapanış Fişi'"))
      if (code.startsWith('6')) result -= balance;
    const auto year_end = balances(database, "WHERE Islem_Tipi='Kapanış Fişi'");
    ASSERT_FALSE(year_end.empty());
    const double carried = year_end.count("590") ? -year_end.at("590") : -year_end.at("591");
    EXPECT_NEAR(carried, result, 0.005);
    for (const auto& [code, balance] : balances(database, ""))
      EXPECT_FALSE(code.startsWith('6')) << code.toStdString() << " " << balance;
  }
}
