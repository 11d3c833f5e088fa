// The definition window: its grids and frames, the row menu, the keys, the saves.
#include "editor/table_definition_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/code_name_dialog.h"
#include "editor/definition_editing.h"
#include "editor/form_title_panel.h"
#include "editor/row_editor_window.h"
#include "process/app_state.h"
#include "ui_common/command_button_widget.h"
#include "ui_common/keyed_grid_widget.h"
#include "ui_common/twips.h"

namespace {

MuhMaliTabloTanim::RowEditorOpener& Row_Editor() {
  static MuhMaliTabloTanim::RowEditorOpener opener = [](MuhMaliTabloTanim& window) {
    MuhMaliTabloSatir::Open(window.State(), window);
  };
  return opener;
}

QFrame* Make_Frame(QWidget* parent, const char* name) {
  auto* frame = new QFrame(parent);
  frame->setObjectName(name);
  frame->setFrameShape(QFrame::Box);
  frame->setFrameShadow(QFrame::Sunken);
  auto* layout = new QVBoxLayout(frame);
  layout->setContentsMargins(2, 2, 2, 2);
  return frame;
}

}  // namespace

void MuhMaliTabloTanim::Set_Row_Editor(RowEditorOpener opener) { Row_Editor() = std::move(opener); }

MuhMaliTabloTanim::MuhMaliTabloTanim(AppState& state, QWidget* parent)
    : QWidget(parent, Qt::Window), s_(state), def_(Open_Table_Definition(state)) {
  setObjectName("MuhMaliTabloTanim");
  setAttribute(Qt::WA_DeleteOnClose);
  Build_Controls();
  Build_Row_Menu();
  Show_Title();
  active_ = FisGrd;
  // As in any grid with a fixed header row, the first definition row is the current one.
  for (KeyedGridView* grid : {FisGrd, PasifGrd, DipNotGrd})
    if (grid->Grid().Rows() > 1) grid->Go_To(1, grid->Grid().Col_Index("Satir_Kodu"));
  if (def_.view_flag) Lock_For_View();
  saved_snapshot_ = Definition_Snapshot(def_);
  // The window sees keys before its controls, and its grids' focus and mouse presses.
  qApp->installEventFilter(this);
}

MuhMaliTabloTanim::~MuhMaliTabloTanim() {
  qApp->removeEventFilter(this);
  KaydetBtn = nullptr;
  FisGrd = PasifGrd = DipNotGrd = nullptr;
  // The views show the definition's grids: they go before it.
  qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
}

KeyedGridView* MuhMaliTabloTanim::Make_Grid(int placement, QWidget* parent) {
  KeyedGrid& rows = def_.Grid(placement);
  Show_Definition_Columns(rows, placement);
  auto* grid = new KeyedGridView(&rows, parent);
  grid->setObjectName(Placement_Grid_Name(placement));
  grid->setAlternatingRowColors(true);
  grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid->horizontalHeader()->setStretchLastSection(true);
  grid->Model()->shown = [&rows](int row, int col, const QString& value) {
    return Definition_Cell_Text(rows, row, rows.Col_Key(col), value);
  };
  grid->Apply_Columns();
  // The shown columns in their own order, whatever the order of the stored ones.
  int visual = 0;
  for (const ShownColumn& column : Definition_Shown_Columns(placement)) {
    QHeaderView* header = grid->horizontalHeader();
    header->moveSection(header->visualIndex(rows.Col_Index(column.key)), visual++);
  }
  connect(grid, &KeyedGridView::rowActivated, this, [this] { Menu_Item("MnSatirDegistir"); });
  grid->key_down = [this, grid](QKeyEvent* e) { return Grid_Key_Down(grid, e); };
  return grid;
}

