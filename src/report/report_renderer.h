// Renderers draw laid-out pages and decide nothing about the layout. ReportRenderer is their
// common interface; Paint_Page draws one page with a QPainter on any paint device whose units
// are twips scaled by `device_per_twip` (the PDF writer here, a printer or preview later).
#pragma once

#include <QString>

#include "report/report_pages.h"

class QPainter;

class ReportRenderer {
 public:
  virtual ~ReportRenderer() = default;
  // Draws every page; false when the output could not be written.
  virtual bool Render(const ReportPages& pages) = 0;
};

void Paint_Page(QPainter& painter, const ReportPage& page, double device_per_twip);

// Writes the pages to a PDF file at `path`, one PDF page per report page.
class PdfRenderer : public ReportRenderer {
 public:
  explicit PdfRenderer(QString path, QString title = {}) : path_(std::move(path)), title_(std::move(title)) {}
  bool Render(const ReportPages& pages) override;

 private:
  QString path_;
  QString title_;
};

// Writes the pages as a PDF file at `path` (overwriting it); false when it cannot be written.
bool Render_Pdf(const ReportPages& pages, const QString& path);
