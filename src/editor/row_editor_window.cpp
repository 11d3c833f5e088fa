// The row editor: frames stacked by row type, account boxes with look-up and picker, option
// groups, amount or formula with its builder; Kaydet writes into the opener's grid.
#include "editor/row_editor_window.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "editor/account_picker_window.h"
#include "editor/form_title_panel.h"
#include "editor/table_definition_window.h"
#include "model/financial_table.h"
#include "process/app_state.h"
#include "process/messages.h"
#include "ui_common/amount_text.h"
#include "ui_common/command_button_widget.h"
#include "ui_common/edit_box_widget.h"
#include "ui_common/keyed_grid_widget.h"
#include "ui_common/opener_window.h"
#include "ui_common/tag_navigation.h"

namespace {

QLineEdit* Make_Box(QWidget* parent, const char* name, const char* tag) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(name);
  box->setProperty("Tag", QString(tag));
  // Focused boxes show &H8080FF, the others white.
  box->setStyleSheet("QLineEdit { background: #ffffff; } QLineEdit:focus { background: #ff8080; }");
  Select_All_On_Focus(box);
  return box;
}

// A box's caption on its left, all of one width.
QLabel* Caption_Label(QWidget* parent, const char* text) {
  auto* label = new QLabel(text, parent);
  label->setMinimumWidth(95);
  return label;
}

QFrame* Make_Frame(QWidget* parent, int index) {
  auto* frame = new QFrame(parent);
  frame->setObjectName("FRMS");
  frame->setProperty("Index", index);
  return frame;
}

}  // namespace

void MuhMaliTabloSatir::Open(AppState& state, MuhMaliTabloTanim& opener) {
  auto* editor = new MuhMaliTabloSatir(state, opener);
  editor->show();
  editor->activateWindow();
}

MuhMaliTabloSatir::MuhMaliTabloSatir(AppState& state, MuhMaliTabloTanim& opener)
    : QWidget(nullptr, Qt::Window),
      s_(state),
      opener_(&opener),
      grid_view_(opener.Active_Grid()),
      row_type_(opener.Satir_Tipi),
      add_(state.Add_Mode),
      layout_(Arrange_Fields(opener.Satir_Tipi)),
      formula_rows_(QStringList{"Satir_Kodu", "Satir_Adi"}) {
  setObjectName("MuhMaliTabloSatir");
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(kRowEditorTitle);
  Attach_To_Opener(this, &opener, true);
  Build_Controls();
  Apply_Layout();
  if (!add_ && grid_view_) {
    const KeyedGrid& grid = grid_view_->Grid();
    if (grid.Row() >= 1 && grid.Row() < grid.Rows())
      Show_Fields(Fill_From_Grid(grid, grid.Row(), layout_));
  }
  for (QLineEdit* box : {Satir_Kodu, Satir_Adi, MHesap_Kod, MHesap_KodBas, Tutar, FormulTxt})
    if (box->isVisibleTo(this)) {
      box->setFocus();
      break;
    }
}

MuhMaliTabloSatir::~MuhMaliTabloSatir() { delete picker_; }

void MuhMaliTabloSatir::Build_Controls() {
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 8);
  FormBaslik = new FormTitlePanel(kRowEditorTitle, this);
  connect(FormBaslik->KapatButon, &QPushButton::clicked, this, &MuhMaliTabloSatir::CikisBtn_Click);
  outer->addWidget(FormBaslik);

  IcFrame = new QFrame(this);
  IcFrame->setObjectName("IcFrame");
  IcFrame->setFrameShape(QFrame::Box);
  IcFrame->setFrameShadow(QFrame::Sunken);
  auto* inner = new QVBoxLayout(IcFrame);
  inner->setContentsMargins(10, 8, 10, 8);
  outer->addWidget(IcFrame);
  for (int i = 0; i < 5; ++i) FRMS[i] = Make_Frame(IcFrame, i);
  Build_Row_Boxes();
  Build_Account_Boxes();
  // FRMS(4): the option groups, the amount or formula, the formula builder.
  auto* options = new QVBoxLayout(FRMS[4]);
  options->setContentsMargins(0, 4, 0, 2);
  Build_Option_Groups(options);
  Build_Amount_Box(options);
  Build_Formula_Builder(options);

  for (QFrame* f : FRMS) {
    f->hide();
    inner->addWidget(f);
  }

  auto* buttons_row = new QHBoxLayout;
  buttons_row->setContentsMargins(10, 4, 10, 0);
  buttons_row->addStretch();
  KaydetBtn = Command_Button(this, buttons_row, "&Kaydet", "KaydetBtn");
  CikisBtn = Command_Button(this, buttons_row, "&Çıkış ", "CikisBtn");
  outer->addLayout(buttons_row);
  connect(KaydetBtn, &QPushButton::clicked, this, &MuhMaliTabloSatir::KaydetBtn_Click);
  connect(CikisBtn, &QPushButton::clicked, this, &MuhMaliTabloSatir::CikisBtn_Click);
}

