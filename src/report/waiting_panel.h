// BekletFrm: the panel shown while a statement is generated for an export. Its label MesajLbl
// says where the statement goes; every 100th pass of the wait swaps the panel's background
// with the label's text colour, so the panel blinks.
#pragma once

#include <QFrame>

class QLabel;

class BekletFrm : public QFrame {
  Q_OBJECT
 public:
  explicit BekletFrm(QWidget* parent = nullptr);

  // Shows the panel with `message`, centred over the parent, and lets it paint.
  void Show_Message(const QString& message);
  // One pass of the wait: blinks on every 100th pass and lets the window repaint.
  void Pass(int count);
  // Swaps the panel's background and the label's text colour.
  void Blink();

  QLabel* MesajLbl;
};
