// The rows a report runs over. ReportDataSource is the small interface the engine reads (row
// count, value by row and column); ReportRows holds rows in memory and is filled by a test, from
// an open Recordset, or from an SQL text opened with Open_Recordset.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

struct AppState;
class Recordset;

class ReportDataSource {
 public:
  virtual ~ReportDataSource() = default;
  virtual int Row_Count() const = 0;
  // Null for an unknown column or a row out of range.
  virtual QVariant Value(int row, const QString& column) const = 0;
};

class ReportRows : public ReportDataSource {
 public:
  ReportRows() = default;
  explicit ReportRows(QStringList columns) : columns_(std::move(columns)) {}

  // Values in the order of the columns; missing trailing values are null.
  void Add_Row(std::vector<QVariant> values);
  const QStringList& Columns() const { return columns_; }

  int Row_Count() const override { return static_cast<int>(rows_.size()); }
  QVariant Value(int row, const QString& column) const override;

 private:
  QStringList columns_;
  std::vector<std::vector<QVariant>> rows_;
};

// Every row of an open recordset from its first, read field by field (the recordset is left at
// EOF). A closed recordset gives no rows.
ReportRows Report_Rows(Recordset& rs);
// The rows of `sql` opened read-only through Open_Recordset; a failing statement has shown its
// messages there and gives no rows.
ReportRows Report_Rows(AppState& state, const QString& sql);
