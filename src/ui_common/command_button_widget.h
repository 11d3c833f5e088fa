// The command buttons of the program's windows (Kaydet, Tamam, Seç, Çıkış ...): named as their
// handlers are, never a default button (Enter belongs to the boxes' navigation), of one width,
// added to the window's button row.
#pragma once

#include <QString>

class QBoxLayout;
class QPushButton;
class QWidget;

QPushButton* Command_Button(QWidget* window, QBoxLayout* row, const QString& caption,
                            const char* name, int min_width = 90);
