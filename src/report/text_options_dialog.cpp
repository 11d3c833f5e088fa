// The text export's option dialog: two labelled text boxes, the two buttons and two check boxes,
// in that order.
#include "report/text_options_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TexteAtOzellikFrm::TexteAtOzellikFrm(QWidget* parent) : QDialog(parent) {
  setObjectName("TexteAtOzellikFrm");
  setWindowTitle("Text'e Yazdır");
  setModal(true);

  Sayfa_Ayiraci = new QLineEdit(this);
  Sayfa_Ayiraci->setObjectName("Sayfa_Ayiraci");
  AlanAyiraci = new QLineEdit(this);
  AlanAyiraci->setObjectName("AlanAyiraci");
  btnCancel = new QPushButton("Vazgeç", this);
  btnCancel->setObjectName("btnCancel");
  btnOK = new QPushButton("Tamam", this);
  btnOK->setObjectName("btnOK");
  btnOK->setDefault(true);
  UnicodeText = new QCheckBox("Evrensel Kod", this);
  UnicodeText->setObjectName("UnicodeText");
  BosSatirlariGizle = new QCheckBox("Boş Satırları Gizle", this);
  BosSatirlariGizle->setObjectName("BosSatirlariGizle");

  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel("Sayfa Ayıracı", this), 0, 0);
  grid->addWidget(Sayfa_Ayiraci, 0, 1);
  grid->addWidget(new QLabel("Alan Ayıracı", this), 1, 0);
  grid->addWidget(AlanAyiraci, 1, 1);
  grid->addWidget(UnicodeText, 2, 0, 1, 2);
  grid->addWidget(BosSatirlariGizle, 3, 0, 1, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnCancel);
  buttons->addWidget(btnOK);
  grid->addLayout(buttons, 4, 0, 1, 2);
  setTabOrder(Sayfa_Ayiraci, AlanAyiraci);
  setTabOrder(AlanAyiraci, btnCancel);
  setTabOrder(btnCancel, btnOK);
  setTabOrder(btnOK, UnicodeText);
  setTabOrder(UnicodeText, BosSatirlariGizle);

  connect(btnCancel, &QPushButton::clicked, this, [this] {
    cancelled_ = true;
    hide();
    reject();
  });
  connect(btnOK, &QPushButton::clicked, this, [this] {
    cancelled_ = false;
    hide();
    accept();
  });
}

void TexteAtOzellikFrm::showEvent(QShowEvent* event) {
  cancelled_ = true;
  QDialog::showEvent(event);
}

TextExportOptions TexteAtOzellikFrm::Options() const {
  TextExportOptions options;
  options.page_separator = Sayfa_Ayiraci->text();
  options.field_separator = AlanAyiraci->text();
  options.unicode = UnicodeText->isChecked();
  options.suppress_empty_lines = BosSatirlariGizle->isChecked();
  return options;
}
