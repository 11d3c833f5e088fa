#include "report/chart_window.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include "process/app_state.h"
#include "report/exports.h"
#include "ui_common/guarded.h"

namespace {

// The chart drawn over the whole widget.
class ChartView : public QWidget {
 public:
  ChartView(const StatementChart& chart, QWidget* parent) : QWidget(parent), chart_(chart) {
    setObjectName("GrafikAlani");
    setMinimumSize(640, 420);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    Paint_Chart(painter, chart_, QRectF(rect()));
  }

 private:
  const StatementChart& chart_;
};

}  // namespace

GrafikFrm::GrafikFrm(AppState& state, const Statement& statement, QWidget* parent)
    : QDialog(parent),
      s_(state),
      chart_(Statement_Chart(statement)),
      file_base_(Statement_File_Base(statement.heading) + " Grafik") {
  setWindowTitle("Grafik - " + statement.heading.title);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new ChartView(chart_, this), 1);
  auto* buttons = new QHBoxLayout;
  YazdirBtn = new QPushButton("Yazdır", this);
  PngBtn = new QPushButton("PNG Kaydet", this);
  SvgBtn = new QPushButton("SVG Kaydet", this);
  KapatBtn = new QPushButton("Kapat", this);
  buttons->addWidget(YazdirBtn);
  buttons->addWidget(PngBtn);
  buttons->addWidget(SvgBtn);
  buttons->addStretch(1);
  buttons->addWidget(KapatBtn);
  layout->addLayout(buttons);
  connect(YazdirBtn, &QPushButton::clicked, this, Guard(*s_.Message, [this](bool) { Print(); }));
  connect(PngBtn, &QPushButton::clicked, this, Guard(*s_.Message, [this](bool) { Save(false); }));
  connect(SvgBtn, &QPushButton::clicked, this, Guard(*s_.Message, [this](bool) { Save(true); }));
  connect(KapatBtn, &QPushButton::clicked, this, &QDialog::accept);
  resize(1100, 760);
}

bool GrafikFrm::Write(const QString& path, const QByteArray& bytes) {
  if (Write_Export_File(path, bytes)) return true;
  s_.Message->Critical(Unwritable_File_Message(path));
  return false;
}

bool GrafikFrm::Save_Png(const QString& path) { return Write(path, Chart_Png(chart_)); }

bool GrafikFrm::Save_Svg(const QString& path) { return Write(path, Chart_Svg(chart_)); }

void GrafikFrm::Save(bool svg) {
  const QString extension = svg ? "svg" : "png";
  const QString proposed = Export_Path(Export_File_Name(file_base_, extension));
  const QString path = QFileDialog::getSaveFileName(this, "Grafiği Kaydet", proposed,
                                                    extension.toUpper() + " (*." + extension + ")");
  if (path.isEmpty()) return;
  svg ? Save_Svg(path) : Save_Png(path);
}

void GrafikFrm::Print() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(windowTitle());
  printer.setPageOrientation(QPageLayout::Landscape);
  QPrintDialog dialog(&printer, this);
  if (dialog.exec() != QDialog::Accepted) return;
  QPainter painter;
  if (!painter.begin(&printer)) return;
  // Drawn in screen pixels (96 to the inch), scaled to the printer's dots.
  const double scale = printer.resolution() / 96.0;
  painter.scale(scale, scale);
  const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
  Paint_Chart(painter, chart_, QRectF(0, 0, page.width() / scale, page.height() / scale));
  painter.end();
}
