// The table list window: its controls, keys, search timer and commands.
#include "editor/table_list_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/form_title_panel.h"
#include "editor/table_definition_window.h"
#include "process/app_state.h"
#include "ui_common/keyed_grid_widget.h"
#include "ui_common/list_operations.h"
#include "ui_common/opener_window.h"
#include "ui_common/twips.h"

namespace {

// A magnifier glass; the two images of the search marker differ in the glass's colour.
QPixmap Magnifier(const QColor& glass) {
  QPixmap pixmap(22, 22);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(60, 60, 60), 2.5, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(13.5, 13.5), QPointF(20, 20));
  p.setBrush(glass);
  p.setPen(QPen(QColor(60, 60, 60), 2));
  p.drawEllipse(QRectF(2, 2, 12, 12));
  return pixmap;
}

}  // namespace

MuhMaliTabloListe::MuhMaliTabloListe(AppState& state, QWidget* parent)
    : QWidget(parent, Qt::Window), s_(state), list_(state.Table_Type) {
  setObjectName("MuhMaliTabloListe");
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle("Muhasebe Mali Tabloları");
  AramaTimer.setObjectName("AramaTimer");
  AramaTimer.setSingleShot(true);
  AramaTimer.setInterval(150);
  connect(&AramaTimer, &QTimer::timeout, this, &MuhMaliTabloListe::AramaTimer_Timer);
  Timer1.setObjectName("Timer1");
  Timer1.setInterval(500);
  connect(&Timer1, &QTimer::timeout, this, &MuhMaliTabloListe::Blink);
  Build_Controls();
  FormBaslik->FormLabel->setText(Caption());
  // The window sees keys before its controls, and its grid's focus and mouse releases.
  qApp->installEventFilter(this);
}

MuhMaliTabloListe::~MuhMaliTabloListe() {
  qApp->removeEventFilter(this);
  if (definition_) delete definition_.data();
  TDBG1 = nullptr;
  // The view shows the list's grid: it goes before it.
  qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
}

void MuhMaliTabloListe::Build_Controls() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 8);
  layout->setSpacing(6);
  FormBaslik = new FormTitlePanel("Muhasebe Mali Tabloları", this);
  connect(FormBaslik->KapatButon, &QPushButton::clicked, this, &MuhMaliTabloListe::CikisBtn_Click);
  layout->addWidget(FormBaslik);

  SSPanel2 = new QFrame(this);
  SSPanel2->setObjectName("SSPanel2");
  SSPanel2->setFrameShape(QFrame::StyledPanel);
  auto* search = new QHBoxLayout(SSPanel2);
  search->setContentsMargins(6, 4, 6, 4);
  mercek1 = new QLabel(SSPanel2);
  mercek1->setObjectName("mercek1");
  mercek1->setPixmap(Magnifier(QColor(170, 210, 255)));
  mercek2 = new QLabel(SSPanel2);
  mercek2->setObjectName("mercek2");
  mercek2->setPixmap(Magnifier(QColor(255, 230, 120)));
  mercek2->hide();
  Arama = new QLineEdit(SSPanel2);
  Arama->setObjectName("Arama");
  Arama->setReadOnly(true);
  Arama->setFocusPolicy(Qt::NoFocus);
  Arama->setPlaceholderText("Aramak için listede yazın");
  search->addWidget(mercek1);
  search->addWidget(mercek2);
  search->addWidget(Arama, 1);
  auto* panel_row = new QHBoxLayout;
  panel_row->setContentsMargins(8, 0, 8, 0);
  panel_row->addWidget(SSPanel2);
  layout->addLayout(panel_row);

  TDBG1 = new KeyedGridView(&list_.grid, this);
  TDBG1->setObjectName("TDBG1");
  TDBG1->setSelectionBehavior(QAbstractItemView::SelectRows);
  TDBG1->setAlternatingRowColors(true);
  TDBG1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  TDBG1->horizontalHeader()->setSectionsClickable(true);
  TDBG1->horizontalHeader()->setStretchLastSection(true);
  TDBG1->key_down = [this](QKeyEvent* e) { return Grid_Key_Down(e); };
  TDBG1->key_up = [this](QKeyEvent* e) { return Grid_Key_Up(e); };
  connect(TDBG1, &KeyedGridView::rowActivated, this, &MuhMaliTabloListe::DegistirBtn_Click);
  connect(TDBG1->horizontalHeader(), &QHeaderView::sectionClicked, this,
          &MuhMaliTabloListe::Heading_Click);
  auto* grid_row = new QHBoxLayout;
  grid_row->setContentsMargins(8, 0, 8, 0);
  grid_row->addWidget(TDBG1);
  layout->addLayout(grid_row, 1);

  auto* buttons = new QHBoxLayout;
  buttons->setContentsMargins(8, 0, 8, 0);
  auto make_button = [&](const char* name, const QString& text, void (MuhMaliTabloListe::*slot)()) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(name);
    b->setMinimumWidth(100);
    b->setFocusPolicy(Qt::TabFocus);
    connect(b, &QPushButton::clicked, this, slot);
    buttons->addWidget(b);
    return b;
  };
  EkleBtn = make_button("EkleBtn", "Ekle", &MuhMaliTabloListe::EkleBtn_Click);
  InceleBtn = make_button("InceleBtn", "İncele", &MuhMaliTabloListe::InceleBtn_Click);
  DegistirBtn = make_button("DegistirBtn", "Değiştir", &MuhMaliTabloListe::DegistirBtn_Click);
  SilBtn = make_button("SilBtn", "Sil", &MuhMaliTabloListe::SilBtn_Click);
  buttons->addStretch();
  CikisBtn = make_button("CikisBtn", "Çıkış", &MuhMaliTabloListe::CikisBtn_Click);
  layout->addLayout(buttons);

  MNHepsi = new QMenu("Hepsi", this);
  MNHepsi->setObjectName("MNHepsi");
  for (auto [name, caption, key] :
       {std::tuple{"MNEkle", "Ekle", "KeyEkle"},
        std::tuple{"MNDegistir", "Değiştir", "KeyDegistir"},
        std::tuple{"MNIncele", "İncele", "KeyIncele"}, std::tuple{"MNSil", "Sil", "KeySil"},
        std::tuple{"MNYazdir", "Yazdır", ""}, std::tuple{"MNCikis", "Çıkış", "KeyCikis"}}) {
    QAction* action = MNHepsi->addAction(QString::fromUtf8(caption));
    action->setObjectName(name);
    const QString command = key;
    connect(action, &QAction::triggered, this, [this, command] { Menu_Click(command); });
  }
  TDBG1->Apply_Columns();
  resize(760, 520);
}

