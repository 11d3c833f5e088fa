// The statement layout: the amount position carried from row to row, colours and weights,
// blank zeros (tests/cases/detail_look), group captions, the page header filled at report start
// and company number formats (tests/cases/company_formats). A run from the database is in
// ui/run_to_pdf_test.cpp.
#include <gtest/gtest.h>

#include <QDate>
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

TEST_P(DetailLookCases, RowAfterRow) {
  const std::map<QString, int> places{{"Bakiye", kBakiyeLeft}, {"ATutar", kATutarLeft}, {"BTutar", kBTutarLeft}};
  const std::map<QString, QColor> colours{{"black", QColor(Qt::black)},
                                          {"green", QColor(53, 179, 82)},
                                          {"red", QColor(232, 0, 5)}};
  int left = kBakiyeLeft;
  for (const CaseLine& line : Read_Case_File(GetParam())) {
    const QStringList& c = line.fields;
    ASSERT_EQ(line.key, "row") << line.Where();
    ASSERT_EQ(c.size(), 5) << line.Where();
    SCOPED_TRACE(line.Where());
    const DetailLook look = Detail_Look(c[0], c[1], c[2].toDouble(), left);
    const QStringList words = c[4].split(' ');
    EXPECT_EQ(look.amount_left, places.at(c[3]));
    EXPECT_EQ(look.amount_bold, words.contains("bold"));
    EXPECT_EQ(look.amount_color, colours.at(words.value(words.contains("bold") ? 1 : 0)));
    EXPECT_EQ(look.amount_blank, words.contains("blank"));
    EXPECT_EQ(look.caption_bold, words.contains("caption-bold"));
    left = look.amount_left;
  }
}

INSTANTIATE_TEST_SUITE_P(detail_look, DetailLookCases, testing::ValuesIn(Case_Files("detail_look")),
                         Case_File_Name);

TEST(AnaRaporRules, ListingBlanksTheAmountsThePrintedStatementBlanks) {
  RecordingMessages messages;
  AppState state(messages);
  state.Amount_Format = "#,##0.00";
  state.Company_Name = "ÖRNEK A.Ş.";
  const QByteArray listing = Statement_Listing(state, Sample_Statement(), ListingFormat::Text);
  const QStringList lines = QString::fromUtf8(listing).split('\n');
  auto line_of = [&](const QString& caption) {
    for (const QString& line : lines)
      if (line.trimmed().startsWith(caption)) return line.simplified();
    return QString("<none>");
  };
  // A footnote row prints its amount, a zero row nothing, as on the printed statement.
  EXPECT_EQ(S(line_of("Şüpheli alacaklar dipnotu")), "Şüpheli alacaklar dipnotu 12,50");
  EXPECT_EQ(S(line_of("Diğer Gelirler")), "Diğer Gelirler");
  EXPECT_EQ(S(line_of("Faaliyet Zararı")), "Faaliyet Zararı -45,50");
  EXPECT_TRUE(Amount_Blank(0) && !Amount_Blank(-0.01));
  // The footnotes come under the caption the printed statement gives them.
  EXPECT_TRUE(lines.contains("DİPNOTLAR"));
  EXPECT_FALSE(lines.contains("AKTİFLER"));
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
    ApplyCompanyNumberFormats(state, layout);
    EXPECT_EQ(S(section.Control("x").output_format), S(c[1])) << line.Where();
  }
}

INSTANTIATE_TEST_SUITE_P(company_formats, CompanyNumberFormats,
                         testing::ValuesIn(Case_Files("company_formats")), Case_File_Name);

TEST_F(AnaRaporTest, PrintsTheStatementAsFormatted) {
  RecordingMessages messages;
  AppState state(messages);
  state.Amount_Format = "#,##0.00";
  state.Report_Sql = "SELECT * FROM MUHASEBEMALITABLOHAREKET";
  state.Export_Waiting = true;
  ReportPages pages = Run_AnaRapor(state, Sample_Statement());
  EXPECT_FALSE(state.Export_Waiting);

  ASSERT_EQ(pages.pages.size(), 1u);
  EXPECT_EQ(S(Text_Of(pages, "raporbaslik")), "MALİTABLO_TESTS");
  EXPECT_EQ(S(Text_Of(pages, "Tarih")), S(QDate::currentDate().toString("dd.MM.yyyy")));
  EXPECT_EQ(S(Text_Of(pages, "SubeAdi")), "");
  EXPECT_FALSE(Has_Line(pages, "Line15"));
  EXPECT_FALSE(Has_Line(pages, "Satir_Cizgi"));
  for (const char* hidden : {"txtBTutar", "txtSatir_Tipi"}) EXPECT_TRUE(From(pages, hidden).empty()) << hidden;
  // An income statement heads only its footnotes.
  EXPECT_EQ(S(Text_Of(pages, "Rapor_Yeri")), "DİPNOTLAR");
  EXPECT_EQ(From(pages, "Rapor_Yeri").size(), 1u);

  const auto captions = From(pages, "txtSatir_Adi");
  const auto amounts = From(pages, "txtBakiye");
  ASSERT_EQ(captions.size(), 9u);
  ASSERT_EQ(amounts.size(), 9u);
  const int m = pages.setup.margin_left;
  const std::vector<QString> texts{"1.250.000,50", "1.000.000,25", "250.000,25", "", "1.250.000,50",
                                   "987,65", "-45,50", "942,15", "12,50"};
  const std::vector<int> lefts{kATutarLeft, kBTutarLeft, kBTutarLeft, kBTutarLeft, kBTutarLeft,
                               kBTutarLeft, kBTutarLeft, kATutarLeft, kBTutarLeft};
  for (size_t i = 0; i < amounts.size(); ++i) {
    EXPECT_EQ(S(amounts[i]->text), S(texts[i])) << i;
    EXPECT_EQ(amounts[i]->left, m + lefts[i]) << i;
    EXPECT_EQ(amounts[i]->top, captions[i]->top) << i;
  }
  EXPECT_TRUE(captions[7]->font.bold && amounts[6]->font.bold);  // the hook's look reaches the page
  // One group footer line per placement, and the report footer's.
  int group_lines = 0;
  for (const PageLine& line : pages.pages[0].lines) group_lines += line.control == "Line14";
  EXPECT_EQ(group_lines, 2);
  EXPECT_TRUE(Has_Line(pages, "Line17"));

  // A work place, row lines and a company without decimals.
  state.Workplace_Name = "MERKEZ ŞUBE";
  state.Row_Lines = true;
  state.Amount_Format = "#,##0";
  pages = Run_AnaRapor(state, Sample_Statement());
  EXPECT_EQ(S(Text_Of(pages, "SubeAdi")), "MERKEZ ŞUBE");
  EXPECT_TRUE(Has_Line(pages, "Line15"));
  EXPECT_TRUE(Has_Line(pages, "Satir_Cizgi"));
  EXPECT_EQ(S(From(pages, "txtBakiye")[0]->text), "1.250.001");
  EXPECT_EQ(S(From(pages, "txtBakiye")[5]->text), "988");
}
