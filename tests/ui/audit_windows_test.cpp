// The audit windows from the run window on the demo suite: a double-click on a statement row of
// the preview opens its breakdown, a double-click on an account there its voucher lines; the
// output "Kontrol" shows the coverage check without keeping the run's amounts.
// MALITABLO_SCREENSHOTS=<folder> saves the three windows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGraphicsItem>
#include <QGraphicsView>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "app/start_up.h"
#include "audit/audit_table_window.h"
#include "audit/row_breakdown.h"
#include "audit/run_audit_window.h"
#include "db/connection.h"
#include "db/query.h"
#include "db/recordset.h"
#include "demo/demo_suite.h"
#include "report/ana_rapor.h"
#include "report/output_window.h"
#include "report/report_data.h"
#include "run/filter_window.h"
#include "support/test_suite.h"
#include "ui/opened_files.h"
#include "ui/screenshot.h"
#include "ui_common/keyed_grid_widget.h"

namespace {

// The visible audit windows, newest last.
std::vector<DenetimFrm*> Audit_Windows() {
  std::vector<DenetimFrm*> windows;
  for (QWidget* widget : QApplication::allWidgets())
    if (auto* window = qobject_cast<DenetimFrm*>(widget); window && window->isVisible())
      windows.push_back(window);
  return windows;
}

// Runs `step` once the preview is up (looking again every 10 ms, for at most 10 s).
void When_Preview_Shown(std::function<void(QPrintPreviewDialog&)> step, int tries = 1000) {
  QTimer::singleShot(10, [step, tries] {
    for (QWidget* widget : QApplication::topLevelWidgets())
      if (auto* preview = qobject_cast<QPrintPreviewDialog*>(widget);
          preview && preview->isVisible()) {
        step(*preview);
        return;
      }
    if (tries > 0) When_Preview_Shown(step, tries - 1);
  });
}

// Double-clicks the preview at `point` (twips) of page `page`.
void Double_Click(QPrintPreviewDialog& preview, int page, QPointF point) {
  auto* view = preview.findChild<QGraphicsView*>();
  ASSERT_TRUE(view);
  const QList<QGraphicsItem*> pages = view->scene()->items(Qt::AscendingOrder);
  ASSERT_GT(pages.size(), page);
  const double device_per_twip = preview.printer()->resolution() / 1440.0;
  const QPointF scene = pages[page]->mapToScene(point * device_per_twip);
  view->centerOn(scene);
  QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->mapFromScene(scene));
}

class AuditWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    const QString command_line = t.Make_Demo();
    t.state.Program_Folder = MALITABLO_PROGRAM_DIR;
    t.state.Movement_Table = "CARIHAREKETLER";
    Parse_Command_Line(t.state, command_line);
    Open_Company(t.state, [&] { w = std::make_unique<FiltreFrm>(t.state); });
    ASSERT_TRUE(w);
    // As the desktop program wires it.
    w->Set_Output_Handler([this](const RunOutcome& run, const QString& target) {
      outputs << target;
      statement = run.statement;
      pages = Run_AnaRapor(run.statement);
      Produce_Output(t.state, run.statement, target, w.get(),
                     Breakdown_On_Double_Click(t.state, run));
    });
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    w->Form_Activate();
    KeyedGrid& grid = w->Filter_Grid();
    grid.Set_Text(grid.Find_Row("FiltreLbl", "Tablo Kodu"), "Baslangic", "GT");
  }

  // The page and the middle of the caption of statement row `row` in the laid-out pages.
  std::pair<int, QPointF> Row_Position(int row) {
    int seen = 0;
    for (size_t p = 0; p < pages.pages.size(); ++p)
      for (const PageText& text : pages.pages[p].texts)
        if (text.section == "Detail" && text.control == "txtSatir_Adi" && seen++ == row)
          return {static_cast<int>(p), QPointF(text.left + 300, text.top + text.height / 2.0)};
    ADD_FAILURE() << "row " << row << " not laid out";
    return {0, {}};
  }

  OpenedFiles opened;
  TestSuite t;
  std::unique_ptr<FiltreFrm> w;
  QStringList outputs;
  Statement statement;
  ReportPages pages;
};

