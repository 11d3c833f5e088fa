// Both demo statements through every output of the command line: the PDF (read back with
// pdftotext -bbox, word by word with its position), the workbook (its cells), the HTML table,
// the text file, the text listing, CSV and JSON. Each printed row is read back as its caption,
// its amount as printed and the column it stands in, and every format must give the same rows
// as the statement's own rows (JSON) under the printed statement's decisions; the page must
// say which statement it is, for whom and for which period.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTextDocumentFragment>
#include <QXmlStreamReader>
#include <cmath>
#include <functional>
#include <map>
#include <set>

#include "db/suite_text.h"
#include "demo/demo_suite.h"
#include "model/financial_table.h"
#include "report/ana_rapor.h"
#include "report/output_format.h"
#include "support/gui_application.h"

namespace {

std::string S(const QString& text) { return text.toStdString(); }

// One printed row: caption, amount text ("" when none) and its column (0 inner, 1 middle,
// 2 outer, -1 without an amount).
struct PrintedLine {
  QString caption;
  QString amount;
  int column = -1;
  bool operator==(const PrintedLine&) const = default;
};

std::ostream& operator<<(std::ostream& out, const PrintedLine& l) {
  return out << "[" << S(l.caption) << " | " << S(l.amount) << " | " << l.column << "]";
}

const QStringList kHeadings{"AKTİFLER", "PASİFLER", "DİPNOTLAR"};
const int kColumnLefts[] = {kInnerAmountLeft, kMiddleAmountLeft, kOuterAmountLeft};
constexpr int kMargin = 850;

// The column whose right edge (twips from the paper's left) is within `tolerance` of `right`.
int Column_Ending_At(double right, double tolerance) {
  for (int c = 0; c < 3; ++c)
    if (std::abs(right - (kMargin + kColumnLefts[c] + kAmountWidth)) <= tolerance) return c;
  return -2;
}

QByteArray Run_Program(const QString& program, const QStringList& args) {
  QProcess process;
  process.start(program, args);
  if (!process.waitForFinished(60000) || process.exitCode() != 0) {
    ADD_FAILURE() << S(program) << " " << S(args.join(' ')) << ": "
                  << process.readAllStandardError().toStdString();
    return {};
  }
  return process.readAllStandardOutput();
}

QByteArray Read(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class DemoStatements : public GuiTest, public testing::WithParamInterface<const char*> {
 protected:
  static void SetUpTestSuite() {
    GuiTest::SetUpTestSuite();
    dir = new QTemporaryDir;
    qputenv("MALITABLO_REGISTRY", dir->filePath("registry.ini").toUtf8());
    DemoOptions options;
    options.suite_folder = dir->filePath("demo");
    options.program_folder = MALITABLO_PROGRAM_DIR;
    Create_Demo_Suite(options);
    company_line = QString(kDemoCompany) + "|" + Demo_Data_Folder(options.suite_folder) + "|1|sa|" +
                   QChar(0x00E6);
    const QString company =
        QString::fromUtf8(Run_Program(Cli(), {"company", company_line, "--yes"}));
    company_name = company.section("Şirket: ", 1).section('\n', 0, 0);
    fiscal_year = company.section("Mali yıl: ", 1).section('\n', 0, 0);
    amount_format = company.section("Tutar biçimi: ", 1).section('\n', 0, 0);
  }
  static void TearDownTestSuite() { delete dir; }
  static QString Cli() { return QString(MALITABLO_PROGRAM_DIR) + "/malitablo-cli"; }

  bool Balance_Sheet() const { return QString(GetParam()) == "BL"; }
  // The statement in `format`, written to a file of its own; the file's path.
  QString Output(const QString& format, const QString& comparison = {}) {
    const QString path = dir->filePath(QString(GetParam()) + comparison + "." + format);
    QStringList args{"run", company_line, "--yes", "--format", format, "--out", path};
    if (!comparison.isEmpty())
      args << "--set"
           << "Karşılaştırma=" + comparison;
    if (Balance_Sheet())
      args << "--set"
           << "Tablo Türü=Bilanço";
    args << "--set" << QString("Tablo Kodu=") + GetParam();
    if (!Balance_Sheet())
      args << "--set"
           << "Rapor Başlangıç Ayı=Ocak";
    args << "--set"
         << "Rapor Bitiş Ayı=Aralık";
    Run_Program(Cli(), args);
    return path;
  }

  // The rows as the statement holds them, under the printed statement's decisions.
  std::vector<PrintedLine> Expected(const QJsonArray& json) {
    ReportRows rows({"Satir_Tipi"});
    for (const QJsonValue& v : json) rows.Add_Row({v["Satir_Tipi"].toInt()});
    std::vector<PrintedLine> lines;
    for (int i = 0; i < json.size(); ++i) {
      const QJsonObject row = json[i].toObject();
      const double bakiye = row["Bakiye"].toDouble();
      const DetailLook look = Detail_Look(row["Satir_Tipi"].toInt(), row["Satir_Seviyesi"].toInt(),
                                          bakiye, Is_Net_Result(rows, i));
      PrintedLine line{row["Satir_Adi"].toString().simplified(), "", -1};
      if (!look.amount_blank) {
        line.amount = Amount_Text(bakiye);
        for (int c = 0; c < 3; ++c)
          if (Amount_Left(look.amount_place) == kColumnLefts[c]) line.column = c;
      }
      lines.push_back(line);
    }
    return lines;
  }
  QString Amount_Text(double value) const {
    return Apply_Output_Format(amount_format, value, NumberSeparators{});
  }

  static QTemporaryDir* dir;
  static QString company_line, company_name, fiscal_year, amount_format;
};

QTemporaryDir* DemoStatements::dir = nullptr;
QString DemoStatements::company_line, DemoStatements::company_name, DemoStatements::fiscal_year,
    DemoStatements::amount_format;

// The rows of one format against the expected ones: the first row that differs is named.
void Expect_Rows(const char* format, const std::vector<PrintedLine>& got,
                 const std::vector<PrintedLine>& expected) {
  for (size_t i = 0; i < std::min(got.size(), expected.size()); ++i) {
    if (!(got[i] == expected[i])) {
      ADD_FAILURE() << format << " row " << i << ": " << got[i] << " instead of " << expected[i];
      return;
    }
  }
  EXPECT_EQ(got.size(), expected.size()) << format;
}

bool Is_Amount(const QString& word) {
  static const QRegularExpression amount("^-?\\d{1,3}(\\.\\d{3})*(,\\d+)?$");
  return amount.match(word).hasMatch();
}

// A line of a text output: its caption, and the amount it ends with (two blanks or more after
// the caption) in the column `column_of` gives by the line's length.
PrintedLine Text_Line(const QString& l, const std::function<int(qsizetype)>& column_of) {
  const QString last = l.section(' ', -1);
  if (!Is_Amount(last) || !l.contains("  " + last)) return {l.simplified(), "", -1};
  return {l.left(l.size() - last.size()).simplified(), last, column_of(l.size())};
}

// The body rows of the PDF: the words of each line, captions left of the inner column, the
// amount by the right edge of its word.
// `first_lines` receives the first line under the column headings of every page.
std::vector<PrintedLine> Pdf_Rows(const QByteArray& bbox, QStringList* header_words,
                                  QStringList* first_lines) {
  struct Word {
    double x1, y, x2;
    QString text;
  };
  QXmlStreamReader xml(bbox);
  std::vector<PrintedLine> rows;
  std::vector<Word> page;
  auto flush_page = [&] {
    // Lines by their top, words left to right.
    std::map<int, std::vector<Word>> by_top;
    for (const Word& w : page) by_top[static_cast<int>(std::lround(w.y))].push_back(w);
    bool body = false;
    for (auto& [top, words] : by_top) {
      std::sort(words.begin(), words.end(),
                [](const Word& a, const Word& b) { return a.x1 < b.x1; });
      QStringList texts;
      for (const Word& w : words) texts << w.text;
      const QString all = texts.join(' ');
      if (!body) {
        if (header_words) *header_words << all;
        body = all.startsWith("SATIR ADI");
        if (body) first_lines->append(QString());
        continue;
      }
      if (first_lines->last().isEmpty()) first_lines->last() = all;
      if (kHeadings.contains(all)) continue;
      PrintedLine line;
      QStringList caption;
      for (const Word& w : words) {
        if (w.x1 * 20 >= kMargin + kInnerAmountLeft && Is_Amount(w.text)) {
          line.amount = w.text;
          line.column = Column_Ending_At(w.x2 * 20, 60);
        } else {
          caption << w.text;
        }
      }
      line.caption = caption.join(' ');
      rows.push_back(line);
    }
    page.clear();
  };
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isEndElement() && xml.name() == QLatin1String("page")) flush_page();
    if (!xml.isStartElement() || xml.name() != QLatin1String("word")) continue;
    const auto a = xml.attributes();
    const double x1 = a.value("xMin").toDouble(), y = a.value("yMin").toDouble(),
                 x2 = a.value("xMax").toDouble();
    page.push_back({x1, y, x2, xml.readElementText()});
  }
  return rows;
}

