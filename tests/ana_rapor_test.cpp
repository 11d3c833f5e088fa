// The statement layout: the amount column, colours, weights, indentation and rules of each row
// (tests/cases/detail_look), the result rows, the period and heading, group captions, the page
// header filled at report start, page numbering, and company number formats
// (tests/cases/company_formats). Runs from the demo database are in statement_formats_test.cpp.
#include <gtest/gtest.h>

#include <QDate>
#include <algorithm>
#include <map>

#include "model/financial_table.h"
#include "process/app_state.h"
#include "process/messages.h"
#include "report/ana_rapor.h"
#include "report/statement_listing.h"
#include "support/case_file.h"
#include "support/gui_application.h"
#include "support/statement_rows.h"

namespace {

std::string S(const QString& text) { return text.toStdString(); }

std::vector<const PageText*> From(const ReportPages& pages, const QString& control) {
  std::vector<const PageText*> found;
  for (const ReportPage& page : pages.pages) {
    for (const PageText& text : page.texts) {
      if (text.control == control) found.push_back(&text);
    }
  }
  return found;
}

QString Text_Of(const ReportPages& pages, const QString& control) {
  const auto found = From(pages, control);
  return found.empty() ? QString("<none>") : found.front()->text;
}

bool Has_Line(const ReportPages& pages, const QString& control) {
  for (const ReportPage& page : pages.pages) {
    for (const PageLine& line : page.lines) {
      if (line.control == control) return true;
    }
  }
  return false;
}

using AnaRaporTest = GuiTest;

}  // namespace

using DetailLookCases = CaseFileTest;

TEST_P(DetailLookCases, EachRowOnItsOwn) {
  const std::map<QString, int> places{{"outer", kOuterAmountLeft},
                                      {"middle", kMiddleAmountLeft},
                                      {"inner", kInnerAmountLeft}};
  const std::map<QString, QColor> colours{{"black", QColor(Qt::black)}};
  for (const CaseLine& line : Read_Case_File(GetParam())) {
    const QStringList& c = line.fields;
    ASSERT_EQ(line.key, "row") << line.Where();
    ASSERT_EQ(c.size(), 6) << line.Where();
    SCOPED_TRACE(line.Where());
    auto number = [](const QString& text) {
      bool ok = false;
      const int value = text.toInt(&ok);
      return ok ? std::optional<int>(value) : std::nullopt;
    };
    const DetailLook look = Detail_Look(number(c[0]), number(c[1]), c[2].toDouble(), c[3] == "yes");
    const QStringList words = c[5].split(' ');
    EXPECT_EQ(Amount_Left(look.amount_place), places.at(c[4]));
    EXPECT_EQ(look.amount_bold, words.contains("bold"));
    EXPECT_EQ(look.amount_color, colours.at(words.value(words.contains("bold") ? 1 : 0)));
    EXPECT_EQ(look.amount_blank, words.contains("blank"));
    EXPECT_EQ(look.caption_bold, words.contains("caption-bold"));
    EXPECT_EQ(look.result_rules, words.contains("rules"));
    EXPECT_EQ(look.page_rules, words.contains("rule-2") ? 2 : words.contains("rule-1") ? 1 : 0);
    int indent = 0;
    for (const QString& word : words)
      if (word.startsWith("indent-")) indent = word.mid(7).toInt();
    EXPECT_EQ(look.caption_indent, indent * kLevelIndent);
  }
}

TEST(AnaRaporRules, NetResultIsTheLastFormulaOrAGrandTotal) {
  ReportRows rows({"Satir_Tipi"});
  for (int type : {1, 11, 2, 5, 11, 4, 11, 10}) rows.Add_Row({type});
  std::vector<bool> result;
  for (int row = 0; row < rows.Row_Count(); ++row) result.push_back(Is_Net_Result(rows, row));
  EXPECT_EQ(result, (std::vector<bool>{false, false, false, true, false, false, true, false}));
  ReportRows none({"Satir_Tipi"});
  none.Add_Row({2});
  EXPECT_FALSE(Is_Net_Result(none, 0));
}

