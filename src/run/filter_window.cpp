// The run window: its controls, the rules of the filter grid and of the multiple-choice popup,
// the window's keys, and the run with its waiting frame.
#include "run/filter_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "audit/run_audit_window.h"
#include "db/db_error.h"
#include "editor/table_list_window.h"
#include "model/financial_table.h"
#include "process/app_state.h"
#include "run/choice_lists.h"
#include "run/master_file.h"
#include "run/parameter_preparation.h"
#include "run/run_driver.h"
#include "ui_common/date_box.h"
#include "ui_common/guarded.h"
#include "ui_common/keyed_grid_widget.h"
#include "ui_common/opener_window.h"
#include "ui_common/turkish_text.h"

namespace {

const QString kCaption = "FiltreLbl";
const QString kStart = "Baslangic";
const QString kEnd = "Bitis";
const QString kChoices = "Secenek";
const QString kType = "Tip";
const QString kOptions = "CoktanSecmeSecenek";
// The output choice that checks the statement's account coverage instead of printing it.
const QString kCheckTarget = "Kontrol";
const QString kTargetList = QString::fromUtf8("Ekran|Yazıcı|Excel|PDF|Text|Html|Kontrol");
const QColor kSingleValueBack(224, 224, 224);
// The month list's January of the next year: stored with its trailing blank.
const QString kNextJanuary = QString::fromUtf8("Ocak ");
const QString kNextJanuaryShown = QString::fromUtf8("Ocak (sonraki yıl)");
constexpr int kMinimumRows = 28;
constexpr int kPopupMaxTwips = 6500;
constexpr int kPopupExtraTwips = 50;

QString Today_Text() { return QDate::currentDate().toString("dd.MM.yyyy"); }

QFont Grid_Font() {
  QFont font("Liberation Sans Narrow");
  font.setPointSizeF(10);
  return font;
}

// A row of one value: its type is neither a range ("GR") nor a date range ("TR").
bool Single_Value_Row(const KeyedGrid& grid, int row) {
  const QString type = grid.Text(row, "Tip");
  return type != "GR" && type != "TR";
}

bool Printable_Key(const QKeyEvent* event) {
  return !event->text().isEmpty() && event->text().at(0).isPrint();
}

}  // namespace

FiltreFrm::FiltreFrm(AppState& state, QWidget* parent)
    : QMainWindow(parent), s_(state), grid_(Make_Filter_Grid()), popup_(Make_Choice_Popup()) {
  setObjectName("FiltreFrm");
  target_ = KeyedGrid({"RaporYeri"});
  target_.Set_Text(0, 0, "Rapor Yeri");
  target_.Set_Rows(2);
  target_.Set_Col_Width(0, 1650);
  Build_Controls();
  try {
    Form_Load();
  } catch (...) {
    // The grids are members: their views go first.
    delete centralWidget();
    throw;
  }
  qApp->installEventFilter(this);
  connect(qApp, &QApplication::focusChanged, this, &FiltreFrm::Focus_Changed);
}

FiltreFrm::~FiltreFrm() {
  qApp->removeEventFilter(this);
  // An open table list goes with the window it would show again.
  delete table_list_window_.data();
  // Destroying the controls moves the focus; the window is no longer there to follow it.
  disconnect(qApp, &QApplication::focusChanged, this, &FiltreFrm::Focus_Changed);
  // The views show member grids: they go before the members.
  delete centralWidget();
}

// ---------------------------------------------------------------------------------------------
// Controls

void FiltreFrm::Build_Controls() {
  auto* central = new QWidget(this);
  setCentralWidget(central);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->setSpacing(6);

  Build_Filter_Grid(central, layout);
  Build_Choice_Popup(central);
  Build_Target_Row(central, layout);
  Build_Buttons(central, layout);
  Build_Waiting_Frame(central);
  resize(640, 620);
}