// The workbook's cells: shared strings and, per row, column letter to text or number.
std::vector<std::map<QString, QString>> Sheet_Rows(const QString& path, int* frozen,
                                                   QString* sheet_name) {
  QStringList strings;
  QXmlStreamReader shared(Run_Program("unzip", {"-p", path, "xl/sharedStrings.xml"}));
  while (!shared.atEnd()) {
    shared.readNext();
    if (shared.isStartElement() && shared.name() == QLatin1String("t"))
      strings << shared.readElementText();
  }
  QXmlStreamReader book(Run_Program("unzip", {"-p", path, "xl/workbook.xml"}));
  while (!book.atEnd()) {
    book.readNext();
    // The statement's sheet is the first; "Grafik" follows.
    if (book.isStartElement() && book.name() == QLatin1String("sheet") && sheet_name->isEmpty())
      *sheet_name = book.attributes().value("name").toString();
  }
  std::vector<std::map<QString, QString>> rows;
  QXmlStreamReader sheet(Run_Program("unzip", {"-p", path, "xl/worksheets/sheet1.xml"}));
  QString cell, type;
  while (!sheet.atEnd()) {
    sheet.readNext();
    if (!sheet.isStartElement()) continue;
    if (sheet.name() == QLatin1String("pane")) *frozen = sheet.attributes().value("ySplit").toInt();
    if (sheet.name() == QLatin1String("row")) {
      rows.resize(sheet.attributes().value("r").toInt());
    } else if (sheet.name() == QLatin1String("c")) {
      cell = sheet.attributes().value("r").toString().remove(QRegularExpression("\\d"));
      type = sheet.attributes().value("t").toString();
    } else if (sheet.name() == QLatin1String("v")) {
      const QString v = sheet.readElementText();
      rows.back()[cell] = type == "s" ? strings.value(v.toInt()) : "=" + v;
    }
  }
  return rows;
}

}  // namespace

