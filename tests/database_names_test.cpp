// The embedded engine opens databases by name inside its folder, and only files that already
// are databases: a name that is a path, and an empty file, are refused as a failed connection,
// and the files stay as they were.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "db/connection.h"
#include "demo/suite_schema.h"
#include "support/test_suite.h"

namespace {

struct FileState {
  qint64 size = -1;
  QDateTime modified;
  bool operator==(const FileState&) const = default;
};

FileState State_Of(const QString& path) {
  const QFileInfo info(path);
  return {info.size(), info.lastModified()};
}

// Opening `database` on the suite's folder fails as a refused connection.
void Expect_Refused(const TestSuite& t, const QString& database) {
  Connection db;
  try {
    db.Open(t.Data_Folder(), database, "sa", "", false);
    ADD_FAILURE() << "opened " << database.toStdString();
  } catch (const DbError& e) {
    EXPECT_EQ(e.Number, kErrConnectionRefused) << database.toStdString();
  }
  EXPECT_FALSE(db.Is_Open());
}

}  // namespace

TEST(DatabaseNames, PathsAreRefusedAndTheirFilesUntouched) {
  TestSuite t;
  const QString root = t.Root();
  const QString data = t.Data_Folder();
  // A real database behind every name, so that only the name refuses it.
  Create_Sqlite_Database(root, "DISARI");
  Create_Sqlite_Database(data + "/ALT", "FIRMA");
  Create_Sqlite_Database(data, "ALT\\FIRMA");
  const struct {
    QString name;
    QString file;
  } cases[] = {
      {"../DISARI", root + "/DISARI.sqlite"},      {data + "/FIRMA", data + "/FIRMA.sqlite"},
      {root + "/DISARI", root + "/DISARI.sqlite"}, {"ALT/FIRMA", data + "/ALT/FIRMA.sqlite"},
      {"ALT\\FIRMA", data + "/ALT\\FIRMA.sqlite"}, {"..", data + "/...sqlite"},
  };
  for (const auto& c : cases) {
    const FileState before = State_Of(c.file);
    Expect_Refused(t, c.name);
    EXPECT_EQ(State_Of(c.file), before) << c.name.toStdString();
    EXPECT_FALSE(QFile::exists(c.file + "-wal")) << c.name.toStdString();
    EXPECT_FALSE(QFile::exists(c.file + "-shm")) << c.name.toStdString();
  }

  // The plain name of the same suite opens.
  Connection db;
  db.Open(data, t.Database(), "sa", "", false);
  EXPECT_TRUE(db.Is_Open());
}

TEST(DatabaseNames, AnEmptyFileIsNoDatabaseAndStaysEmpty) {
  TestSuite t;
  const QString empty = t.Data_Folder() + "/BOS.sqlite";
  {
    QFile file(empty);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    // An hour old, so that a change would show.
    file.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                     QFileDevice::FileModificationTime);
  }
  const FileState before = State_Of(empty);
  ASSERT_EQ(before.size, 0);
  Expect_Refused(t, "BOS");
  EXPECT_EQ(State_Of(empty), before);
  EXPECT_FALSE(QFile::exists(empty + "-wal"));

  // A text file in place of the definitions database is refused the same way.
  const QString definitions = t.Data_Folder() + "/Defination_DB.sqlite";
  ASSERT_TRUE(QFile::remove(definitions));
  {
    QFile file(definitions);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a database\n");
  }
  const FileState text_before = State_Of(definitions);
  Expect_Refused(t, t.Database());
  EXPECT_EQ(State_Of(definitions), text_before);

  // A name that was never a file creates none.
  Expect_Refused(t, "YENI");
  EXPECT_FALSE(QFile::exists(t.Data_Folder() + "/YENI.sqlite"));
}
