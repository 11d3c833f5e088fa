// malitablo-demo: makes the demo suite (sys.inf and the demo databases).
//   malitablo-demo [SUITE_FOLDER] [--lines N] [--seed S] [--server "pg:host=... dbname=..."]
// The same seed makes the same suite. With --server the databases are made on that
// PostgreSQL database (a schema each) and sys.inf names it.
// The suite folder defaults to the folder above the program's own.
#include <QCoreApplication>
#include <QDir>
#include <cstdio>
#include <exception>

#include "demo/demo_suite.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QStringList args = QCoreApplication::arguments().mid(1);
  DemoOptions options;
  options.suite_folder = QDir(QCoreApplication::applicationDirPath() + "/..").absolutePath();
  options.program_folder = QCoreApplication::applicationDirPath();
  for (int i = 0; i < args.size(); ++i) {
    if (args[i] == "--lines" && i + 1 < args.size()) {
      options.ledger_lines = args[++i].toLongLong();
    } else if (args[i] == "--seed" && i + 1 < args.size()) {
      bool number = false;
      options.seed = args[++i].toULongLong(&number);
      if (!number) {
        std::fprintf(stderr, "Tohum bir sayı olmalı: %s\n", args[i].toUtf8().constData());
        return 2;
      }
    } else if (args[i] == "--server" && i + 1 < args.size()) {
      options.server = args[++i];
      if (!options.server.startsWith("pg:")) {
        std::fprintf(stderr, "Sunucu \"pg:\" ile başlamalı: %s\n",
                     options.server.toUtf8().constData());
        return 2;
      }
    } else if (args[i].startsWith("-")) {
      std::fprintf(stderr,
                   "Kullanım: malitablo-demo [SUITE_FOLDER] [--lines N] [--seed S] [--server "
                   "\"pg:...\"]\n");
      return 2;
    } else {
      options.suite_folder = QDir(args[i]).absolutePath();
    }
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
