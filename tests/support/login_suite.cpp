#include "support/login_suite.h"

#include <QFile>

#include "app/start_up.h"
#include "ui_common/turkish_text.h"

void Write_Connection_File(const TestSuite& t, const QString& line) {
  QFile file(t.Root() + "/sys.inf");
  if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write((line + "\r\n").toUtf8());
}

QString Suite_Connection_Line(const TestSuite& t) { return t.Server() + ";sa;;;"; }

void Add_Login_User(TestSuite& t, int id, const QString& name, const QString& password,
                    std::initializer_list<int> companies) {
  QString encoded = Encode_Password(password);
  t.Exec_Definitions("DELETE FROM sysuslng WHERE sysus_ID=" + QString::number(id));
  t.Exec_Definitions("INSERT INTO sysuslng (sysus_ID, sysus_nm, sysus) VALUES (" +
                     QString::number(id) + ", '" + name + "', '" + encoded.replace("'", "''") +
                     "')");
  for (int company : companies)
    t.Exec_Definitions("INSERT INTO sysusfrmlng (sysus_ID, sysfrm_ID) VALUES (" +
                       QString::number(id) + ", " + QString::number(company) + ")");
}

void Add_Second_Company(TestSuite& t) {
  t.Exec_Definitions(
      "INSERT INTO sysfrmlng (sysfrm_ID, sysfrm_nm, sysfrm_kd, sysfrm_dbnm, Mali_Yil_Baslangic, "
      "Mali_Yil_Bitis) VALUES (2, 'İKİNCİ FİRMA', '002', ' FIRMA2 ', '2026-01-01', "
      "'2026-12-31')");
}

LoginStartUp Suite_Start_Up(TestSuite& t, QStringList& calls, std::function<void()> run_window) {
  return {[&t, &calls] {
            calls << "Read_Connection_File";
            return Read_Connection_File(t.state);
          },
          [&t, &calls] {
            calls << "Check_Regional_Settings";
            Check_Regional_Settings(t.state);
          },
          [&t, &calls, run_window] {
            calls << "Open_Company";
            Open_Company(t.state, run_window);
          }};
}
