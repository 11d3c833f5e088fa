// MaliTablo: the desktop program. Started by the suite with "database|server|user id|sql
// user|password" it opens the company and shows its main window.
#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <exception>
#include <memory>

#include "process/app_state.h"
#include "app/message_box_dialog.h"
#include "process/program_end.h"
#include "app/start_up.h"
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
  try {
    QStringList args = QApplication::arguments().mid(1);
    Parse_Command_Line(state, args.join(' '));
    state.Movement_Table = "CARIHAREKETLER";
    if (state.Parametreler.value(1) == "-1") {
      messages.Information(
          "Giriş penceresi bu sürümde yok. Programı şirket bilgileriyle başlatın:\r"
          "MaliTablo \"veritabanı|sunucu|kullanıcı no|sql kullanıcısı|şifre\"");
      return 1;
    }
    Open_Company(state, [&] {
      main_window = std::make_unique<FiltreFrm>(state);
      FiltreFrm* window = main_window.get();
      window->Set_Output_Handler(
          [&state, window](const QString& target) { Produce_Output(state, target, window); });
      QObject::connect(window, &FiltreFrm::Closed, &app, [] { QApplication::exit(0); });
      window->show();
    });
  } catch (const ProgramEnd& end) {
    return end.exit_code;
  } catch (const std::exception& e) {
    // Start-up errors that have no message of their own yet.
    messages.Critical(QString::fromUtf8(e.what()));
    return 1;
  }
  return app.exec();
}
