#include "ui_common/command_button_widget.h"

#include <QBoxLayout>
#include <QPushButton>

QPushButton* Command_Button(QWidget* window, QBoxLayout* row, const QString& caption,
                            const char* name, int min_width) {
  auto* button = new QPushButton(caption, window);
  button->setObjectName(name);
  button->setAutoDefault(false);
  button->setMinimumWidth(min_width);
  row->addWidget(button);
  return button;
}
