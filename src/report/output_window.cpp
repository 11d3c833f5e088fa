// Preview, printing and the export targets. The preview and the printer paint the laid-out
// pages on a full-page QPrinter; the exports write their files through the core writers into
// the user's output folder and open them with the desktop's application. When none can be
// started, the message names the written file; a statement without pages writes no file but
// the file is opened all the same. A file that cannot be written is reported, not opened.
#include "report/output_window.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QUrl>

#include "process/app_state.h"
#include "report/ana_rapor.h"
#include "report/exports.h"
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

void Show_Preview(AppState& state, const RunParameters& parameters, QWidget* parent) {
  AnaRapor report;
  const ReportPages pages = Run_AnaRapor(state, parameters, &report);
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
  preview.exec();
}

void Print(AppState& state, const RunParameters& parameters, QWidget* parent) {
  AnaRapor report;
  const ReportPages pages = Run_AnaRapor(state, parameters, &report);
  QPrinter printer(QPrinter::HighResolution);
  Prepare_Printer(printer, pages, report.Caption);
  QPrintDialog dialog(&printer, parent);
  dialog.setMinMax(1, static_cast<int>(pages.pages.size()));
  if (dialog.exec() != QDialog::Accepted) return;
  if (printer.printRange() == QPrinter::PageRange) {
    Paint_Pages(printer, pages, printer.fromPage(), printer.toPage());
  } else {
    Paint_Pages(printer, pages);
  }
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

void Export_Pdf_File(AppState& state, const RunParameters& parameters) {
  StatementHeading heading;
  const ReportPages pages = Generate_For_Export(state, parameters, &heading);
  const QString path = Export_Path(ExportKind::Pdf);
  if (!Reported(state, path, Export_Pdf(pages, path, heading.title))) return;
  Open_Document(state, path);
}

void Export_Html_File(AppState& state, const RunParameters& parameters, QWidget* parent) {
  BekletFrm panel(parent);
  StatementHeading heading;
  const ReportPages pages =
      Wait_For_Report(state, parameters, panel, kHtmlWaitingMessage, &heading);
  const QString path = Export_Path(ExportKind::Html);
  const bool written = pages.pages.empty() || Export_Html(pages, path, heading.title);
  panel.hide();
  if (!Reported(state, path, written)) return;
  Open_Document(state, path);
}

void Export_Text_File(AppState& state, const RunParameters& parameters, QWidget* parent) {
  BekletFrm panel(parent);
  const ReportPages pages = Wait_For_Report(state, parameters, panel, kTextWaitingMessage, nullptr);
  TexteAtOzellikFrm dialog(parent);
  dialog.exec();
  const QString path = Export_Path(ExportKind::Text);
  const bool written =
      dialog.Cancelled() || pages.pages.empty() || Export_Text(pages, path, dialog.Options());
  panel.hide();
  if (!Reported(state, path, written)) return;
  Open_Document(state, path);
}

void Export_Excel_File(AppState& state, const RunParameters& parameters, QWidget* parent) {
  BekletFrm panel(parent);
  StatementHeading heading;
  const ReportPages pages =
      Wait_For_Report(state, parameters, panel, kExcelWaitingMessage, &heading);
  panel.hide();
  const QString path = Export_Path(ExportKind::Excel);
  const bool written = pages.pages.empty() || Export_Xlsx(pages, path, heading.title);
  if (!Reported(state, path, written)) return;
  Open_Document(state, path);
}

}  // namespace

void Produce_Output(AppState& state, const RunParameters& parameters, const QString& target,
                    QWidget* parent) {
  if (target == "Ekran") {
    Show_Preview(state, parameters, parent);
  } else if (target == "Yazıcı") {
    Print(state, parameters, parent);
  } else if (target == "Excel") {
    Export_Excel_File(state, parameters, parent);
  } else if (target == "Text") {
    Export_Text_File(state, parameters, parent);
  } else if (target == "Html") {
    Export_Html_File(state, parameters, parent);
  } else if (target == "PDF") {
    Export_Pdf_File(state, parameters);
  }
}
