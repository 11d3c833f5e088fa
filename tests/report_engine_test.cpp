// The banded report engine: pagination of details with page header and footer on every page,
// report header and footer once, group sections on key changes, format hooks changing controls
// per row, page number and count fields, output formats (tests/cases/output_formats) and rows read
// through the recordset layer. The PDF itself is read back in exports_test.cpp.
#include <gtest/gtest.h>

#include <algorithm>

#include "report/output_format.h"
#include "report/report_engine.h"
#include "support/case_file.h"
#include "support/test_suite.h"

namespace {

std::string S(const QString& text) { return text.toStdString(); }

// Texts of one page coming from `control`, in order.
QStringList Texts(const ReportPage& page, const QString& control) {
  QStringList texts;
  for (const PageText& text : page.texts) {
    if (text.control == control) texts << text.text;
  }
  return texts;
}

const PageText* Find_Text(const ReportPage& page, const QString& control, const QString& value) {
  for (const PageText& text : page.texts) {
    if (text.control == control && text.text == value) return &text;
  }
  return nullptr;
}

int Count_Lines(const ReportPages& pages, const QString& control) {
  int count = 0;
  for (const ReportPage& page : pages.pages) {
    count +=
        static_cast<int>(std::count_if(page.lines.begin(), page.lines.end(),
                                       [&](const PageLine& l) { return l.control == control; }));
  }
  return count;
}

// Rows ("Yeri", "Adi", "Tutar") numbered 1..n; the place changes after every `group_size` rows.
ReportRows Numbered_Rows(int n, int group_size) {
  ReportRows rows({"Yeri", "Adi", "Tutar"});
  for (int i = 1; i <= n; ++i) {
    rows.Add_Row(
        {QString::number((i - 1) / group_size + 1), QString("Satir %1").arg(i), i * 1000.5});
  }
  return rows;
}

// A page of 10000 twips with 1000 twips of margins, a 1000 twips page header and a 500 twips
// page footer leaves a body of 6500 twips.
ReportDefinition Small_Report() {
  ReportDefinition report;
  report.page = PageSetup{11906, 10000, 500, 500, 1000, 1000};
  report.page_header.height = 1000;
  report.page_header.Add_Label("Baslik", "BASLIK", 0, 0, 3000);
  report.page_header.Add_Field("Sayfa", Page_Number_Field, 8000, 0, 800);
  report.page_header.Add_Field("Toplam", Page_Count_Field, 9000, 0, 800);
  report.page_footer.height = 500;
  report.page_footer.Add_Line("AltCizgi", 0, 100, 11000, 100);
  report.report_header.height = 500;
  report.report_header.Add_Label("RaporBasi", "RAPOR BASI", 0, 0, 3000);
  report.report_footer.height = 500;
  report.report_footer.Add_Label("RaporSonu", "RAPOR SONU", 0, 0, 3000);
  report.detail.height = 1000;
  report.detail.Add_Field("txtAdi", "Adi", 0, 0, 5000);
  report.detail.Add_Field("txtTutar", "Tutar", 9000, 0, 1700, "#,##0.00").alignment =
      TextAlign::Right;
  return report;
}

}  // namespace

using ReportOutputFormat = CaseFileTest;

TEST_P(ReportOutputFormat, GivesTheExpectedTexts) {
  for (const CaseLine& line : Read_Case_File(GetParam())) {
    const QStringList& c = line.fields;
    ASSERT_EQ(c.size(), 3) << line.Where();
    ASSERT_TRUE(QStringList({"number", "integer", "null", "text"}).contains(line.key))
        << line.Where();
    const QVariant value = line.key == "number"    ? QVariant(c[1].toDouble())
                           : line.key == "integer" ? QVariant(c[1].toInt())
                           : line.key == "null"    ? QVariant()
                                                   : QVariant(c[1]);
    EXPECT_EQ(S(Apply_Output_Format(c[0], value)), S(c[2])) << line.Where();
  }
}

INSTANTIATE_TEST_SUITE_P(output_formats, ReportOutputFormat,
                         testing::ValuesIn(Case_Files("output_formats")), Case_File_Name);

