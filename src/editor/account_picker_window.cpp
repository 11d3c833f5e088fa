// The account picker: search box, list type and balance check above, the accounts grid, the
// count and the choose and exit buttons below.
#include "editor/account_picker_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "db/query.h"
#include "editor/account_list.h"
#include "editor/form_title_panel.h"
#include "process/app_state.h"
#include "process/messages.h"
#include "ui_common/command_button_widget.h"
#include "ui_common/keyed_grid_widget.h"
#include "ui_common/list_operations.h"
#include "ui_common/opener_window.h"

MuhHesapListesi::MuhHesapListesi(AppState& state, QWidget* caller)
    : QWidget(nullptr, Qt::Window), s_(state), caller_(caller), grid_(Account_Grid_Keys()) {
  setObjectName("MuhHesapListesi");
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle("Muhasebe Hesap Listesi");
  if (caller) Attach_To_Opener(this, caller, true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 8);
  FormBaslik = new FormTitlePanel(Account_Caption(1), this);
  connect(FormBaslik->KapatButon, &QPushButton::clicked, this, &MuhHesapListesi::CikisBtn_Click);
  layout->addWidget(FormBaslik);

  auto* top = new QHBoxLayout;
  top->setContentsMargins(8, 4, 8, 4);
  Arama = new QLineEdit(this);
  Arama->setObjectName("Arama");
  Arama->setReadOnly(true);
  Arama->setFocusPolicy(Qt::NoFocus);
  Arama->setPlaceholderText("Aranacak metni listede yazınız");
  Arama->setMinimumWidth(260);
  Liste_Tipi = new QComboBox(this);
  Liste_Tipi->setObjectName("Liste_Tipi");
  Liste_Tipi->addItems(QString(kListTypes).split('|'));
  Liste_Tipi->setCurrentText(kDefaultListType);
  Bakiyeli = new QCheckBox("Bakiyeli", this);
  Bakiyeli->setObjectName("Bakiyeli");
  top->addWidget(new QLabel("Ara:", this));
  top->addWidget(Arama, 1);
  top->addSpacing(12);
  top->addWidget(Liste_Tipi);
  top->addWidget(Bakiyeli);
  layout->addLayout(top);

  TDBG1 = new KeyedGridView(&grid_, this);
  TDBG1->setObjectName("TDBG1");
  TDBG1->setMinimumSize(900, 380);
  TDBG1->Model()->Set_Right_Aligned(kAccountBalanceColumn);
  TDBG1->key_down = [this](QKeyEvent* e) { return Grid_Key_Down(e); };
  connect(TDBG1, &KeyedGridView::rowActivated, this, &MuhHesapListesi::SecBtn_Click);
  layout->addWidget(TDBG1, 1);
  TDBG1->horizontalHeader()->setSectionsClickable(true);
  connect(TDBG1->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int c) {
    if (c == 3 || c == 4) return Fill_Grid();
    if (!Account_Sort_Field(c).isEmpty()) Set_Sort_Column(c);
  });

  auto* bottom = new QHBoxLayout;
  bottom->setContentsMargins(8, 4, 8, 0);
  StokAdediLbl = new QLabel(this);
  StokAdediLbl->setObjectName("StokAdediLbl");
  bottom->addWidget(StokAdediLbl);
  bottom->addStretch();
  SecBtn = Command_Button(this, bottom, "&Seç", "SecBtn");
  CikisBtn = Command_Button(this, bottom, "&Çıkış ", "CikisBtn");
  for (QPushButton* b : {SecBtn, CikisBtn}) b->setFocusPolicy(Qt::NoFocus);
  layout->addLayout(bottom);
  connect(SecBtn, &QPushButton::clicked, this, &MuhHesapListesi::SecBtn_Click);
  connect(CikisBtn, &QPushButton::clicked, this, &MuhHesapListesi::CikisBtn_Click);

  AramaTimer = new QTimer(this);
  AramaTimer->setSingleShot(true);
  AramaTimer->setInterval(150);
  connect(AramaTimer, &QTimer::timeout, this, &MuhHesapListesi::AramaTimer_Timer);
  connect(Liste_Tipi, &QComboBox::currentTextChanged, this, [this] {
    AramaTimer_Timer();
    TDBG1->setFocus();
  });
  connect(Bakiyeli, &QCheckBox::clicked, this, [this] {
    AramaTimer_Timer();
    TDBG1->setFocus();
  });

  // Load.
  if (!s_.Account_Pick_Mode) s_.Account_List_Type = "0";
  s_.Child_Cancelled = false;
  resize(1000, 560);
}

QString MuhHesapListesi::Search_Text() const { return Arama->text(); }