TEST_P(DemoStatements, EveryFormatPrintsTheSameRows) {
  const QJsonArray json = QJsonDocument::fromJson(Read(Output("json"))).array();
  ASSERT_GT(json.size(), 30);
  const std::vector<PrintedLine> expected = Expected(json);
  const QString title = Balance_Sheet() ? "Bilanço" : "Gelir Tablosu";
  // A balance sheet is dated by the fiscal year's last day.
  const QString period =
      Balance_Sheet() ? fiscal_year.section(" - ", 1) + " tarihli (Açılış dahil)" : fiscal_year;
  ASSERT_FALSE(fiscal_year.isEmpty());

  // PDF: the heading on every page, then the rows.
  QStringList header, first_lines;
  const std::vector<PrintedLine> pdf =
      Pdf_Rows(Run_Program("pdftotext", {"-bbox", Output("pdf"), "-"}), &header, &first_lines);
  Expect_Rows("PDF", pdf, expected);
  for (const QString& words : {company_name, title, period})
    EXPECT_TRUE(header.join(" / ").contains(words))
        << S(words) << " not in " << S(header.join(" / "));
  EXPECT_TRUE(header.filter(QRegularExpression("^SAYFA : 1 / \\d$")).size() == 1)
      << S(header.join(" / "));

  // Workbook: the rows under the frozen header, each amount in its column, as a number.
  int frozen = 0;
  QString sheet_name;
  auto sheet = Sheet_Rows(Output("xlsx"), &frozen, &sheet_name);
  EXPECT_EQ(S(sheet_name), S(title));
  ASSERT_GT(frozen, 3);
  EXPECT_EQ(S(sheet[static_cast<size_t>(frozen - 1)]["A"]), "SATIR ADI");
  EXPECT_EQ(S(sheet[static_cast<size_t>(frozen - 1)]["D"]), "CARİ");  // over the outer column
  QStringList workbook_header;
  for (int r = 0; r < frozen; ++r)
    for (const auto& [column, text] : sheet[static_cast<size_t>(r)]) workbook_header << text;
  for (const QString& words : {company_name, title, period})
    EXPECT_TRUE(workbook_header.contains(words)) << S(words);
  std::vector<PrintedLine> workbook;
  QStringList workbook_headings, shown_headings;
  for (const QJsonValue& v : json) {
    const int place = v["Rapor_Yeri"].toInt();
    if (Placement_Heading_Shown(place, Balance_Sheet() ? kKindBalanceSheet : kKindIncomeStatement))
      shown_headings << Placement_Caption(place);
  }
  shown_headings.removeDuplicates();
  for (size_t r = static_cast<size_t>(frozen); r < sheet.size(); ++r) {
    auto cells = sheet[r];
    if (cells.empty()) continue;
    if (kHeadings.contains(cells["A"])) {
      workbook_headings << cells["A"];
      continue;
    }
    PrintedLine line{cells["A"], "", -1};
    for (int c = 0; c < 3; ++c) {
      const QString value = cells[QString(QChar('B' + c))];
      if (value.isEmpty()) continue;
      ASSERT_TRUE(value.startsWith('=')) << "not a number: " << S(value);
      // Rounded to the company's decimals before it was written: no float noise beyond what
      // the nearest double of a cent shows in 16 digits (9046.38 is written 9046.379999999999).
      const QString number = value.mid(1);
      EXPECT_NEAR(number.toDouble() * 100, std::round(number.toDouble() * 100), 1e-6) << S(number);
      line.amount = Amount_Text(number.toDouble());
      line.column = c;
    }
    workbook.push_back(line);
  }
  Expect_Rows("workbook", workbook, expected);
  // Each side's heading once: a sheet has no pages to repeat it on.
  EXPECT_EQ(workbook_headings, shown_headings);

  // HTML: one table, one cell per column. The amounts are the right-aligned cells; their
  // columns, left to right, are the places the statement prints amounts in.
  const QString html = QString::fromUtf8(Read(Output("html")));
  EXPECT_TRUE(html.contains("sans-serif"));
  const QRegularExpression tr("<tr>(.*)</tr>"), td("<td( style=\"[^\"]*\")?>([^<]*)</td>");
  std::vector<std::vector<std::pair<bool, QString>>> table;  // right-aligned, text
  std::set<qsizetype> amount_columns;
  for (const auto& r : tr.globalMatch(html)) {
    table.emplace_back();
    for (const auto& c : td.globalMatch(r.captured(1))) {
      const bool right = c.captured(1).contains("text-align:right");
      if (right) amount_columns.insert(static_cast<qsizetype>(table.back().size()));
      table.back()
          .emplace_back(right,
                        QTextDocumentFragment::fromHtml(c.captured(2)).toPlainText().trimmed());
    }
    ASSERT_EQ(table.back().size(), table.front().size());
  }
  std::set<int> places;
  for (const PrintedLine& line : expected)
    if (line.column >= 0) places.insert(line.column);
  ASSERT_EQ(amount_columns.size(), places.size());
  std::vector<PrintedLine> html_rows;
  for (const auto& cells : table) {
    PrintedLine line;
    for (size_t c = 0; c < cells.size(); ++c) {
      if (cells[c].second.isEmpty()) continue;
      if (!cells[c].first) {
        line.caption = cells[c].second;
        continue;
      }
      line.amount = cells[c].second;
      line.column =
          *std::next(places.begin(), std::distance(amount_columns.begin(),
                                                   amount_columns.find(static_cast<qsizetype>(c))));
    }
    if (!kHeadings.contains(line.caption)) html_rows.push_back(line);
  }
  Expect_Rows("HTML", html_rows, expected);

  // The text file: texts in columns of 75 twips, amounts ending where their column ends.
  const QStringList text_lines = Decode_Windows1254(Read(Output("txt"))).split("\r\n");
  std::vector<PrintedLine> text_rows;
  bool body = false;
  for (const QString& l : text_lines) {
    if (l.startsWith("SATIR ADI")) {
      body = true;
      continue;
    }
    if (l.startsWith(company_name)) body = false;
    if (!body || l.trimmed().isEmpty() || kHeadings.contains(l.trimmed())) continue;
    text_rows.push_back(
        Text_Line(l, [](qsizetype size) { return Column_Ending_At((size * 75.0) + kMargin, 75); }));
  }
  Expect_Rows("text file", text_rows, expected);

  // The command line's text listing: amounts in three columns of equal width.
  const QStringList listing = QString::fromUtf8(Read(Output("text"))).split('\n');
  ASSERT_GT(listing.size(), 6);
  EXPECT_EQ(listing.mid(0, 3), (QStringList{company_name, title, period}));
  const qsizetype rule = listing.indexOf(QRegularExpression("^-+$"));
  ASSERT_GT(rule, 0);
  const qsizetype width = listing[rule].size();
  qsizetype amount_width = 0;
  for (const QString& l : listing)
    if (l.startsWith(' ') && l.trimmed().startsWith("---")) amount_width = l.trimmed().size();
  ASSERT_GT(amount_width, 10);
  std::vector<PrintedLine> listed;
  for (qsizetype i = rule + 1; i < listing.size(); ++i) {
    const QString& l = listing[i];
    const QString trimmed = l.trimmed();
    if (trimmed.isEmpty() || kHeadings.contains(trimmed) || trimmed.startsWith("---") ||
        trimmed.startsWith("==="))
      continue;
    listed.push_back(Text_Line(l, [&](qsizetype size) {
      return 2 - static_cast<int>((width - size) / (amount_width + 2));
    }));
  }
  Expect_Rows("listing", listed, expected);

  // CSV: the same rows and amounts.
  const QStringList csv = QString::fromUtf8(Read(Output("csv"))).split("\r\n", Qt::SkipEmptyParts);
  ASSERT_EQ(csv.size(), json.size() + 1);
  for (int i = 0; i < json.size(); ++i) {
    const QString& l = csv[i + 1];
    EXPECT_EQ(S(l.section(',', 5, -4).remove('"').simplified()),
              S(expected[static_cast<size_t>(i)].caption));
    const double bakiye = l.section(',', -1).toDouble();
    EXPECT_EQ(S(bakiye == 0 ? QString() : Amount_Text(bakiye)),
              S(expected[static_cast<size_t>(i)].amount));
  }
}

