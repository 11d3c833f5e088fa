// Row codes replaced by their amounts, on an embedded database made once per process: whatever
// the formula holds (quotes included), every look-up runs, and what is left is operators and
// numbers only, which the evaluator then reduces or refuses.
#include <sqlite3.h>

#include <QDir>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>

#include "calc/formula.h"
#include "db/connection.h"
#include "db/db_session.h"
#include "fuzz_check.h"

namespace {

const char* kRows =
    "CREATE TABLE Satirlar (Rapor_ID INTEGER, Satir_Kodu TEXT, Bakiye REAL);"
    "INSERT INTO Satirlar VALUES (1,'A',1.5),(1,'B',-2),(1,'C',NULL),(1,'K''1',3),"
    "(1,'600',12345.6789),(1,'1.1',0.0001),(2,'A',7);";

void Make_Database(const QString& path, const char* sql) {
  sqlite3* db = nullptr;
  if (sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK ||
      sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
    std::fprintf(stderr, "cannot make %s\n", path.toUtf8().constData());
    std::abort();
  }
  sqlite3_close(db);
}

struct Suite {
  QTemporaryDir folder;
  DbSession session;
  int errors = 0;

  Suite() {
    Make_Database(folder.filePath("FUZZ.sqlite"), kRows);
    Make_Database(folder.filePath("Defination_DB.sqlite"), "CREATE TABLE Kullanici (x INTEGER);");
    session.connection = std::make_shared<Connection>();
    session.connection->Open(folder.path(), "FUZZ", "sa", "", false);
    session.show_error = [this](const QString& text) {
      ++errors;
      std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    };
  }
};

Suite* suite = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  suite = new Suite;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString formula = Fuzz_Text(data, size);
  // A NUL cannot be typed into a formula cell; the engine would end the statement there.
  if (formula.contains(QChar(0))) return 0;
  QStringList unknown;
  const QString substituted =
      Formulu_Yerlestir(suite->session, formula, "SELECT Bakiye FROM Satirlar", 1, &unknown);
  FUZZ_CHECK(suite->errors == 0, formula);
  for (QChar c : substituted)
    FUZZ_CHECK(QString("0123456789.+-*/()").contains(c), formula + " -> " + substituted);
  for (const QString& code : unknown) FUZZ_CHECK(formula.contains(code), formula + ": " + code);
  try {
    Formul_Al(substituted);
  } catch (const FormulaError&) {
  }
  return 0;
}
