// A keyed grid: rows of text cells addressed by column key, the plain data behind every grid of
// the program (the definition grids, the run window's filter grid, the multiple-choice popup,
// the row editor's lists). Row 0 is the header row; data rows start at 1. Each cell may carry a
// choice list ("a|b|c"), a background and a text colour and a bold flag; columns may be hidden
// and have a width in twips; the grid has a current cell and an editable flag. Windows show a
// keyed grid through a model adapter; every rule on grids is written against this class.
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <vector>

// Item separator of a two-column choice-list item: the value written into the cell comes before
// it, the second column after it ("120.01\tYıldız Market").
inline constexpr QChar kChoiceColumnSeparator = u'\t';
// The value a choice-list item writes into its cell.
inline QString Choice_Item_Value(const QString& item) {
  return item.section(kChoiceColumnSeparator, 0, 0);
}

class KeyedGrid {
 public:
  KeyedGrid() = default;
  // A grid with these column keys and only its header row.
  explicit KeyedGrid(const QStringList& keys);

  // Columns.
  int Cols() const { return static_cast<int>(keys_.size()); }
  const QStringList& Keys() const { return keys_; }
  int Col_Index(const QString& key) const;  // -1 when there is no such column
  QString Col_Key(int col) const { return keys_.value(col); }
  bool Col_Hidden(int col) const { return columns_.at(col).hidden; }
  void Set_Col_Hidden(int col, bool hidden) { columns_.at(col).hidden = hidden; }
  int Col_Width(int col) const { return columns_.at(col).width; }
  void Set_Col_Width(int col, int twips) { columns_.at(col).width = twips; }

  // Rows; Rows() counts the header row.
  int Rows() const { return static_cast<int>(cells_.size()); }
  void Set_Rows(int rows);   // at least 1 (the header)
  int Add_Row();             // appends an empty row, returns its index
  void Insert_Row(int row);  // inserts an empty row before `row`
  void Remove_Row(int row);
  void Clear_Rows() { Set_Rows(1); }

  // Cells by key or by column index. Reading outside the grid gives "".
  QString Text(int row, const QString& key) const;
  QString Text(int row, int col) const;
  void Set_Text(int row, const QString& key, const QString& text);
  void Set_Text(int row, int col, const QString& text);
  QString Combo_List(int row, const QString& key) const;
  void Set_Combo_List(int row, const QString& key, const QString& list);
  QColor Back_Color(int row, int col) const;  // invalid colour means the grid's default
  void Set_Back_Color(int row, int col, const QColor& color);
  QColor Fore_Color(int row, int col) const;  // invalid colour means the grid's default
  void Set_Fore_Color(int row, int col, const QColor& color);
  bool Bold(int row, int col) const;
  void Set_Bold(int row, int col, bool bold);

  // First data row at or after `from` whose cell in `key` equals `text`; -1 when none.
  int Find_Row(const QString& key, const QString& text, int from = 1) const;

  // Current cell and editing.
  int Row() const { return row_; }
  int Col() const { return col_; }
  void Set_Current(int row, int col) {
    row_ = row;
    col_ = col;
  }
  bool Editable() const { return editable_; }
  void Set_Editable(bool editable) { editable_ = editable; }

 private:
  struct Cell {
    QString text;
    QString combo;
    QColor back;
    QColor fore;
    bool bold = false;
  };
  struct Column {
    bool hidden = false;
    int width = 1200;
  };
  int Require_Col(const QString& key) const;
  std::vector<Cell>& Row_Cells(int row);

  QStringList keys_;
  std::vector<Column> columns_;
  std::vector<std::vector<Cell>> cells_{1};
  int row_ = 0;
  int col_ = 0;
  bool editable_ = false;
};