TEST(ReportEngine, PaginatesDetailsWithHeadersAndFootersPerPage) {
  // First page body: 6500 - 500 (report header) = 6000 -> 6 rows; then 6 rows per page.
  // 20 rows: 6 + 6 + 6 + 2, the report footer fits after the last two.
  ReportPages pages = Run_Report(Small_Report(), Numbered_Rows(20, 100));
  ASSERT_EQ(pages.pages.size(), 4u);
  const std::vector<int> per_page{6, 6, 6, 2};
  int row = 1;
  for (size_t p = 0; p < pages.pages.size(); ++p) {
    const ReportPage& page = pages.pages[p];
    EXPECT_EQ(Texts(page, "Sayfa") + Texts(page, "Toplam"),
              (QStringList{QString::number(p + 1), "4"}));
    EXPECT_EQ(Texts(page, "RaporBasi").size(), p == 0 ? 1 : 0);  // report header and footer once
    EXPECT_EQ(Texts(page, "RaporSonu").size(), p == 3 ? 1 : 0);
    const QStringList names = Texts(page, "txtAdi");
    ASSERT_EQ(names.size(), per_page[p]) << "page " << p + 1;
    for (const QString& name : names) EXPECT_EQ(S(name), S(QString("Satir %1").arg(row++)));
    // Details follow the headers down the body, never into the footer.
    EXPECT_EQ(Find_Text(page, "txtAdi", names.front())->top, 2000 + (p == 0 ? 500 : 0));
    for (const PageText& text : page.texts) EXPECT_LE(text.top + 225, 10000 - 1000 - 500);
  }
  EXPECT_EQ(Find_Text(pages.pages[0], "Baslik", "BASLIK")->top, 1500);  // below the report header

  // 18 rows leave 500 twips on the third page: a report footer of 500 still fits there, one of
  // 600 moves alone to a fourth page.
  EXPECT_EQ(Run_Report(Small_Report(), Numbered_Rows(18, 100)).pages.size(), 3u);
  ReportDefinition taller = Small_Report();
  taller.report_footer.height = 600;
  pages = Run_Report(taller, Numbered_Rows(18, 100));
  ASSERT_EQ(pages.pages.size(), 4u);
  EXPECT_TRUE(Texts(pages.pages[3], "txtAdi").isEmpty());
  EXPECT_EQ(Texts(pages.pages[3], "RaporSonu").size(), 1);

  // A closing section that no longer fits is left out rather than opening a page of its own.
  taller.report_footer.closing = true;
  EXPECT_EQ(Run_Report(taller, Numbered_Rows(18, 100)).pages.size(), 3u);
  EXPECT_EQ(Run_Report(taller, Numbered_Rows(17, 100)).pages.back().texts.back().control,
            "RaporSonu");

  EXPECT_EQ(Run_Report(Small_Report(), ReportRows({"Yeri", "Adi", "Tutar"})).pages.size(),
            1u);  // no rows

  // Hidden sections and controls take no place and print nothing.
  ReportDefinition hidden = Small_Report();
  hidden.report_header.visible = false;
  hidden.page_footer.visible = false;
  hidden.detail.Control("txtTutar").visible = false;
  pages = Run_Report(hidden, Numbered_Rows(8, 100));
  ASSERT_EQ(pages.pages.size(), 2u);  // a body of 7000 twips holds 7 rows
  EXPECT_EQ(Texts(pages.pages[0], "txtAdi").size(), 7);
  EXPECT_EQ(Texts(pages.pages[0], "txtTutar").size(), 0);
  EXPECT_EQ(Count_Lines(pages, "AltCizgi"), 0);
}

