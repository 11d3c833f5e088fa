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
#include "db/sql_dialect.h"
#include "support/test_suite.h"

// Readable QStrings in failure messages.
static void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace {

TEST(FormulaNumberText, WritesTheSystemsNumberForm) {
  const std::pair<double, const char*> cases[] = {
      {0, "0"},          {-0.0, "0"},           {0.5, ".5"},
      {-0.5, "-.5"},     {12, "12"},            {-3, "-3"},
      {1234567.891, "1234567.891"},             {1.23456, "1.2346"},
      {0.00005, ".0001"}, {-0.00005, "-.0001"}, {0.00004, "0"},
      {-0.00004, "0"},   {20000000.56, "20000000.56"},
      {1e15, "1000000000000000"},  // beyond the currency range: all digits, no exponent
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(Number_Text(value), text) << value;
}

TEST(FormulaHesapla, ComputesOneOperationAtATimeAndRewritesTheText) {
  struct Case {
    const char* expression;
    const char* text;
  };
  const Case cases[] = {
      {"2*3-10", "-4"},  {"1+2+3*4", "15"},  {"1-2-3", "-4"},      {"5-+3", "2"},
      {"2*-3+1", "-5"},  {"1+-2*-3", "7"},   {"-5*-2", "10"},      {"--3", "3"},
      {"-2/3", "-.6667"}, {"-1.0001*.5", "-.5001"}, {"5+", "5"},  {"5-", "5"},
      {"5*", "5"},       {"5/", "5"},        {"(1+2)", "3"},       {" 1 , 5 + 1 ", "2.5"},
      {"7", "7"},        {"+4", "4"},        {"0.00005", ".0001"},
      {"400000000000000*2", "800000000000000"},
  };
  for (const auto& c : cases) {
    QString expression = c.expression;
    const double value = Hesapla(expression);
    EXPECT_EQ(expression, c.text) << c.expression;
    EXPECT_DOUBLE_EQ(value, QString(c.text).toDouble()) << c.expression;
  }
}

TEST(FormulaHesapla, RefusesWhatItCannotCompute) {
  const char* cases[] = {"1/0", "0/0", "5/.0", "900000000000000*2", "", "1+a",
                         "1..2+3", "*2", ".", "1)", "1+(2", "-+*"};
  for (const char* text : cases) {
    QString expression = text;
    try {
      Hesapla(expression);
      ADD_FAILURE() << "no error for " << text;
    } catch (const FormulaError& e) {
      EXPECT_TRUE(e.message.startsWith("Formül")) << e.message.toStdString();
      EXPECT_TRUE(e.message.endsWith(text)) << e.message.toStdString();
    }
  }
  QString division = "1/0";
  try {
    Hesapla(division);
  } catch (const FormulaError& e) {
    EXPECT_TRUE(e.message.contains("sıfıra bölme")) << e.message.toStdString();
  }
}

TEST(FormulaFormulAl, ReducesInnermostParenthesesFirst) {
  const std::pair<const char*, double> cases[] = {
      {"(1+2)*3", 9},           {"((1+2)*(3+4))/7", 3},  {"(1+2)*(1+2)", 9},
      {"-(1+2)", -3},           {"2-(-3)", 5},           {"(.5)", 0.5},
      {".5", 0.5},              {"(((4)))", 4},          {"(2+*3)-1", 5},
      {"10/(4-(1+1))", 5},      {"1/3*3", 0.9999},
  };
  for (const auto& [formula, value] : cases) EXPECT_EQ(Formul_Al(formula), value) << formula;

  for (const char* formula : {"(1+2", "1+(", "1/(2-2)", "1+2)", "()", "(1+2))", ")("}) {
    EXPECT_THROW(Formul_Al(formula), FormulaError) << formula;
  }
}

TEST(FormulaFormulAl, NamesTheWholeFormulaAndRefusesGluedNumbers) {
  try {
    Formul_Al("5/(2-2)");
    ADD_FAILURE() << "no error";
  } catch (const FormulaError& e) {
    EXPECT_EQ(e.message, "Formülde sıfıra bölme var: 5/0 (formül: 5/(2-2))");
  }
  for (const char* formula : {"2(3)", "(1)(2)", "(1)2", "1.(2)"}) {
    EXPECT_THROW(Formul_Al(formula), FormulaError) << formula;
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

// Engines other than SQL Server need the blank that the lookup leaves out before AND.
TEST(FormulaLookup, KeywordGluedToANumberIsSeparated) {
  EXPECT_EQ(To_Engine_Dialect("SELECT * FROM T  WHERE Rapor_ID=7AND Satir_Kodu='7AND'",
                              Engine::Sqlite),
            "SELECT * FROM T  WHERE Rapor_ID=7 AND Satir_Kodu='7AND'");
  EXPECT_EQ(To_Engine_Dialect("WHERE A=1.5or B=X7AND", Engine::Postgres),
            "WHERE A=1.5 or B=X7AND");
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
