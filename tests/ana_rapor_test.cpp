// The statement layout: the amount position carried from row to row, colours and weights,
// blank zeros, group captions, the page header filled at report start, company number formats,
// and a run over the rows of the report statement in the database.
#include <gtest/gtest.h>

#include <QDate>

#include "report/ana_rapor.h"
#include "support/gui_application.h"
#include "support/statement_rows.h"
#include "support/test_suite.h"

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

TEST(AnaRaporRules, AmountPositionCarriesFromRowToRow) {
  struct Step {
    const char* tipi;
    const char* seviye;
    double bakiye;
    int left;
  };
  // A group off level 2 and formulas keep the designed place; a level-2 group moves to the first
  // column, a level-3 group stays where the previous row printed; account, range, subtotal,
  // amount, footnote and any other code: second column; a grand total always the first.
  const Step steps[] = {
      {"1", "3", 10, kBakiyeLeft},  {"11", "3", 10, kBakiyeLeft}, {"1", "2", 10, kATutarLeft},
      {"1", "3", 10, kATutarLeft},  {"11", "2", 10, kATutarLeft}, {"2", "3", 10, kBTutarLeft},
      {"1", "4", 10, kBTutarLeft},  {"3", "3", 10, kBTutarLeft},  {"5", "3", 10, kATutarLeft},
      {"4", "2", 10, kBTutarLeft},  {"9", "1", 10, kBTutarLeft},  {"11", "1", 10, kBTutarLeft},
      {"10", "3", 10, kBTutarLeft}, {"5", "1", 10, kATutarLeft},  {"7", "2", 10, kBTutarLeft},
      {"", "", 0, kBTutarLeft},
  };
  int left = kBakiyeLeft;
  for (size_t i = 0; i < std::size(steps); ++i) {
    const DetailLook look = Detail_Look(steps[i].tipi, steps[i].seviye, steps[i].bakiye, left);
    EXPECT_EQ(look.amount_left, steps[i].left) << "row " << i;
    left = look.amount_left;
  }
  // Levels and types are compared as text: " 2" and "02" are not level 2.
  EXPECT_EQ(Detail_Look("1", " 2", 1, kBTutarLeft).amount_left, kBTutarLeft);
  EXPECT_EQ(Detail_Look("1", "02", 1, kBTutarLeft).amount_left, kBTutarLeft);
  EXPECT_EQ(Detail_Look("011", "2", 1, kBakiyeLeft).amount_left, kBTutarLeft);
}

TEST(AnaRaporRules, ColourWeightAndBlankZeros) {
  // Formulas are bold, green above zero and red otherwise; a zero one prints nothing.
  for (double bakiye : {0.01, 0.0, -5.0}) {
    const DetailLook look = Detail_Look("11", "3", bakiye, kBakiyeLeft);
    EXPECT_TRUE(look.amount_bold && !look.caption_bold);
    EXPECT_EQ(look.amount_color, bakiye > 0 ? QColor(53, 179, 82) : QColor(232, 0, 5)) << bakiye;
    EXPECT_EQ(look.amount_blank, bakiye == 0) << bakiye;
  }
  // Every other row is black and plain, whatever its sign.
  for (const char* tipi : {"1", "2", "3", "4", "5", "9", "10"}) {
    for (double bakiye : {-3.0, 0.0, 3.0}) {
      const DetailLook look = Detail_Look(tipi, "2", bakiye, kBakiyeLeft);
      EXPECT_FALSE(look.amount_bold) << tipi;
      EXPECT_EQ(look.amount_color, QColor(Qt::black)) << tipi;
      EXPECT_EQ(look.amount_blank, bakiye == 0) << tipi;
      EXPECT_EQ(look.caption_bold, QString(tipi) == "5") << tipi;
    }
  }
  // The grand total is matched as a number.
  EXPECT_TRUE(Detail_Look("05", "2", 1, kBakiyeLeft).caption_bold);
  EXPECT_EQ(Detail_Look("05", "2", 1, kBakiyeLeft).amount_left, kATutarLeft);
}

TEST(AnaRaporRules, GroupCaptions) {
  EXPECT_EQ(S(Group_Caption("", "DİPNOTLAR")), "DİPNOTLAR");
  // The handler writes the hidden Rapor_Yeri label of the running layout, group after group.
  AnaRapor report = AnaRapor_Layout();
  ReportRows rows({"Rapor_Yeri"});
  for (int yeri : {1, 2, 7, 3}) rows.Add_Row({yeri});
  QStringList captions;
  for (int row = 0; row < rows.Row_Count(); ++row) {
    ReportContext context{report.layout, rows, row, 1};
    GroupHeader1_Format(context);
    captions << report.layout.group_header.Control("Rapor_Yeri").text;
  }
  EXPECT_EQ(captions, (QStringList{"AKTİFLER", "PASİFLER", "PASİFLER", "DİPNOTLAR"}));
  EXPECT_FALSE(report.layout.group_header.Control("Rapor_Yeri").visible);
}

