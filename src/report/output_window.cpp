// Preview, printing and the export targets. The preview and the printer paint the laid-out
// pages on a full-page QPrinter; the exports write their files through the core writers into
// the user's output folder and open them with the desktop's application. When none can be
// started, the message names the written file; a statement without pages writes no file but
// the file is opened all the same. A file that cannot be written is reported, not opened.
#include "report/output_window.h"

#include <QDesktopServices>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsItem>
#include <QGraphicsView>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QToolBar>
#include <QUrl>
#include <algorithm>
#include <memory>

#include "process/app_state.h"
#include "report/ana_rapor.h"
#include "report/chart_window.h"
#include "report/exports.h"
#include "report/report_renderer.h"
#include "report/statement_chart.h"
#include "report/text_options_dialog.h"
#include "report/waiting_panel.h"
#include "ui_common/guarded.h"

namespace {

void Prepare_Printer(QPrinter& printer, const ReportPages& pages, const QString& title) {
  printer.setFullPage(true);
  printer.setDocName(title);
  printer.setPageLayout(Page_Layout(pages.setup));
}

// Paints pages `from`..`to` (1-based; 0 for all) on the printer.
void Paint_Pages(QPrinter& printer, const ReportPages& pages, int from = 0, int to = 0) {
  QPainter painter;
  if (!painter.begin(&printer)) return;
  const double device_per_twip = printer.resolution() / double(kTwipsPerInch);
  bool first = true;
  for (const ReportPage& page : pages.pages) {
    if (from > 0 && (page.number < from || page.number > to)) continue;
    if (!first) printer.newPage();
    first = false;
    Paint_Page(painter, page, device_per_twip);
  }
  painter.end();
}

// A statement row's caption on the printed page: what Row_At counts.
bool Is_Row_Caption(const PageText& text) {
  return text.section == "Detail" && text.control == "txtSatir_Adi";
}

int Caption_Count(const ReportPages& pages) {
  int count = 0;
  for (const ReportPage& page : pages.pages)
    count += std::count_if(page.texts.begin(), page.texts.end(), Is_Row_Caption);
  return count;
}

// The preview's double-clicks on its pages: the page items of its graphics view are the
// printer's pages in order, in the printer's device units from the paper's corner.
class PreviewClicks : public QObject {
 public:
  PreviewClicks(QGraphicsView* view, const QPrinter& printer, const ReportPages& pages,
                std::function<void(int row, int column)> on_row)
      : QObject(view),
        view_(view),
        device_per_twip_(printer.resolution() / double(kTwipsPerInch)),
        pages_(pages),
        on_row_(std::move(on_row)) {
    view->viewport()->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::MouseButtonDblClick || !view_->scene()) return false;
    const QPointF at = view_->mapToScene(static_cast<QMouseEvent*>(event)->position().toPoint());
    const QList<QGraphicsItem*> items = view_->scene()->items(Qt::AscendingOrder);
    for (int page = 0; page < items.size(); ++page) {
      const QPointF local = items[page]->mapFromScene(at);
      const int row =
          Row_At(pages_, page, QPointF(local.x() / device_per_twip_, local.y() / device_per_twip_));
      if (row < 0) continue;
      on_row_(row, Column_At(pages_, page, local.x() / device_per_twip_));
      return true;
    }
    return false;
  }

 private:
  QGraphicsView* view_;
  double device_per_twip_;
  const ReportPages& pages_;
  std::function<void(int row, int column)> on_row_;
};

// The preview over the statement's pages.
void Preview(AppState& state, const Statement& statement, QWidget* parent,
             const PreviewRowAction& on_row) {
  AnaRapor report;
  const ReportPages pages = Run_AnaRapor(statement, &report);
  QPrinter printer(QPrinter::HighResolution);
  Prepare_Printer(printer, pages, report.Caption);
  QPrintPreviewDialog preview(&printer, parent);
  preview.setWindowTitle(report.Caption);
  // Sized to the screen as well, for desktops that do not maximise dialogs.
  if (QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
    preview.resize(screen->availableGeometry().size() * 0.9);
  preview.setWindowState(preview.windowState() | Qt::WindowMaximized);
  QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                   Guard(*state.Message,
                         [&pages](QPrinter* target) { Paint_Pages(*target, pages); }));
  // The chart of the statement, from a button of the preview's tool bar.
  auto* toolbar = preview.findChild<QToolBar*>();
  if (toolbar && !Statement_Chart(statement).Empty()) {
    toolbar->addSeparator();
    QAction* chart = toolbar->addAction("Grafik");
    chart->setObjectName("GrafikBtn");
    chart->setToolTip("Tablonun grafiği");
    QObject::connect(chart, &QAction::triggered, &preview, Guard(*state.Message, [&](bool) {
                       GrafikFrm window(state, statement, &preview);
                       window.exec();
                     }));
  }
  // Every statement row prints one caption, so the captions count the rows.
  if (on_row && Caption_Count(pages) == static_cast<int>(statement.rows.size())) {
    if (auto* view = preview.findChild<QGraphicsView*>())
      new PreviewClicks(view, printer, pages, Guard(*state.Message, [&](int row, int column) {
                          on_row(row, column, &preview);
                        }));
  }
  preview.exec();
}

// Opens a written file with the desktop's application; when none can be started the user is
// told where the file is. A file that is not there (a cancelled text export without an earlier
// one) is only opened.
void Open_Document(AppState& state, const QString& path) {
  if (QDesktopServices::openUrl(QUrl::fromLocalFile(path))) return;
  if (QFileInfo::exists(path)) state.Message->Plain(Not_Opened_Message(path));
}

