#include "db/registry.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

QString Group(Hive hive, const QString& key_path) {
  QString path = key_path;
  path.replace('\\', '/');
  while (path.startsWith('/')) path.remove(0, 1);
  return (hive == Hive::HKEY_CURRENT_USER ? "HKEY_CURRENT_USER/" : "HKEY_LOCAL_MACHINE/") + path;
}

std::unique_ptr<QSettings> Store() {
  QString file = Registry_File();
  QDir().mkpath(QFileInfo(file).absolutePath());
  return std::make_unique<QSettings>(file, QSettings::IniFormat);
}

}  // namespace

RegistryKey::~RegistryKey() = default;

QString Registry_File() {
  QString file = qEnvironmentVariable("MALITABLO_REGISTRY");
  if (!file.isEmpty()) return file;
  return QDir::homePath() + "/.config/MaliTablo/registry.ini";
}

QString Query_Registry_Value(const RegistryKey& key, const QString& value_name) {
  if (!key.settings) return {};
  QVariant v = key.settings->value(key.group + "/" + value_name);
  if (!v.isValid() || v.isNull()) return {};
  if (v.typeId() == QMetaType::QByteArray) {
    // REG_BINARY: the low 16 bits of a 32-bit cell, as a signed number.
    QByteArray data = v.toByteArray();
    uint32_t cell = 0;
    for (int i = 0; i < data.size() && i < 4; ++i)
      cell |= static_cast<uint32_t>(static_cast<uint8_t>(data[i])) << (8 * i);
    return QString::number(static_cast<int16_t>(cell & 0xFFFF));
  }
  if (v.typeId() != QMetaType::QString) return {};
  QString text = v.toString();
  int zero = text.indexOf(QChar(0));
  return zero >= 0 ? text.left(zero) : text;
}

QString Registry_Read(Hive hive, const QString& key_path, const QString& value_name) {
  RegistryKey key;
  if (QFileInfo::exists(Registry_File())) {
    key.settings = Store();
    key.group = Group(hive, key_path);
  }
  return Query_Registry_Value(key, value_name);
}

bool Registry_Write(Hive hive, const QString& key_path, const QString& value_name,
                    const QString& value) {
  auto settings = Store();
  settings->setValue(Group(hive, key_path) + "/" + value_name, value);
  settings->sync();
  return settings->status() == QSettings::NoError;
}

void Registry_Write_Binary(Hive hive, const QString& key_path, const QString& value_name,
                           const QByteArray& data) {
  auto settings = Store();
  settings->setValue(Group(hive, key_path) + "/" + value_name, data);
  settings->sync();
}