// FRMS(0) and FRMS(1): the row's code and caption.
void MuhMaliTabloSatir::Build_Row_Boxes() {
  Satir_Kodu =
      Make_Box(FRMS[0], "Satir_Kodu",
               "ASD;MHesap_Kod|MHesap_KodBit|Tutar|FormulFrm|Satir_Adi|ASD;ASD;Satir_Adi|ASD");
  Satir_Adi =
      Make_Box(FRMS[1], "Satir_Adi",
               "ASD;Satir_Kodu|ASD;ASD;Mhesap_Kod|Mhesap_KodBas|Tutar|FormulTxt|Satir_Kodu|ASD");
  MHesap_Kod = Make_Box(FRMS[2], "MHesap_Kod", "ASD;Satir_Adi;ASD;Satir_Kodu");
  MHesap_KodBas = Make_Box(FRMS[3], "MHesap_KodBas", "ASD;Satir_Adi;ASD;MHesap_KodBit");
  MHesap_KodBit = Make_Box(FRMS[3], "MHesap_KodBit", "ASD;MHesap_KodBas;ASD;Satir_Kodu");
  // Codes and captions print as typed.
  for (QLineEdit* box : {Satir_Kodu, Satir_Adi}) Navigate_By_Tag(box);
  auto* kod_row = new QHBoxLayout(FRMS[0]);
  kod_row->setContentsMargins(0, 2, 0, 2);
  kod_row->addWidget(Caption_Label(this, "Tanım Kodu"));
  kod_row->addWidget(Satir_Kodu, 1);
  auto* ad_row = new QHBoxLayout(FRMS[1]);
  ad_row->setContentsMargins(0, 2, 0, 2);
  ad_row->addWidget(Caption_Label(this, "Açıklama"));
  ad_row->addWidget(Satir_Adi, 1);
  Satir_Adi->setMinimumWidth(380);
}

// FRMS(2) and FRMS(3): one account, or the two bounds of a range, each with its picker button
// and the hidden box of its id.
void MuhMaliTabloSatir::Build_Account_Boxes() {
  QLineEdit* account_boxes[3] = {MHesap_Kod, MHesap_KodBas, MHesap_KodBit};
  for (int k = 0; k < 3; ++k) {
    CagirBtn[k] = new QPushButton("...", k == 0 ? FRMS[2] : FRMS[3]);
    CagirBtn[k]->setObjectName("CagirBtn");
    CagirBtn[k]->setProperty("Index", k);
    CagirBtn[k]->setFixedWidth(30);
    CagirBtn[k]->setFocusPolicy(Qt::NoFocus);
    connect(CagirBtn[k], &QPushButton::clicked, this, [this, k] { CagirBtn_Click(k); });
    account_boxes[k]->installEventFilter(this);
    Upper_TR_Box(account_boxes[k]);
  }
  auto* hesap_row = new QHBoxLayout(FRMS[2]);
  hesap_row->setContentsMargins(0, 2, 0, 2);
  hesap_row->addWidget(Caption_Label(this, "Hesap Kodu"));
  hesap_row->addWidget(MHesap_Kod, 1);
  hesap_row->addWidget(CagirBtn[0]);
  auto* aralik_row = new QHBoxLayout(FRMS[3]);
  aralik_row->setContentsMargins(0, 2, 0, 2);
  aralik_row->addWidget(Caption_Label(this, "Baş. Hes. Kod"));
  aralik_row->addWidget(MHesap_KodBas, 1);
  aralik_row->addWidget(CagirBtn[1]);
  aralik_row->addSpacing(12);
  aralik_row->addWidget(new QLabel("Bit. Hes. Kod", this));
  aralik_row->addWidget(MHesap_KodBit, 1);
  aralik_row->addWidget(CagirBtn[2]);
  MHesap_ID = new QLineEdit(this);
  MHesap_ID->setObjectName("MHesap_ID");
  MHesap_IDBas = new QLineEdit(this);
  MHesap_IDBas->setObjectName("MHesap_IDBas");
  MHesap_IDBit = new QLineEdit(this);
  MHesap_IDBit->setObjectName("MHesap_IDBit");
  for (QLineEdit* id : {MHesap_ID, MHesap_IDBas, MHesap_IDBit}) id->hide();
}

