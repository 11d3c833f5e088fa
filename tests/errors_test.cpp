// The program's errors share one root: DbError, FormulaError and ProgramEnd are std::exception,
// and what() carries the Turkish text that the program shows.
#include <gtest/gtest.h>

#include <exception>

#include "app/start_up.h"
#include "calc/formula.h"
#include "db/db_error.h"
#include "db/recordset.h"
#include "process/program_end.h"
#include "support/test_suite.h"

namespace {

// Runs `action` and returns the std::exception it throws (nullptr when none) as its own copy.
std::exception_ptr Thrown(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception&) {
    return std::current_exception();
  }
  return nullptr;
}

template <typename Error>
void Expect_Root(const std::exception_ptr& thrown, const std::function<void(const Error&,
                                                                            const char*)>& check) {
  ASSERT_TRUE(thrown) << "no std::exception thrown";
  try {
    std::rethrow_exception(thrown);
  } catch (const std::exception& e) {
    const auto* error = dynamic_cast<const Error*>(&e);
    ASSERT_NE(error, nullptr) << e.what();
    check(*error, e.what());
  }
}

}  // namespace

TEST(ErrorRoot, DbErrorCarriesItsDescription) {
  Recordset closed;
  Expect_Root<DbError>(Thrown([&] { closed.Eof(); }), [](const DbError& e, const char* what) {
    EXPECT_EQ(e.Number, kErrObjectClosed);
    EXPECT_EQ(e.Description, "Nesne kapalıyken bu işleme izin verilmez.");
    EXPECT_EQ(QString::fromUtf8(what), e.Description);
  });
}

TEST(ErrorRoot, FormulaErrorCarriesTheWholeMessage) {
  // The note naming the formula is added on the way out of the parentheses; what() has it too.
  Expect_Root<FormulaError>(Thrown([] { Formul_Al("5/(2-2)"); }),
                            [](const FormulaError& e, const char* what) {
                              EXPECT_EQ(e.message,
                                        "Formülde sıfıra bölme var: 5/0 (formül: 5/(2-2))");
                              EXPECT_EQ(QString::fromUtf8(what), e.message);
                            });
  QString flat = "1/0";
  Expect_Root<FormulaError>(Thrown([&] { Hesapla(flat); }),
                            [](const FormulaError& e, const char* what) {
                              EXPECT_EQ(e.message, "Formülde sıfıra bölme var: 1/0");
                              EXPECT_EQ(QString::fromUtf8(what), e.message);
                            });
}

TEST(ErrorRoot, ProgramEndKeepsItsExitCode) {
  TestSuite t;
  Expect_Root<ProgramEnd>(Thrown([&] { Parse_Command_Line(t.state, "x"); }),
                          [](const ProgramEnd& end, const char* what) {
                            EXPECT_EQ(end.exit_code, 1);
                            EXPECT_STREQ(what, "Program sonlandırıldı.");
                          });
  EXPECT_EQ(ProgramEnd{3}.exit_code, 3);
}
