#include "ui_common/keyed_grid.h"

#include <stdexcept>

KeyedGrid::KeyedGrid(const QStringList& keys) : keys_(keys), columns_(keys.size()) {
  cells_.assign(1, std::vector<Cell>(keys.size()));
}

int KeyedGrid::Col_Index(const QString& key) const { return static_cast<int>(keys_.indexOf(key)); }

int KeyedGrid::Require_Col(const QString& key) const {
  int col = Col_Index(key);
  if (col < 0) throw std::out_of_range("KeyedGrid: no column " + key.toStdString());
  return col;
}

std::vector<KeyedGrid::Cell>& KeyedGrid::Row_Cells(int row) {
  if (row < 0 || row >= Rows()) throw std::out_of_range("KeyedGrid: no row " + std::to_string(row));
  return cells_[row];
}

void KeyedGrid::Set_Rows(int rows) {
  cells_.resize(std::max(rows, 1), std::vector<Cell>(keys_.size()));
  if (row_ >= Rows()) row_ = Rows() - 1;
}

int KeyedGrid::Add_Row() {
  cells_.emplace_back(keys_.size());
  return Rows() - 1;
}

void KeyedGrid::Insert_Row(int row) {
  if (row < 1 || row > Rows())
    throw std::out_of_range("KeyedGrid: cannot insert at " + std::to_string(row));
  cells_.insert(cells_.begin() + row, std::vector<Cell>(keys_.size()));
}

void KeyedGrid::Remove_Row(int row) {
  if (row < 1 || row >= Rows())
    throw std::out_of_range("KeyedGrid: cannot remove " + std::to_string(row));
  cells_.erase(cells_.begin() + row);
  if (row_ >= Rows()) row_ = Rows() - 1;
}

QString KeyedGrid::Text(int row, const QString& key) const { return Text(row, Col_Index(key)); }

QString KeyedGrid::Text(int row, int col) const {
  if (row < 0 || row >= Rows() || col < 0 || col >= Cols()) return {};
  return cells_[row][col].text;
}

void KeyedGrid::Set_Text(int row, const QString& key, const QString& text) {
  Set_Text(row, Require_Col(key), text);
}

void KeyedGrid::Set_Text(int row, int col, const QString& text) {
  Row_Cells(row).at(col).text = text;
}

QString KeyedGrid::Combo_List(int row, const QString& key) const {
  int col = Col_Index(key);
  if (row < 0 || row >= Rows() || col < 0) return {};
  return cells_[row][col].combo;
}

void KeyedGrid::Set_Combo_List(int row, const QString& key, const QString& list) {
  Row_Cells(row).at(Require_Col(key)).combo = list;
}

QColor KeyedGrid::Back_Color(int row, int col) const {
  if (row < 0 || row >= Rows() || col < 0 || col >= Cols()) return {};
  return cells_[row][col].back;
}

void KeyedGrid::Set_Back_Color(int row, int col, const QColor& color) {
  Row_Cells(row).at(col).back = color;
}

QColor KeyedGrid::Fore_Color(int row, int col) const {
  if (row < 0 || row >= Rows() || col < 0 || col >= Cols()) return {};
  return cells_[row][col].fore;
}

void KeyedGrid::Set_Fore_Color(int row, int col, const QColor& color) {
  Row_Cells(row).at(col).fore = color;
}

bool KeyedGrid::Bold(int row, int col) const {
  if (row < 0 || row >= Rows() || col < 0 || col >= Cols()) return false;
  return cells_[row][col].bold;
}

void KeyedGrid::Set_Bold(int row, int col, bool bold) { Row_Cells(row).at(col).bold = bold; }

int KeyedGrid::Find_Row(const QString& key, const QString& text, int from) const {
  int col = Col_Index(key);
  if (col < 0) return -1;
  for (int r = std::max(from, 1); r < Rows(); ++r)
    if (cells_[r][col].text == text) return r;
  return -1;
}
