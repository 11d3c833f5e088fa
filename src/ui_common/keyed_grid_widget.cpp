// The item model over a keyed grid, its cell editors, and the table widget that routes cell
// moves and keys to the window's rules.
#include "ui_common/keyed_grid_widget.h"

#include <QBrush>
#include <QComboBox>
#include <QFont>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMetaMethod>
#include <QStyledItemDelegate>

#include "ui_common/turkish_text.h"

// ---------------------------------------------------------------------------------------------
// Model

KeyedGridModel::KeyedGridModel(KeyedGrid* grid, QObject* parent)
    : QAbstractTableModel(parent), grid_(grid) {}

void KeyedGridModel::Set_Check_Column(const QString& key) {
  const int col = grid_->Col_Index(key);
  if (col >= 0) check_columns_.insert(col);
}

void KeyedGridModel::Refresh() {
  beginResetModel();
  endResetModel();
}

void KeyedGridModel::Refresh_Row(int grid_row) {
  if (grid_row < 1 || grid_row >= grid_->Rows()) return;
  emit dataChanged(Cell_Index(grid_row, 0), Cell_Index(grid_row, grid_->Cols() - 1));
}

int KeyedGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : grid_->Rows() - 1;
}

int KeyedGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : grid_->Cols();
}

QVariant KeyedGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int row = Grid_Row(index), col = index.column();
  const bool check = Is_Check_Column(col);
  switch (role) {
    case Qt::DisplayRole:
      if (check) return {};
      return Shown_Text(row, col, grid_->Text(row, col));
    case Qt::EditRole: return grid_->Text(row, col);
    case Qt::CheckStateRole:
      if (!check) return {};
      return grid_->Text(row, col).compare("True", Qt::CaseInsensitive) == 0 ? Qt::Checked
                                                                             : Qt::Unchecked;
    case Qt::BackgroundRole: {
      const QColor color = grid_->Back_Color(row, col);
      if (color.isValid()) return QBrush(color);
      return {};
    }
    case Qt::ForegroundRole: {
      const QColor color = grid_->Fore_Color(row, col);
      if (color.isValid()) return QBrush(color);
      return {};
    }
    case Qt::FontRole:
      if (grid_->Bold(row, col)) {
        QFont font = font_;
        font.setBold(true);
        return font;
      }
      return {};
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(Qt::AlignVCenter |
                                 (check                          ? Qt::AlignHCenter
                                  : right_columns_.contains(col) ? Qt::AlignRight
                                                                 : Qt::AlignLeft));
    default: return {};
  }
}

QVariant KeyedGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal)
    return QAbstractTableModel::headerData(section, orientation, role);
  if (role == Qt::DisplayRole) return grid_->Text(0, section);
  if (role == Qt::ForegroundRole && grid_->Fore_Color(0, section).isValid())
    return QBrush(grid_->Fore_Color(0, section));
  if (role == Qt::FontRole && grid_->Bold(0, section)) {
    QFont font = font_;
    font.setBold(true);
    return font;
  }
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignVCenter | Qt::AlignLeft);
  return {};
}

Qt::ItemFlags KeyedGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  if (locked && locked(Grid_Row(index), index.column())) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (grid_->Editable())
    f |= Is_Check_Column(index.column()) ? Qt::ItemIsUserCheckable : Qt::ItemIsEditable;
  return f;
}

bool KeyedGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid()) return false;
  const int row = Grid_Row(index), col = index.column();
  if (role == Qt::CheckStateRole && Is_Check_Column(col)) {
    const bool ticked = value.toInt() == Qt::Checked;
    grid_->Set_Text(row, col, ticked ? "True" : "False");
  } else if (role == Qt::EditRole) {
    if (grid_->Text(row, col) == value.toString()) return true;
    grid_->Set_Text(row, col, value.toString());
  } else {
    return false;
  }
  emit cellEdited(row, col);
  // The rules may change other cells of the grid.
  emit dataChanged(this->index(0, 0), this->index(rowCount() - 1, columnCount() - 1));
  return true;
}

// ---------------------------------------------------------------------------------------------
// Cell editors: a combo box for a cell with a choice list, a line edit otherwise.