// Quarters side by side: the PDF (landscape), the HTML table and the text file each head the
// columns with their titles in order and print a row's figure in every column, as the demo's
// ledger adds it up: the sales account's quarters and year, the cash account's balance at each
// quarter's end.
TEST_P(DemoStatements, EveryPrintedFileHoldsTheQuarters) {
  const bool balance_sheet = Balance_Sheet();
  const QString year = fiscal_year.right(4);
  QStringList titles{"1. Çeyrek", "2. Çeyrek", "3. Çeyrek", "4. Çeyrek"};
  if (!balance_sheet) titles << "Toplam";
  const QString caption = balance_sheet ? "1. Kasa" : "1. Yurt İçi Satışlar";
  QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", QString("quarters") + GetParam());
  db.setDatabaseName(Demo_Data_Folder(dir->filePath("demo")) + "/" + kDemoCompany + ".sqlite");
  ASSERT_TRUE(db.open());
  QStringList figures;
  for (int q = 1; q <= titles.size(); ++q) {
    const QString from =
        balance_sheet || q == 5 ? "01" : QString("%1").arg(3 * q - 2, 2, 10, QChar('0'));
    const QString to = q == 5 ? "13" : QString("%1").arg(3 * q + 1, 2, 10, QChar('0'));
    QSqlQuery sum(QString("SELECT SUM(%1) FROM MUHFISHAR WHERE MHesap_Kod LIKE '%2%' AND "
                          "Tarih>='%3-%4-01' AND Tarih<'%3-%5-01'")
                      .arg(balance_sheet ? "BTutar-ATutar" : "ATutar-BTutar",
                           balance_sheet ? "100" : "600", year, from, to)
                      .replace(year + "-13-01", QString::number(year.toInt() + 1) + "-01-01"),
                  db);
    ASSERT_TRUE(sum.next());
    figures << Amount_Text(sum.value(0).toDouble());
  }
  // The titles, in order, on the line that starts with the caption's heading; the figures on
  // the caption's line.
  auto expect_file = [&](const char* format, const QStringList& lines) {
    const QString heading = lines.filter(QRegularExpression("^\\s*SATIR ADI")).value(0);
    qsizetype at = 0;
    for (const QString& title : titles) {
      at = heading.indexOf(title, at);
      EXPECT_GT(at, 0) << format << ": " << S(title) << " in " << S(heading);
    }
    const QString line = lines.filter(caption).value(0);
    QStringList amounts = line.split(' ', Qt::SkipEmptyParts);
    amounts.removeIf([](const QString& word) { return !Is_Amount(word); });
    EXPECT_EQ(amounts, figures) << format << ": " << S(line);
  };
  const QString pdf = Output("pdf", "Çeyrekler");
  expect_file("PDF",
              QString::fromUtf8(Run_Program("pdftotext", {"-layout", pdf, "-"})).split('\n'));
  const QString size = QString::fromUtf8(Run_Program("pdfinfo", {pdf})).section("Page size:", 1);
  EXPECT_GT(size.section(' ', 0, 0, QString::SectionSkipEmpty).toDouble(),
            size.section(' ', 2, 2, QString::SectionSkipEmpty).toDouble())
      << S(size);
  QStringList html_lines;
  for (const auto& row : QRegularExpression("<tr>(.*)</tr>")
                             .globalMatch(QString::fromUtf8(Read(Output("html", "Çeyrekler")))))
    html_lines << QTextDocumentFragment::fromHtml(row.captured(1).replace("</td>", "  </td>"))
                      .toPlainText()
                      .simplified();
  expect_file("HTML", html_lines);
  expect_file("text file", Decode_Windows1254(Read(Output("txt", "Çeyrekler"))).split("\r\n"));
}

INSTANTIATE_TEST_SUITE_P(demo, DemoStatements, testing::Values("GT", "BL"),
                         [](const testing::TestParamInfo<const char*>& info) {
                           return std::string(info.param);
                         });