MuhMaliTabloTanim* MuhMaliTabloListe::Definition_Window() const { return definition_.data(); }

QString MuhMaliTabloListe::Caption() const {
  return List_Caption(list_.title_prefix, list_.sort_column);
}

void MuhMaliTabloListe::Fill_Grid() {
  Fill_List_Grid(list_);
  Show_Rows();
}

void MuhMaliTabloListe::Show_Rows() {
  TDBG1->Refresh();
  // The code and name columns are at least as wide as their longest text.
  for (int col : {kListCodeColumn, kListNameColumn}) {
    TDBG1->resizeColumnToContents(col);
    const int design = list_.grid.Col_Width(col) / kTwipsPerPixel;
    TDBG1->setColumnWidth(col, std::max(design, TDBG1->columnWidth(col) + 8));
  }
  FormBaslik->FormLabel->setText(Caption());
}

// ---------------------------------------------------------------------------------------------
// Activation and search

void MuhMaliTabloListe::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Form_Activate();
}

void MuhMaliTabloListe::Form_Activate() {
  TDBG1->setFocus();
  if (s_.Child_Cancelled) {
    s_.Child_Cancelled = false;
    return;
  }
  list_.last_sql.clear();
  AramaTimer_Timer();
}

void MuhMaliTabloListe::AramaTimer_Timer() {
  AramaTimer.stop();
  search_pending_ = false;
  if (Search_List(s_, list_, Arama->text())) Show_Rows();
}

bool MuhMaliTabloListe::Grid_Key_Down(QKeyEvent* event) {
  KeyedGrid& grid = list_.grid;
  const bool has_rows = grid.Rows() > 1;
  switch (event->key()) {
    case Qt::Key_F12:
      Toggle_List_Order(s_, list_);
      Fill_Grid();
      return true;
    case Qt::Key_End:
      if (has_rows) TDBG1->Go_To(grid.Rows() - 1, std::max(grid.Col(), 1));
      return true;
    case Qt::Key_Home:
      if (has_rows) TDBG1->Go_To(1, std::max(grid.Col(), 1));
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: DegistirBtn_Click(); return true;
    case Qt::Key_Delete:
      if (!Arama->text().isEmpty()) {
        Arama->clear();
        AramaTimer_Timer();
      }
      return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
      Arama->clear();
      Set_Sort_Column(list_, Next_Sort_Column(list_.sort_column, event->key() == Qt::Key_Left));
      TDBG1->Model()->headerDataChanged(Qt::Horizontal, 0, grid.Cols() - 1);
      FormBaslik->FormLabel->setText(Caption());
      AramaTimer_Timer();
      return true;
    case Qt::Key_Menu: {
      const QRect cell = TDBG1->Cell_Rect(std::max(grid.Row(), 1), kListCodeColumn);
      Show_Popup(TDBG1->viewport()->mapToGlobal(cell.center()));
      return true;
    }
    default: break;
  }
  const QString text = event->text();
  if (event->key() == Qt::Key_Backspace || (!text.isEmpty() && text.at(0).isPrint())) {
    QString search = Arama->text();
    const int code =
        event->key() == Qt::Key_Backspace ? 8 : static_cast<int>(text.toUcs4().value(0));
    search_pending_ = Search_Key_Press(search, code).result;
    Arama->setText(search);
    return true;
  }
  // Any other key acts on the rows of what was typed.
  if (search_pending_ || AramaTimer.isActive()) AramaTimer_Timer();
  return false;
}