TEST(ReportEngine, PageOfCountAndSectionsGrownByTheirHook) {
  // The sixth row grows to 1500 twips in its hook: it no longer fits under five rows of 1000
  // on the first page's 6000 and opens the second page, whole.
  ReportDefinition report = Small_Report();
  report.page_header.Add_Field("SayfaSayisi", Page_Of_Count_Field, 6000, 0, 1500);
  report.detail_format = [](ReportContext& c) {
    c.report.detail.height = c.Value("Adi").toString() == "Satir 6" ? 1500 : 1000;
  };
  const ReportPages pages = Run_Report(report, Numbered_Rows(8, 100));
  ASSERT_EQ(pages.pages.size(), 2u);
  EXPECT_EQ(Texts(pages.pages[0], "txtAdi").size(), 5);
  EXPECT_EQ(S(Texts(pages.pages[1], "txtAdi").front()), "Satir 6");
  EXPECT_EQ(Texts(pages.pages[0], "SayfaSayisi"), QStringList{"1 / 2"});
  EXPECT_EQ(Texts(pages.pages[1], "SayfaSayisi"), QStringList{"2 / 2"});
}

TEST(ReportEngine, RepeatedGroupHeaderHeadsEveryPageItsGroupGoesOnTo) {
  // Groups of 8 rows of 1000 twips; a body of 6500 holds 6 rows under a group header of 500.
  ReportDefinition report = Small_Report();
  report.report_header.visible = false;
  report.group_column = "Yeri";
  report.group_header.height = 500;
  report.group_header.repeat_on_page = true;
  report.group_header.Add_Field("txtYeri", "Yeri", 0, 0, 500);
  report.group_footer.height = 400;
  report.group_footer.closing = true;
  report.group_footer.Add_Line("GrupCizgisi", 0, 0, 11000, 0);
  const ReportPages pages = Run_Report(report, Numbered_Rows(16, 8));
  std::vector<QStringList> headers, rows;
  for (const ReportPage& page : pages.pages) {
    headers.push_back(Texts(page, "txtYeri"));
    rows.push_back(Texts(page, "txtAdi"));
  }
  // Page 2 goes on with group 1 under its header again, then starts group 2; page 3 goes on
  // with group 2.
  ASSERT_EQ(pages.pages.size(), 3u);
  EXPECT_EQ(headers, (std::vector<QStringList>{{"1"}, {"1", "2"}, {"2"}}));
  EXPECT_EQ(rows[1].front(), "Satir 7");
  EXPECT_EQ(rows[2].front(), "Satir 12");
  // The header stands right under the page header, the rows below it.
  const PageText* repeated = Find_Text(pages.pages[1], "txtYeri", "1");
  ASSERT_NE(repeated, nullptr);
  EXPECT_EQ(repeated->top, 2000);
  EXPECT_EQ(Find_Text(pages.pages[1], "txtAdi", "Satir 7")->top, 2500);
  // Without the setting the header prints once per group.
  report.group_header.repeat_on_page = false;
  int printed = 0;
  for (const ReportPage& page : Run_Report(report, Numbered_Rows(16, 8)).pages)
    printed += static_cast<int>(Texts(page, "txtYeri").size());
  EXPECT_EQ(printed, 2);
}

TEST(ReportEngine, GroupSectionsOnKeyChange) {
  ReportDefinition report = Small_Report();
  report.page.height = 100000;
  report.group_column = "Yeri";
  report.group_header.height = 300;
  report.group_header.Add_Label("GrupBasligi", "", 0, 0, 3000);
  report.group_header.Add_Field("txtYeri", "Yeri", 4000, 0, 500);
  report.group_footer.height = 100;
  report.group_footer.Add_Line("GrupCizgisi", 0, 0, 11000, 0);
  QStringList hook_keys;
  report.group_header_format = [&](ReportContext& c) {
    hook_keys << c.Value("Yeri").toString();
    if (c.Value("Yeri").toString() != "3") {
      c.report.group_header.Control("GrupBasligi").text = "GRUP " + c.Value("Yeri").toString();
    }
  };
  // Keys 1,1,1,2,2,2,3: three groups.
  const ReportPages pages = Run_Report(report, Numbered_Rows(7, 3));
  ASSERT_EQ(pages.pages.size(), 1u);
  const ReportPage& page = pages.pages[0];
  EXPECT_EQ(hook_keys, (QStringList{"1", "2", "3"}));
  EXPECT_EQ(Texts(page, "txtYeri"), (QStringList{"1", "2", "3"}));
  // A key without its own caption keeps the previous one.
  EXPECT_EQ(Texts(page, "GrupBasligi"), (QStringList{"GRUP 1", "GRUP 2", "GRUP 2"}));
  EXPECT_EQ(Count_Lines(pages, "GrupCizgisi"), 3);
  EXPECT_EQ(S(report.group_header.Control("GrupBasligi").text), "");  // the given definition stays
  // Order on the page: header, its details, footer, next header.
  EXPECT_LT(Find_Text(page, "txtYeri", "1")->top, Find_Text(page, "txtAdi", "Satir 1")->top);
  EXPECT_LT(Find_Text(page, "txtAdi", "Satir 3")->top, Find_Text(page, "txtYeri", "2")->top);
  EXPECT_EQ(Find_Text(page, "txtYeri", "2")->top,
            Find_Text(page, "txtAdi", "Satir 3")->top + 1000 + 100);
}