void MuhMaliTabloTanim::Build_Controls() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 8);
  layout->setSpacing(6);
  FormBaslik = new FormTitlePanel(Definition_Window_Title(def_.code, def_.name), this);
  connect(FormBaslik->KapatButon, &QPushButton::clicked, this, &MuhMaliTabloTanim::CikisBtn_Click);
  layout->addWidget(FormBaslik);

  auto* grids = new QHBoxLayout;
  grids->setContentsMargins(8, 0, 8, 0);
  AktifShape = Make_Frame(this, "AktifShape");
  FisGrd = Make_Grid(kPlaceMain, AktifShape);
  AktifShape->layout()->addWidget(FisGrd);
  PasifShape = Make_Frame(this, "PasifShape");
  PasifGrd = Make_Grid(kPlacePassive, PasifShape);
  PasifShape->layout()->addWidget(PasifGrd);
  grids->addWidget(AktifShape, 1);
  grids->addWidget(PasifShape, 1);
  if (Shows_Passive_Grid(def_.kind)) {
    AktifShape->setMinimumWidth(480);
    PasifShape->setMinimumWidth(480);
  } else {
    AktifShape->setMinimumWidth((kWideMainGridTwips + kWideFrameExtraTwips) / kTwipsPerPixel);
    PasifShape->hide();
  }
  layout->addLayout(grids, 1);

  DipNotPnl = Make_Frame(this, "DipNotPnl");
  DipNotGrd = Make_Grid(kPlaceFootnote, DipNotPnl);
  DipNotPnl->layout()->addWidget(DipNotGrd);
  DipNotPnl->setMinimumHeight(180);
  DipNotPnl->hide();
  auto* footnotes = new QHBoxLayout;
  footnotes->setContentsMargins(8, 0, 8, 0);
  footnotes->addWidget(DipNotPnl);
  layout->addLayout(footnotes);

  auto* buttons = new QHBoxLayout;
  buttons->setContentsMargins(8, 0, 8, 0);
  auto* hint = new QLabel(
      "Satır işlemleri için tabloda sağ tıklayın (Menü tuşu, Shift+F10); Ctrl+Yukarı/Aşağı "
      "satırı taşır.",
      this);
  hint->setEnabled(false);
  buttons->addWidget(hint);
  buttons->addStretch();
  KaydetBtn = Command_Button(this, buttons, "&Kaydet", "KaydetBtn", 110);
  FKaydetBtn = Command_Button(this, buttons, "&Farklı Kaydet", "FKaydetBtn", 110);
  CikisBtn = Command_Button(this, buttons, "&Çıkış ", "CikisBtn", 110);
  for (QPushButton* b : {KaydetBtn, FKaydetBtn, CikisBtn}) b->setFocusPolicy(Qt::TabFocus);
  layout->addLayout(buttons);
  connect(KaydetBtn, &QPushButton::clicked, this, &MuhMaliTabloTanim::KaydetBtn_Click);
  connect(FKaydetBtn, &QPushButton::clicked, this, &MuhMaliTabloTanim::FKaydetBtn_Click);
  connect(CikisBtn, &QPushButton::clicked, this, &MuhMaliTabloTanim::CikisBtn_Click);
  resize(1010, 640);
}

void MuhMaliTabloTanim::Show_Title() {
  const QString title = Definition_Window_Title(def_.code, def_.name);
  setWindowTitle(title);
  FormBaslik->FormLabel->setText(title);
}

void MuhMaliTabloTanim::Build_Row_Menu() {
  MnHepsi = new QMenu("Hepsi", this);
  MnHepsi->setObjectName("MnHepsi");
  for (const RowMenuItem& item : Row_Menu_Items()) {
    QAction* action = nullptr;
    if (item.name == "MnSayfaDuzeni") {
      QMenu* page = MnHepsi->addMenu(item.caption);
      page->setObjectName("MnSayfaDuzeniMenu");
      for (const RowMenuItem& layout_item : Page_Layout_Items()) {
        QAction* added = page->addAction(layout_item.caption);
        added->setObjectName(layout_item.name);
        connect(added, &QAction::triggered, this,
                [this, name = layout_item.name] { Menu_Item(name); });
      }
      action = page->menuAction();
    } else {
      action = MnHepsi->addAction(item.caption);
      if (item.name == "MnYukari") action->setShortcut(QKeySequence("Ctrl+Up"));
      if (item.name == "MnAsagi") action->setShortcut(QKeySequence("Ctrl+Down"));
      // The grids take these keys themselves; the menu only shows them.
      action->setShortcutContext(Qt::WidgetShortcut);
      connect(action, &QAction::triggered, this, [this, name = item.name] { Menu_Item(name); });
    }
    action->setObjectName(item.name);
  }
}

int MuhMaliTabloTanim::Active_Placement() const {
  if (active_ == DipNotGrd) return kPlaceFootnote;
  if (active_ == PasifGrd) return kPlacePassive;
  return kPlaceMain;
}