void MuhHesapListesi::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  TDBG1->setFocus();
  if (activated_) return;
  activated_ = true;
  if (s_.Child_Cancelled) {
    s_.Child_Cancelled = false;
    return;
  }
  const PickerStart start = Picker_Start(s_.Account_List_Type);
  sort_column_ = start.sort_column;
  sort_field_ = Account_Sort_Field(sort_column_);
  if (start.reset_opening) {
    Arama->setText(start.search);
    s_.Account_List_Type = "0";
    // The opening is selected: what the user types replaces it.
    Arama->selectAll();
    search_selected_ = !start.search.isEmpty();
  }
  AramaTimer_Timer();
}

void MuhHesapListesi::AramaTimer_Timer() {
  AramaTimer->stop();
  // The chart is read again only for another order or list type; a search filters it.
  const QString sql = Account_Search_Sql(sort_field_, Liste_Tipi->currentText());
  if (sql != last_sql_) Open_Recordset(s_.Db(), rows_, sql);
  last_sql_ = sql;
  Fill_Grid();
}

void MuhHesapListesi::Fill_Grid() {
  Fill_Account_Grid(s_, rows_, grid_, sort_column_, !SecBtn->isVisible(), Arama->text());
  TDBG1->Apply_Columns();
  TDBG1->Refresh();
  TDBG1->horizontalHeader()->setSectionResizeMode(kAccountNameColumn, QHeaderView::Stretch);
  FormBaslik->FormLabel->setText(Account_Caption(sort_column_));
  StokAdediLbl->setText(Account_Count_Caption(grid_.Rows() - 1));
  TDBG1->setFocus();
}

void MuhHesapListesi::Set_Sort_Column(int column) {
  sort_column_ = column;
  sort_field_ = Account_Sort_Field(column);
  Arama->clear();
  AramaTimer_Timer();
}

bool MuhHesapListesi::Grid_Key_Down(QKeyEvent* event) {
  const int key = event->key();
  const int rows = grid_.Rows();
  switch (key) {
    case Qt::Key_F12:
      if (!rows_.Source().isEmpty()) Toggle_Sort_Order(s_, rows_, sort_field_);
      Fill_Grid();
      return true;
    case Qt::Key_End:
      if (rows > 1) TDBG1->Go_To(rows - 1, kAccountCodeColumn);
      return true;
    case Qt::Key_Home:
      if (rows > 1) TDBG1->Go_To(1, kAccountCodeColumn);
      return true;
    case Qt::Key_Down:
      if (!(event->modifiers() & Qt::ControlModifier)) return false;
      Liste_Tipi->setFocus();
      Liste_Tipi->showPopup();
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: SecBtn_Click(); return true;
    case Qt::Key_Delete:
      if (event->modifiers() & Qt::ShiftModifier) return false;
      Arama->clear();
      AramaTimer_Timer();
      return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
      Set_Sort_Column(Next_Account_Sort_Column(sort_column_, key == Qt::Key_Left));
      return true;
    case Qt::Key_Escape: CikisBtn_Click(); return true;
    default: break;
  }
  int c = 0;
  if (key == Qt::Key_Backspace)
    c = 8;
  else if (key == Qt::Key_Tab)
    c = 9;
  else if (!event->text().isEmpty() && event->text()[0].isPrint())
    c = event->text()[0].unicode();
  if (c == 0) return false;
  QString search = Arama->text();
  if (search_selected_) search.clear();
  search_selected_ = false;
  if (Account_Search_Key(search, sort_column_ == kAccountCodeColumn, c)) {
    Arama->setText(search);
    AramaTimer->start();
  }
  return true;
}

void MuhHesapListesi::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) return CikisBtn_Click();
  QWidget::keyPressEvent(event);
}

void MuhHesapListesi::SecBtn_Click() {
  const int r = grid_.Row();
  if (r < 1 || r >= grid_.Rows()) return;
  const QString code = grid_.Text(r, "MHesap_Kod");
  s_.Picked_Account_ID = grid_.Text(r, "MHesap_ID").toLongLong();
  s_.Picked_Account_Code = code;
  s_.Picked_Account_Name = grid_.Text(r, "MHesap_Ad");
  chosen_ = true;
  close();
}

void MuhHesapListesi::CikisBtn_Click() {
  s_.Picked_Account_ID = 0;
  s_.Picked_Account_Code.clear();
  s_.Picked_Account_Name.clear();
  close();
}

void MuhHesapListesi::closeEvent(QCloseEvent* event) {
  event->accept();
  if (closed_) return;
  closed_ = true;
  if (!chosen_) {
    // Closed by the window frame: as Çıkış, no choice.
    s_.Picked_Account_ID = 0;
    s_.Picked_Account_Code.clear();
    s_.Picked_Account_Name.clear();
  }
  emit closed();
}