// The filter grid with its rules, and the "..." button of a multiple-choice row.
void FiltreFrm::Build_Filter_Grid(QWidget* central, QVBoxLayout* layout) {
  FiltreGrd = new KeyedGridView(&grid_, central);
  FiltreGrd->setObjectName("FiltreGrd");
  FiltreGrd->setFont(Grid_Font());
  FiltreGrd->horizontalHeader()->setStretchLastSection(true);
  // The grids' hooks run the window's rules; an error in a rule becomes its message.
  Messages& messages = *s_.Message;
  FiltreGrd->before_change =
      Guard(messages, [this](int row, int col) { return Before_Change(row, col); });
  connect(FiltreGrd, &KeyedGridView::currentCellChanged, this,
          Guard(messages, [this](int row, int col, int old_row, int old_col) {
            After_Change(row, col, old_row, old_col);
          }));
  connect(FiltreGrd->Model(), &KeyedGridModel::cellEdited, this,
          Guard(messages, [this](int row, int col) { After_Edit(row, col); }));
  // The grey end cell of a single-value row takes no cursor and no typing.
  FiltreGrd->Model()->locked = [this](int row, int col) {
    return grid_.Col_Key(col) == kEnd && !grid_.Text(row, kCaption).isEmpty() &&
           Single_Value_Row(grid_, row);
  };
  // The list's second January (next year's) is told apart on screen; the cell keeps its value.
  FiltreGrd->Model()->shown = [this](int, int col, const QString& value) {
    const QString key = grid_.Col_Key(col);
    return (key == kStart || key == kEnd) && value == kNextJanuary ? kNextJanuaryShown : value;
  };
  FiltreGrd->key_down = Guard(messages, [this](QKeyEvent* e) { return Grid_Key_Down(e); });
  FiltreGrd->key_up = Guard(messages, [this](QKeyEvent* e) { return Grid_Key_Up(e); });
  FiltreGrd->editor_key =
      Guard(messages, [this](QLineEdit* editor, QKeyEvent* e) { return Editor_Key(editor, e); });
  connect(FiltreGrd, &KeyedGridView::scrolled, this, Guard(messages, [this] {
            if (!grid_.Text(grid_.Row(), kOptions).isEmpty())
              Place_Ara_Button();
            else if (AraBtn)
              AraBtn->hide();
          }));
  layout->addWidget(FiltreGrd, 1);

  AraBtn = new QPushButton("...", FiltreGrd->viewport());
  AraBtn->setObjectName("AraBtn");
  AraBtn->hide();
  connect(AraBtn, &QPushButton::clicked, this,
          [this] { Guarded(*s_.Message, [this] { AraBtn_Click(); }); });
}

// The multiple-choice popup over the grid, hidden until a row opens it.
void FiltreFrm::Build_Choice_Popup(QWidget* central) {
  Messages& messages = *s_.Message;
  CoktanSecmeliGrd = new KeyedGridView(&popup_, central);
  CoktanSecmeliGrd->setObjectName("CoktanSecmeliGrd");
  CoktanSecmeliGrd->setFont(Grid_Font());
  CoktanSecmeliGrd->Model()->Set_Check_Column("Secim");
  CoktanSecmeliGrd->horizontalHeader()->hide();
  CoktanSecmeliGrd->horizontalHeader()->setStretchLastSection(true);
  CoktanSecmeliGrd->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  CoktanSecmeliGrd->setEditTriggers(QAbstractItemView::AnyKeyPressed);
  connect(CoktanSecmeliGrd->Model(), &KeyedGridModel::cellEdited, this,
          Guard(messages, [this](int row, int) { Popup_Tick_Changed(popup_, row); }));
  connect(CoktanSecmeliGrd, &KeyedGridView::currentCellChanged, this,
          Guard(messages, [this](int, int col, int, int) {
            if (col == popup_.Col_Index("Secim")) return;
            Popup_Col_Changed(popup_);
            CoktanSecmeliGrd->Go_To(popup_.Row(), popup_.Col());
          }));
  connect(CoktanSecmeliGrd, &KeyedGridView::rowActivated, this, Guard(messages, [this](int) {
            Popup_Double_Click(popup_);
            CoktanSecmeliGrd->Refresh();
          }));
  CoktanSecmeliGrd->key_down = Guard(messages, [this](QKeyEvent* e) { return Popup_Key_Down(e); });
  CoktanSecmeliGrd->key_up = Guard(messages, [this](QKeyEvent* e) { return Popup_Key_Up(e); });
  CoktanSecmeliGrd->hide();
}

