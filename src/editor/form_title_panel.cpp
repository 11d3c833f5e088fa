// The editor windows' title strip.
#include "editor/form_title_panel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

FormTitlePanel::FormTitlePanel(const QString& caption, QWidget* parent) : QFrame(parent) {
  setObjectName("FormBaslik");
  setFrameShape(QFrame::StyledPanel);
  setAutoFillBackground(true);
  // A strip of one line: a window grown taller gives the room to its contents.
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  QPalette strip = palette();
  strip.setColor(QPalette::Window, strip.color(QPalette::Highlight));
  strip.setColor(QPalette::WindowText, strip.color(QPalette::HighlightedText));
  setPalette(strip);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(8, 3, 3, 3);
  FormLabel = new QLabel(caption, this);
  FormLabel->setObjectName("FormLabel");
  QFont bold = FormLabel->font();
  bold.setBold(true);
  FormLabel->setFont(bold);
  layout->addWidget(FormLabel, 1);
  KapatButon = new QPushButton("X", this);
  KapatButon->setObjectName("KapatButon");
  KapatButon->setFocusPolicy(Qt::NoFocus);
  KapatButon->setFixedSize(26, 22);
  KapatButon->setAutoDefault(false);
  layout->addWidget(KapatButon);
}