TEST_F(AnaRaporTest, PeriodAndHeading) {
  const QDate start(2026, 1, 1), end(2026, 12, 31);
  LedgerPeriod period;
  period.year = 2026;
  period.first_day = QDate(2026, 3, 1);
  period.last_day = QDate(2026, 6, 30);
  EXPECT_EQ(S(Period_Text(period, start, end, false)), "01.03.2026 - 30.06.2026");
  EXPECT_EQ(S(Period_Text(period, start, end, true)), "01.03.2026 - 30.06.2026 (Açılış dahil)");
  // Open bounds take the fiscal year's days, or the calendar year's when it is another year.
  period.first_day.reset();
  period.last_day.reset();
  EXPECT_EQ(S(Period_Text(period, start, end, false)), "01.01.2026 - 31.12.2026");
  EXPECT_EQ(S(Period_Text(period, QDate(2025, 7, 1), QDate(), false)), "01.01.2026 - 31.12.2026");
  period.year = 0;
  EXPECT_EQ(S(Period_Text(period, start, end, true)), "");

  // The heading: the statement's name from its rows, the opening only on a balance sheet.
  RecordingMessages messages;
  AppState state(messages);
  state.Company_Name = "ÖRNEK A.Ş.";
  state.Fiscal_Year_Start = start;
  state.Fiscal_Year_End = end;
  ReportRows rows({"Rapor_Adi"});
  rows.Add_Row({" Gelir Tablosu "});
  RunParameters run;
  run.period.year = 2026;
  run.workplace_name = "MERKEZ";
  run.kind = kKindIncomeStatement;
  StatementHeading heading = Statement_Heading(state, rows, run, true);
  EXPECT_EQ(S(heading.title), "Gelir Tablosu");
  EXPECT_EQ(S(heading.period), "01.01.2026 - 31.12.2026");
  EXPECT_EQ(S(heading.company), "ÖRNEK A.Ş.");
  EXPECT_EQ(S(heading.workplace), "MERKEZ");
  // A balance sheet is dated by its last day, the fiscal year's when the months are open.
  run.kind = kKindBalanceSheet;
  EXPECT_EQ(S(Statement_Heading(state, rows, run, true).period),
            "31.12.2026 tarihli (Açılış dahil)");
  run.period.last_day = QDate(2026, 6, 30);
  EXPECT_EQ(S(Statement_Heading(state, rows, run, false).period), "30.06.2026 tarihli");
  state.Fiscal_Year_End = QDate(2027, 6, 30);
  run.period.last_day.reset();
  EXPECT_EQ(S(Statement_Heading(state, rows, run, false).period), "31.12.2026 tarihli");
  run.period.year = 0;
  EXPECT_EQ(S(Statement_Heading(state, rows, run, true).period), "");
  EXPECT_EQ(S(Statement_Heading(state, ReportRows({"Rapor_Adi"}), run, false).title),
            "MALİTABLO_TESTS");
}

INSTANTIATE_TEST_SUITE_P(detail_look, DetailLookCases, testing::ValuesIn(Case_Files("detail_look")),
                         Case_File_Name);

