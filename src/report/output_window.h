// The output of a run: the statement of the run's parameters shown in a print preview, printed,
// or written to its export file in the user's output folder and opened with the desktop's
// application.
#pragma once

#include <QString>

struct AppState;
struct RunParameters;
class QWidget;

// `target` is the text of the run window's RaporYeri cell: "Ekran", "Yazıcı", "PDF", "Html",
// "Text" or "Excel"; any other text produces nothing. An export file that cannot be written is
// reported with a critical message naming it and is not opened. Errors of the statement's query
// propagate to the caller.
void Produce_Output(AppState& state, const RunParameters& parameters, const QString& target,
                    QWidget* parent);