class KeyedGridDelegate : public QStyledItemDelegate {
 public:
  explicit KeyedGridDelegate(KeyedGridView* view) : QStyledItemDelegate(view), view_(view) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override {
    const KeyedGrid& grid = view_->Grid();
    const int row = KeyedGridModel::Grid_Row(index);
    const QString list = grid.Combo_List(row, grid.Col_Key(index.column()));
    QWidget* editor = nullptr;
    if (!list.isEmpty()) {
      auto* combo = new QComboBox(parent);
      // A list that starts with "|" lets the user type a value of their own; Enter keeps it as
      // typed, as leaving the cell does, instead of adding it to the list.
      combo->setEditable(list.startsWith('|'));
      combo->setInsertPolicy(QComboBox::NoInsert);
      for (const QString& item : list.split('|', Qt::SkipEmptyParts)) {
        QString shown = view_->Model()->Shown_Text(row, index.column(), item);
        shown.replace(kChoiceColumnSeparator, "    ");
        combo->addItem(shown, Choice_Item_Value(item));
      }
      editor = combo;
    } else {
      editor = QStyledItemDelegate::createEditor(parent, option, index);
    }
    view_->Editor_Created(editor);
    return editor;
  }

  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    auto* combo = qobject_cast<QComboBox*>(editor);
    if (!combo) {
      QStyledItemDelegate::setEditorData(editor, index);
      // Opened by typing, the cell's text is replaced by what is typed.
      if (auto* box = qobject_cast<QLineEdit*>(editor); box && view_->typing_opened_)
        box->selectAll();
      return;
    }
    const QString text = index.data(Qt::EditRole).toString();
    const int found = combo->findData(text);
    if (found >= 0)
      combo->setCurrentIndex(found);
    else if (combo->isEditable())
      combo->setEditText(text);
    if (combo->lineEdit() && view_->typing_opened_) combo->lineEdit()->selectAll();
  }

  void setModelData(QWidget* editor, QAbstractItemModel* model,
                    const QModelIndex& index) const override {
    auto* combo = qobject_cast<QComboBox*>(editor);
    if (!combo) return QStyledItemDelegate::setModelData(editor, model, index);
    QString value = combo->currentData().toString();
    if (combo->isEditable()) {
      // Typed text is the value unless it is an item's text exactly.
      const int found = combo->findText(combo->currentText(), Qt::MatchExactly);
      value = found >= 0 ? combo->itemData(found).toString() : combo->currentText();
    }
    model->setData(index, value, Qt::EditRole);
  }

 private:
  KeyedGridView* view_;
};

// ---------------------------------------------------------------------------------------------
// View

KeyedGridView::KeyedGridView(KeyedGrid* grid, QWidget* parent)
    : QTableView(parent), model_(new KeyedGridModel(grid, this)) {
  setModel(model_);
  setItemDelegate(new KeyedGridDelegate(this));
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                  QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
  setWordWrap(false);
  setTabKeyNavigation(false);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(19);  // 285 twips
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setSectionsClickable(false);
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  model_->Set_Font(font());
  Apply_Columns();
}

void KeyedGridView::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) model_->Set_Font(font());
  QTableView::changeEvent(event);
}

void KeyedGridView::Apply_Columns() {
  const KeyedGrid& grid = Grid();
  for (int col = 0; col < grid.Cols(); ++col) {
    setColumnHidden(col, grid.Col_Hidden(col));
    setColumnWidth(col, grid.Col_Width(col) / kTwipsPerPixel);
  }
}

void KeyedGridView::Refresh() {
  syncing_ = true;
  model_->Refresh();
  Apply_Columns();
  const KeyedGrid& grid = Grid();
  const QModelIndex index = model_->Cell_Index(grid.Row(), grid.Col());
  if (index.isValid()) setCurrentIndex(index);
  syncing_ = false;
}

void KeyedGridView::Go_To(int row, int col) {
  const QModelIndex index = model_->Cell_Index(row, col);
  if (!index.isValid()) return;
  Grid().Set_Current(row, col);
  if (index == currentIndex()) return;
  setCurrentIndex(index);
  scrollTo(index);
}

QRect KeyedGridView::Cell_Rect(int row, int col) const {
  return visualRect(model_->Cell_Index(row, col));
}

int KeyedGridView::Row_Height() const { return verticalHeader()->defaultSectionSize(); }

void KeyedGridView::Commit_Edit() {
  if (!editor_ || !Editing()) return;
  QWidget* editor = editor_;
  commitData(editor);
  closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void KeyedGridView::Edit_Current() {
  const QModelIndex index = currentIndex();
  if (index.isValid() && (model_->flags(index) & Qt::ItemIsEditable)) edit(index);
}

void KeyedGridView::Editor_Created(QWidget* editor) {
  editor_ = editor;
  combo_search_.clear();
  editor->installEventFilter(this);
  if (auto* combo = qobject_cast<QComboBox*>(editor); combo && combo->lineEdit())
    combo->lineEdit()->installEventFilter(this);
}

bool KeyedGridView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
  typing_opened_ = trigger == AnyKeyPressed;
  const bool opened = QTableView::edit(index, trigger, event);
  typing_opened_ = false;
  return opened;
}

