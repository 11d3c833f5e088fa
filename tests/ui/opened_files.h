// The desktop's application for files and the save dialog, stood in for while a window test
// lives: every file the program asks the desktop to open is only recorded, and every proposed
// export path is recorded and accepted (or `save_answer` given instead when set).
#pragma once

#include <QDesktopServices>
#include <QObject>
#include <QStringList>
#include <QUrl>

#include "report/output_window.h"

class OpenedFiles : public QObject {
  Q_OBJECT
 public:
  OpenedFiles() {
    QDesktopServices::setUrlHandler("file", this, "Open");
    Set_Save_Path_Question([this](QWidget*, const QString& proposed, ExportKind) {
      proposed_paths << proposed;
      return save_answer.isNull() ? proposed : save_answer;
    });
  }
  ~OpenedFiles() override {
    QDesktopServices::unsetUrlHandler("file");
    Set_Save_Path_Question({});
  }
  QStringList paths;
  QStringList proposed_paths;
  QString save_answer;
 public slots:
  void Open(const QUrl& url) { paths << url.toLocalFile(); }
};