// The four option groups of FRMS(4), two above and two below.
void MuhMaliTabloSatir::Build_Option_Groups(QVBoxLayout* options) {
  auto* groups = new QGridLayout;
  const char* frame_names[kOptionGroups] = {"Frame2", "BakiyeFrm", "KarakterFrm", "TersBakiyeFrm"};
  for (int g = 0; g < kOptionGroups; ++g) {
    const CalcOptionInfo& info = Calc_Options()[g];
    Option_Frames[g] = new QGroupBox(info.frame_caption, FRMS[4]);
    Option_Frames[g]->setObjectName(frame_names[g]);
    Options[g] = new QButtonGroup(this);
    Options[g]->setObjectName(info.column);
    auto* col = new QVBoxLayout(Option_Frames[g]);
    col->setContentsMargins(8, 4, 8, 4);
    col->setSpacing(2);
    for (int i = 0; i < info.captions.size(); ++i) {
      auto* b = new QRadioButton(info.captions[i], Option_Frames[g]);
      b->setObjectName(info.column);
      b->setProperty("Index", i);
      Options[g]->addButton(b, i);
      col->addWidget(b);
    }
    col->addStretch();
    if (auto* b = Options[g]->button(info.default_code)) b->setChecked(true);
  }
  // Hesaplama Şekli and Bakiye Tipi above, Bakiye Karakteri and Ters Durumdaki Bakiye below.
  groups->addWidget(Option_Frames[0], 0, 0);
  groups->addWidget(Option_Frames[1], 0, 1);
  groups->addWidget(Option_Frames[2], 1, 0);
  groups->addWidget(Option_Frames[3], 1, 1);
  options->addLayout(groups);
}

// The amount box (grouped as it is typed) and the formula box with its ">>" button.
void MuhMaliTabloSatir::Build_Amount_Box(QVBoxLayout* options) {
  TutarFrm = new QGroupBox(layout_.amount_caption, FRMS[4]);
  TutarFrm->setObjectName("TutarFrm");
  auto* tutar = new QVBoxLayout(TutarFrm);
  tutar->setContentsMargins(8, 4, 8, 4);
  Tutar = Make_Box(TutarFrm, "Tutar", "ASD;Satir_Adi;ASD;Satir_Kodu");
  Tutar->setAlignment(Qt::AlignRight);
  Navigate_By_Tag(Tutar);
  connect(Tutar, &QLineEdit::textEdited, this, [this](const QString& text) {
    Tutar->setText(Format_Amount_Text(s_.Amount_Decimals, text, System_Separators(s_)));
    Tutar->setCursorPosition(Tutar->text().size());
  });
  tutar->addWidget(Tutar);
  auto* formula_row = new QHBoxLayout;
  FormulTxt = Make_Box(TutarFrm, "FormulTxt", "ASD;Satir_Adi;ASD;Satir_Kodu");
  Navigate_By_Tag(FormulTxt);
  FormulBtn = new QPushButton(">>", TutarFrm);
  FormulBtn->setObjectName("FormulBtn");
  FormulBtn->setFixedWidth(40);
  FormulBtn->setFocusPolicy(Qt::NoFocus);
  connect(FormulBtn, &QPushButton::clicked, this, &MuhMaliTabloSatir::FormulBtn_Click);
  formula_row->addWidget(FormulTxt, 1);
  formula_row->addWidget(FormulBtn);
  tutar->addLayout(formula_row);
  options->addWidget(TutarFrm);
}

