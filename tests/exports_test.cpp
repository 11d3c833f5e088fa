// The export writers over a sample statement: the workbook read back as the zip it is (amounts as
// number cells rounded to the company format, the sheet's name, frozen header and caption
// width), the HTML table holding every page's rows, each text option of the text file. The output
// targets are in ui/report_output_test.cpp; both demo statements read back in every format (the
// PDF included) in statement_formats_test.cpp; files beside the registry file, named after their
// statement, in programs/output_files_test.sh.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTextDocumentFragment>

#include "db/suite_text.h"
#include "process/app_state.h"
#include "process/messages.h"
#include "report/ana_rapor.h"
#include "report/exports.h"
#include "support/gui_application.h"
#include "support/statement_rows.h"

namespace {

std::string S(const QString& text) { return text.toStdString(); }

QString Run_Program(const QString& program, const QStringList& args) {
  QProcess process;
  process.start(program, args);
  if (!process.waitForFinished(30000) || process.exitCode() != 0) return "<failed>";
  return QString::fromUtf8(process.readAllStandardOutput());
}

QByteArray Read(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class ExportsTest : public GuiTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    state.Amount_Format = "#,##0.00";
    // Exports go beside the registry file.
    old_registry = qgetenv("MALITABLO_REGISTRY");
    qputenv("MALITABLO_REGISTRY", dir.filePath("kullanici/registry.ini").toUtf8());
  }
  void TearDown() override { qputenv("MALITABLO_REGISTRY", old_registry); }
  ReportPages Pages(int extra_rows = 0) {
    ReportRows rows = Sample_Statement();
    for (int i = 1; i <= extra_rows; ++i)
      Add_Statement_Row(rows, 3, QString("Ek satır %1").arg(i), i, 10, 3);
    return Run_AnaRapor(Statement_Of(rows, "ÖRNEK A.Ş.", "Gelir Tablosu", "01.01.2026 - 31.12.2026",
                                     state.Amount_Format));
  }
  QString Path(const QString& name) const { return dir.filePath(name); }

  QTemporaryDir dir;
  QByteArray old_registry;
  RecordingMessages messages;
  AppState state{messages};
};

}  // namespace

// The workbook read back cell by cell is in statement_formats_test.cpp; here what the demo
// statements do not show: a company without decimals, and the captions' column widening to the
// longest caption.
TEST_F(ExportsTest, WorkbookFollowsTheCompanyFormatAndTheLongestCaption) {
  const QString path = Export_Path("gt.xlsx");
  auto sheet = [&] { return Run_Program("unzip", {"-p", path, "xl/worksheets/sheet1.xml"}); };
  const QRegularExpression widths(
      "<col min=\"1\" max=\"1\" width=\"([\\d.]+)\"[^>]*/><col min=\"2\" max=\"4\" width=\"([\\d.]+)\"");
  ASSERT_TRUE(Export_Xlsx(Pages(), path, "Gelir Tablosu"));
  EXPECT_TRUE(
      Run_Program("unzip", {"-p", path, "xl/styles.xml"}).contains("formatCode=\"#,##0.00\""));
  // The date stands beside its label in the outer column, as printed.
  EXPECT_TRUE(Run_Program("unzip", {"-p", path, "xl/sharedStrings.xml"})
                  .contains(QRegularExpression("TARİH : \\d\\d\\.\\d\\d\\.\\d{4}<")));
  // Amounts are number cells in the column of their printed place (B inner, C middle, D outer),
  // rounded as printed: 987.654 is 987.65.
  const QRegularExpression number_cell("<c r=\"([A-Z]+)\\d+\"(?: s=\"\\d+\")?><v>([^<]+)</v></c>");
  QStringList numbers;
  for (const auto& m : number_cell.globalMatch(sheet()))
    numbers << m.captured(1) + "=" + m.captured(2);
  EXPECT_EQ(numbers, (QStringList{"C=1250000.5", "B=1000000.25", "B=250000.25", "B=1250000.5",
                                  "B=987.65", "B=-45.5", "D=942.15", "B=12.5"}));
  const auto width = widths.match(sheet());
  ASSERT_TRUE(width.hasMatch()) << S(sheet());
  EXPECT_GT(width.captured(1).toDouble(), width.captured(2).toDouble());

  state.Amount_Format = "#,##0";
  ASSERT_TRUE(Export_Xlsx(Pages(), path, "Gelir Tablosu"));
  EXPECT_TRUE(Run_Program("unzip", {"-p", path, "xl/styles.xml"}).contains("formatCode=\"#,##0\""));
  EXPECT_TRUE(sheet().contains("<v>988</v>"));

  ReportRows rows = Sample_Statement();
  Add_Statement_Row(rows, 1, QString(90, u'X'), 1, 2, 3);
  ASSERT_TRUE(Export_Xlsx(Run_AnaRapor(Statement_Of(rows, "ÖRNEK A.Ş.", "Gelir Tablosu", {},
                                                    state.Amount_Format)),
                          path, "Gelir Tablosu"));
  const auto wider = widths.match(sheet());
  ASSERT_TRUE(wider.hasMatch());
  EXPECT_GT(wider.captured(1).toDouble(), width.captured(1).toDouble() + 30);
}

