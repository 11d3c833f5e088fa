#include "db/connection_file.h"

#include <QFile>

#include "app/app_state.h"
#include "app/program_end.h"
#include "app/suite_text.h"

QString Connection_File_Path(const QString& program_folder) {
  int index = program_folder.indexOf("Rapor", 0, Qt::CaseSensitive);
  if (index < 1) return {};
  // Cut before the separator that precedes "Rapor".
  return program_folder.left(index - 1) + "/sys.inf";
}

QString Read_Connection_File(AppState& state) {
  QString line;
  QString path = Connection_File_Path(state.Program_Folder);
  if (!path.isEmpty()) {
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
      QByteArray bytes = file.readLine();
      while (bytes.endsWith('\n') || bytes.endsWith('\r')) bytes.chop(1);
      line = Decode_Suite_Text(bytes);
    }
  }
  if (line.isEmpty()) {
    state.Message->Critical(
        "Velora Bağlantı Ayarlarında Hata Tespit Edildi Lütfen Yönetim Panelinden Bağlantı "
        "Ayarlarınızı Kontrol Ediniz.",
        "VELORA TİCARİ YAZILIM");
    throw ProgramEnd{1};
  }
  return line;
}

QStringList Connection_File_Fields(const QString& line) {
  QStringList fields = line.split(';');
  while (fields.size() < 5) fields << QString();
  return fields.mid(0, 5);
}
