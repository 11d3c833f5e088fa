// The registry of the suite, kept in an INI file: $MALITABLO_REGISTRY when set, else
// ~/.config/MaliTablo/registry.ini. The hive and the key path are the groups
// ("HKEY_CURRENT_USER/Control Panel/International"). Reads of anything missing give "";
// a write tells whether the file took it.
#pragma once

#include <QString>
#include <memory>

class QSettings;

enum class Hive { HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE };

// An opened key; `settings` is null when the key could not be opened.
struct RegistryKey {
  std::unique_ptr<QSettings> settings;
  QString group;
  ~RegistryKey();
};

QString Registry_File();
QString Registry_Read(Hive hive, const QString& key_path, const QString& value_name);
bool Registry_Write(Hive hive, const QString& key_path, const QString& value_name,
                    const QString& value);
QString Query_Registry_Value(const RegistryKey& key, const QString& value_name);
// Stores a binary value (REG_BINARY); only the tests and the demo need it.
void Registry_Write_Binary(Hive hive, const QString& key_path, const QString& value_name,
                           const QByteArray& data);
