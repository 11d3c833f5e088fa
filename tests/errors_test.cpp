// The program's errors share one root: DbError, FormulaError and ProgramEnd are std::exception,
// and what() carries the Turkish text that the program shows. Guarded, the one catch of the
// windows' slots, shows that text as a critical message and ends the event loop on ProgramEnd.
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>
#include <stdexcept>

#include "app/start_up.h"
#include "calc/formula.h"
#include "db/db_error.h"
#include "db/recordset.h"
#include "process/program_end.h"
#include "support/gui_application.h"
#include "support/test_suite.h"
#include "ui_common/guarded.h"

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
  // The command line's refusal ends the program with exit code 1, as a std::exception too.
  TestSuite t;
  try {
    Parse_Command_Line(t.state, "x");
    ADD_FAILURE() << "no ProgramEnd";
  } catch (const std::exception& e) {
    ASSERT_NE(dynamic_cast<const ProgramEnd*>(&e), nullptr) << e.what();
    EXPECT_EQ(dynamic_cast<const ProgramEnd&>(e).exit_code, 1);
  }
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
