// Formula rows: number texts and the evaluator on its own (tests/cases/evaluator), and
// substitution plus evaluation against a company database (tests/cases/formulas).
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

using FormulaEvaluator = CaseFileTest;

TEST_P(FormulaEvaluator, GivesTheExpectedTexts) {
  for (const CaseLine& c : Read_Case_File(GetParam())) {
    ASSERT_EQ(c.fields.size(), 2) << c.Where();
    SCOPED_TRACE(c.Where());
    const QString& text = c.fields[0];
    const QString& expected = c.fields[1];
    if (c.key == "Number_Text") {
      EXPECT_EQ(Number_Text(text.toDouble()), expected);
    } else if (c.key == "Formul_Al" && expected == "error") {
      EXPECT_THROW(Formul_Al(text), FormulaError);
    } else if (c.key == "Formul_Al") {
      EXPECT_EQ(Formul_Al(text), expected.toDouble());
    } else if (c.key == "Hesapla" && expected == "error") {
      QString expression = text;
      try {
        Hesapla(expression);
        ADD_FAILURE() << "no error";
      } catch (const FormulaError& e) {
        EXPECT_TRUE(e.message.startsWith("Formül") && e.message.endsWith(text))
            << e.message.toStdString();
      }
    } else {
      ASSERT_EQ(c.key, "Hesapla");
      QString expression = text;
      EXPECT_DOUBLE_EQ(Hesapla(expression), expected.toDouble());
      EXPECT_EQ(expression, expected);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(evaluator, FormulaEvaluator, testing::ValuesIn(Case_Files("evaluator")),
                         Case_File_Name);

TEST(FormulaHesapla, BlanksAndADecimalComma) {
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
  EXPECT_THROW(Formulu_Yerlestir(suite.state.Db(), "O'NUR+1", "SELECT * FROM YOKTABLO ", 7),
               DbError);
  ASSERT_FALSE(suite.messages.entries.empty());
  EXPECT_EQ(suite.messages.entries.back().text,
            "SELECT * FROM YOKTABLO  WHERE Rapor_ID=7AND Satir_Kodu='O''NUR'");
}

using FormulaCases = CaseFileTest;

TEST_P(FormulaCases, SubstituteAndEvaluate) {
  TestSuite suite;
  suite.Connect();
  for (const CaseLine& line : Read_Case_File(GetParam())) {
    const QStringList& c = line.fields;
    ASSERT_EQ(line.key, "formula") << line.Where();
    ASSERT_EQ(c.size(), 4) << line.Where();
    SCOPED_TRACE(line.Where());
    suite.Exec("DELETE FROM MUHASEBEMALITABLOHAREKET");
    for (const QString& row : c[0].split(';', Qt::SkipEmptyParts)) {
      QString code = row.section('=', 0, 0).trimmed();
      if (code.startsWith('[')) code = row.section('[', 1).section(']', 0, 0);
      const QString value = row.section('=', 1);
      suite.Exec(
          "INSERT INTO MUHASEBEMALITABLOHAREKET (Rapor_ID, Satir_Tipi, Satir_Kodu, Bakiye) VALUES (" +
          (value.contains('@') ? value.section('@', 1) : QString("1")) + ", 2, '" +
          code.replace("'", "''") + "', " + value.section('@', 0, 0) + ")");
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

INSTANTIATE_TEST_SUITE_P(formulas, FormulaCases, testing::ValuesIn(Case_Files("formulas")),
                         Case_File_Name);

}  // namespace
