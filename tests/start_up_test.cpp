// Start-up: the command line, the regional-settings check, the report right and the roads
// through Open_Company, each ending with its own message.
#include <gtest/gtest.h>

#include "app/start_up.h"
#include "db/registry.h"
#include "process/program_end.h"
#include "support/test_suite.h"

namespace {

QStringList Parse(TestSuite& t, const QString& line) {
  Parse_Command_Line(t.state, line);
  return t.state.Parametreler;
}

}  // namespace

TEST(CommandLine, FieldsAndGlobals) {
  TestSuite t;
  EXPECT_EQ(Parse(t, "DB|SRV|7|sa|gizli"), (QStringList{"", "DB", "SRV", "7", "sa", "gizli"}));
  EXPECT_EQ(t.state.Database_Name, "DB");
  EXPECT_EQ(t.state.Server_Name, "SRV");
  EXPECT_EQ(t.state.User_ID, 7);
  EXPECT_EQ(t.state.Sql_User, "sa");
  EXPECT_EQ(t.state.Sql_Password, "gizli");

  // "æ" alone is an empty password; values are taken as they stand.
  Parse(t, QString("DB| SRV |1|sa|") + QChar(0x00E6));
  EXPECT_EQ(t.state.Sql_Password, "");
  EXPECT_EQ(t.state.Server_Name, " SRV ");
  Parse(t, QString("DB|SRV|1|sa|") + QChar(0x00E6) + "x");
  EXPECT_EQ(t.state.Sql_Password, QString(QChar(0x00E6)) + "x");

  // Two separators in a row give an empty field; fields after the fifth are ignored.
  EXPECT_EQ(Parse(t, "DB||1|sa|p|extra|more").mid(0, 6),
            (QStringList{"", "DB", "", "1", "sa", "p"}));
  EXPECT_EQ(t.state.Server_Name, "");
  EXPECT_EQ(t.state.Sql_Password, "p");
}

TEST(CommandLine, UserIdOutsideItsRangeIsNoUser) {
  TestSuite t;
  Parse(t, "DB|SRV|88888888888888888888|sa|p");
  EXPECT_EQ(t.state.User_ID, 0);
  Parse(t, "DB|SRV|-2147483649|sa|p");
  EXPECT_EQ(t.state.User_ID, 0);
  Parse(t, "DB|SRV|inf|sa|p");
  EXPECT_EQ(t.state.User_ID, 0);
  Parse(t, "DB|SRV|2147483647|sa|p");
  EXPECT_EQ(t.state.User_ID, 2147483647);
  Parse(t, " 12.9 |SRV| 12.9 |sa|p");
  EXPECT_EQ(t.state.User_ID, 12);
}

TEST(CommandLine, EmptyAndShortLines) {
  TestSuite t;
  EXPECT_EQ(Parse(t, ""), (QStringList{"", "-1"}));
  EXPECT_TRUE(t.messages.entries.empty());

  // A trailing "|" after the fourth field stays glued to it: four fields only.
  EXPECT_THROW(Parse(t, "DB|SRV|1|sa|"), ProgramEnd);
  EXPECT_EQ(t.state.Parametreler.value(4), "sa|");
  ASSERT_EQ(t.messages.entries.size(), 1u);
  EXPECT_EQ(t.messages.entries[0].kind, MessageKind::Critical);
  EXPECT_EQ(t.messages.entries[0].text, "Eksik Paremetre Kullanımı ");

  // A single character is one field.
  EXPECT_THROW(Parse(t, "x"), ProgramEnd);
  EXPECT_EQ(t.state.Parametreler, (QStringList{"", "x"}));
}

