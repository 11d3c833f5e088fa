// The login window: its controls, their keys and focus colours, and the two panels.
#include "login/login_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "db/db_error.h"
#include "process/app_state.h"
#include "process/program_end.h"
#include "ui_common/edit_box_widget.h"
#include "ui_common/keyed_grid_widget.h"
#include "ui_common/tag_navigation.h"

namespace {

const QColor kFocusBack(0xFC, 0xE1, 0xD1);  // OLE colour 13754876 (&HD1E1FC)
const QColor kBoxBack(0xFF, 0xFF, 0xFF);
const QColor kPanelBack(0xF4, 0xF6, 0xFA);
const QSize kWindowSize(440, 260);

// The password box shows "*" for every character.
class PasswordStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* data) const override {
    if (hint == SH_LineEdit_PasswordCharacter) return '*';
    return QProxyStyle::styleHint(hint, option, widget, data);
  }
};

// The window's background picture.
QPixmap Background_Picture(const QSize& size) {
  QPixmap picture(size);
  QPainter painter(&picture);
  QLinearGradient gradient(0, 0, 0, size.height());
  gradient.setColorAt(0, QColor(0x1F, 0x4E, 0x79));
  gradient.setColorAt(1, QColor(0x6A, 0x9F, 0xD4));
  painter.fillRect(picture.rect(), gradient);
  return picture;
}

void Paint_Box(QLineEdit* box, const QColor& colour) {
  QPalette palette = box->palette();
  palette.setColor(QPalette::Base, colour);
  box->setPalette(palette);
}

QFrame* Panel(const char* name, QWidget* parent) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(name);
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setFrameShadow(QFrame::Raised);
  panel->setAutoFillBackground(true);
  QPalette palette = panel->palette();
  palette.setColor(QPalette::Window, kPanelBack);
  panel->setPalette(palette);
  return panel;
}

}  // namespace

LoginFrm::LoginFrm(AppState& state, LoginStartUp start_up, QWidget* parent)
    : QWidget(parent), s_(state), login_(state, std::move(start_up)) {
  Build_Controls();
  LoginBoxes boxes;
  boxes.user = sysus_nm_->text();
  login_.Form_Load(boxes);
  sysus_nm_->setText(boxes.user);
  db_name_->setText(boxes.server);
  db_name_->setVisible(login_.Show_Server_Box());
  label1_->setVisible(login_.Show_Server_Box());
}

LoginFrm::~LoginFrm() = default;

QLineEdit* LoginFrm::Add_Box(const char* name, const char* tag) {
  auto* box = new QLineEdit(kullanici_pnl_);
  box->setObjectName(name);
  box->setProperty("Tag", QString(tag));
  Select_All_On_Focus(box);
  // Installed last, so it sees the keys and focus changes first.
  box->installEventFilter(this);
  Paint_Box(box, kBoxBack);
  return box;
}

void LoginFrm::Build_Controls() {
  setWindowTitle("Giriş");
  setFixedSize(kWindowSize);

  zemin_ = new QLabel(this);
  zemin_->setObjectName("Zemin");
  zemin_->setPixmap(Background_Picture(kWindowSize));
  zemin_->setScaledContents(true);
  zemin_->setGeometry(rect());
  zemin_->lower();

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(36, 30, 36, 30);

  kullanici_pnl_ = Panel("KullaniciPnl", this);
  auto* form = new QGridLayout(kullanici_pnl_);
  form->setContentsMargins(18, 14, 18, 12);
  form->setHorizontalSpacing(10);
  form->setVerticalSpacing(8);
  kullanici_ayar_sakla_ = new QCheckBox("Bu Kullanıcıyı Hatırla", kullanici_pnl_);
  kullanici_ayar_sakla_->setObjectName("Kullanici_Ayar_Sakla");
  tamam_btn_ = new QPushButton("Tamam", kullanici_pnl_);
  tamam_btn_->setObjectName("TamamBtn");
  cikis_btn_ = new QPushButton("Çıkış", kullanici_pnl_);
  cikis_btn_->setObjectName("CikisBtn");
  db_name_ = Add_Box("DB_Name", "ASD;sysus;ASD;sysus_nm");
  sysus_ = Add_Box("sysus", "ASD;sysus_nm;ASD;db_name");
  sysus_->setEchoMode(QLineEdit::Password);
  auto* password_style = new PasswordStyle;
  password_style->setParent(sysus_);
  sysus_->setStyle(password_style);
  sysus_nm_ = Add_Box("sysus_nm", "ASD;DB_name;ASD;sysus");
  sysus_nm_->setText("velora");
  label1_ = new QLabel("Server Adı:", kullanici_pnl_);
  label1_->setObjectName("Label1");
  auto* label18 = new QLabel("Kullanıcı Adı  :", kullanici_pnl_);
  label18->setObjectName("Label18");
  auto* label17 = new QLabel("Şifre :", kullanici_pnl_);
  label17->setObjectName("Label17");

  // Rows 0 and 6 stay empty and stretch, so the boxes stand in the middle of the panel.
  form->addWidget(label18, 1, 0);
  form->addWidget(sysus_nm_, 1, 1);
  form->addWidget(label17, 2, 0);
  form->addWidget(sysus_, 2, 1);
  form->addWidget(label1_, 3, 0);
  form->addWidget(db_name_, 3, 1);
  form->addWidget(kullanici_ayar_sakla_, 4, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(tamam_btn_);
  buttons->addWidget(cikis_btn_);
  form->addLayout(buttons, 5, 0, 1, 2);
  form->setColumnStretch(1, 1);
  form->setRowStretch(0, 1);
  form->setRowStretch(6, 1);
  setTabOrder(sysus_nm_, sysus_);
  setTabOrder(sysus_, db_name_);
  setTabOrder(db_name_, kullanici_ayar_sakla_);
  setTabOrder(kullanici_ayar_sakla_, tamam_btn_);
  setTabOrder(tamam_btn_, cikis_btn_);
  layout->addWidget(kullanici_pnl_);

  firma_pnl_ = Panel("FirmaPnl", this);
  auto* company_layout = new QVBoxLayout(firma_pnl_);
  company_layout->setContentsMargins(8, 8, 8, 8);
  tdbg1_ = new KeyedGridView(&companies_, firma_pnl_);
  tdbg1_->setObjectName("TDBG1");
  tdbg1_->setSelectionBehavior(QAbstractItemView::SelectRows);
  tdbg1_->horizontalHeader()->setStretchLastSection(false);
  connect(tdbg1_, &KeyedGridView::rowActivated, this, [this] { Choose_Company(); });
  tdbg1_->key_down = [this](QKeyEvent* event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) return false;
    Choose_Company();
    return true;
  };
  company_layout->addWidget(tdbg1_);
  firma_pnl_->installEventFilter(this);
  firma_pnl_->hide();
  layout->addWidget(firma_pnl_);

  connect(tamam_btn_, &QPushButton::clicked, this, [this] { TamamBtn_Click(); });
  connect(cikis_btn_, &QPushButton::clicked, this, [this] { CikisBtn_Click(); });
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  escape->setContext(Qt::WindowShortcut);
  connect(escape, &QShortcut::activated, this, [this] { CikisBtn_Click(); });
}

