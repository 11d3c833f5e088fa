// The part of an ADO recordset the program uses. A recordset is opened on the connection with a
// statement and reads its rows whole; it is then walked with the moves, searched with Find,
// read field by field (Null included) and, when opened for update, changed with AddNew and
// SetField and written back by UpdateBatch: one INSERT or UPDATE of the statement's single
// source table by its key per changed row. Misuse raises DbError with ADO's numbers.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

#include "db/connection.h"

enum class LockType { ReadOnly = 1, BatchOptimistic = 4 };

class Recordset {
 public:
  // Runs `sql`; a statement that returns no rows leaves the recordset closed, as ADO does.
  void Open(const std::shared_ptr<Connection>& connection, const QString& sql, LockType lock);
  void Close();
  bool Is_Open() const { return open_; }
  int State() const { return open_ ? 1 : 0; }
  // The statement last opened (ADO's Source).
  const QString& Source() const { return sql_; }

  bool Eof() const;
  bool Bof() const;
  int Record_Count() const;
  void Move_First();
  void Move_Next();
  void Move_Previous();
  void Move_Last();
  // ADO Find with a criterion "Column = value" (value optionally in quotes), searching
  // forward from the current row; leaves EOF set when nothing matches.
  bool Find(const QString& criterion);
  // ADO's Sort: orders the rows read by the named columns (Null first, numbers by value) and
  // goes to the first; rows that tie keep the order the engine gave them.
  void Sort(const QStringList& columns);

  bool Has_Field(const QString& name) const;
  QVariant Field(const QString& name) const;
  bool Is_Null(const QString& name) const { return Field(name).isNull(); }
  QString Text(const QString& name) const;   // Null reads as ""
  double Number(const QString& name) const;  // Null reads as 0
  QStringList Field_Names() const { return columns_; }

  void Add_New();
  void Set_Field(const QString& name, const QVariant& value);
  void Update_Batch();
  void Cancel_Batch();

 private:
  struct Row {
    std::vector<QVariant> values;
    std::vector<bool> changed;
    bool is_new = false;
  };
  void Require_Open() const;
  void Require_Current() const;
  int Column(const QString& name) const;

  std::shared_ptr<Connection> connection_;
  QString sql_;
  LockType lock_ = LockType::ReadOnly;
  bool open_ = false;
  QStringList columns_;
  std::vector<Row> rows_;
  int position_ = 0;  // -1 is BOF, rows_.size() is EOF
};