void FiltreFrm::Build_Target_Row(QWidget* central, QVBoxLayout* layout) {
  // Output target and the progress of the choice lists.
  auto* target_row = new QHBoxLayout;
  target_row->setSpacing(8);
  auto* target_label = new QLabel(QString::fromUtf8("Rapor Yeri :"), central);
  target_label->setFont([] {
    QFont f;
    f.setBold(true);
    return f;
  }());
  target_row->addWidget(target_label);
  RaporYeri = new KeyedGridView(&target_, central);
  RaporYeri->setObjectName("RaporYeri");
  RaporYeri->setFont(Grid_Font());
  RaporYeri->horizontalHeader()->hide();
  RaporYeri->horizontalHeader()->setStretchLastSection(true);
  RaporYeri->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  RaporYeri->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  RaporYeri->verticalHeader()->setDefaultSectionSize(22);
  RaporYeri->setFixedSize(target_.Col_Width(0) / kTwipsPerPixel + 4, 26);
  RaporYeri->setEditTriggers(QAbstractItemView::AllEditTriggers);
  RaporYeri->setSelectionMode(QAbstractItemView::NoSelection);
  target_row->addWidget(RaporYeri);
  Bar2 = new QProgressBar(central);
  Bar2->setObjectName("Bar2");
  Bar2->setTextVisible(false);
  Bar2->setFixedHeight(16);
  Bar2->setValue(0);
  target_row->addWidget(Bar2, 1);
  layout->addLayout(target_row);
}

// "Tablo Oluştur", "Tamam" and "Çıkış".
void FiltreFrm::Build_Buttons(QWidget* central, QVBoxLayout* layout) {
  SSPanel1 = new QFrame(central);
  SSPanel1->setObjectName("SSPanel1");
  SSPanel1->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
  auto* buttons = new QHBoxLayout(SSPanel1);
  buttons->setContentsMargins(8, 6, 8, 6);
  auto make_button = [this](const char* name, const char* caption) {
    auto* b = new QPushButton(QString::fromUtf8(caption), SSPanel1);
    b->setObjectName(name);
    b->setMinimumSize(110, 30);
    return b;
  };
  Tablo_OlusturBtn = make_button("Tablo_OlusturBtn", "Tablo Oluştur");
  TamamBtn = make_button("TamamBtn", "Tamam");
  CikisBtn = make_button("CikisBtn", "Çıkış");
  TamamBtn->setDefault(false);
  TamamBtn->setAutoDefault(false);
  buttons->addWidget(Tablo_OlusturBtn);
  buttons->addStretch(1);
  buttons->addWidget(TamamBtn);
  buttons->addWidget(CikisBtn);
  layout->addWidget(SSPanel1);
  connect(Tablo_OlusturBtn, &QPushButton::clicked, this,
          [this] { Guarded(*s_.Message, [this] { Tablo_Olustur(); }); });
  connect(TamamBtn, &QPushButton::clicked, this, &FiltreFrm::Run);
  connect(CikisBtn, &QPushButton::clicked, this, &QWidget::close);
}

void FiltreFrm::Build_Waiting_Frame(QWidget* central) {
  // The waiting frame of a run, over the grid.
  Bekleme = new QFrame(central);
  Bekleme->setObjectName("Bekleme");
  Bekleme->setFrameStyle(QFrame::Box | QFrame::Raised);
  Bekleme->setLineWidth(2);
  Bekleme->setAutoFillBackground(true);
  auto* waiting = new QVBoxLayout(Bekleme);
  waiting->setContentsMargins(16, 14, 16, 14);
  waiting->setSpacing(8);
  auto* message =
      new QLabel(QString::fromUtf8("Mali tablo hazırlanıyor, lütfen bekleyiniz..."), Bekleme);
  message->setAlignment(Qt::AlignCenter);
  QFont bold = message->font();
  bold.setBold(true);
  message->setFont(bold);
  waiting->addWidget(message);
  Yuzde = new QLineEdit(Bekleme);
  Yuzde->setObjectName("Yuzde");
  Yuzde->setReadOnly(true);
  Yuzde->setFocusPolicy(Qt::NoFocus);
  Yuzde->setAlignment(Qt::AlignCenter);
  Yuzde->setFixedWidth(150);
  waiting->addWidget(Yuzde, 0, Qt::AlignHCenter);
  Bar1 = new QProgressBar(Bekleme);
  Bar1->setObjectName("Bar1");
  Bar1->setTextVisible(false);
  Bar1->setFixedHeight(16);
  waiting->addWidget(Bar1);
  Bekleme->setFixedSize(380, 116);
  Bekleme->hide();
}

