// The shared text and number helpers of the windows: Turkish upper-casing, the password
// transform, the picker's balance cell, amount texts, exact amounts and the date box (also from
// the case files of tests/cases/turkish_text, amounts, exact_amount and date_box), the list
// windows' sort toggle and search keys, tag navigation.
#include <gtest/gtest.h>

#include <QStringList>
#include <cmath>
#include <map>

#include "db/recordset.h"
#include "process/messages.h"
#include "support/case_file.h"
#include "support/test_suite.h"
#include "ui_common/amount_text.h"
#include "ui_common/date_box.h"
#include "ui_common/exact_amount.h"
#include "ui_common/list_operations.h"
#include "ui_common/tag_navigation.h"
#include "ui_common/turkish_text.h"

namespace {

std::string S(const QString& text) { return text.toStdString(); }

using TurkishText = CaseFileTest;

TEST_P(TurkishText, GivesTheExpectedTexts) {
  RecordingMessages messages;
  AppState state(messages);
  auto chars = [](const QString& codes) {
    QString text;
    for (const QString& code : codes.split(' ', Qt::SkipEmptyParts)) text += QChar(code.toInt());
    return text;
  };
  for (const CaseLine& line : Read_Case_File(GetParam())) {
    SCOPED_TRACE(line.Where());
    const QStringList& c = line.fields;
    if (line.key == "Upper_TR") {
      ASSERT_EQ(c.size(), 2);
      EXPECT_EQ(Upper_TR(c[0]), c[1]);
    } else if (line.key == "Encode_Password") {
      ASSERT_EQ(c.size(), 2);
      EXPECT_EQ(Encode_Password(chars(c[0])), chars(c[1]));
    } else {
      ASSERT_EQ(c.size(), 5);
      ASSERT_EQ(line.key, "Format_Balance");
      state.Amount_Decimals = c[1].toInt();
      state.Currency_Decimals = c[2].toInt();
      EXPECT_EQ(Format_Balance(state, c[0], c[3].toDouble()), c[4]);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(turkish_text, TurkishText, testing::ValuesIn(Case_Files("turkish_text")),
                         Case_File_Name);

using AmountText = CaseFileTest;

TEST_P(AmountText, GivesTheExpectedTexts) {
  const NumberSeparators us{u'.', u','};
  for (const CaseLine& line : Read_Case_File(GetParam())) {
    const QStringList& row = line.fields;
    ASSERT_EQ(row.size(), 3) << line.Where();
    const int n = row[0].toInt();
    const QString& f = line.key;
    const QString got = f == "Amount_To_Text"          ? Amount_To_Text(n, row[1])
                        : f == "Amount_Of_Number"      ? Amount_To_Text(n, row[1].toDouble())
                        : f == "Amount_To_Text_US"     ? Amount_To_Text(n, row[1], us)
                        : f == "Format_Amount_Text_US" ? Format_Amount_Text(n, row[1], us)
                                                       : Format_Amount_Text(n, row[1]);
    ASSERT_TRUE(f.startsWith("Amount_") || f.startsWith("Format_Amount_Text")) << line.Where();
    EXPECT_EQ(got, row[2]) << line.Where();
  }
}

INSTANTIATE_TEST_SUITE_P(amounts, AmountText, testing::ValuesIn(Case_Files("amounts")),
                         Case_File_Name);

namespace {

NumberSyntax Syntax_Of(const QString& field) {
  NumberSyntax syntax;
  const QStringList words = field.split(' ', Qt::SkipEmptyParts);
  syntax.decimal_marks = words.value(0);
  for (const QString& word : words.mid(1)) {
    if (word.startsWith("t=")) syntax.thousand = word.at(2);
    if (word == "blanks") syntax.blanks_around = true;
  }
  return syntax;
}

DigitsStyle Style_Of(const QString& field) {
  DigitsStyle style;
  if (field == "formula") {
    style.leading_zero = false;
  } else if (field != "plain") {
    style.min_decimals = field.left(1).toInt();
    style.decimal = field.at(1);
    if (field.size() > 2) style.thousand = field.at(2);
  }
  return style;
}

QString Amount_Outcome(const QString& text) {
  if (!DecimalDigits::Read(text)) return "not a number";
  const auto amount = Amount::Read(text);
  return amount ? amount->Text() : "out of range";
}

}  // namespace

using ExactAmountCases = CaseFileTest;

TEST_P(ExactAmountCases, GiveTheExpectedTexts) {
  for (const CaseLine& line : Read_Case_File(GetParam())) {
    SCOPED_TRACE(line.Where());
    const QStringList row = QStringList{line.key} + line.fields;
    ASSERT_EQ(row.size(), 4);
    const QString& f = row[0];
    const QString input = row[1];
    const int n = row[2].toInt();
    QString got;
    if (f == "Round") {
      got = DecimalDigits::Read(input).value().Rounded(n).Text();
    } else if (f == "Double" || f == "Double15") {
      const int significant = f == "Double" ? 0 : 15;
      got = DecimalDigits::Of_Double(input.toDouble(), significant).value().Rounded(n).Text();
    } else if (f == "Amount") {
      got = Amount_Outcome(input);
    } else if (f == "Amount_Of_Double") {
      const auto amount = Amount::From_Double(input.toDouble());
      got = amount ? amount->Text() : "none";
    } else if (f == "Units") {
      const Amount amount = Amount::Read(input).value();
      got = (amount.Negative() ? "-" : "") + QString::number(amount.Units());
    } else if (f == "Text") {
      got = DecimalDigits::Read(input).value().Text(Style_Of(row[2]));
    } else {
      ASSERT_EQ(f, "Read");
      const auto digits = DecimalDigits::Read(input, Syntax_Of(row[2]));
      got = digits ? digits->Text() : "not a number";
    }
    EXPECT_EQ(S(got), S(row[3]));
  }
}

INSTANTIATE_TEST_SUITE_P(exact_amount, ExactAmountCases,
                         testing::ValuesIn(Case_Files("exact_amount")), Case_File_Name);

TEST(ExactAmount, ValuesAndLimits) {
  EXPECT_EQ(Amount::Read("0.1")->Value(), 0.1);
  EXPECT_EQ(Amount::Read("-1234.5678")->Value(), -1234.5678);
  EXPECT_EQ(DecimalDigits::Read("-1234.5678")->Value(), -1234.5678);
  EXPECT_EQ(Amount::From_Units(true, Amount::kMaxNegativeUnits)->Text(), "-922337203685477.5808");
  EXPECT_FALSE(Amount::From_Units(false, Amount::kMaxNegativeUnits));
  // A zero amount has no sign, however it was reached.
  EXPECT_FALSE(Amount::From_Units(true, 0)->Negative());
  EXPECT_EQ(*Amount::Read("-0.00001"), Amount());
  EXPECT_FALSE(DecimalDigits::Of_Double(std::nan("")));
  // A carry through every digit adds one in front.
  EXPECT_EQ(DecimalDigits::Read("999.99995")->Rounded(4).Text(), "1000");
}

using DateBox = CaseFileTest;

TEST_P(DateBox, ShowsAndRefusesAsExpected) {
  for (const CaseLine& line : Read_Case_File(GetParam())) {
    const QStringList& row = line.fields;
    ASSERT_EQ(line.key, "typed") << line.Where();
    ASSERT_EQ(row.size(), 6) << line.Where();
    SCOPED_TRACE(line.Where());
    DateBoxEdit edit = Format_Date_Box(row[0], row[1].toInt(), true);
    const bool refused = !row[5].isEmpty();
    EXPECT_EQ(edit.text, row[2]) << S(row[0]);
    EXPECT_EQ(edit.caret, row[3].toInt()) << S(row[0]);
    EXPECT_EQ(edit.date_error, row[4] == "yes") << S(row[0]);
    EXPECT_EQ(edit.refused, refused) << S(row[0]);
    EXPECT_EQ(edit.applied, !refused) << S(row[0]);
    EXPECT_EQ(edit.result, refused ? QString() : row[2]) << S(row[0]);
    if (refused) {
      EXPECT_EQ(edit.message, row[5]) << S(row[0]);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(date_box, DateBox, testing::ValuesIn(Case_Files("date_box")),
                         Case_File_Name);

}  // namespace

TEST(TurkishTextEdit, UpperCasesAndKeepsTheCaret) {
  EXPECT_EQ(Upper_TR_Edit("ali veli", 3).text, "ALİ VELİ");
  EXPECT_EQ(Upper_TR_Edit("ali veli", 3).caret, 3);
  EXPECT_EQ(Upper_TR_Edit("ab", 9).caret, 2);
}

TEST(AmountTextInput, BlanksAroundTheText) { EXPECT_EQ(Amount_To_Text(2, "  12,3  "), "12,30"); }

TEST(DateBoxRules, UntouchedUnrefusedAndFocus) {
  DateBoxEdit untouched = Format_Date_Box("31122005", 3, false);
  EXPECT_TRUE(!untouched.applied && untouched.text == "31122005" && untouched.result.isEmpty());

  // A refused cell keeps its text and shows its message: driven in ui/filter_window_test.cpp.
  // An error shown before all 8 digits are typed is not a refusal: no message.
  RecordingMessages messages;
  AppState state(messages);
  Format_Date_Box(state, "1213", 4, true);
  EXPECT_TRUE(messages.entries.empty());

  EXPECT_TRUE(Date_Refusal_Focuses_List("SiparisKart"));
  EXPECT_FALSE(Date_Refusal_Focuses_List("SiparisKartFrm"));
}

TEST(ListOperations, SortToggleCyclesAscendingAndDescending) {
  const QString base = "SELECT * FROM MUHASEBEMALITABLOKART WHERE Rapor_Tipi=2";
  // The list's own statement ends with " ASC": the first F12 drops the direction word, the
  // next adds DESC, the one after drops it again.
  QString sql = base + " ORDER BY Rapor_Kodu ASC";
  sql = Sort_Order_Sql(sql, "Rapor_Kodu");
  EXPECT_EQ(sql, base + "  ORDER BY Rapor_Kodu");
  sql = Sort_Order_Sql(sql, "Rapor_Kodu");
  EXPECT_EQ(sql, base + "   ORDER BY Rapor_Kodu DESC");
  sql = Sort_Order_Sql(sql, "Rapor_Kodu");
  EXPECT_EQ(sql, base + "    ORDER BY Rapor_Kodu");
  // Another field starts ascending.
  EXPECT_EQ(Sort_Order_Sql(base + " ORDER BY Rapor_Kodu DESC", "Rapor_Adi"),
            base + "  ORDER BY Rapor_Adi");
  EXPECT_EQ(Sort_Order_Sql(base, "Rapor_Adi"), base + " ORDER BY Rapor_Adi");  // none yet
  // A field whose name holds DESC counts as already descending.
  EXPECT_EQ(Sort_Order_Sql("SELECT * FROM T ORDER BY DESCR", "DESCR"),
            "SELECT * FROM T  ORDER BY DESCR");
}

TEST(ListOperations, SortToggleReopensTheRecordset) {
  TestSuite suite;
  suite.Connect();
  suite.Exec(
      "INSERT INTO MUHASEBEMALITABLOKART (Rapor_ID, Rapor_Kodu, Rapor_Adi, Rapor_Tipi) "
      "VALUES (1, 'A', 'Zeta', 2), (2, 'B', 'Alfa', 2)");
  AppState& state = suite.state;
  Recordset rs;
  rs.Open(state.Db_Connection, "SELECT * FROM MUHASEBEMALITABLOKART ORDER BY Rapor_Kodu",
          LockType::ReadOnly);
  ASSERT_TRUE(Toggle_Sort_Order(state, rs, "Rapor_Kodu"));
  EXPECT_EQ(rs.Source(), "SELECT * FROM MUHASEBEMALITABLOKART  ORDER BY Rapor_Kodu DESC");
  EXPECT_EQ(rs.Text("Rapor_Kodu"), "B");
  // A failing statement leaves the recordset closed after the two messages.
  EXPECT_FALSE(Toggle_Sort_Order(state, rs, "Yok_Alan"));
  EXPECT_EQ(suite.messages.entries.size(), 2u);
}

TEST(ListOperations, SearchKeys) {
  QString search = "AB";
  for (int ignored : {27, 10, 9}) EXPECT_FALSE(Search_Key_Press(search, ignored).result);
  EXPECT_EQ(search, "AB");

  EXPECT_TRUE(Search_Key_Press(search, u'ş').restart_timer);
  EXPECT_TRUE(Search_Key_Press(search, 8).restart_timer);
  EXPECT_EQ(search, "AB");
  search.clear();
  // Backspace on an empty search is taken but starts nothing.
  SearchKeyResult empty = Search_Key_Press(search, 8);
  EXPECT_TRUE(empty.result && !empty.restart_timer && search.isEmpty());
}

TEST(TagNavigation, TargetsByKeyAndTheFirstAvailableControl) {
  const QString tag = "SolTxt;UstTxt;SagTxt;KodTxt|AdTxt(2)|TamamBtn";
  EXPECT_EQ(Tag_Targets(tag, kKeyUp), (QList<TagTarget>{{"UstTxt", std::nullopt}}));
  const QList<TagTarget> down{{"KodTxt", std::nullopt}, {"AdTxt", 2}, {"TamamBtn", std::nullopt}};
  EXPECT_EQ(Tag_Targets(tag, kKeyDown), down);
  EXPECT_EQ(Tag_Targets(tag, kKeyEnter), down);
  EXPECT_TRUE(Tag_Targets(tag, 65).isEmpty());
  EXPECT_TRUE(Tag_Targets("SolTxt;UstTxt", kKeyDown).isEmpty());  // a field the tag lacks

  // Controls of a window: KodTxt disabled, AdTxt(2) and TamamBtn available.
  std::map<QString, ControlState> controls{{"KODTXT", ControlState::Unavailable},
                                           {"ADTXT(2)", ControlState::Available},
                                           {"TAMAMBTN", ControlState::Available},
                                           {"SOLTXT", ControlState::Unavailable}};
  auto lookup = [&](const TagTarget& t) {
    QString key = t.name.toUpper() + (t.index ? QString("(%1)").arg(*t.index) : QString());
    auto it = controls.find(key);
    return it == controls.end() ? ControlState::Missing : it->second;
  };
  EXPECT_EQ(Navigate_Target(tag, kKeyEnter, false, 0, 0, lookup), (TagTarget{"AdTxt", 2}));
  // Only unavailable targets: nowhere to go. A missing name ("ASD") ends the search.
  EXPECT_EQ(Navigate_Target(tag, kKeyLeft, false, 0, 0, lookup), std::nullopt);
  EXPECT_EQ(Navigate_Target("ASD;ASD;ASD;ASD|TamamBtn", kKeyDown, false, 0, 0, lookup),
            std::nullopt);
  // Left and Right leave the box only from its start and end when the caret is checked.
  const QString sides = "TamamBtn;ASD;TamamBtn;ASD";
  EXPECT_EQ(Navigate_Target(sides, kKeyLeft, true, 1, 4, lookup), std::nullopt);
  EXPECT_TRUE(Navigate_Target(sides, kKeyLeft, true, 0, 4, lookup).has_value());
  EXPECT_EQ(Navigate_Target(sides, kKeyRight, true, 3, 4, lookup), std::nullopt);
}
