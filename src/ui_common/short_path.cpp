// Short file paths.
#include "ui_common/short_path.h"

#include <QFileInfo>

QString Short_Path(const QString& path) {
  if (path.isEmpty() || !QFileInfo::exists(path)) return "";
  return path;
}