bool MuhMaliTabloListe::Grid_Key_Up(QKeyEvent*) {
  if (search_pending_)
    AramaTimer.start();
  else
    AramaTimer.stop();
  return false;
}

void MuhMaliTabloListe::Heading_Click(int column) {
  if (column < 1 || column > 3) return;
  Arama->clear();
  Set_Sort_Column(list_, column);
  AramaTimer_Timer();
  Show_Rows();
}

void MuhMaliTabloListe::Blink() {
  const bool first = mercek1->isVisible();
  mercek1->setVisible(!first);
  mercek2->setVisible(first);
}

// ---------------------------------------------------------------------------------------------
// Commands

void MuhMaliTabloListe::Open_Definition(bool add, bool view) {
  if (add) {
    s_.Table_ID = 0;
    s_.Table_Code.clear();
    s_.Table_Name.clear();
    s_.Table_Type = list_.list_type;
  } else {
    ListedTable table;
    if (!Listed_Table(list_, list_.grid.Row(), table)) return;
    s_.Table_ID = table.id;
    s_.Table_Code = table.code;
    s_.Table_Name = table.name;
    s_.Table_Type = table.type;
  }
  s_.Add_Mode = add;
  s_.View_Mode = view;
  s_.Caller_Form = objectName();
  hide();
  definition_ = new MuhMaliTabloTanim(s_);
  // Shown again, the list reloads unless the window was left without a save.
  connect(definition_, &MuhMaliTabloTanim::closed, this, [this] {
    if (!closing_) show();
  });
  Attach_To_Opener(definition_, this);
  definition_->show();
}

void MuhMaliTabloListe::EkleBtn_Click() { Open_Definition(true, false); }

void MuhMaliTabloListe::DegistirBtn_Click() { Open_Definition(false, false); }

void MuhMaliTabloListe::InceleBtn_Click() { Open_Definition(false, true); }

void MuhMaliTabloListe::SilBtn_Click() {
  ListedTable table;
  const int row = list_.grid.Row();
  if (!Listed_Table(list_, row, table)) return;
  if (!s_.Message->Question(kDeleteTableQuestion)) return;
  Delete_Table(s_, table.id);
  // The list is read again from the database.
  list_.last_sql.clear();
  AramaTimer_Timer();
  TDBG1->setFocus();
}

void MuhMaliTabloListe::CikisBtn_Click() { close(); }

void MuhMaliTabloListe::closeEvent(QCloseEvent* event) {
  if (closing_) return event->accept();
  closing_ = true;
  AramaTimer.stop();
  Timer1.stop();
  s_.Child_Cancelled = false;
  event->accept();
  emit closed();
}

void MuhMaliTabloListe::Menu_Click(const QString& key) {
  if (key == "KeyEkle")
    EkleBtn_Click();
  else if (key == "KeyDegistir")
    DegistirBtn_Click();
  else if (key == "KeyIncele")
    InceleBtn_Click();
  else if (key == "KeySil")
    SilBtn_Click();
  else if (key == "KeyCikis")
    CikisBtn_Click();
}

void MuhMaliTabloListe::Show_Popup(const QPoint& global) {
  const bool has_rows = list_.grid.Rows() > 1;
  for (QAction* action : MNHepsi->actions()) {
    const QString name = action->objectName();
    if (name == "MNEkle") action->setVisible(true);
    if (name == "MNDegistir" || name == "MNSil" || name == "MNIncele") action->setVisible(has_rows);
  }
  MNHepsi->popup(global);
}

bool MuhMaliTabloListe::eventFilter(QObject* watched, QEvent* event) {
  auto* widget = qobject_cast<QWidget*>(watched);
  if (event->type() == QEvent::KeyPress && TDBG1 && widget && widget->window() == this) {
    auto* key = static_cast<QKeyEvent*>(event);
    const bool shift = key->modifiers() & Qt::ShiftModifier;
    switch (key->key()) {
      case Qt::Key_Insert: EkleBtn_Click(); return true;
      case Qt::Key_Escape: CikisBtn_Click(); return true;
      case Qt::Key_F5: InceleBtn_Click(); return true;
      case Qt::Key_Delete:
        if (!shift) break;
        SilBtn_Click();
        return true;
      default: break;
    }
  }
  if (TDBG1 && watched == TDBG1) {
    if (event->type() == QEvent::FocusIn) Timer1.start();
    if (event->type() == QEvent::FocusOut) Timer1.stop();
  }
  if (TDBG1 && watched == TDBG1->viewport() && event->type() == QEvent::MouseButtonRelease) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::RightButton) Show_Popup(mouse->globalPosition().toPoint());
  }
  return QWidget::eventFilter(watched, event);
}
