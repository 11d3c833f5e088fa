// Preview, printing and the export targets. The preview and the printer paint the laid-out
// pages on a full-page QPrinter; the exports write their files through the core writers into
// the user's output folder and open them with the desktop's application. When none can be
// started, the message names the written file; a statement without pages writes no file but
// the file is opened all the same. A file that cannot be written is reported, not opened.
#include "report/output_window.h"

#include <QDesktopServices>
#include <QEvent>
#include <QFileInfo>
#include <QGraphicsItem>
#include <QGraphicsView>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QUrl>
#include <algorithm>
#include <memory>

#include "process/app_state.h"
#include "report/ana_rapor.h"
#include "report/exports.h"
#include "report/report_data.h"
#include "report/report_renderer.h"
#include "report/text_options_dialog.h"
#include "report/waiting_panel.h"
#include "ui_common/guarded.h"

namespace {

void Prepare_Printer(QPrinter& printer, const ReportPages& pages, const QString& title) {
  printer.setFullPage(true);
  printer.setDocName(title);
  const QPageSize size(QSizeF(pages.setup.width / double(kTwipsPerPoint),
                              pages.setup.height / double(kTwipsPerPoint)),
                       QPageSize::Point, QString(), QPageSize::FuzzyMatch);
  printer.setPageLayout(QPageLayout(size, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
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
                std::function<void(int row)> on_row)
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
      on_row_(row);
      return true;
    }
    return false;
  }

 private:
  QGraphicsView* view_;
  double device_per_twip_;
  const ReportPages& pages_;
  std::function<void(int row)> on_row_;
};

// The preview over the laid-out pages, shown by the returned step.
std::function<void()> Preview(AppState& state, const RunParameters& parameters, QWidget* parent,
                              const PreviewRowAction& on_row) {
  struct Laid {
    AnaRapor report;
    ReportRows rows;
    ReportPages pages;
  };
  auto laid = std::make_shared<Laid>();
  laid->rows = Report_Rows(state, parameters.statement_sql);
  const StatementHeading heading =
      Statement_Heading(state, laid->rows, parameters,
                        Opening_Voucher_In(state.Db(), parameters.period));
  laid->pages = Run_AnaRapor(state, laid->rows, heading, &laid->report);
  return [&state, parent, on_row, laid] {
    const ReportPages& pages = laid->pages;
    QPrinter printer(QPrinter::HighResolution);
    Prepare_Printer(printer, pages, laid->report.Caption);
    QPrintPreviewDialog preview(&printer, parent);
    preview.setWindowTitle(laid->report.Caption);
    // Sized to the screen as well, for desktops that do not maximise dialogs.
    if (QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
      preview.resize(screen->availableGeometry().size() * 0.9);
    preview.setWindowState(preview.windowState() | Qt::WindowMaximized);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     Guard(*state.Message,
                           [&pages](QPrinter* target) { Paint_Pages(*target, pages); }));
    // Every statement row prints one caption, so the captions count the rows.
    if (on_row && Caption_Count(pages) == laid->rows.Row_Count()) {
      if (auto* view = preview.findChild<QGraphicsView*>())
        new PreviewClicks(view, printer, pages, Guard(*state.Message, [&](int row) {
                            on_row(laid->rows, row, &preview);
                          }));
    }
    preview.exec();
  };
}

std::function<void()> Print(AppState& state, const RunParameters& parameters, QWidget* parent) {
  auto report = std::make_shared<AnaRapor>();
  auto pages = std::make_shared<ReportPages>(Run_AnaRapor(state, parameters, report.get()));
  return [report, pages, parent] { Print_Pages(*pages, report->Caption, parent); };
}

// Opens a written file with the desktop's application; when none can be started the user is
// told where the file is. A file that is not there (a cancelled text export without an earlier
// one) is only opened.
void Open_Document(AppState& state, const QString& path) {
  if (QDesktopServices::openUrl(QUrl::fromLocalFile(path))) return;
  if (QFileInfo::exists(path)) state.Message->Plain(Not_Opened_Message(path));
}

