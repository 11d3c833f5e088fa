// Painting of laid-out pages; it decides nothing about the layout. Paint_Page draws one page
// with a QPainter on any paint device whose units are twips scaled by `device_per_twip` (the
// PDF writer, a printer, the print preview).
#pragma once

#include <QPageLayout>

#include "report/report_pages.h"

class QPainter;

void Paint_Page(QPainter& painter, const ReportPage& page, double device_per_twip);
// The paper of laid-out pages without margins (the pages place everything themselves): a
// standard size where the setup is one, turned to landscape when it is wider than high.
QPageLayout Page_Layout(const PageSetup& setup);
