// Reading the "key: fields" case files.
#include "support/case_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

std::string CaseLine::Where() const {
  return QString("%1:%2: %3: %4").arg(file).arg(number).arg(key, text).toStdString();
}

std::vector<std::string> Case_Files(const QString& folder) {
  const QDir dir(QString(MALITABLO_TEST_CASES) + "/" + folder);
  std::vector<std::string> files;
  for (const QString& name : dir.entryList({"*.txt"}, QDir::Files, QDir::Name))
    files.push_back((folder + "/" + name).toStdString());
  return files;
}

namespace {

QString Field(const QString& raw) {
  const QString field = raw.trimmed();
  if (field.size() >= 2 && field.startsWith('"') && field.endsWith('"'))
    return field.mid(1, field.size() - 2);
  return field;
}

}  // namespace

std::vector<CaseLine> Read_Case_File(const std::string& relative) {
  static const QRegularExpression key_rule("^[A-Za-z0-9_]+$");
  const QString name = QString::fromStdString(relative);
  QFile file(QString(MALITABLO_TEST_CASES) + "/" + name);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << relative;
  std::vector<CaseLine> lines;
  int number = 0;
  for (QString line : QString::fromUtf8(file.readAll()).split(u'\n')) {
    ++number;
    if (line.endsWith(u'\r')) line.chop(1);
    const QString trimmed = line.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(u'#')) continue;
    CaseLine c;
    c.file = name;
    c.number = number;
    const qsizetype colon = line.indexOf(u':');
    c.key = line.left(colon).trimmed();
    if (colon < 0 || !key_rule.match(c.key).hasMatch()) {
      ADD_FAILURE() << relative << ":" << number
                    << ": no \"key:\" at the start: " << line.toStdString();
      continue;
    }
    c.text = line.mid(colon + 1);
    if (c.text.startsWith(u' ')) c.text.remove(0, 1);
    for (const QString& field : c.text.split(u'|')) c.fields << Field(field);
    lines.push_back(c);
  }
  EXPECT_FALSE(lines.empty()) << relative << ": no case line";
  return lines;
}

std::string Case_File_Name(const testing::TestParamInfo<std::string>& info) {
  QString name = QFileInfo(QString::fromStdString(info.param)).completeBaseName();
  for (QChar& c : name) {
    if (!(c.isLetterOrNumber() && c.unicode() < 128)) c = u'_';
  }
  return name.toStdString();
}