TEST(AnaRaporRules, CompanyNumberFormats) {
  RecordingMessages messages;
  AppState state(messages);
  state.Amount_Format = "#,##0";
  state.Unit_Price_Format = "#,##0.0";
  state.Currency_Format = "#,##0.00";
  state.Currency_Unit_Price_Format = "#,##0.000";
  state.Rate_Format = "#,##0.0000";
  ReportDefinition layout;
  layout.page_header.Add_Field("a", "x", 0, 0, 10, "#,##0.000000");
  layout.detail.Add_Field("b", "x", 0, 0, 10, "#,##0.00");
  layout.detail.Add_Field("c", "x", 0, 0, 10, "#,##0.0000");
  layout.detail.Add_Field("d", "x", 0, 0, 10, "#,##0.00 ");  // not an exact match
  layout.page_footer.Add_Field("e", "x", 0, 0, 10, "#,##0.00000");
  layout.page_footer.Add_Field("f", "x", 0, 0, 10, "#,##0.000");
  layout.group_header.Add_Field("g", "x", 0, 0, 10, "#,##0.00");  // not a formatted section
  ApplyCompanyNumberFormats(state, layout);
  EXPECT_EQ(S(layout.page_header.Control("a").output_format), "#,##0.0000");
  EXPECT_EQ(S(layout.detail.Control("b").output_format), "#,##0");
  EXPECT_EQ(S(layout.detail.Control("c").output_format), "#,##0.00");
  EXPECT_EQ(S(layout.detail.Control("d").output_format), "#,##0.00 ");
  EXPECT_EQ(S(layout.page_footer.Control("e").output_format), "#,##0.000");
  EXPECT_EQ(S(layout.page_footer.Control("f").output_format), "#,##0.0");
  EXPECT_EQ(S(layout.group_header.Control("g").output_format), "#,##0.00");
}

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
  EXPECT_EQ(S(Text_Of(pages, "Sayfa")), "1");
  EXPECT_EQ(S(Text_Of(pages, "Firma")), "Firma");
  EXPECT_EQ(S(Text_Of(pages, "SubeAdi")), "");
  EXPECT_FALSE(Has_Line(pages, "Line15"));
  EXPECT_FALSE(Has_Line(pages, "Satir_Cizgi"));
  for (const char* hidden : {"txtBTutar", "txtSatir_Tipi", "Rapor_Yeri"}) EXPECT_TRUE(From(pages, hidden).empty()) << hidden;

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
    EXPECT_EQ(amounts[i]->alignment, TextAlign::Right);
    EXPECT_EQ(captions[i]->font.bold, i == 7) << i;
    EXPECT_EQ(amounts[i]->font.bold, i == 5 || i == 6) << i;
  }
  EXPECT_EQ(amounts[6]->color, QColor(232, 0, 5));
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

TEST_F(AnaRaporTest, RunsOverTheReportStatement) {
  TestSuite t;
  t.Exec("INSERT INTO MUHASEBEMALITABLOKART (Rapor_ID, Rapor_Kodu, Rapor_Adi, Rapor_Tipi) VALUES (1,'GT','Gelir',2)");
  t.Exec("INSERT INTO MUHASEBEMALITABLOHAREKET (Rapor_ID, Rapor_Yeri, Satir_No, Satir_Tipi, Satir_Kodu, "
         "Satir_Adi, Satir_Seviyesi, Bakiye) VALUES "
         "(1, 1, 1, 1, 'A', 'SATIŞLAR', 2, 1500.5), (1, 1, 2, 2, 'B', 'Yurt İçi', 3, 1500.5), "
         "(1, 1, 3, 11, 'C', 'Kâr', 3, -20), (1, 3, 4, 10, 'D', 'Dipnot', 3, 0)");
  t.Connect();
  t.state.Amount_Format = "#,##0.00";
  t.state.Report_Sql =
      "SELECT MUHASEBEMALITABLOHAREKET.*, MUHASEBEMALITABLOKART.* FROM MUHASEBEMALITABLOHAREKET "
      "LEFT JOIN MUHASEBEMALITABLOKART  ON(MUHASEBEMALITABLOHAREKET.Rapor_ID=MUHASEBEMALITABLOKART.Rapor_ID) "
      "ORDER BY Satir_No";
  const ReportPages pages = Run_AnaRapor(t.state);
  QStringList captions, amounts;
  for (const PageText* text : From(pages, "txtSatir_Adi")) captions << text->text;
  for (const PageText* text : From(pages, "txtBakiye")) amounts << text->text;
  EXPECT_EQ(captions, (QStringList{"SATIŞLAR", "Yurt İçi", "Kâr", "Dipnot"}));
  EXPECT_EQ(amounts, (QStringList{"1.500,50", "1.500,50", "-20,00", ""}));
  EXPECT_EQ(From(pages, "txtBakiye")[2]->color, QColor(232, 0, 5));
  EXPECT_TRUE(t.messages.entries.empty());
}
