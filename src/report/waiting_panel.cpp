// The waiting panel: a small frameless window above the run window.
#include "report/waiting_panel.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>

BekletFrm::BekletFrm(QWidget* parent) : QFrame(parent, Qt::Tool | Qt::FramelessWindowHint) {
  setObjectName("BekletFrm");
  setFrameShape(QFrame::Box);
  setLineWidth(2);
  setAutoFillBackground(true);
  MesajLbl = new QLabel(this);
  MesajLbl->setObjectName("MesajLbl");
  MesajLbl->setAlignment(Qt::AlignCenter);
  QFont font = MesajLbl->font();
  font.setPointSize(14);
  font.setBold(true);
  MesajLbl->setFont(font);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 18, 24, 18);
  layout->addWidget(MesajLbl);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, QColor(255, 255, 192));
  colours.setColor(QPalette::WindowText, QColor(128, 0, 0));
  setPalette(colours);
  resize(360, 90);
}

void BekletFrm::Show_Message(const QString& message) {
  MesajLbl->setText(message);
  if (QWidget* owner = parentWidget()) {
    const QPoint centre = owner->mapToGlobal(owner->rect().center());
    move(centre - rect().center());
  }
  show();
  raise();
  QApplication::processEvents();
}