// The formula builder: the rows with a code and the operator buttons, hidden until ">>".
void MuhMaliTabloSatir::Build_Formula_Builder(QVBoxLayout* options) {
  auto* builder = new QHBoxLayout;
  HesapAlaniFlx = new KeyedGridView(&formula_rows_, FRMS[4]);
  HesapAlaniFlx->setObjectName("HesapAlaniFlx");
  formula_rows_.Set_Text(0, "Satir_Adi", "SATIR ADI");
  formula_rows_.Set_Col_Width(0, 900);
  formula_rows_.Set_Col_Hidden(0, true);
  formula_rows_.Set_Col_Width(1, 5805);
  HesapAlaniFlx->Apply_Columns();
  HesapAlaniFlx->setMinimumHeight(180);
  connect(HesapAlaniFlx, &KeyedGridView::rowActivated, this,
          &MuhMaliTabloSatir::Formula_Code_Chosen);
  HesapAlaniFlx->key_down = [this](QKeyEvent* e) { return Formula_Grid_Key(e); };
  HesapAlaniFlx->hide();
  builder->addWidget(HesapAlaniFlx, 1);
  Islemler = new QFrame(FRMS[4]);
  Islemler->setObjectName("Islemler");
  auto* ops = new QGridLayout(Islemler);
  ops->setContentsMargins(4, 0, 0, 0);
  struct Op {
    const char* name;
    const char* caption;
    QChar op;
  };
  const Op buttons[] = {{"CarpiBrn", "x", '*'},      {"EksiBtn", "-", '-'},
                        {"ArtiBtn", "+", '+'},       {"BolumBtn", "/", '/'},
                        {"ParantezIcBtn", "(", '('}, {"ParantezDisBtn", ")", ')'},
                        {"SilBtn", "CE", QChar()}};
  int n = 0;
  for (const Op& op : buttons) {
    auto* b = new QPushButton(op.caption, Islemler);
    b->setObjectName(op.name);
    b->setFixedSize(40, 30);
    b->setFocusPolicy(Qt::NoFocus);
    const QChar c = op.op;
    connect(b, &QPushButton::clicked, this, [this, c] { Formula_Operator(c); });
    ops->addWidget(b, n / 2, n % 2);
    ++n;
  }
  ops->setRowStretch(4, 1);
  Islemler->hide();
  builder->addWidget(Islemler);
  options->addLayout(builder);
}

void MuhMaliTabloSatir::Apply_Layout() {
  for (int i = 0; i < 5; ++i) {
    FRMS[i]->setVisible(layout_.frames[i]);
    FRMS[i]->setProperty("Tag", layout_.frames[i] ? "1" : "");
  }
  const bool shown[kOptionGroups] = {layout_.hesaplama, layout_.bakiye, layout_.karakter,
                                     layout_.ters};
  for (int g = 0; g < kOptionGroups; ++g) Option_Frames[g]->setVisible(shown[g]);
  TutarFrm->setVisible(layout_.amount_frame);
  TutarFrm->setProperty("Tag", layout_.amount_frame ? "1" : "");
  TutarFrm->setTitle(layout_.amount_caption);
  Tutar->setVisible(layout_.amount_box);
  FormulTxt->setVisible(layout_.formula);
  FormulBtn->setVisible(layout_.formula);
  adjustSize();
}