QString FiltreFrm::Output_Target() const { return target_.Text(1, "RaporYeri"); }

// ---------------------------------------------------------------------------------------------
// Load and first activation

void FiltreFrm::Form_Load() {
  target_.Set_Text(1, 0, "Ekran");
  target_.Set_Combo_List(1, "RaporYeri", kTargetList);
  target_.Set_Current(1, 0);
  target_.Set_Editable(true);
  RaporYeri->Refresh();

  const QString program =
      Upper_TR(QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
  setWindowTitle(s_.Company_Name.trimmed().isEmpty() ? program
                                                     : program + " - " + s_.Company_Name.trimmed());
  Load_Master_File(s_, grid_);

  const int start = grid_.Col_Index(kStart);
  Before_Change(1, start);
  grid_.Set_Current(1, start);

  for (int col = 0; col < grid_.Cols(); ++col) grid_.Set_Bold(0, col, true);
  const int caption = grid_.Col_Index(kCaption);
  for (int row = 1; row < grid_.Rows(); ++row) grid_.Set_Bold(row, caption, true);
  if (grid_.Rows() < kMinimumRows) grid_.Set_Rows(kMinimumRows);
  const int end = grid_.Col_Index(kEnd);
  for (int row = 1; row < grid_.Rows(); ++row) {
    if (grid_.Text(row, kCaption).isEmpty()) continue;
    if (grid_.Text(row, kCaption) == "Seviyesi") {
      grid_.Set_Text(row, kStart, "1");
      grid_.Set_Text(row, kEnd, "1");
    }
    if (Single_Value_Row(grid_, row)) grid_.Set_Back_Color(row, end, kSingleValueBack);
  }
  FiltreGrd->Refresh();
  FiltreGrd->scrollTo(FiltreGrd->currentIndex());
}

void FiltreFrm::Form_Activate() {
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  if (s_.Filter_Window_Ready || running_) return;
  running_ = true;
  auto progress = [this](int done, int count) {
    if (count > 0) Bar2->setMaximum(count);
    Bar2->setValue(std::min(done, Bar2->maximum()));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  };
  Guarded(*s_.Message, [&] { FillChoiceLists(s_, grid_, progress); });
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  Bar2->setValue(0);
  s_.Filter_Window_Ready = true;
  running_ = false;
  // The lists are known now: enter the current cell again.
  const int row = grid_.Row(), col = grid_.Col();
  Before_Change(row, col);
  FiltreGrd->Refresh();
  After_Change(row, col, row, col);
}

void FiltreFrm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  Place_Waiting();
}

void FiltreFrm::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && !s_.Filter_Window_Ready)
    QMetaObject::invokeMethod(
        this, [this] { Guarded(*s_.Message, [this] { Form_Activate(); }); }, Qt::QueuedConnection);
}

void FiltreFrm::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  Place_Waiting();
  if (CoktanSecmeliGrd->isVisible()) Place_Popup();
  if (AraBtn->isVisible()) Place_Ara_Button();
}

void FiltreFrm::closeEvent(QCloseEvent* event) {
  event->accept();
  emit Closed();
}

// ---------------------------------------------------------------------------------------------
// The filter grid's rules

bool FiltreFrm::Is_Date_Row(int row) const {
  return grid_.Text(row, kCaption).contains("Tarih") || grid_.Text(row, kType) == "TR";
}

bool FiltreFrm::Before_Change(int row, int col) {
  const QString key = grid_.Col_Key(col);
  if (key == kCaption) return false;
  grid_.Set_Combo_List(row, key, Offered_Choices(grid_, row));
  grid_.Set_Editable(!grid_.Text(row, kCaption).isEmpty());
  return true;
}