SavePathQuestion& Save_Path_Question() {
  static SavePathQuestion question;
  return question;
}

// Where the export goes: the proposed path in the output folder, confirmed or changed by the
// user; "" when cancelled.
QString Ask_Save_Path(QWidget* parent, const QString& file_base, ExportKind kind) {
  const QString proposed = Export_Path(Export_File_Name(file_base, kind));
  if (Save_Path_Question()) return Save_Path_Question()(parent, proposed, kind);
  const QString extension = Export_Extension(kind);
  return QFileDialog::getSaveFileName(parent, "Dosyayı Kaydet", proposed,
                                      extension.toUpper() + " (*." + extension + ")");
}

// `written` is a writer's result: false gives the critical message naming the file.
bool Reported(AppState& state, const QString& path, bool written) {
  if (!written) state.Message->Critical(Unwritable_File_Message(path));
  return written;
}

// The statement's file of `kind`, with the waiting panel shown while it is laid out (the PDF
// has none) and the text file's options asked; a statement without pages writes no file.
void Export_Statement(AppState& state, const Statement& statement, ExportKind kind,
                      QWidget* parent) {
  ReportPages pages;
  {
    std::unique_ptr<BekletFrm> panel;
    if (kind != ExportKind::Pdf) {
      panel = std::make_unique<BekletFrm>(parent);
      panel->Show_Message(kind == ExportKind::Html   ? kHtmlWaitingMessage
                          : kind == ExportKind::Text ? kTextWaitingMessage
                                                     : kExcelWaitingMessage);
    }
    pages = Run_AnaRapor(statement);
  }
  TextExportOptions options;
  if (kind == ExportKind::Text) {
    TexteAtOzellikFrm dialog(parent);
    dialog.exec();
    if (dialog.Cancelled()) pages.pages.clear();
    options = dialog.Options();
  }
  const QString path = Ask_Save_Path(parent, Statement_File_Base(statement.heading), kind);
  if (path.isEmpty()) return;
  const bool written = (kind != ExportKind::Pdf && pages.pages.empty()) ||
                       Write_Statement_File(statement, kind, path, options, &pages);
  if (!Reported(state, path, written)) return;
  Open_Document(state, path);
}

}  // namespace

int Row_At(const ReportPages& pages, int page, QPointF point) {
  if (page < 0 || page >= static_cast<int>(pages.pages.size())) return -1;
  const auto is_row = Is_Row_Caption;
  int before = 0;
  for (int p = 0; p < page; ++p)
    before += std::count_if(pages.pages[p].texts.begin(), pages.pages[p].texts.end(), is_row);
  // A row reaches from its caption's top to the next row's (or its own height at the last).
  const std::vector<PageText>& texts = pages.pages[page].texts;
  const PageText* found = nullptr;
  int index = before;
  for (const PageText& text : texts) {
    if (!is_row(text)) continue;
    if (text.top > point.y()) break;
    found = &text;
    ++index;
  }
  if (!found || point.x() < 0 || point.x() > pages.setup.width || point.y() > pages.setup.height)
    return -1;
  const auto next = std::find_if(texts.begin(), texts.end(), [&](const PageText& text) {
    return is_row(text) && text.top > found->top;
  });
  const int bottom = next != texts.end() ? next->top : found->top + 2 * found->height;
  return point.y() < bottom ? index - 1 : -1;
}

int Column_At(const ReportPages& pages, int page, double x) {
  if (page < 0 || page >= static_cast<int>(pages.pages.size())) return 0;
  for (const PageText& text : pages.pages[page].texts) {
    const int column = Column_Of_Control(text.control);
    if (column >= 0 && text.section == "PageHeader" && x >= text.left &&
        x <= text.left + text.width)
      return column;
  }
  return 0;
}

void Print_Pages(const ReportPages& pages, const QString& title, QWidget* parent) {
  QPrinter printer(QPrinter::HighResolution);
  Prepare_Printer(printer, pages, title);
  QPrintDialog dialog(&printer, parent);
  dialog.setMinMax(1, static_cast<int>(pages.pages.size()));
  if (dialog.exec() != QDialog::Accepted) return;
  if (printer.printRange() == QPrinter::PageRange) {
    Paint_Pages(printer, pages, printer.fromPage(), printer.toPage());
  } else {
    Paint_Pages(printer, pages);
  }
}

void Set_Save_Path_Question(SavePathQuestion question) {
  Save_Path_Question() = std::move(question);
}

void Export_Pages(AppState& state, const ReportPages& pages, ExportKind kind, const QString& title,
                  const QString& file_base, QWidget* parent) {
  const QString path = Ask_Save_Path(parent, file_base, kind);
  if (path.isEmpty()) return;
  if (!Reported(state, path, Write_Pages(pages, kind, path, title))) return;
  Open_Document(state, path);
}

void Produce_Output(AppState& state, const Statement& statement, const QString& target,
                    QWidget* parent, const PreviewRowAction& on_row) {
  if (target == "Ekran") {
    Preview(state, statement, parent, on_row);
  } else if (target == "Yazıcı") {
    AnaRapor report;
    const ReportPages pages = Run_AnaRapor(statement, &report);
    Print_Pages(pages, report.Caption, parent);
  } else if (target == "Excel") {
    Export_Statement(state, statement, ExportKind::Excel, parent);
  } else if (target == "Text") {
    Export_Statement(state, statement, ExportKind::Text, parent);
  } else if (target == "Html") {
    Export_Statement(state, statement, ExportKind::Html, parent);
  } else if (target == "PDF") {
    Export_Statement(state, statement, ExportKind::Pdf, parent);
  }
}