void MuhMaliTabloTanim::Lock_For_View() {
  for (KeyedGridView* grid : {FisGrd, PasifGrd, DipNotGrd}) {
    grid->Grid().Set_Editable(false);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  }
  KaydetBtn->hide();
  FKaydetBtn->hide();
}

void MuhMaliTabloTanim::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (active_) active_->setFocus();
}

// ---------------------------------------------------------------------------------------------
// Saving and leaving

void MuhMaliTabloTanim::Save(bool as_new) {
  const bool stored = Save_Definition(s_, def_, as_new, [this] {
    RaporKodAdFrm dialog(s_, this);
    dialog.exec();
    return !dialog.Kayit_Iptal();
  });
  if (stored) {
    saved_ = true;
    saved_snapshot_ = Definition_Snapshot(def_);
    Show_Title();
    Refresh_Grids();
  }
}

void MuhMaliTabloTanim::KaydetBtn_Click() { Save(false); }

void MuhMaliTabloTanim::FKaydetBtn_Click() { Save(true); }

void MuhMaliTabloTanim::CikisBtn_Click() { close(); }

void MuhMaliTabloTanim::closeEvent(QCloseEvent* event) {
  if (closing_) return event->accept();
  if (!def_.view_flag && Definition_Snapshot(def_) != saved_snapshot_ &&
      !s_.Message->Question(kUnsavedChangesQuestion))
    return event->ignore();
  closing_ = true;
  // Left without a save, the list below keeps what it shows; after a save it reloads.
  s_.Child_Cancelled = !saved_;
  event->accept();
  emit closed(saved_);
}

// ---------------------------------------------------------------------------------------------
// Row menu

void MuhMaliTabloTanim::Menu_Item(const QString& name) {
  for (const RowMenuItem& item : Row_Menu_Items()) {
    if (item.name != name || item.row_type == 0) continue;
    Satir_Tipi = item.row_type;
    s_.Add_Mode = true;
    s_.View_Mode = false;
    return Open_Row_Editor();
  }
  KeyedGrid& grid = active_->Grid();
  for (const RowMenuItem& item : Page_Layout_Items()) {
    if (item.name != name) continue;
    Insert_Definition_Row(grid, Page_Layout_Row(item.row_type));
    return active_->Refresh();
  }
  if (name == "MnYukari" || name == "MnAsagi") {
    if (Move_Current_Row(grid, name == "MnYukari" ? -1 : 1)) active_->Refresh();
    return;
  }
  if (name == "MnSatirDegistir") {
    const int type = Row_To_Change(grid);
    if (type < 0) return;
    Satir_Tipi = type;
    s_.Add_Mode = false;
    s_.View_Mode = false;
    Open_Row_Editor();
  } else if (name == "MnSatir_Sil") {
    if (!s_.Message->Question(kDeleteRowQuestion)) return;
    if (Delete_Current_Row(grid)) active_->Refresh();
  } else if (name == "MnDipNot") {
    Toggle_Footnotes();
  }
}

void MuhMaliTabloTanim::Open_Row_Editor() {
  s_.Caller_Form = objectName();
  if (!Row_Editor()) return;
  Row_Editor()(*this);
}

void MuhMaliTabloTanim::Row_Editor_Closed() {
  Refresh_Grids();
  show();
  if (active_) active_->setFocus();
}

void MuhMaliTabloTanim::Refresh_Grids() {
  for (KeyedGridView* grid : {FisGrd, PasifGrd, DipNotGrd}) grid->Refresh();
}

void MuhMaliTabloTanim::Toggle_Footnotes() {
  FisGrd->setEnabled(!FisGrd->isEnabled());
  PasifGrd->setEnabled(!PasifGrd->isEnabled());
  DipNotPnl->setVisible(!DipNotPnl->isVisible());
  KeyedGridView* target = DipNotPnl->isVisible() ? DipNotGrd : FisGrd;
  target->setFocus();
  active_ = target;
}

void MuhMaliTabloTanim::Show_Row_Menu(KeyedGridView* grid, const QPoint& global) {
  active_ = grid;
  grid->setFocus();
  const int placement = Active_Placement();
  for (QAction* action : MnHepsi->actions())
    action->setVisible(Row_Menu_Item_Visible(action->objectName(), placement));
  MnHepsi->popup(global);
}

