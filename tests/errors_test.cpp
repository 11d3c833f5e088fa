// The program's errors share one root: DbError, FormulaError and ProgramEnd are std::exception,
// and what() carries the Turkish text that the program shows. Guarded, the one catch of the
// windows' slots, shows that text as a critical message and ends the event loop on ProgramEnd.
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>
#include <exception>
#include <stdexcept>

#include "app/start_up.h"
#include "calc/formula.h"
#include "db/db_error.h"
#include "db/recordset.h"
#include "process/program_end.h"
#include "support/gui_application.h"
#include "support/test_suite.h"
#include "ui_common/guarded.h"

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
void Expect_Root(const std::exception_ptr& thrown,
                 const std::function<void(const Error&, const char*)>& check) {
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
  Expect_Root<FormulaError>(Thrown([] { Formul_Al("5/(2-2)"); }), [](const FormulaError& e,
                                                                     const char* what) {
    EXPECT_EQ(e.message, "Formülde sıfıra bölme var: 5/0 (formül: 5/(2-2))");
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

TEST(GuardedCall, PassesTheResultAndShowsAnErrorsText) {
  RecordingMessages messages;
  EXPECT_EQ(Guarded(messages, [] { return 7; }), 7);
  EXPECT_TRUE(messages.entries.empty());

  Recordset closed;
  EXPECT_FALSE(Guarded(messages, [&] { return closed.Eof(); }));
  EXPECT_EQ(Guarded(messages, [] { return Formul_Al("2/0"); }), 0.0);
  Guarded(messages, [] { throw std::out_of_range("KeyedGrid: no row 9"); });
  ASSERT_EQ(messages.entries.size(), 3u);
  for (const auto& entry : messages.entries) EXPECT_EQ(entry.kind, MessageKind::Critical);
  EXPECT_EQ(messages.entries[0].text, "Nesne kapalıyken bu işleme izin verilmez.");
  EXPECT_EQ(messages.entries[1].text, "Formülde sıfıra bölme var: 2/0");
  EXPECT_EQ(messages.entries[2].text, "KeyedGrid: no row 9");
}

TEST(GuardedCall, GuardKeepsTheHooksSignature) {
  RecordingMessages messages;
  std::function<int(int, int)> divide = Guard(messages, [](int a, int b) {
    if (b == 0) throw FormulaError("sıfıra bölme");
    return a / b;
  });
  EXPECT_EQ(divide(6, 3), 2);
  EXPECT_TRUE(messages.entries.empty());
  EXPECT_EQ(divide(1, 0), 0);
  ASSERT_EQ(messages.entries.size(), 1u);
  EXPECT_EQ(messages.entries[0].text, "sıfıra bölme");
}

class GuardedLoop : public GuiTest {};

TEST_F(GuardedLoop, ProgramEndLeavesTheEventLoopWithItsCode) {
  RecordingMessages messages;
  QEventLoop loop;
  QTimer::singleShot(0, [&] { Guarded(messages, [] { throw ProgramEnd{3}; }); });
  QTimer::singleShot(5000, &loop, [&] { loop.exit(-1); });
  EXPECT_EQ(loop.exec(), 3);
  // Its message was shown before the throw: nothing more is said.
  EXPECT_TRUE(messages.entries.empty());
}