TEST_F(AuditWindows, DoubleClickOnAPreviewRowOpensItsBreakdownAndAnAccountItsLines) {
  QString breakdown_heading, lines_heading;
  int breakdown_rows = 0, blank_click_windows = -1;
  When_Preview_Shown([&](QPrintPreviewDialog& preview) {
    // The page's title is no row: nothing opens.
    Double_Click(preview, 0, QPointF(3000, 800));
    blank_click_windows = static_cast<int>(Audit_Windows().size());
    const int row = Find_Statement_Row(StatementData(statement), "A.1");
    ASSERT_GE(row, 0);
    const auto [page, point] = Row_Position(row);
    Double_Click(preview, page, point);
    std::vector<DenetimFrm*> windows = Audit_Windows();
    if (windows.size() != 1) {
      preview.reject();
      return;
    }
    DenetimFrm* breakdown = windows.front();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(breakdown));
    breakdown_heading = breakdown->Table().heading.join('\n');
    breakdown_rows = breakdown->Grid()->rowCount();
    Screenshot(breakdown, "audit_breakdown");
    // The first account of the row, double-clicked in the grid.
    QTableWidget* grid = breakdown->Grid();
    const QRect cell = grid->visualItemRect(grid->item(0, 0));
    // A click first: the view takes a double-click only on the item it saw pressed.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    windows = Audit_Windows();
    if (windows.size() == 2) {
      DenetimFrm* lines = windows[0] == breakdown ? windows[1] : windows[0];
      lines_heading = lines->Table().heading.join('\n');
      Screenshot(lines, "audit_voucher_lines");
      // Written as the statement's files are, and opened.
      lines->findChild<QPushButton*>("PdfBtn")->click();
      lines->findChild<QPushButton*>("ExcelBtn")->click();
      lines->close();
    }
    breakdown->close();
    preview.reject();
  });
  w->Run();
  EXPECT_EQ(outputs, QStringList{"Ekran"});
  EXPECT_EQ(blank_click_windows, 0);
  EXPECT_TRUE(breakdown_heading.contains("A.1")) << breakdown_heading.toStdString();
  EXPECT_EQ(breakdown_rows, 3);  // the row's two accounts and the total
  EXPECT_TRUE(lines_heading.contains("600.01")) << lines_heading.toStdString();
  // Each export is proposed in the output folder under the table's own name.
  const QStringList files = opened.proposed_paths;
  EXPECT_EQ(opened.paths, files);
  ASSERT_EQ(files.size(), 2);
  EXPECT_TRUE(files[0].startsWith(t.Root() + "/") && files[0].endsWith(".pdf"))
      << files[0].toStdString();
  EXPECT_EQ(files[1], files[0].chopped(3) + "xlsx");
  for (const QString& file : files) EXPECT_GT(QFileInfo(file).size(), 1000) << file.toStdString();
  if (const QString folder = qEnvironmentVariable("MALITABLO_SCREENSHOTS"); !folder.isEmpty())
    QFile::copy(files[0], folder + "/audit_voucher_lines.pdf");
  EXPECT_TRUE(t.messages.entries.empty()) << t.messages.Texts().join('\n').toStdString();
}

TEST_F(AuditWindows, TheCheckOutputShowsTheCoverageAndKeepsNoAmounts) {
  auto* target = w->findChild<KeyedGridView*>("RaporYeri");
  target->setFocus();
  QTest::keyClick(target, Qt::Key_K);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  QApplication::processEvents();
  ASSERT_EQ(w->Output_Target(), "Kontrol");
  t.state.Db_Connection->Execute(
      "UPDATE MUHASEBEMALITABLOHAREKET SET Bakiye=7 WHERE Rapor_ID IN (SELECT Rapor_ID FROM "
      "MUHASEBEMALITABLOKART WHERE Rapor_Kodu='GT')");
  w->Run();
  EXPECT_TRUE(outputs.isEmpty());  // the window shows the check itself
  const std::vector<DenetimFrm*> windows = Audit_Windows();
  ASSERT_EQ(windows.size(), 1u);
  EXPECT_EQ(windows[0]->Table().title, QString::fromUtf8("HESAP KAPSAMI KONTROLÜ"));
  EXPECT_TRUE(windows[0]->Table().heading.join('\n').contains(
      QString::fromUtf8("Eksik ya da mükerrer hesap yok")));
  Screenshot(windows[0], "audit_coverage");
  EXPECT_EQ(t.Count("MUHASEBEMALITABLOHAREKET WHERE Bakiye<>7 AND Rapor_ID IN (SELECT Rapor_ID "
                    "FROM MUHASEBEMALITABLOKART WHERE Rapor_Kodu='GT')"),
            0);
  windows[0]->close();
}