void MuhMaliTabloSatir::Show_Fields(const RowFields& f) {
  Satir_Kodu->setText(f.Satir_Kodu);
  Satir_Adi->setText(f.Satir_Adi);
  MHesap_Kod->setText(f.MHesap_Kod);
  MHesap_KodBas->setText(f.MHesap_KodBas);
  MHesap_KodBit->setText(f.MHesap_KodBit);
  if (layout_.amount_frame) {
    Tutar->setText(Format_Amount_Text(s_.Amount_Decimals, f.Tutar, System_Separators(s_)));
    FormulTxt->setText(f.Formul);
  }
  for (int g = 0; g < kOptionGroups; ++g) {
    // No selection at all when the cell has no button.
    Options[g]->setExclusive(false);
    for (QAbstractButton* b : Options[g]->buttons()) b->setChecked(false);
    Options[g]->setExclusive(true);
    if (auto* b = Options[g]->button(f.options[g])) b->setChecked(true);
  }
}

RowFields MuhMaliTabloSatir::Fields() const {
  RowFields f;
  f.Satir_Kodu = Satir_Kodu->text();
  f.Satir_Adi = Satir_Adi->text();
  f.MHesap_Kod = MHesap_Kod->text();
  f.MHesap_KodBas = MHesap_KodBas->text();
  f.MHesap_KodBit = MHesap_KodBit->text();
  f.Tutar = Tutar->text();
  f.Formul = FormulTxt->text();
  for (int g = 0; g < kOptionGroups; ++g) f.options[g] = Options[g]->checkedId();
  return f;
}

void MuhMaliTabloSatir::KaydetBtn_Click() {
  RowFields f = Fields();
  const QString message = Check_Fields(s_, f, layout_);
  Tutar->setText(f.Tutar);
  if (!message.isEmpty()) return s_.Message->Critical(message);
  if (!grid_view_) return;
  const WriteResult written = Write_To_Grid(grid_view_->Grid(), add_, row_type_, f, layout_);
  if (!written.message.isEmpty()) return s_.Message->Critical(written.message);
  if (written.row < 0) return;
  grid_view_->Refresh();
  grid_view_->Go_To(written.row, grid_view_->Grid().Col_Index("Satir_Kodu"));
  written_ = true;
  close();
}

void MuhMaliTabloSatir::CikisBtn_Click() {
  s_.Child_Cancelled = true;
  close();
}

void MuhMaliTabloSatir::closeEvent(QCloseEvent* event) {
  if (picker_) picker_->close();
  event->accept();
  if (opener_) opener_->Row_Editor_Closed();
  opener_ = nullptr;
}

void MuhMaliTabloSatir::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F2 && KaydetBtn->isVisible()) {
    KaydetBtn_Click();
  } else if (event->key() == Qt::Key_F3 && !s_.View_Mode) {
    CikisBtn_Click();
  } else if (event->key() == Qt::Key_Escape) {
    CikisBtn_Click();
  } else {
    QWidget::keyPressEvent(event);
    return;
  }
  event->accept();
}

// ---------------------------------------------------------------------------------------------
// Accounts

bool MuhMaliTabloSatir::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  QLineEdit* boxes[3] = {MHesap_Kod, MHesap_KodBas, MHesap_KodBit};
  for (int k = 0; k < 3; ++k)
    if (watched == boxes[k]) return Account_Key(k, key);
  return QWidget::eventFilter(watched, event);
}

bool MuhMaliTabloSatir::Account_Key(int k, QKeyEvent* event) {
  QLineEdit* boxes[3] = {MHesap_Kod, MHesap_KodBas, MHesap_KodBit};
  QLineEdit* ids[3] = {MHesap_ID, MHesap_IDBas, MHesap_IDBit};
  QLineEdit* box = boxes[k];
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && !box->text().isEmpty()) {
    if (auto account = Look_Up_Account(s_, box->text())) {
      ids[k]->setText(QString::number(account->id));
      box->setText(account->code);
    } else {
      CagirBtn_Click(k);
    }
    return true;
  }
  const int code = Navigation_Key_Code(event->key());
  return code != 0 && Navigate_By_Tag_Key(box, code);
}