void FiltreFrm::After_Change(int row, int col, int old_row, int old_col) {
  if (old_row > 0 && (old_row != row || old_col != col) && Is_Date_Row(old_row))
    Check_Date_Cell(old_row, old_col);
  date_typed_ = false;
  const QString type = grid_.Text(row, kType);
  if (type != "TR" && type != "GR" && grid_.Col_Key(col) == kEnd) {
    const int start = grid_.Col_Index(kStart);
    Before_Change(row, start);
    FiltreGrd->Go_To(row, start);
    return;
  }
  if (!grid_.Text(row, kOptions).isEmpty()) {
    Place_Ara_Button();
    grid_.Set_Editable(false);
  } else {
    // Rows without a caption stay closed to editing.
    grid_.Set_Editable(!grid_.Text(row, kCaption).isEmpty());
    AraBtn->hide();
  }
}

void FiltreFrm::After_Edit(int row, int col) {
  if (grid_.Text(row, kCaption) == QString::fromUtf8("Tablo Türü") &&
      grid_.Col_Key(col) == kStart) {
    Table_Kind_Changed(s_, grid_);
    FiltreGrd->Refresh();
    return;
  }
  if (grid_.Col_Key(col) == kEnd || grid_.Text(row, kType) != "GR" ||
      grid_.Text(row, kCaption) == "Seviyesi" || grid_.Text(row, kCaption) == "Seviye" ||
      grid_.Text(row, kStart).isEmpty())
    return;
  grid_.Set_Text(row, kEnd, grid_.Text(row, kStart));
}

void FiltreFrm::Check_Date_Cell(int row, int col) {
  const int current_row = grid_.Row(), current_col = grid_.Col();
  grid_.Set_Current(row, col);
  Format_Date_Box(s_, grid_, grid_.Text(row, col).size(), date_typed_);
  grid_.Set_Current(current_row, current_col);
  FiltreGrd->Refresh_Row(row);
}

bool FiltreFrm::Grid_Key_Down(QKeyEvent* event) {
  const int key = event->key();
  if ((key == Qt::Key_Return || key == Qt::Key_Enter) && AraBtn->isVisible()) {
    popup_.Set_Editable(true);
    AraBtn_Click();
    return true;
  }
  if (key == Qt::Key_Escape) escape_in_grid_ = !FiltreGrd->Editing();
  if (key != Qt::Key_Backspace && key != Qt::Key_Delete && Printable_Key(event)) date_typed_ = true;
  return false;
}

bool FiltreFrm::Grid_Key_Up(QKeyEvent* event) {
  if (event->isAutoRepeat()) return false;
  if (event->key() == Qt::Key_F3) {
    CikisBtn->click();
    return true;
  }
  if (event->key() == Qt::Key_Escape && escape_in_grid_) {
    escape_in_grid_ = false;
    if (CoktanSecmeliGrd->isVisible())
      Close_Popup(false);
    else
      CikisBtn->click();
    return true;
  }
  return false;
}

bool FiltreFrm::Editor_Key(QLineEdit* editor, QKeyEvent* event) {
  const int row = grid_.Row();
  if (!Is_Date_Row(row)) return false;
  const int key = event->key();
  if (key != Qt::Key_Backspace && key != Qt::Key_Delete && Printable_Key(event)) date_typed_ = true;
  if (key == Qt::Key_Space && editor && editor->text().size() >= 6) {
    // A day and month typed as six characters and a space: this year completes the date.
    editor->setText(editor->text().left(6) + Today_Text().mid(6, 4));
    editor->end(false);
    return true;
  }
  return false;
}

void FiltreFrm::Place_Ara_Button() {
  const QRect cell = FiltreGrd->Cell_Rect(grid_.Row(), grid_.Col());
  if (!cell.isValid()) {
    AraBtn->hide();
    return;
  }
  const int side = cell.height();
  AraBtn->setGeometry(cell.right() + 1 - side, cell.top(), side, side);
  AraBtn->show();
  AraBtn->raise();
}

// ---------------------------------------------------------------------------------------------
// The window's keys

