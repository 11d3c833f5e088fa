// The window tests' pictures: MALITABLO_SCREENSHOTS=<folder> saves each window a test names.
#pragma once

class QString;
class QWidget;

// Saves `window` as <MALITABLO_SCREENSHOTS>/<name>.png when that folder is set.
void Screenshot(QWidget* window, const QString& name);
