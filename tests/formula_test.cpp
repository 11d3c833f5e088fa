// Formula rows: number texts and the evaluator on its own (tests/cases/evaluator), and
// substitution plus evaluation against a company database (tests/cases/formulas/cases.txt).
#include <gtest/gtest.h>

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

TEST(FormulaLookup, SendsTheLookupQueryAsWritten) {
  TestSuite suite;
  suite.Connect();
  // A failing query shows its text; the closed recordset then fails the caller.
  EXPECT_THROW(Formulu_Yerlestir(suite.state.Db(), "O'NUR+1", "SELECT * FROM YOKTABLO ", 7), DbError);
  ASSERT_FALSE(suite.messages.entries.empty());
  EXPECT_EQ(suite.messages.entries.back().text,
            "SELECT * FROM YOKTABLO  WHERE Rapor_ID=7AND Satir_Kodu='O''NUR'");
}

TEST(FormulaCases, SubstituteAndEvaluate) {
  TestSuite suite;
  suite.Connect();
  for (const QStringList& c : Case_Rows("formulas/cases.txt")) {
    ASSERT_EQ(c.size(), 4) << c.join('|').toStdString();
    SCOPED_TRACE(c.join(" | ").toStdString());
    suite.Exec("DELETE FROM MUHASEBEMALITABLOHAREKET");
    for (const QString& row : c[0].split(';', Qt::SkipEmptyParts)) {
      QString code = row.section('=', 0, 0).trimmed();
      if (code.startsWith('[')) code = row.section('[', 1).section(']', 0, 0);
      const QString value = row.section('=', 1);
      suite.Exec("INSERT INTO MUHASEBEMALITABLOHAREKET (Rapor_ID, Satir_Tipi, Satir_Kodu, Bakiye) VALUES (" +
                 (value.contains('@') ? value.section('@', 1) : QString("1")) + ", 2, '" + code.replace("'", "''") +
                 "', " + value.section('@', 0, 0) + ")");
    }
    const QString substituted =
        Formulu_Yerlestir(suite.state.Db(), c[1], "SELECT * FROM MUHASEBEMALITABLOHAREKET ", 1);
    EXPECT_EQ(substituted, c[2]);
    if (c[3] == "error") {
      EXPECT_THROW(Formul_Al(substituted), FormulaError);
    } else if (c[3] != "-") {
      EXPECT_EQ(Formul_Al(substituted), c[3].toDouble());
    }
  }
  EXPECT_TRUE(suite.messages.entries.empty());
}

}  // namespace
