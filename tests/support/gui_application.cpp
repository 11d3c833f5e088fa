// The shared QGuiApplication of the logic tests.
#include "support/gui_application.h"

#include <QGuiApplication>

void Ensure_Gui_Application() {
  static int argc = 1;
  static char name[] = "malitablo_tests";
  static char* argv[] = {name, nullptr};
  if (!QGuiApplication::instance()) static QGuiApplication app(argc, argv);
}
