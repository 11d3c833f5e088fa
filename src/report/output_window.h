// The output of a run: the statement of the run's parameters shown in a print preview, printed,
// or written to its export file in the user's output folder and opened with the desktop's
// application.
#pragma once

#include <QPointF>
#include <QString>
#include <functional>

#include "report/exports.h"

struct AppState;
struct Statement;
class QWidget;

// What a double-click on a statement row of the preview does: `row` is the index of the
// statement's row under the mouse, `column` the statement's amount column (0, the main period,
// on the caption), `preview` the preview window.
using PreviewRowAction = std::function<void(int row, int column, QWidget* preview)>;

// `target` is the text of the run window's RaporYeri cell: "Ekran", "Yazıcı", "PDF", "Html",
// "Text" or "Excel"; any other text produces nothing. Lays out the statement and shows the
// preview, the printer or text options dialog, or writes the file and opens it. It comes once
// the run has ended (its computed amounts committed, so that another user's run need not wait
// for this user). An export file that cannot be written is reported with a critical message
// naming it and is not opened. `on_row`, when given, is what a double-click on a row of the
// preview does. The preview's tool bar has "Grafik", the statement's chart (GrafikFrm), when the
// statement has a level-1 row.
void Produce_Output(AppState& state, const Statement& statement, const QString& target,
                    QWidget* parent, const PreviewRowAction& on_row = {});

// The detail row of `pages` at `point` (twips from the paper's corner) of page `page` (0-based):
// the index of the statement row, counting the rows' caption fields from the first page; -1
// when the point is on no row.
int Row_At(const ReportPages& pages, int page, QPointF point);
// The statement's amount column under `x` (twips from the paper's left) on page `page`: the
// column whose title stands over it; 0 elsewhere.
int Column_At(const ReportPages& pages, int page, double x);

// Asks where an export is written, proposing `proposed` (a path in the output folder); "" when
// the user cancels. The file dialog by default; a window test answers it instead.
using SavePathQuestion =
    std::function<QString(QWidget* parent, const QString& proposed, ExportKind kind)>;
// The question asked from now on; an empty one restores the file dialog.
void Set_Save_Path_Question(SavePathQuestion question);

// The printer dialog for laid-out pages, then the pages chosen.
void Print_Pages(const ReportPages& pages, const QString& title, QWidget* parent);
// Writes laid-out pages to an export file of `kind`, at the path the user confirms (proposed:
// `file_base` in the output folder), and opens it with the desktop's application; a file that
// cannot be written is reported, not opened. `title` names the PDF and HTML document and the
// workbook's sheet.
void Export_Pages(AppState& state, const ReportPages& pages, ExportKind kind, const QString& title,
                  const QString& file_base, QWidget* parent);
