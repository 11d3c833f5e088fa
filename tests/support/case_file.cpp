// Reading the "|"-separated case files.
#include "support/case_file.h"

#include <gtest/gtest.h>

#include <QFile>

std::vector<QStringList> Case_Rows(const QString& relative) {
  QFile file(QString(MALITABLO_TEST_CASES) + "/" + relative);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << relative.toStdString();
  std::vector<QStringList> rows;
  for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
    const QString trimmed = line.trimmed();
    if (trimmed.isEmpty() || trimmed == "#" || trimmed.startsWith("# ")) continue;
    QStringList fields = line.split(u'|');
    for (QString& field : fields) field = field.trimmed();
    rows.push_back(fields);
  }
  EXPECT_FALSE(rows.empty()) << relative.toStdString();
  return rows;
}