TEST(ReportEngine, HooksChangeControlsPerRow) {
  ReportDefinition report = Small_Report();
  report.page.height = 100000;
  report.report_start = [&](ReportContext& c) {
    c.report.report_header.Control("RaporBasi").text = "BASLANDI";
  };
  // Tip "F" moves the amount, bold, to 6405; a change stays for the rows after it. A zero
  // amount prints nothing; tip "X" hides the caption.
  report.detail_format = [](ReportContext& c) {
    ReportControl& amount = c.report.detail.Control("txtTutar");
    const QString tip = c.Value("Tip").toString();
    amount.font.bold = tip == "F";
    if (tip == "F") amount.left = 6405;
    if (c.Value("Tutar").toDouble() == 0) amount.text = "";
    c.report.detail.Control("txtAdi").visible = tip != "X";
  };
  ReportRows rows({"Adi", "Tip", "Tutar"});
  rows.Add_Row({"Bir", "A", 10.0});
  rows.Add_Row({"Iki", "F", 1500.25});
  rows.Add_Row({"Uc", "A", 0.0});
  rows.Add_Row({"Dort", "X", -30.0});
  const ReportPages pages = Run_Report(report, rows);
  const ReportPage& page = pages.pages.at(0);
  EXPECT_EQ(Texts(page, "RaporBasi"), QStringList{"BASLANDI"});
  EXPECT_EQ(Texts(page, "txtAdi"), (QStringList{"Bir", "Iki", "Uc"}));
  EXPECT_EQ(Texts(page, "txtTutar"), (QStringList{"10,00", "1.500,25", "", "-30,00"}));
  QList<int> lefts;
  QList<bool> bold;
  for (const PageText& text : page.texts) {
    if (text.control != "txtTutar") continue;
    lefts << text.left - 500;
    bold << text.font.bold;
  }
  EXPECT_EQ(lefts, (QList<int>{9000, 6405, 6405, 6405}));
  EXPECT_EQ(bold, (QList<bool>{false, true, false, false}));
}

TEST(ReportEngine, RowsThroughTheRecordsetLayer) {
  TestSuite suite;
  suite.Connect();
  suite.Exec("CREATE TABLE RAPORDENEME (Sira INTEGER, Adi TEXT, Tutar REAL)");
  suite.Exec("INSERT INTO RAPORDENEME VALUES (1, 'Kasa', 1234567.891), (2, 'Banka', NULL)");
  ReportRows rows = Report_Rows(suite.state, "SELECT * FROM RAPORDENEME ORDER BY Sira");
  ASSERT_EQ(rows.Row_Count(), 2);
  EXPECT_EQ(S(rows.Value(1, "adi").toString()), "Banka");  // names are not case-sensitive
  EXPECT_TRUE(rows.Value(1, "Tutar").isNull());
  EXPECT_TRUE(rows.Value(0, "Yok").isNull() && rows.Value(2, "Adi").isNull());
  EXPECT_TRUE(suite.messages.entries.empty());

  // A failing statement shows its messages and gives no rows.
  ReportRows none = Report_Rows(suite.state, "SELECT * FROM YOKTABLO");
  EXPECT_EQ(none.Row_Count(), 0);
  EXPECT_FALSE(suite.messages.entries.empty());
}
