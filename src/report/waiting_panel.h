// BekletFrm: the panel shown while a statement is generated for an export. Its label MesajLbl
// says where the statement goes.
#pragma once

#include <QFrame>

class QLabel;

class BekletFrm : public QFrame {
  Q_OBJECT
 public:
  explicit BekletFrm(QWidget* parent = nullptr);

  // Shows the panel with `message`, centred over the parent, and lets it paint.
  void Show_Message(const QString& message);

  QLabel* MesajLbl;
};