TEST(AnaRaporRules, ListingBlanksTheAmountsThePrintedStatementBlanks) {
  RecordingMessages messages;
  AppState state(messages);
  state.Amount_Format = "#,##0.00";
  state.Company_Name = "ÖRNEK A.Ş.";
  const QByteArray listing =
      Statement_Listing(Statement_Of(Sample_Statement(), "ÖRNEK A.Ş.", "Gelir Tablosu",
                                     "01.01.2026 - 31.12.2026"),
                        ListingFormat::Text);
  const QStringList lines = QString::fromUtf8(listing).split('\n');
  auto line_of = [&](const QString& caption) {
    for (const QString& line : lines)
      if (line.trimmed().startsWith(caption)) return line;
    return QString("<none>");
  };
  // A footnote row prints its amount, a zero row nothing, as on the printed statement.
  EXPECT_EQ(S(line_of("Şüpheli alacaklar dipnotu").simplified()),
            "Şüpheli alacaklar dipnotu 12,50");
  EXPECT_EQ(S(line_of("Diğer Gelirler").simplified()), "Diğer Gelirler");
  EXPECT_EQ(S(line_of("Faaliyet Zararı").simplified()), "Faaliyet Zararı -45,50");
  EXPECT_TRUE(Amount_Blank(0) && !Amount_Blank(-0.01));
  // The footnotes come under the caption the printed statement gives them.
  EXPECT_TRUE(lines.contains("DİPNOTLAR"));
  EXPECT_FALSE(lines.contains("AKTİFLER"));
  // The heading, then each amount in its column: a level-2 group in the middle column, its
  // rows in the inner one, indented; the grand total outer, between its rules.
  EXPECT_EQ(lines.mid(0, 3),
            (QStringList{"ÖRNEK A.Ş.", "Gelir Tablosu", "01.01.2026 - 31.12.2026"}));
  const QString group = line_of("A. BRÜT SATIŞLAR"), row = line_of("Yurt İçi Satışlar"),
                total = line_of("DÖNEM NET KÂRI");
  EXPECT_TRUE(row.startsWith("    Yurt İçi")) << S(row);
  EXPECT_LT(row.size(), group.size());
  EXPECT_LT(group.size(), total.size());
  const int at = static_cast<int>(lines.indexOf(total));
  EXPECT_TRUE(lines.value(at - 1).trimmed().startsWith("---")) << S(lines.value(at - 1));
  EXPECT_TRUE(lines.value(at + 1).trimmed().startsWith("===")) << S(lines.value(at + 1));
  EXPECT_EQ(lines.value(at - 1).size(), total.size());
}

TEST(AnaRaporRules, GroupCaptions) {
  EXPECT_EQ(S(Group_Caption("", "DİPNOTLAR")), "DİPNOTLAR");
  // The handler writes the Rapor_Yeri label of the running layout, group after group; a
  // balance sheet shows it over both sides and the footnotes, an income statement only over
  // its footnotes (and a passive side); a placement of no known kind heads nothing.
  for (int kind : {kKindIncomeStatement, kKindBalanceSheet}) {
    AnaRapor report = AnaRapor_Layout();
    ReportRows rows({"Rapor_Yeri", "Rapor_Tipi"});
    for (int yeri : {1, 2, 7, 3}) rows.Add_Row({yeri, kind});
    QStringList captions;
    for (int row = 0; row < rows.Row_Count(); ++row) {
      ReportContext context{report.layout, rows, row, 1};
      GroupHeader1_Format(context);
      const ReportControl& caption = report.layout.group_header.Control("Rapor_Yeri");
      captions << (caption.visible ? caption.text : "(" + caption.text + ")");
    }
    const QStringList expected =
        kind == kKindBalanceSheet
            ? QStringList{"AKTİFLER", "PASİFLER", "(PASİFLER)", "DİPNOTLAR"}
            : QStringList{"(AKTİFLER)", "PASİFLER", "(PASİFLER)", "DİPNOTLAR"};
    EXPECT_EQ(captions, expected);
  }
}

using CompanyNumberFormats = CaseFileTest;

TEST_P(CompanyNumberFormats, ReplaceTheDesignedOnes) {
  RecordingMessages messages;
  AppState state(messages);
  state.Amount_Format = "#,##0";
  state.Unit_Price_Format = "#,##0.0";
  state.Currency_Format = "#,##0.00";
  state.Currency_Unit_Price_Format = "#,##0.000";
  state.Rate_Format = "#,##0.0000";
  for (const CaseLine& line : Read_Case_File(GetParam())) {
    const QStringList& c = line.fields;
    ASSERT_EQ(c.size(), 2) << line.Where();
    ASSERT_TRUE(
        QStringList({"page_header", "detail", "page_footer", "group_header"}).contains(line.key))
        << line.Where();
    ReportDefinition layout;
    ReportSection& section = line.key == "page_header"   ? layout.page_header
                             : line.key == "detail"      ? layout.detail
                             : line.key == "page_footer" ? layout.page_footer
                                                         : layout.group_header;
    section.Add_Field("x", "x", 0, 0, 10, c[0]);
    ApplyCompanyNumberFormats(Statement_Style(state, {}), layout);
    EXPECT_EQ(S(section.Control("x").output_format), S(c[1])) << line.Where();
  }
}

