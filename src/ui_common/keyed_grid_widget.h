// A keyed grid on screen. KeyedGridModel adapts a KeyedGrid to Qt's item views: data row r of
// the grid is model row r - 1, the grid's row 0 is the horizontal heading; cells show their
// text, background colour and weight; Boolean columns show check boxes; a cell with a choice
// list is edited in a combo box, in which typed letters choose the first item that shows them
// (case ignored by Turkish rules); a cell opened by typing has its text replaced by what is
// typed. A click on a cell that takes no cursor, and Up or Down onto one, go to the nearest cell
// of that row to its left that does. KeyedGridView is the table widget over one: it keeps the
// grid's current cell in step with its own, takes column widths (twips, 15 to a pixel) and
// hidden columns from the grid, and hands every cell move, key and edit to the window's rules
// through its hooks before Qt acts on them (the rules that may refuse or take them) and its
// signals after.
#pragma once

#include <QAbstractTableModel>
#include <QElapsedTimer>
#include <QFont>
#include <QPointer>
#include <QSet>
#include <QTableView>
#include <functional>

#include "ui_common/keyed_grid.h"
#include "ui_common/twips.h"

class QKeyEvent;
class QLineEdit;

class KeyedGridModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit KeyedGridModel(KeyedGrid* grid, QObject* parent = nullptr);

  KeyedGrid& Grid() { return *grid_; }
  const KeyedGrid& Grid() const { return *grid_; }
  // Cells of this column hold "True"/"False" and show as check boxes.
  void Set_Check_Column(const QString& key);
  bool Is_Check_Column(int col) const { return check_columns_.contains(col); }
  // Cells of this column (amounts) stand at the right.
  void Set_Right_Aligned(int col) { right_columns_.insert(col); }
  // The view's font, which bold cells and headings are drawn in.
  void Set_Font(const QFont& font) { font_ = font; }
  // The grid's rows changed (count or contents).
  void Refresh();
  // The texts of one grid row changed.
  void Refresh_Row(int grid_row);

  static int Grid_Row(const QModelIndex& index) { return index.row() + 1; }
  QModelIndex Cell_Index(int grid_row, int col) const { return index(grid_row - 1, col); }

  // A cell that takes neither the cursor nor typing (it still shows its text and colour).
  std::function<bool(int row, int col)> locked;
  // The text a cell (or a choice-list item of the cell) shows for a stored value; the stored
  // value itself is unchanged. Without it the value shows as it is.
  std::function<QString(int row, int col, const QString& value)> shown;
  QString Shown_Text(int row, int col, const QString& value) const {
    return shown ? shown(row, col, value) : value;
  }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

 signals:
  // The user changed a cell (grid row, column).
  void cellEdited(int row, int col);

 private:
  KeyedGrid* grid_;
  QSet<int> check_columns_;
  QSet<int> right_columns_;
  QFont font_;
};

class KeyedGridView : public QTableView {
  Q_OBJECT
 public:
  explicit KeyedGridView(KeyedGrid* grid, QWidget* parent = nullptr);
  using QTableView::edit;

  KeyedGrid& Grid() { return model_->Grid(); }
  KeyedGridModel* Model() { return model_; }
  // Widths and hidden columns from the grid.
  void Apply_Columns();
  // Reloads every row and puts the view's current cell on the grid's.
  void Refresh();
  void Refresh_Row(int grid_row) { model_->Refresh_Row(grid_row); }
  // Moves the current cell without asking `before_change`; currentCellChanged follows.
  void Go_To(int row, int col);
  // The cell's rectangle in the viewport's coordinates.
  QRect Cell_Rect(int row, int col) const;
  int Row_Height() const;
  bool Editing() const { return state() == QAbstractItemView::EditingState; }
  // Writes an open cell editor's text into the grid and closes it.
  void Commit_Edit();
  // Opens the editor on the current cell when the grid is editable.
  void Edit_Current();

  // Before the current cell moves to (row, col) by key or mouse; false keeps it where it is.
  std::function<bool(int row, int col)> before_change;
  // Keys on the grid itself (not in a cell editor); true takes the key.
  std::function<bool(QKeyEvent*)> key_down;
  std::function<bool(QKeyEvent*)> key_up;
  // Keys in a cell editor before the editor sees them; true takes the key.
  std::function<bool(QLineEdit* editor, QKeyEvent*)> editor_key;

 signals:
  // The current cell moved (previous cell given).
  void currentCellChanged(int row, int col, int old_row, int old_col);
  // A row was double-clicked; while anything listens, a double click opens no cell editor.
  void rowActivated(int row);
  void scrolled();

 protected:
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void scrollContentsBy(int dx, int dy) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;

 private:
  friend class KeyedGridDelegate;
  void Editor_Created(QWidget* editor);
  // The cell of model row `model_row` at `col` or, when that one takes no cursor, the nearest
  // to its left that does; none when the row has none.
  QModelIndex Cursor_Cell(int model_row, int col) const;

  KeyedGridModel* model_;
  QPointer<QWidget> editor_;
  bool syncing_ = false;
  bool typing_opened_ = false;  // the editor being opened was opened by a typed key
  QString combo_search_;        // letters typed into a choice list's editor
  QElapsedTimer combo_typed_;
  int last_row_ = 0;
  int last_col_ = 0;
};
