// Formula rows: number texts, the evaluator on its own, and substitution plus evaluation
// against a company database driven by the cases under tests/cases/formulas/.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <cmath>
#include <random>

#include "calc/formula.h"
#include "db/db_error.h"
#include "support/case_file.h"
#include "support/test_suite.h"

// Readable QStrings in failure messages.
static void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace {

TEST(FormulaEvaluator, CaseFile) {
  for (const QStringList& c : Case_Rows("evaluator/cases.txt")) {
    ASSERT_EQ(c.size(), 3) << c.join('|').toStdString();
    SCOPED_TRACE(c.join(" | ").toStdString());
    if (c[0] == "Number_Text") {
      EXPECT_EQ(Number_Text(c[1].toDouble()), c[2]);
    } else if (c[0] == "Formul_Al" && c[2] == "error") {
      EXPECT_THROW(Formul_Al(c[1]), FormulaError);
    } else if (c[0] == "Formul_Al") {
      EXPECT_EQ(Formul_Al(c[1]), c[2].toDouble());
    } else if (c[2] == "error") {
      QString expression = c[1];
      try {
        Hesapla(expression);
        ADD_FAILURE() << "no error";
      } catch (const FormulaError& e) {
        EXPECT_TRUE(e.message.startsWith("Formül") && e.message.endsWith(c[1])) << e.message.toStdString();
      }
    } else {
      ASSERT_EQ(c[0], "Hesapla");
      QString expression = c[1];
      EXPECT_DOUBLE_EQ(Hesapla(expression), c[2].toDouble());
      EXPECT_EQ(expression, c[2]);
    }
  }
  // Blanks and a decimal comma inside the expression.
  QString blanks = " 1 , 5 + 1 ";
  EXPECT_EQ(Hesapla(blanks), 2.5);
  EXPECT_EQ(blanks, "2.5");
}

TEST(FormulaFormulAl, NamesTheWholeFormula) {
  try {
    Formul_Al("5/(2-2)");
    ADD_FAILURE() << "no error";
  } catch (const FormulaError& e) {
    EXPECT_EQ(e.message, "Formülde sıfıra bölme var: 5/0 (formül: 5/(2-2))");
  }
}

// Any text over the formula alphabet ends in a value or a FormulaError, never in a hang.
TEST(FormulaFormulAl, EveryTextEndsInAValueOrAnError) {
  const QString alphabet = "0123456789.,+-*/() ";
  std::mt19937 random(20261205);
  int values = 0;
  for (int i = 0; i < 20000; ++i) {
    QString text;
    const int length = 1 + static_cast<int>(random() % 24);
    for (int k = 0; k < length; ++k) text += alphabet[static_cast<int>(random() % alphabet.size())];
    try {
      const double value = Formul_Al(text);
      EXPECT_TRUE(std::isfinite(value)) << text.toStdString();
      ++values;
    } catch (const FormulaError& e) {
      EXPECT_FALSE(e.message.isEmpty());
    }
  }
  EXPECT_GT(values, 1000);
}

TEST(FormulaLookup, SendsTheLookupQueryAsWritten) {
  TestSuite suite;
  suite.Connect();
  // A failing query shows its text; the closed recordset then fails the caller.
  EXPECT_THROW(Formulu_Yerlestir(suite.state, "O'NUR+1", "SELECT * FROM YOKTABLO ", 7), DbError);
  ASSERT_FALSE(suite.messages.entries.empty());
  EXPECT_EQ(suite.messages.entries.back().text,
            "SELECT * FROM YOKTABLO  WHERE Rapor_ID=7AND Satir_Kodu='O''NUR'");
}

struct FormulaCase {
  QString file;
  QString title;
  struct Row {
    QString code;
    QString bakiye;
    QString rapor_id = "1";
  };
  std::vector<Row> rows;
  QString formula;
  QString substituted;
  bool has_result = false;
  QString result;
  bool expect_error = false;
};

std::vector<FormulaCase> Read_Cases(const QString& path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text)) << path.toStdString();
  QTextStream in(&file);
  in.setEncoding(QStringConverter::Utf8);
  std::vector<FormulaCase> cases;
  while (!in.atEnd()) {
    const QString line = in.readLine();
    auto value = [&line](const char* key) { return line.mid(QString(key).size()); };
    if (line.startsWith("case: ")) {
      cases.push_back({});
      cases.back().file = QFileInfo(path).fileName();
      cases.back().title = value("case: ");
      continue;
    }
    if (line.trimmed().isEmpty() || line.startsWith('#')) continue;
    if (cases.empty()) {
      ADD_FAILURE() << "line before the first case: " << line.toStdString();
      continue;
    }
    FormulaCase& c = cases.back();
    if (line.startsWith("row: ")) {
      const QStringList parts = value("row: ").split('|');
      FormulaCase::Row row{parts.value(0), parts.value(1)};
      if (parts.size() > 2) row.rapor_id = parts[2];
      c.rows.push_back(row);
    } else if (line.startsWith("formula: ")) {
      c.formula = value("formula: ");
    } else if (line.startsWith("substituted:")) {
      c.substituted = value("substituted:").trimmed();
    } else if (line.startsWith("result: ")) {
      c.has_result = true;
      c.result = value("result: ");
    } else if (line == "error:") {
      c.expect_error = true;
    } else {
      ADD_FAILURE() << "unknown line: " << line.toStdString();
    }
  }
  return cases;
}

TEST(FormulaCases, SubstituteAndEvaluate) {
  const QDir folder(QString(MALITABLO_TEST_CASES) + "/formulas");
  const QStringList files = folder.entryList({"*.txt"}, QDir::Files, QDir::Name);
  TestSuite suite;
  suite.Connect();
  int count = 0;
  for (const QString& name : files) {
    if (name == "README.txt") continue;
    for (const FormulaCase& c : Read_Cases(folder.filePath(name))) {
      SCOPED_TRACE((c.file + ": " + c.title).toStdString());
      ++count;
      suite.Exec("DELETE FROM MUHASEBEMALITABLOHAREKET");
      for (const auto& row : c.rows) {
        const QString code = QString(row.code).replace("'", "''");
        suite.Exec("INSERT INTO MUHASEBEMALITABLOHAREKET (Rapor_ID, Satir_Tipi, Satir_Kodu, "
                   "Bakiye) VALUES (" + row.rapor_id + ", 2, '" + code + "', " + row.bakiye + ")");
      }
      QString substituted;
      try {
        substituted = Formulu_Yerlestir(suite.state, c.formula,
                                        "SELECT * FROM MUHASEBEMALITABLOHAREKET ", 1);
      } catch (const DbError& e) {
        ADD_FAILURE() << "lookup failed: " << e.Description.toStdString();
        continue;
      }
      EXPECT_EQ(substituted, c.substituted);
      if (c.has_result) {
        try {
          EXPECT_EQ(Formul_Al(substituted), c.result.toDouble());
        } catch (const FormulaError& e) {
          ADD_FAILURE() << e.message.toStdString();
        }
      }
      if (c.expect_error) {
        EXPECT_THROW(Formul_Al(substituted), FormulaError);
      }
    }
  }
  EXPECT_TRUE(suite.messages.entries.empty());
  EXPECT_GE(count, 30);
}

}  // namespace
