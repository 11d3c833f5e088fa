// malitablo-cli: the program without a screen. Messages go to stderr; a question is answered
// Yes only with --yes.
//   malitablo-cli company "<database>|<server>|<user id>|<sql user>|<password>" [--yes]
#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

#include "app/app_state.h"
#include "app/program_end.h"
#include "app/start_up.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "Kullanım:\n"
               "  malitablo-cli company \"<veritabanı>|<sunucu>|<kullanıcı no>|<sql kullanıcısı>|"
               "<şifre>\" [--yes]\n");
  return 2;
}

int Company(AppState& state) {
  QTextStream out(stdout);
  out << "Şirket: " << state.Company_Name << "\n"
      << "Şirket no: " << state.Company_ID << "\n"
      << "Veritabanı: " << state.Database_Name << "\n"
      << "Mali yıl: " << state.Fiscal_Year_Start.toString("dd.MM.yyyy") << " - "
      << state.Fiscal_Year_End.toString("dd.MM.yyyy") << "\n"
      << "Tutar biçimi: " << state.Amount_Format << "\n"
      << "Döviz biçimi: " << state.Currency_Format << "\n"
      << "Kur biçimi: " << state.Rate_Format << "\n"
      << "Birim fiyat biçimi: " << state.Unit_Price_Format << "\n"
      << "Döviz birim fiyat biçimi: " << state.Currency_Unit_Price_Format << "\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QStringList args = QCoreApplication::arguments().mid(1);
  bool yes = args.removeAll("--yes") > 0;
  if (args.size() != 2) return Usage();
  QString command = args[0];
  if (command != "company") return Usage();

  StderrMessages messages(yes);
  AppState state(messages);
  state.Program_Folder = QCoreApplication::applicationDirPath();
  try {
    Parse_Command_Line(state, args[1]);
    state.Movement_Table = "CARIHAREKETLER";
    if (state.Parametreler.value(1) == "-1") return Usage();
    int result = 0;
    Open_Company(state, [&] { result = Company(state); });
    return result;
  } catch (const ProgramEnd& end) {
    return end.exit_code;
  }
}