bool FiltreFrm::eventFilter(QObject* watched, QEvent* event) {
  if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) && isVisible()) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget && (widget == this || isAncestorOf(widget))) {
      auto* key = static_cast<QKeyEvent*>(event);
      const bool is_delete_target =
          (widget == FiltreGrd && !FiltreGrd->Editing()) || widget == CoktanSecmeliGrd;
      if (event->type() == QEvent::KeyPress && key->key() == Qt::Key_Delete) {
        if (!is_delete_target) return false;
        Guarded(*s_.Message, [this] { Delete_Key(); });
        return true;
      }
      if (Guarded(*s_.Message, [this, key] { return Window_Key(key); })) return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

bool FiltreFrm::Window_Key(QKeyEvent* event) {
  if (event->key() == Qt::Key_F2) {
    // One run per press, every press: a held key's repeats start none, and the run does not
    // wait for a release that a window opened by the run (the preview, a message) may take.
    if (event->type() == QEvent::KeyRelease || event->isAutoRepeat()) return true;
    if (CoktanSecmeliGrd->isVisible()) Close_Popup(true);
    FiltreGrd->Commit_Edit();
    TamamBtn->setFocus();
    // Marks the run as started from F2; the run clears it once it has read its parameters.
    s_.F2_Run_Flag = true;
    Run();
    s_.F2_Run_Flag = false;
    return true;
  }
  if (event->key() == Qt::Key_F9 && event->type() == QEvent::KeyPress) {
    SetTodayOnDateRows();
    return true;
  }
  return false;
}

void FiltreFrm::Delete_Key() {
  const int row = grid_.Row(), col = grid_.Col();
  const QString choices = grid_.Text(row, kChoices);
  if (!choices.isEmpty()) {
    grid_.Set_Text(row, col, Choice_Item_Value(choices.section('|', 0, 0)));
  } else if (!grid_.Text(row, kOptions).isEmpty()) {
    for (int r = 1; r < popup_.Rows(); ++r) Set_Popup_Tick(popup_, r, true);
    CoktanSecmeliGrd->Refresh();
    AraBtn_Click();
  } else {
    grid_.Set_Text(row, col, "");
  }
  FiltreGrd->Refresh_Row(row);
}

void FiltreFrm::SetTodayOnDateRows() {
  for (int row = 1; row < grid_.Rows(); ++row) {
    if (grid_.Text(row, kCaption) != "Tarih") continue;
    grid_.Set_Text(row, kStart, Today_Text());
    grid_.Set_Text(row, kEnd, Today_Text());
    FiltreGrd->Refresh_Row(row);
  }
}

// ---------------------------------------------------------------------------------------------
// The multiple-choice popup

void FiltreFrm::AraBtn_Click() {
  if (CoktanSecmeliGrd->isVisible()) {
    Close_Popup(true);
    FiltreGrd->setFocus();
    return;
  }
  const int row = grid_.Row();
  if (grid_.Text(row, kOptions).isEmpty()) return;
  LoadChoiceList(grid_, row, popup_);
  popup_row_ = row;
  popup_.Set_Current(1, popup_.Col_Index("Secim"));
  popup_.Set_Editable(true);
  CoktanSecmeliGrd->Refresh();
  Place_Popup();
  CoktanSecmeliGrd->show();
  CoktanSecmeliGrd->raise();
  CoktanSecmeliGrd->setFocus();
}

void FiltreFrm::Place_Popup() {
  QWidget* central = centralWidget();
  const QRect cell = FiltreGrd->Cell_Rect(popup_row_, grid_.Col());
  const QPoint top_left = FiltreGrd->viewport()->mapTo(central, cell.topLeft());
  const QPoint bottom_left = FiltreGrd->viewport()->mapTo(central, cell.bottomLeft());
  const int frame = 2 * CoktanSecmeliGrd->frameWidth();
  const int width = (popup_.Col_Width(0) + popup_.Col_Width(1)) / kTwipsPerPixel + frame;
  const int height = std::min(CoktanSecmeliGrd->Row_Height() * (popup_.Rows() - 1) +
                                  kPopupExtraTwips / kTwipsPerPixel + frame,
                              kPopupMaxTwips / kTwipsPerPixel);
  int top = bottom_left.y() + 1;
  if (top + height > central->height()) top = std::max(0, top_left.y() - height);
  CoktanSecmeliGrd->setGeometry(top_left.x(), top, width, height);
}

bool FiltreFrm::Popup_Key_Down(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    popup_.Set_Editable(false);
    AraBtn_Click();
    return true;
  }
  return false;
}

bool FiltreFrm::Popup_Key_Up(QKeyEvent* event) {
  if (event->isAutoRepeat()) return false;
  if (event->key() == Qt::Key_F3) {
    CikisBtn->click();
    return true;
  }
  if (event->key() == Qt::Key_Escape) {
    Close_Popup(false);
    FiltreGrd->setFocus();
    return true;
  }
  return false;
}

