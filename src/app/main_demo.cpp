// malitablo-demo: makes the demo suite (sys.inf and the demo databases).
//   malitablo-demo [SUITE_FOLDER] [--lines N] [--ledger N] [--closing]
//                  [--server "pg:host=... dbname=..."]
// The same number makes the same suite. With --server the databases are made on that
// PostgreSQL database (a schema each) and sys.inf names it.
// The suite folder defaults to the folder above the program's own; where that cannot be written
// (an installed program) a folder must be given.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <exception>

#include "demo/demo_suite.h"

namespace {

const char kUsage[] =
    "Kullanım: malitablo-demo [SUITE_FOLDER] [--lines N] [--ledger N] [--closing] "
    "[--server \"pg:...\"]\n";

const char kHelp[] =
    "\n"
    "Örnek bir paket hazırlar: SUITE_FOLDER/sys.inf ve SUITE_FOLDER/Veri/ içinde iki örnek\n"
    "şirketin veritabanları (MALITABLO_DEMO, MALITABLO_DEMO2), gelir tablosu GT ve bilanço BL;\n"
    "birinci şirketin önceki mali yılı da kendi veritabanındadır (MALITABLO_DEMO_<yıl>).\n"
    "Kullanıcılar: 1 VELORA (şifre velora), 2 MUHASEBE (şifre muhasebe).\n"
    "\n"
    "  --lines N      Birinci şirketin büyük defterindeki fiş satırı sayısı.\n"
    "  --ledger N     Defter numarası: aynı numara aynı defteri yapar.\n"
    "  --closing      Yılı kapanış fişiyle kapatır (gelir tablosu hesapları 690, 692 ve 590/591).\n"
    "  --server \"pg:...\"  Veritabanlarını bu PostgreSQL veritabanında (birer şema) yapar.\n"
    "  -h, --help     Bu yardımı yazar.\n"
    "\n"
    "Örnek: malitablo-demo ~/demo\n"
    "       malitablo-cli run \"MALITABLO_DEMO|$HOME/demo/Veri|1|sa|æ\" --set \"Tablo Kodu=GT\" "
    "--yes\n";

// A folder can be written when it exists and is writable, or when the nearest folder above it
// that exists is.
bool Writable_Folder(QString folder) {
  for (QFileInfo info(folder);; info = QFileInfo(info.absolutePath())) {
    if (info.exists()) return info.isDir() && info.isWritable();
    if (info.isRoot()) return false;
  }
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QStringList args = QCoreApplication::arguments().mid(1);
  DemoOptions options;
  options.suite_folder = QDir(QCoreApplication::applicationDirPath() + "/..").absolutePath();
  options.program_folder = QCoreApplication::applicationDirPath();
  bool folder_given = false;
  for (int i = 0; i < args.size(); ++i) {
    if (args[i] == "--lines" && i + 1 < args.size()) {
      options.ledger_lines = args[++i].toLongLong();
    } else if (args[i] == "--ledger" && i + 1 < args.size()) {
      bool number = false;
      options.ledger_number = args[++i].toULongLong(&number);
      if (!number) {
        std::fprintf(stderr, "Defter numarası bir sayı olmalı: %s\n", args[i].toUtf8().constData());
        return 2;
      }
    } else if (args[i] == "--closing") {
      options.closing = true;
    } else if (args[i] == "--server" && i + 1 < args.size()) {
      options.server = args[++i];
      if (!options.server.startsWith("pg:")) {
        std::fprintf(stderr, "Sunucu \"pg:\" ile başlamalı: %s\n",
                     options.server.toUtf8().constData());
        return 2;
      }
    } else if (args[i] == "--help" || args[i] == "-h") {
      std::fputs(kUsage, stdout);
      std::fputs(kHelp, stdout);
      return 0;
    } else if (args[i].startsWith("-")) {
      std::fputs(kUsage, stderr);
      return 2;
    } else {
      options.suite_folder = QDir(args[i]).absolutePath();
      folder_given = true;
    }
  }
  if (!folder_given && !Writable_Folder(options.suite_folder)) {
    std::fprintf(stderr,
                 "Programın klasörünün üstüne (%s) yazılamıyor; demo için bir klasör verin, "
                 "örneğin: malitablo-demo ~/demo\n",
                 options.suite_folder.toUtf8().constData());
    return 2;
  }
  try {
    Create_Demo_Suite(options, [](const QString& line) {
      std::fprintf(stderr, "%s\n", line.toUtf8().constData());
    });
  } catch (const std::exception& e) {
    std::fprintf(stderr, "Demo hazırlanamadı: %s\n", e.what());
    return 1;
  }
  return 0;
}
