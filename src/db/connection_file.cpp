#include "db/connection_file.h"

#include <QFile>

#include "db/suite_text.h"

QString Connection_File_Path(const QString& program_folder) {
  int index = program_folder.indexOf("Rapor", 0, Qt::CaseSensitive);
  if (index < 1) return {};
  // Cut before the separator that precedes "Rapor".
  return program_folder.left(index - 1) + "/sys.inf";
}

QString Read_Connection_File(const QString& program_folder) {
  const QString path = Connection_File_Path(program_folder);
  if (path.isEmpty()) return {};
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  QByteArray bytes = file.readLine();
  while (bytes.endsWith('\n') || bytes.endsWith('\r')) bytes.chop(1);
  return Decode_Suite_Text(bytes);
}

QStringList Connection_File_Fields(const QString& line) {
  QStringList fields = line.split(';');
  while (fields.size() < 5) fields << QString();
  return fields.mid(0, 5);
}