bool KeyedGridView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && editor_key && editor_ &&
      (watched == editor_ || watched->parent() == editor_)) {
    if (editor_key(qobject_cast<QLineEdit*>(watched), static_cast<QKeyEvent*>(event))) return true;
  }
  auto* combo = qobject_cast<QComboBox*>(watched);
  if (event->type() == QEvent::KeyPress && combo && watched == editor_ && !combo->isEditable()) {
    const QString text = static_cast<QKeyEvent*>(event)->text();
    if (!text.isEmpty() && text.at(0).isPrint()) {
      // Typed letters choose the first item that shows them, case ignored by Turkish rules.
      if (!combo_typed_.isValid() || combo_typed_.elapsed() > 1000) combo_search_.clear();
      combo_typed_.start();
      combo_search_ += text;
      for (int i = 0; i < combo->count(); ++i) {
        if (!Starts_With_TR(combo->itemText(i), combo_search_)) continue;
        combo->setCurrentIndex(i);
        break;
      }
      return true;
    }
  }
  return QTableView::eventFilter(watched, event);
}

QModelIndex KeyedGridView::Cursor_Cell(int model_row, int col) const {
  if (model_row < 0 || model_row >= model_->rowCount() || isRowHidden(model_row)) return {};
  for (; col >= 0; --col) {
    const QModelIndex cell = model_->index(model_row, col);
    if (!isColumnHidden(col) && (model_->flags(cell) & Qt::ItemIsEnabled)) return cell;
  }
  return {};
}

QModelIndex KeyedGridView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  QModelIndex next = QTableView::moveCursor(action, modifiers);
  const QModelIndex current = currentIndex();
  // Up and Down reach the next row even where its cell in this column takes no cursor.
  if ((action == MoveUp || action == MoveDown) && current.isValid()) {
    const QModelIndex below =
        Cursor_Cell(current.row() + (action == MoveDown ? 1 : -1), current.column());
    if (below.isValid()) next = below;
  }
  if (next.isValid() && next != current && before_change &&
      !before_change(KeyedGridModel::Grid_Row(next), next.column()))
    return current;
  return next;
}

void KeyedGridView::mousePressEvent(QMouseEvent* event) {
  QModelIndex index = indexAt(event->position().toPoint());
  if (index.isValid() && !(model_->flags(index) & Qt::ItemIsEnabled)) {
    // A click on a cell that takes no cursor goes to its row's nearest one that does.
    index = Cursor_Cell(index.row(), index.column());
    if (index.isValid() &&
        (!before_change || before_change(KeyedGridModel::Grid_Row(index), index.column())))
      setCurrentIndex(index);
    event->accept();
    return;
  }
  if (index.isValid() && index != currentIndex() && before_change &&
      !before_change(KeyedGridModel::Grid_Row(index), index.column())) {
    event->accept();
    return;
  }
  QTableView::mousePressEvent(event);
}

void KeyedGridView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (isSignalConnected(QMetaMethod::fromSignal(&KeyedGridView::rowActivated))) {
    emit rowActivated(Grid().Row());
    event->accept();
    return;
  }
  QTableView::mouseDoubleClickEvent(event);
}

void KeyedGridView::keyPressEvent(QKeyEvent* event) {
  if (key_down && key_down(event)) {
    event->accept();
    return;
  }
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !Editing()) {
    Edit_Current();
    event->accept();
    return;
  }
  QTableView::keyPressEvent(event);
}

void KeyedGridView::keyReleaseEvent(QKeyEvent* event) {
  if (key_up && key_up(event)) {
    event->accept();
    return;
  }
  QTableView::keyReleaseEvent(event);
}

void KeyedGridView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  if (!current.isValid()) return;
  const int old_row = last_row_, old_col = last_col_;
  last_row_ = KeyedGridModel::Grid_Row(current);
  last_col_ = current.column();
  Grid().Set_Current(last_row_, last_col_);
  if (!syncing_) emit currentCellChanged(last_row_, last_col_, old_row, old_col);
}

void KeyedGridView::scrollContentsBy(int dx, int dy) {
  QTableView::scrollContentsBy(dx, dy);
  emit scrolled();
}