void MuhMaliTabloSatir::CagirBtn_Click(int k) {
  QLineEdit* boxes[3] = {MHesap_Kod, MHesap_KodBas, MHesap_KodBit};
  if (!s_.Account_Pick_Mode) pick_mode_switched_ = true;
  s_.Account_Pick_Mode = true;
  picker_open_ = true;
  s_.Account_List_Type = Picker_Opening(boxes[k]->text());
  receiving_box_ = QString::number(k);
  s_.Caller_Form = objectName();
  delete picker_;
  auto* picker = new MuhHesapListesi(s_, this);
  connect(picker, &MuhHesapListesi::closed, this, [this] {
    picker_ = nullptr;
    activateWindow();
    Form_Activate();
  });
  picker_ = picker;
  picker->show();
  picker->activateWindow();
}

void MuhMaliTabloSatir::Form_Activate() {
  if (!picker_open_) return;
  if (pick_mode_switched_) {
    s_.Account_Pick_Mode = false;
    pick_mode_switched_ = false;
  }
  picker_open_ = false;
  if (s_.Picked_Account_Code.isEmpty()) return;
  QLineEdit* boxes[3] = {MHesap_Kod, MHesap_KodBas, MHesap_KodBit};
  QLineEdit* ids[3] = {MHesap_ID, MHesap_IDBas, MHesap_IDBit};
  const int k = receiving_box_.toInt();
  ids[k]->setText(QString::number(s_.Picked_Account_ID));
  boxes[k]->setText(s_.Picked_Account_Code.trimmed());
  boxes[k]->setFocus();
}

// ---------------------------------------------------------------------------------------------
// Formula

void MuhMaliTabloSatir::Set_Formula(const QString& text) { FormulTxt->setText(text); }

void MuhMaliTabloSatir::FormulBtn_Click() {
  formula_rows_.Clear_Rows();
  if (HesapAlaniFlx->isVisible()) {
    HesapAlaniFlx->hide();
    Islemler->hide();
  } else {
    const int changed = add_ || !grid_view_ ? -1 : grid_view_->Grid().Row();
    const KeyedGrid& main = opener_ ? opener_->Definition().FisGrd : formula_rows_;
    for (const auto& [code, name] : Formula_Rows(main, changed)) {
      const int r = formula_rows_.Add_Row();
      formula_rows_.Set_Text(r, "Satir_Kodu", code);
      formula_rows_.Set_Text(r, "Satir_Adi", name);
    }
    HesapAlaniFlx->show();
    Islemler->show();
    if (formula_rows_.Rows() > 1) formula_rows_.Set_Current(1, 1);
  }
  HesapAlaniFlx->Refresh();
  adjustSize();
  if (HesapAlaniFlx->isVisible()) HesapAlaniFlx->setFocus();
}

void MuhMaliTabloSatir::Formula_Code_Chosen() {
  const int r = formula_rows_.Row();
  if (r < 1 || r >= formula_rows_.Rows()) return;
  Set_Formula(Formula_Add_Code(FormulTxt->text(), formula_rows_.Text(r, "Satir_Kodu")));
}

void MuhMaliTabloSatir::Formula_Operator(QChar op) {
  if (op.isNull()) return Set_Formula({});
  if (op == '(' || op == ')') return Set_Formula(FormulTxt->text() + op);
  Set_Formula(Formula_Add_Operator(FormulTxt->text(), op));
}

bool MuhMaliTabloSatir::Formula_Grid_Key(QKeyEvent* event) {
  const QString text = FormulTxt->text();
  const bool keypad = event->modifiers() & Qt::KeypadModifier;
  const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
  switch (event->key()) {
    case Qt::Key_Asterisk:
    case Qt::Key_Plus:
    case Qt::Key_Minus:
    case Qt::Key_Slash:
      if (!keypad) return false;
      Set_Formula(text + event->text());
      return true;
    case Qt::Key_8:
    case Qt::Key_ParenLeft:
      if (mods != Qt::ShiftModifier) return false;
      Set_Formula(text + "(");
      return true;
    case Qt::Key_9:
    case Qt::Key_ParenRight:
      if (mods != Qt::ShiftModifier) return false;
      Set_Formula(text + ")");
      return true;
    case Qt::Key_Delete: Set_Formula({}); return true;
    case Qt::Key_Backspace: Set_Formula(Formula_Backspace(text)); return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: Formula_Code_Chosen(); return true;
    default: return false;
  }
}