LoginBoxes LoginFrm::Boxes() const {
  LoginBoxes boxes;
  boxes.user = sysus_nm_->text();
  boxes.password = sysus_->text();
  boxes.server = db_name_->text();
  boxes.remember = kullanici_ayar_sakla_->isChecked();
  return boxes;
}

void LoginFrm::TamamBtn_Click() {
  try {
    switch (login_.Tamam(Boxes(), companies_)) {
      case LoginOutcome::Companies:
        tdbg1_->Refresh();
        firma_pnl_->show();
        kullanici_pnl_->hide();
        tdbg1_->setFocus();
        break;
      case LoginOutcome::Failed: sysus_nm_->setFocus(); break;
      case LoginOutcome::Connection_Error: db_name_->setFocus(); break;
    }
  } catch (const ProgramEnd& end) {
    End_Program(end.exit_code);
  }
}

void LoginFrm::Choose_Company() {
  if (!login_.Choose_Company(companies_, companies_.Row())) return;
  ended_ = true;  // the program goes on in the company's windows
  close();
  try {
    login_.Open_Company();
  } catch (const ProgramEnd& end) {
    emit Program_Ended(end.exit_code);
  }
}

void LoginFrm::CikisBtn_Click() { End_Program(0); }

void LoginFrm::End_Program(int exit_code) {
  if (ended_) return;
  ended_ = true;
  emit Program_Ended(exit_code);
  close();
}

bool LoginFrm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == firma_pnl_) {
    if (event->type() == QEvent::MouseButtonPress) {
      try {
        login_.Fill_Company_Grid(companies_);
      } catch (const DbError& e) {
        s_.Message->Critical(e.Description);
      }
      tdbg1_->Refresh();
    }
    return false;
  }
  auto* box = qobject_cast<QLineEdit*>(watched);
  if (!box) return false;
  switch (event->type()) {
    case QEvent::FocusIn: Paint_Box(box, kFocusBack); return false;
    case QEvent::FocusOut: Paint_Box(box, kBoxBack); return false;
    case QEvent::KeyPress: {
      const int key = Navigation_Key_Code(static_cast<QKeyEvent*>(event)->key());
      if (key == 0) return false;
      // Enter in the user box moves on to the password; in the other boxes it logs in.
      if (key == kKeyEnter && box == sysus_nm_) {
        sysus_->setFocus();
        sysus_->selectAll();
        return true;
      }
      const bool moved = Navigate_By_Tag_Key(box, key);
      if (key != kKeyEnter) return moved;
      TamamBtn_Click();
      return true;
    }
    default: return false;
  }
}

void LoginFrm::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && !activated_) {
    activated_ = true;
    sysus_->setFocus();
  }
}

void LoginFrm::closeEvent(QCloseEvent* event) {
  // Closing the window any other way ends the program, as CikisBtn does.
  if (!ended_) {
    ended_ = true;
    emit Program_Ended(0);
  }
  event->accept();
}

void LoginFrm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (zemin_) zemin_->setGeometry(rect());
}