void FiltreFrm::Close_Popup(bool store) {
  if (popup_closing_) return;
  popup_closing_ = true;
  if (store) StoreChoice(grid_, popup_row_, popup_);
  CoktanSecmeliGrd->hide();
  FiltreGrd->Refresh_Row(popup_row_);
  popup_closing_ = false;
}

void FiltreFrm::Focus_Changed(QWidget* old_focus, QWidget* new_focus) {
  if (!CoktanSecmeliGrd->isVisible() || popup_closing_ || !old_focus) return;
  auto inside = [this](QWidget* w) {
    return w && (w == CoktanSecmeliGrd || CoktanSecmeliGrd->isAncestorOf(w));
  };
  if (!inside(old_focus) || inside(new_focus) || new_focus == AraBtn) return;
  Guarded(*s_.Message, [this] { Close_Popup(true); });
}

// ---------------------------------------------------------------------------------------------
// The run

void FiltreFrm::Place_Waiting() {
  const QRect area = FiltreGrd->geometry();
  Bekleme->move(area.center().x() - Bekleme->width() / 2,
                area.center().y() - Bekleme->height() / 2);
}

void FiltreFrm::Show_Waiting() {
  Yuzde->clear();
  Bar1->setMaximum(100);
  Bar1->setValue(0);
  Place_Waiting();
  Bekleme->show();
  Bekleme->raise();
  Bekleme->repaint();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void FiltreFrm::Hide_Waiting() { Bekleme->hide(); }

void FiltreFrm::Show_Progress(int done, int count) {
  if (count > 0) Bar1->setMaximum(count);
  Bar1->setValue(std::min(done, Bar1->maximum()));
  const CalculationPercent percent = Calculation_Percent(done, count);
  Yuzde->setText(percent.text);
  QPalette colours = Yuzde->palette();
  colours.setColor(QPalette::Base, percent.highlight ? palette().color(QPalette::Highlight)
                                                     : palette().color(QPalette::Button));
  colours.setColor(QPalette::Text, percent.highlight ? Qt::white : Qt::black);
  Yuzde->setPalette(colours);
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

CalculationPercent Calculation_Percent(int done, int count) {
  if (count <= 0) return {};
  const double p = done * 100.0 / count;
  return {QString::number(p, 'g', 15) + "%", std::nearbyint(p) >= 47};
}

void FiltreFrm::Run() {
  if (running_) return;
  running_ = true;
  FiltreGrd->Commit_Edit();
  RaporYeri->Commit_Edit();
  RunSteps steps;
  steps.show_waiting = [this] { Show_Waiting(); };
  steps.progress = [this](int done, int count) { Show_Progress(done, count); };
  steps.hide_waiting = [this] { Hide_Waiting(); };
  const QString target = Output_Target();
  // The preview's breakdowns and the check read what each row took in.
  steps.record_intake = target == "Ekran" || target == kCheckTarget;
  steps.keep_amounts = target != kCheckTarget;
  // An error the run does not report itself (the output's, say) is shown here, and the window
  // is ready for the next run all the same. The preview and the dialogs come once the run has
  // ended, so that nobody else's run waits for them.
  Guarded(*s_.Message, [&] {
    last_run_.reset();
    FilterCompletions completed;
    last_run_ = Run_Statement(s_, grid_, steps, &completed);
    Apply_Completions(grid_, completed);
    Hide_Waiting();
    if (!last_run_) return;
    if (target == kCheckTarget)
      Show_Coverage(s_, *last_run_, this);
    else if (output_)
      output_(*last_run_, target);
  });
  Hide_Waiting();
  // The values the run completed show in the grid.
  FiltreGrd->Refresh();
  running_ = false;
}

void FiltreFrm::Tablo_Olustur() {
  s_.Table_Type = Table_Kind(grid_);
  hide();
  auto* list = new MuhMaliTabloListe(s_);
  // Back from the list: its changes show in the table lists.
  connect(list, &MuhMaliTabloListe::closed, this, [this] {
    Guarded(*s_.Message, [this] { Refill_Table_Lists(s_, grid_); });
    FiltreGrd->Refresh();
    show();
  });
  Attach_To_Opener(list, this);
  table_list_window_ = list;
  list->show();
}