INSTANTIATE_TEST_SUITE_P(company_formats, CompanyNumberFormats,
                         testing::ValuesIn(Case_Files("company_formats")), Case_File_Name);

TEST_F(AnaRaporTest, PrintsTheStatementAsFormatted) {
  RecordingMessages messages;
  AppState state(messages);
  state.Amount_Format = "#,##0.00";
  Statement statement =
      Statement_Of(Sample_Statement(), "ÖRNEK A.Ş.", "Gelir Tablosu", "01.01.2026 - 31.12.2026");
  AnaRapor report;
  ReportPages pages = Run_AnaRapor(statement, &report);

  ASSERT_EQ(pages.pages.size(), 1u);
  // The page says what it is; the window keeps the program's name.
  EXPECT_EQ(S(Text_Of(pages, "raporbaslik")), "Gelir Tablosu");
  EXPECT_EQ(S(report.Caption), "MALİTABLO_TESTS");
  EXPECT_EQ(S(Text_Of(pages, "Donem")), "01.01.2026 - 31.12.2026");
  EXPECT_EQ(S(Text_Of(pages, "Firma")), "ÖRNEK A.Ş.");
  EXPECT_EQ(S(Text_Of(pages, "Sayfa")), "1 / 1");
  EXPECT_EQ(S(Text_Of(pages, "Tarih")), S(QDate::currentDate().toString("dd.MM.yyyy")));
  EXPECT_EQ(S(Text_Of(pages, "SubeAdi")), "");
  EXPECT_FALSE(Has_Line(pages, "Line15"));
  EXPECT_FALSE(Has_Line(pages, "Satir_Cizgi"));
  for (const char* hidden : {"txtBTutar", "txtSatir_Tipi"})
    EXPECT_TRUE(From(pages, hidden).empty()) << hidden;
  // 15 mm margins on A4.
  EXPECT_EQ(pages.setup.width, 11906);
  EXPECT_EQ(pages.setup.margin_left, 850);
  EXPECT_EQ(pages.setup.margin_right, 850);
  // An income statement heads only its footnotes.
  EXPECT_EQ(S(Text_Of(pages, "Rapor_Yeri")), "DİPNOTLAR");
  EXPECT_EQ(From(pages, "Rapor_Yeri").size(), 1u);

  const auto captions = From(pages, "txtSatir_Adi");
  const auto amounts = From(pages, "txtBakiye");
  ASSERT_EQ(captions.size(), 9u);
  ASSERT_EQ(amounts.size(), 9u);
  const int m = pages.setup.margin_left;
  const std::vector<QString> texts{"1.250.000,50", "1.000.000,25", "250.000,25", "",
                                   "1.250.000,50", "987,65",       "-45,50",     "942,15",
                                   "12,50"};
  const std::vector<int> lefts{kMiddleAmountLeft, kInnerAmountLeft, kInnerAmountLeft,
                               kInnerAmountLeft,  kInnerAmountLeft, kInnerAmountLeft,
                               kInnerAmountLeft,  kOuterAmountLeft, kInnerAmountLeft};
  for (size_t i = 0; i < amounts.size(); ++i) {
    EXPECT_EQ(S(amounts[i]->text), S(texts[i])) << i;
    EXPECT_EQ(amounts[i]->left, m + lefts[i]) << i;
    EXPECT_EQ(amounts[i]->top, captions[i]->top) << i;
  }
  // The outer column ends at the right margin.
  EXPECT_EQ(amounts[7]->left + amounts[7]->width, pages.setup.width - pages.setup.margin_right);
  // Sub-rows indented by level; the grand total's caption bold, the formula amounts bold.
  EXPECT_EQ(captions[1]->left, captions[0]->left + kLevelIndent);
  EXPECT_TRUE(captions[7]->font.bold && amounts[6]->font.bold && amounts[5]->font.bold);
  EXPECT_FALSE(captions[1]->font.bold || amounts[1]->font.bold);
  // The result rows (the last formula and the grand total) carry a rule above the amount and a
  // double rule below it, over their own columns.
  std::vector<int> above, below;
  for (const PageLine& line : pages.pages[0].lines) {
    if (line.control == "Ust_Cizgi") {
      above.push_back(line.x1 - m);
      EXPECT_LT(line.y1, amounts[line.x1 - m == kInnerAmountLeft ? 6 : 7]->top);
    }
    if (line.control.startsWith("Alt_Cizgi")) {
      below.push_back(line.x1 - m);
      EXPECT_GT(line.y1, amounts[line.x1 - m == kInnerAmountLeft ? 6 : 7]->top + 200);
    }
  }
  EXPECT_EQ(above, (std::vector<int>{kInnerAmountLeft, kOuterAmountLeft}));
  EXPECT_EQ(below, (std::vector<int>{kInnerAmountLeft, kInnerAmountLeft, kOuterAmountLeft,
                                     kOuterAmountLeft}));
  // One group footer line per placement, and the report footer's.
  int group_lines = 0;
  for (const PageLine& line : pages.pages[0].lines) group_lines += line.control == "Line14";
  EXPECT_EQ(group_lines, 2);
  EXPECT_TRUE(Has_Line(pages, "Line17"));

  // A work place, row lines and a company without decimals.
  statement.heading.workplace = "MERKEZ ŞUBE";
  statement.style.row_lines = true;
  statement.style.amount_format = "#,##0";
  pages = Run_AnaRapor(statement);
  EXPECT_EQ(S(Text_Of(pages, "SubeAdi")), "İşyeri : MERKEZ ŞUBE");
  EXPECT_TRUE(Has_Line(pages, "Line15"));
  EXPECT_TRUE(Has_Line(pages, "Satir_Cizgi"));
  EXPECT_EQ(S(From(pages, "txtBakiye")[0]->text), "1.250.001");
  EXPECT_EQ(S(From(pages, "txtBakiye")[5]->text), "988");
}