TEST_F(AuditWindows, ThePreviewOpensOnceTheRunHasEnded) {
  // While the user looks at the preview, another program writes (a second user's run): the
  // preview holds no lock, and the amounts it shows are stored already.
  bool took_the_lock = false;
  QString stored;
  When_Preview_Shown([&](QPrintPreviewDialog& preview) {
    Connection other;
    other.Open(Demo_Data_Folder(t.Demo_Folder()), kDemoCompany, "sa", "", false);
    try {
      other.Begin_Transaction(true);
      took_the_lock = true;
      other.Rollback();
    } catch (const DbError&) {
    }
    const QueryResult rows = other.Execute(
        "SELECT Bakiye FROM MUHASEBEMALITABLOHAREKET WHERE Satir_Kodu='A' AND Rapor_ID IN "
        "(SELECT Rapor_ID FROM MUHASEBEMALITABLOKART WHERE Rapor_Kodu='GT')");
    if (!rows.rows.empty()) stored = rows.rows[0][0].toString();
    preview.reject();
  });
  t.state.Db_Connection->Execute("UPDATE MUHASEBEMALITABLOHAREKET SET Bakiye=NULL");
  w->Run();
  EXPECT_EQ(outputs, QStringList{"Ekran"});
  EXPECT_TRUE(took_the_lock);
  EXPECT_FALSE(stored.isEmpty());
}

TEST(PreviewRows, APointFindsTheRowWhoseCaptionIsAboveIt) {
  ReportPages pages;
  pages.pages.resize(2);
  auto row = [](int top) {
    PageText text;
    text.section = "Detail";
    text.control = "txtSatir_Adi";
    text.top = top;
    text.height = 225;
    return text;
  };
  pages.pages[0].texts = {row(1000), row(1255), row(1510)};
  PageText amount = row(1000);
  amount.control = "txtBakiye";
  pages.pages[0].texts.push_back(amount);
  pages.pages[1].texts = {row(2000)};
  EXPECT_EQ(Row_At(pages, 0, {500, 900}), -1);
  EXPECT_EQ(Row_At(pages, 0, {500, 1000}), 0);
  EXPECT_EQ(Row_At(pages, 0, {500, 1254}), 0);
  EXPECT_EQ(Row_At(pages, 0, {500, 1300}), 1);
  EXPECT_EQ(Row_At(pages, 0, {500, 1600}), 2);
  EXPECT_EQ(Row_At(pages, 0, {500, 2200}), -1);
  EXPECT_EQ(Row_At(pages, 1, {500, 2100}), 3);
  EXPECT_EQ(Row_At(pages, 2, {500, 2100}), -1);
}

TEST(PreviewRows, APointOverAnAmountFindsItsColumn) {
  Statement statement;
  statement.columns.push_back({"Ocak", {}, ColumnKind::Period, {}, {}});
  statement.columns.push_back({"Şubat", {}, ColumnKind::Period, {}, {}});
  statement.print_order = {1, 2, 0};
  Statement::Row row;
  row.caption = "Satışlar";
  row.amounts = {{{}, {}, 30.0}, {{}, {}, 10.0}, {{}, {}, 20.0}};
  statement.rows.push_back(row);
  const ReportPages pages = Run_AnaRapor(statement);
  int checked = 0;
  for (const PageText& text : pages.pages[0].texts) {
    if (text.control == "txtSatir_Adi" && ++checked) {
      EXPECT_EQ(Column_At(pages, 0, text.left + 10), 0);
    }
    if (text.text == "20,00" && ++checked) {
      EXPECT_EQ(Column_At(pages, 0, text.left + text.width - 10), 2);
    }
  }
  EXPECT_EQ(checked, 2);
}

}  // namespace
