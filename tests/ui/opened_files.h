// The desktop's application for files, stood in for while a window test lives: every file the
// program asks the desktop to open is only recorded.
#pragma once

#include <QDesktopServices>
#include <QObject>
#include <QStringList>
#include <QUrl>

class OpenedFiles : public QObject {
  Q_OBJECT
 public:
  OpenedFiles() { QDesktopServices::setUrlHandler("file", this, "Open"); }
  ~OpenedFiles() override { QDesktopServices::unsetUrlHandler("file"); }
  QStringList paths;
 public slots:
  void Open(const QUrl& url) { paths << url.toLocalFile(); }
};
