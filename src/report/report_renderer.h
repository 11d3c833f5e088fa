// Painting of laid-out pages; it decides nothing about the layout. Paint_Page draws one page
// with a QPainter on any paint device whose units are twips scaled by `device_per_twip` (the
// PDF writer, a printer, the print preview).
#pragma once

#include "report/report_pages.h"

class QPainter;

void Paint_Page(QPainter& painter, const ReportPage& page, double device_per_twip);
