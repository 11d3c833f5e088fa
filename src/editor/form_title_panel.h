// FormBaslik, the title strip of the editor's windows: the caption FormLabel on the left and the
// close button KapatButon ("X") on the right.
#pragma once

#include <QFrame>

class QLabel;
class QPushButton;

class FormTitlePanel : public QFrame {
  Q_OBJECT
 public:
  FormTitlePanel(const QString& caption, QWidget* parent);

  QLabel* FormLabel;
  QPushButton* KapatButon;
};
