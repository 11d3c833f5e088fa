#include "ui/screenshot.h"

#include <QApplication>
#include <QDir>
#include <QWidget>

void Screenshot(QWidget* window, const QString& name) {
  const QString folder = qEnvironmentVariable("MALITABLO_SCREENSHOTS");
  if (folder.isEmpty()) return;
  QDir().mkpath(folder);
  QApplication::processEvents();
  window->grab().save(folder + "/" + name + ".png");
}