TEST(RegionalSettings, CheckedFixedOrRefused) {
  TestSuite t;
  // Nothing set: the question; No ends the program without writing anything.
  EXPECT_EQ(Regional_Settings_Fault(), "TARIH");
  EXPECT_THROW(Check_Regional_Settings(t.state), ProgramEnd);
  ASSERT_EQ(t.messages.entries.size(), 1u);
  EXPECT_EQ(t.messages.entries[0].kind, MessageKind::Question);
  EXPECT_EQ(t.messages.entries[0].text,
            "Programın Çalışabilmesi için Sistemin Ayarlanması Gerekiyor.\rEğer Onaylarsanız Bu "
            "ayarlar Yapılacaktır.\rOnaylıyormusunuz ?");
  EXPECT_EQ(Registry_Read(Hive::HKEY_CURRENT_USER, "Control Panel\\International", "sDecimal"), "");

  // Yes writes the four values and reads the separators again.
  t.messages.Answer(true);
  Registry_Write(Hive::HKEY_CURRENT_USER, "Control Panel\\International", "sDecimal", ".");
  EXPECT_EQ(Regional_Settings_Fault(), "TARIH");  // the last wrong value names the fault
  Check_Regional_Settings(t.state);
  EXPECT_EQ(Regional_Settings_Fault(), "");
  EXPECT_EQ(t.state.System_Decimal_Sep, ",");
  EXPECT_EQ(t.state.System_Thousand_Sep, ".");
  EXPECT_EQ(Registry_Read(Hive::HKEY_CURRENT_USER, "Control Panel\\International", "sShortDate"),
            "dd.MM.yyyy");

  // Settings already right: no question.
  t.messages.entries.clear();
  Check_Regional_Settings(t.state);
  EXPECT_TRUE(t.messages.entries.empty());

  // One wrong value is enough to ask again.
  Registry_Write(Hive::HKEY_CURRENT_USER, "Control Panel\\International", "sThousand", ",");
  EXPECT_EQ(Regional_Settings_Fault(), "BASAMAK");
  EXPECT_THROW(Check_Regional_Settings(t.state), ProgramEnd);
}

TEST(OpenCompany, ShowsTheRunWindowForAUserWithTheRight) {
  TestSuite t;
  t.Set_Regional_Settings();
  Parse_Command_Line(t.state, t.Command_Line(1));
  int shown = 0;
  Open_Company(t.state, [&] { ++shown; });
  EXPECT_EQ(shown, 1);
  EXPECT_TRUE(t.state.Report_Right);
  EXPECT_EQ(t.state.Right_Column_R, "CARR");
  EXPECT_EQ(t.state.Right_Column_B, "CARB");
  EXPECT_TRUE(
      t.state.Connection_String.startsWith("Provider=SQLOLEDB.1;Persist Security Info=False;"));
  EXPECT_TRUE(t.messages.entries.empty());
}

TEST(OpenCompany, EndsWithoutRightOrConnection) {
  // A user whose right is false, or NULL: the information message and no window.
  for (int user : {2, 3}) {
    TestSuite t;
    t.Set_Regional_Settings();
    Parse_Command_Line(t.state, t.Command_Line(user));
    bool shown = false;
    EXPECT_THROW(Open_Company(t.state, [&] { shown = true; }), ProgramEnd);
    EXPECT_FALSE(shown);
    ASSERT_EQ(t.messages.entries.size(), 1u);
    EXPECT_EQ(t.messages.entries[0].kind, MessageKind::Information);
    EXPECT_EQ(t.messages.entries[0].text,
              "Bu Raporu Görmeye Yetkiniz Yoktur. Lütfen Sistem Yöneticisi'ne Başvurun");
  }
  // A user with no row at all: the right query finds nothing, which is a failure of the
  // opening (the connection pair of messages).
  {
    TestSuite t;
    t.Set_Regional_Settings();
    Parse_Command_Line(t.state, t.Command_Line(9));
    EXPECT_THROW(Open_Company(t.state, [] {}), ProgramEnd);
    ASSERT_EQ(t.messages.entries.size(), 2u);
    EXPECT_TRUE(t.messages.entries[0].text.startsWith("Veri Tabanına Bağlanılamadı."));
  }
  // A database that does not exist: both forms refused, the two messages, and no file made.
  {
    TestSuite t;
    t.Set_Regional_Settings();
    Parse_Command_Line(t.state, "YOK|" + t.Data_Folder() + "|1|sa|x");
    EXPECT_THROW(Open_Company(t.state, [] {}), ProgramEnd);
    ASSERT_EQ(t.messages.entries.size(), 2u);
    EXPECT_EQ(t.messages.entries[0].kind, MessageKind::Information);
    EXPECT_EQ(t.messages.entries[0].text,
              "Veri Tabanına Bağlanılamadı. Lütfen Service Manager Programı İle Server'ınızı "
              "Başlattıktan sonra programı Tekrar Çalıştırın");
    EXPECT_EQ(t.messages.entries[1].kind, MessageKind::Plain);
    EXPECT_TRUE(t.messages.entries[1].text.startsWith("Hata Ayrıntsı :"));
    EXPECT_GT(t.messages.entries[1].text.size(), QString("Hata Ayrıntsı :").size());
    EXPECT_FALSE(QFile::exists(t.Data_Folder() + "/YOK.sqlite"));
  }
}
