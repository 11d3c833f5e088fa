// The export writers report a write that fails: a full device, a missing folder. A device is
// written in place and stays a device; a regular file is replaced only by a whole new one.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "report/exports.h"
#include "support/gui_application.h"

namespace {

using ExportWrites = GuiTest;

ReportPages One_Page() {
  ReportPages pages;
  ReportPage page;
  page.number = 1;
  PageText text;
  text.text = "SATIR ADI";
  text.left = 400;
  text.top = 720;
  text.width = 3000;
  text.height = 240;
  page.texts.push_back(text);
  pages.pages.push_back(page);
  return pages;
}

// A full device of the test's own (the same device as /dev/full) where one can be made; else
// /dev/full itself when nothing can replace it; else none.
QString Full_Device(const QTemporaryDir& dir) {
  const QString own = dir.filePath("full");
  if (::mknod(QFile::encodeName(own).constData(), S_IFCHR | 0666, makedev(1, 7)) == 0) return own;
  if (::geteuid() != 0) return "/dev/full";
  return {};
}

}  // namespace

TEST_F(ExportWrites, AFullDeviceFailsEveryWriterAndStaysADevice) {
  QTemporaryDir dir;
  const QString full = Full_Device(dir);
  if (full.isEmpty()) GTEST_SKIP() << "no full device can be made";
  const ReportPages pages = One_Page();
  EXPECT_FALSE(Write_Export_File(full, QByteArray(100, 'x')));
  EXPECT_FALSE(Export_Pdf(pages, full));
  EXPECT_FALSE(Export_Html(pages, full));
  EXPECT_FALSE(Export_Text(pages, full, {}));
  EXPECT_FALSE(Export_Xlsx(pages, full));
  const QFileInfo device(full);
  EXPECT_TRUE(device.exists() && !device.isFile()) << "the device was replaced";
}

TEST_F(ExportWrites, AMissingFolderFailsEveryWriter) {
  QTemporaryDir dir;
  const QString path = dir.filePath("yok/dosya");
  const ReportPages pages = One_Page();
  EXPECT_FALSE(Write_Export_File(path, "x"));
  EXPECT_FALSE(Export_Pdf(pages, path));
  EXPECT_FALSE(Export_Html(pages, path));
  EXPECT_FALSE(Export_Text(pages, path, {}));
  EXPECT_FALSE(Export_Xlsx(pages, path));
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("yok")));
}

TEST_F(ExportWrites, ARegularFileIsReplacedWhole) {
  QTemporaryDir dir;
  const QString path = dir.filePath("Temp.xlsx");
  {
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(100000, 'o'));
  }
  ASSERT_TRUE(Export_Xlsx(One_Page(), path));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  EXPECT_TRUE(bytes.startsWith("PK")) << "not a workbook";
  EXPECT_FALSE(bytes.contains(QByteArray(100, 'o')));

  const QString pdf = dir.filePath("Temp.pdf");
  ASSERT_TRUE(Export_Pdf(One_Page(), pdf));
  QFile pdf_file(pdf);
  ASSERT_TRUE(pdf_file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(pdf_file.readAll().startsWith("%PDF"));
}