void MuhMaliTabloTanim::Grid_Pressed(KeyedGridView* grid, QMouseEvent* mouse) {
  active_ = grid;
  grid->setFocus();
  if (mouse->button() != Qt::RightButton) return;
  // Below the last row, the menu acts as on the last row: a new row goes to the end.
  const int rows = grid->Grid().Rows();
  if (!grid->indexAt(mouse->position().toPoint()).isValid() && rows > 1)
    grid->Go_To(rows - 1, grid->Grid().Col());
  Show_Row_Menu(grid, mouse->globalPosition().toPoint());
}

// ---------------------------------------------------------------------------------------------
// Keys and focus

bool MuhMaliTabloTanim::Grid_Key_Down(KeyedGridView* grid, QKeyEvent* event) {
  const int key = event->key();
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    Menu_Item("MnSatirDegistir");
    return true;
  }
  if (key == Qt::Key_Menu || (key == Qt::Key_F10 && event->modifiers() & Qt::ShiftModifier)) {
    const KeyedGrid& rows = grid->Grid();
    const QRect cell = grid->Cell_Rect(rows.Row() > 0 ? rows.Row() : 1, rows.Col());
    Show_Row_Menu(grid, grid->viewport()->mapToGlobal(cell.bottomLeft()));
    return true;
  }
  if ((key == Qt::Key_Up || key == Qt::Key_Down) && event->modifiers() & Qt::ControlModifier &&
      !def_.view_flag) {
    Menu_Item(key == Qt::Key_Up ? "MnYukari" : "MnAsagi");
    return true;
  }
  if (key == Qt::Key_Left || key == Qt::Key_Right) {
    KeyedGridView* other = grid == FisGrd ? PasifGrd : grid == PasifGrd ? FisGrd : nullptr;
    const bool can_go =
        other == PasifGrd ? other->isEnabled() && other->isVisible() : other && other->isEnabled();
    if (can_go) {
      other->setFocus();
      active_ = other;
      return true;
    }
  }
  if (key == Qt::Key_Escape && grid == DipNotGrd) {
    Menu_Item("MnDipNot");
    return true;
  }
  return false;
}

void MuhMaliTabloTanim::Grid_Focus_In(KeyedGridView* grid) {
  active_ = grid;
  QPalette palette = grid->palette();
  palette.setColor(QPalette::Highlight, Focus_Selection_Color());
  palette.setColor(QPalette::HighlightedText, Qt::black);
  grid->setPalette(palette);
}

void MuhMaliTabloTanim::Grid_Focus_Out(KeyedGridView* grid) {
  QPalette palette = grid->palette();
  const QColor color = Unfocused_Selection_Color(grid->Grid().Row(), palette.color(QPalette::Base),
                                                 palette.color(QPalette::AlternateBase));
  palette.setColor(QPalette::Highlight, color);
  palette.setColor(QPalette::HighlightedText, palette.color(QPalette::Text));
  grid->setPalette(palette);
}

bool MuhMaliTabloTanim::eventFilter(QObject* watched, QEvent* event) {
  auto* widget = qobject_cast<QWidget*>(watched);
  if (event->type() == QEvent::KeyPress && KaydetBtn && widget && widget->window() == this &&
      isEnabled()) {
    auto* key = static_cast<QKeyEvent*>(event);
    int code = 0;
    if (key->key() == Qt::Key_F2) code = 113;
    if (key->key() == Qt::Key_F3) code = 114;
    if (key->key() == Qt::Key_Escape) code = 27;
    switch (Definition_Window_Key(code, KaydetBtn->isVisible(), s_.View_Mode)) {
      case DefinitionKey::Save: KaydetBtn_Click(); return true;
      case DefinitionKey::Exit: CikisBtn_Click(); return true;
      case DefinitionKey::None: break;
    }
  }
  for (KeyedGridView* grid : {FisGrd, PasifGrd, DipNotGrd}) {
    if (!grid) continue;
    if (watched == grid && event->type() == QEvent::FocusIn) Grid_Focus_In(grid);
    if (watched == grid && event->type() == QEvent::FocusOut) Grid_Focus_Out(grid);
    if (watched == grid->viewport() && event->type() == QEvent::MouseButtonPress)
      Grid_Pressed(grid, static_cast<QMouseEvent*>(event));
  }
  return QWidget::eventFilter(watched, event);
}