// The statement for an export, with the waiting panel shown meanwhile.
ReportPages Wait_For_Report(AppState& state, const RunParameters& parameters, BekletFrm& panel,
                            const QString& message, StatementHeading* heading) {
  panel.Show_Message(message);
  return Generate_For_Export(state, parameters, heading);
}

// `written` is a writer's result: false gives the critical message naming the file.
bool Reported(AppState& state, const QString& path, bool written) {
  if (!written) state.Message->Critical(Unwritable_File_Message(path));
  return written;
}

std::function<void()> Export_Pdf_File(AppState& state, const RunParameters& parameters) {
  auto heading = std::make_shared<StatementHeading>();
  auto pages = std::make_shared<ReportPages>(Generate_For_Export(state, parameters, heading.get()));
  return [&state, heading, pages] {
    const QString path = Export_Path(ExportKind::Pdf);
    if (!Reported(state, path, Export_Pdf(*pages, path, heading->title))) return;
    Open_Document(state, path);
  };
}

std::function<void()> Export_Html_File(AppState& state, const RunParameters& parameters,
                                       QWidget* parent) {
  BekletFrm panel(parent);
  auto heading = std::make_shared<StatementHeading>();
  auto pages = std::make_shared<ReportPages>(
      Wait_For_Report(state, parameters, panel, kHtmlWaitingMessage, heading.get()));
  return [&state, heading, pages] {
    const QString path = Export_Path(ExportKind::Html);
    const bool written = pages->pages.empty() || Export_Html(*pages, path, heading->title);
    if (!Reported(state, path, written)) return;
    Open_Document(state, path);
  };
}

std::function<void()> Export_Text_File(AppState& state, const RunParameters& parameters,
                                       QWidget* parent) {
  BekletFrm panel(parent);
  auto pages = std::make_shared<ReportPages>(
      Wait_For_Report(state, parameters, panel, kTextWaitingMessage, nullptr));
  return [&state, pages, parent] {
    TexteAtOzellikFrm dialog(parent);
    dialog.exec();
    const QString path = Export_Path(ExportKind::Text);
    const bool written =
        dialog.Cancelled() || pages->pages.empty() || Export_Text(*pages, path, dialog.Options());
    if (!Reported(state, path, written)) return;
    Open_Document(state, path);
  };
}

std::function<void()> Export_Excel_File(AppState& state, const RunParameters& parameters,
                                        QWidget* parent) {
  BekletFrm panel(parent);
  auto heading = std::make_shared<StatementHeading>();
  auto pages = std::make_shared<ReportPages>(
      Wait_For_Report(state, parameters, panel, kExcelWaitingMessage, heading.get()));
  return [&state, heading, pages] {
    const QString path = Export_Path(ExportKind::Excel);
    const bool written = pages->pages.empty() || Export_Xlsx(*pages, path, heading->title);
    if (!Reported(state, path, written)) return;
    Open_Document(state, path);
  };
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

void Export_Pages(AppState& state, const ReportPages& pages, ExportKind kind,
                  const QString& title) {
  const QString path = Export_Path(kind);
  bool written = false;
  switch (kind) {
    case ExportKind::Pdf: written = Export_Pdf(pages, path, title); break;
    case ExportKind::Html: written = Export_Html(pages, path, title); break;
    case ExportKind::Text: written = Export_Text(pages, path, {}); break;
    case ExportKind::Excel: written = Export_Xlsx(pages, path, Sheet_Name(title)); break;
  }
  if (!Reported(state, path, written)) return;
  Open_Document(state, path);
}

std::function<void()> Produce_Output(AppState& state, const RunParameters& parameters,
                                     const QString& target, QWidget* parent,
                                     const PreviewRowAction& on_row) {
  if (target == "Ekran") return Preview(state, parameters, parent, on_row);
  if (target == "Yazıcı") return Print(state, parameters, parent);
  if (target == "Excel") return Export_Excel_File(state, parameters, parent);
  if (target == "Text") return Export_Text_File(state, parameters, parent);
  if (target == "Html") return Export_Html_File(state, parameters, parent);
  if (target == "PDF") return Export_Pdf_File(state, parameters);
  return {};
}