TEST_F(AnaRaporTest, LongStatementNumbersItsPagesAndKeepsResultRowsWhole) {
  RecordingMessages messages;
  AppState state(messages);
  state.Amount_Format = "#,##0.00";
  ReportRows rows = Statement_Columns();
  for (int i = 1; i <= 150; ++i) Add_Statement_Row(rows, 1, QString("Satır %1").arg(i), i, 2, 2);
  Add_Statement_Row(rows, 1, "DÖNEM NET KÂRI", 5, 11, 1);
  const ReportPages pages = Run_AnaRapor(Statement_Of(rows, "F", "T"));
  ASSERT_GE(pages.pages.size(), 3u);
  const int count = static_cast<int>(pages.pages.size());
  const int body_bottom = pages.setup.height - pages.setup.margin_bottom - 400;
  for (const ReportPage& page : pages.pages) {
    const auto sayfa = std::find_if(page.texts.begin(), page.texts.end(),
                                    [](const PageText& t) { return t.control == "Sayfa"; });
    ASSERT_NE(sayfa, page.texts.end());
    EXPECT_EQ(S(sayfa->text), S(QString("%1 / %2").arg(page.number).arg(count)));
    // Every line of the body, the result row's rules included, stays above the page footer.
    for (const PageLine& line : page.lines) {
      if (line.section == "Detail") {
        EXPECT_LE(line.y1, body_bottom) << line.control.toStdString();
      }
    }
  }
}
