// The code and name dialog: two upper-casing boxes with tag navigation, Tamam and Çıkış.
#include "editor/code_name_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/form_title_panel.h"
#include "process/app_state.h"
#include "ui_common/command_button_widget.h"
#include "ui_common/edit_box_widget.h"

namespace {

QLineEdit* Make_Box(QWidget* parent, const char* name, const char* tag) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(name);
  box->setProperty("Tag", QString(tag));
  box->setMinimumWidth(320);
  // Focused boxes show &H8080FF, the others white. The padding keeps the marks above capitals
  // (İ, Ö, Ü) inside the box, where a selection would cut them off.
  box->setStyleSheet(
      "QLineEdit { background: #ffffff; padding: 2px 1px; } "
      "QLineEdit:focus { background: #ff8080; }");
  Select_All_On_Focus(box);
  Navigate_By_Tag(box);
  Upper_TR_Box(box);
  return box;
}

}  // namespace

RaporKodAdFrm::RaporKodAdFrm(AppState& state, QWidget* parent)
    : QDialog(parent), s_(state), start_(Code_Name_Start(state)) {
  setObjectName("RaporKodAdFrm");
  setWindowTitle("Muhasebe Hesap Kartı");
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 8);
  auto* title = new FormTitlePanel("Muhasebe Hesap Kartı", this);
  connect(title->KapatButon, &QPushButton::clicked, this, &RaporKodAdFrm::CikisBtn_Click);
  layout->addWidget(title);

  auto* fields = new QGridLayout;
  fields->setContentsMargins(12, 8, 12, 4);
  Tablo_Kod = Make_Box(this, "Tablo_Kod", "ASD;Tablo_Ad;ASD;Tablo_Ad");
  Tablo_Ad = Make_Box(this, "Tablo_Ad", "ASD;Tablo_Kod;ASD;Tablo_Kod");
  fields->addWidget(new QLabel("Tablo Kodu", this), 0, 0);
  fields->addWidget(Tablo_Kod, 0, 1);
  fields->addWidget(new QLabel("Tablo Adı", this), 1, 0);
  fields->addWidget(Tablo_Ad, 1, 1);
  layout->addLayout(fields);

  auto* buttons = new QHBoxLayout;
  buttons->setContentsMargins(12, 4, 12, 0);
  buttons->addStretch();
  KaydetBtn = Command_Button(this, buttons, "&Tamam", "KaydetBtn");
  CikisBtn = Command_Button(this, buttons, "&Çıkış ", "CikisBtn");
  layout->addLayout(buttons);
  connect(KaydetBtn, &QPushButton::clicked, this, &RaporKodAdFrm::KaydetBtn_Click);
  connect(CikisBtn, &QPushButton::clicked, this, &RaporKodAdFrm::CikisBtn_Click);

  Tablo_Kod->setText(start_.code);
  Tablo_Ad->setText(start_.name);
  Tablo_Kod->setFocus();
}

void RaporKodAdFrm::KaydetBtn_Click() {
  if (!Code_Name_Confirm(s_, Tablo_Kod->text(), Tablo_Ad->text())) return;
  kayit_iptal_ = false;
  done(QDialog::Accepted);
}

void RaporKodAdFrm::CikisBtn_Click() {
  Code_Name_Cancel(s_, start_);
  kayit_iptal_ = true;
  done(QDialog::Rejected);
}

void RaporKodAdFrm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F2 && KaydetBtn->isVisible()) {
    KaydetBtn_Click();
  } else if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_F3) {
    CikisBtn_Click();
  } else {
    QDialog::keyPressEvent(event);
    return;
  }
  event->accept();
}
