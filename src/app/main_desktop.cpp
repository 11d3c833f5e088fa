// MaliTablo: the desktop program. Started by the suite with "database|server|user id|sql
// user|password" it opens the company and shows its main window; started without them (or with
// a first field of "-1") it shows the login window, which opens the chosen company.
#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <exception>
#include <memory>

#include "app/message_box_dialog.h"
#include "app/start_up.h"
#include "audit/run_audit_window.h"
#include "login/login_window.h"
#include "process/app_state.h"
#include "process/program_end.h"
#include "report/output_window.h"
#include "run/filter_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QFileInfo(QApplication::applicationFilePath()).baseName());
  QTranslator qt_translator;
  if (qt_translator.load(QLocale(QLocale::Turkish, QLocale::Turkey), "qtbase", "_",
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    app.installTranslator(&qt_translator);

  MessageBoxMessages messages;
  AppState state(messages);
  state.Program_Folder = QApplication::applicationDirPath();
  std::unique_ptr<FiltreFrm> main_window;
  std::unique_ptr<LoginFrm> login;
  auto show_run_window = [&] {
    main_window = std::make_unique<FiltreFrm>(state);
    FiltreFrm* window = main_window.get();
    window->Set_Output_Handler([&state, window](const RunOutcome& run, const QString& target) {
      Produce_Output(state, run.statement, target, window, Breakdown_On_Double_Click(state, run));
    });
    QObject::connect(window, &FiltreFrm::Closed, &app, [] { QApplication::exit(0); });
    window->show();
  };
  try {
    QStringList args = QApplication::arguments().mid(1);
    Parse_Command_Line(state, args.join(' '));
    state.Movement_Table = "CARIHAREKETLER";
    if (state.Parametreler.value(1) == "-1") {
      state.Parametreler = QStringList{QString(), QString(), QString()};
      // The login window closes before the company's window opens: every end is explicit.
      app.setQuitOnLastWindowClosed(false);
      login =
          std::make_unique<LoginFrm>(state,
                                     LoginStartUp{[&] { return Read_Connection_File(state); },
                                                  [&] { Check_Regional_Settings(state); },
                                                  [&] { Open_Company(state, show_run_window); }});
      QObject::connect(login.get(), &LoginFrm::Program_Ended, &app,
                       [](int exit_code) { QApplication::exit(exit_code); });
      login->show();
    } else {
      Open_Company(state, show_run_window);
    }
  } catch (const ProgramEnd& end) {
    return end.exit_code;
  } catch (const std::exception& e) {
    // Start-up errors that have no message of their own yet.
    messages.Critical(QString::fromUtf8(e.what()));
    return 1;
  }
  return app.exec();
}