TEST(ExportRules, SheetNames) {
  EXPECT_EQ(S(Sheet_Name("Gelir Tablosu")), "Gelir Tablosu");
  EXPECT_EQ(S(Sheet_Name("Bilanço [2026/12]: *özet?*")), "Bilanço 2026 12 özet");
  EXPECT_EQ(S(Sheet_Name(QString(40, u'Ş'))), S(QString(31, u'Ş')));
  EXPECT_EQ(S(Sheet_Name("'Tablo'")), "Tablo");
  EXPECT_EQ(S(Sheet_Name(" ?* ")), "Sayfa1");
  // The message after a file no program opened names the file.
  EXPECT_TRUE(Not_Opened_Message("/ev/k/Temp.pdf").startsWith("Dosya yazıldı: /ev/k/Temp.pdf\n"));
}

TEST_F(ExportsTest, HtmlHoldsEveryPagesRowsInOneTable) {
  const ReportPages pages = Pages(80);
  ASSERT_EQ(pages.pages.size(), 2u);
  const QString html_path = Export_Path("gt.html");
  ASSERT_TRUE(Export_Html(pages, html_path, "MALİTABLO"));

  // The HTML page: the header once, then one table of the body's rows of both pages, one cell
  // per column in every row.
  const QString html = QString::fromUtf8(Read(html_path));
  EXPECT_TRUE(html.startsWith("<!DOCTYPE html>"));
  EXPECT_FALSE(html.contains("<img") || html.contains("src="));  // self-contained
  EXPECT_EQ(html.count("SATIR ADI"), 1);
  EXPECT_EQ(html.count("<table>"), 1);
  std::vector<QStringList> table;
  const QRegularExpression tr("<tr>(.*)</tr>"), td("<td[^>]*>([^<]*)</td>");
  for (const auto& r : tr.globalMatch(html)) {
    QStringList cells;
    for (const auto& c : td.globalMatch(r.captured(1)))
      cells << QTextDocumentFragment::fromHtml(c.captured(1)).toPlainText();
    table.push_back(cells);
  }
  ASSERT_GT(table.size(), 89u);  // the 89 statement rows and the footnotes' heading
  for (const QStringList& cells : table)
    EXPECT_EQ(cells.size(), table.front().size()) << S(cells.join('|'));
  auto cells_of = [&](const QString& caption) {
    for (const QStringList& cells : table)
      if (const qsizetype at = cells.indexOf(caption); at >= 0) return cells.mid(at);
    return QStringList();
  };
  // The second page's rows in the same table (each place's column: statement_formats_test).
  EXPECT_EQ(cells_of("Ek satır 80"), QStringList({"Ek satır 80", "80,00", "", ""}));
}

TEST_F(ExportsTest, EachTextOptionChangesTheFile) {
  const ReportPages pages = Pages(80);
  const QString path = Export_Path("gt.txt");
  auto write = [&](const TextExportOptions& options) {
    EXPECT_TRUE(Export_Text(pages, path, options));
    return Read(path);
  };
  // Defaults: the Turkish code page, texts placed in columns, the page's gaps as empty lines.
  const QByteArray plain = write({});
  const QString text = Decode_Windows1254(plain);
  EXPECT_TRUE(
      plain.contains("\xDD"
                     "\xE7"));  // "İç" in code page 1254
  QStringList lines = text.split("\r\n");
  EXPECT_TRUE(lines.contains(""));
  int placed = 0;
  for (const QString& line : lines) {
    if (line.trimmed().startsWith("Yurt İçi Satışlar")) {
      EXPECT_TRUE(line.endsWith("1.000.000,25"));
      placed = static_cast<int>(line.size());
    }
    if (line.trimmed().startsWith("Şüpheli")) {
      EXPECT_EQ(line.size(), placed) << S(line);
    }  // right edges meet
  }
  EXPECT_GT(placed, 40);

  TextExportOptions options;
  options.suppress_empty_lines = true;
  const QString compact = Decode_Windows1254(write(options));
  EXPECT_FALSE(compact.contains("\r\n\r\n"));
  EXPECT_TRUE(compact.startsWith(lines.first()));
  EXPECT_LT(compact.size(), text.size());
  QStringList non_empty = lines;
  non_empty.removeAll("");
  EXPECT_EQ(compact.split("\r\n").size(), non_empty.size() + 1);

  options = {};
  options.page_separator = "----- SAYFA SONU -----";
  const QString separated = Decode_Windows1254(write(options));
  EXPECT_EQ(separated.count("\r\n----- SAYFA SONU -----\r\n"), 1);  // between the two pages only
  EXPECT_LT(separated.indexOf(QRegularExpression("SAYFA :\\s+1 / 2")),
            separated.indexOf("SAYFA SONU"));
  EXPECT_GT(separated.indexOf(QRegularExpression("SAYFA :\\s+2 / 2")),
            separated.indexOf("SAYFA SONU"));

  options = {};
  options.field_separator = ";";
  const QString fields = Decode_Windows1254(write(options));
  EXPECT_TRUE(fields.contains("\r\nYurt İçi Satışlar;1.000.000,25\r\n"));
  EXPECT_TRUE(fields.contains("\r\nSATIR ADI;CARİ\r\n"));
  EXPECT_TRUE(fields.contains("\r\nDiğer Gelirler\r\n"));

  options = {};
  options.unicode = true;
  const QByteArray unicode = write(options);
  ASSERT_TRUE(unicode.startsWith("\xFF\xFE"));
  QStringDecoder utf16(QStringDecoder::Utf16LE);
  EXPECT_EQ(S(QString(utf16(unicode.mid(2)))), S(text));
}
