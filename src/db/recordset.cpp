#include "db/recordset.h"

#include <QRegularExpression>
#include <algorithm>

void Recordset::Open(const std::shared_ptr<Connection>& connection, const QString& sql,
                     LockType lock) {
  Close();
  connection_ = connection;
  sql_ = sql;
  lock_ = lock;
  if (!connection_) throw DbError{kErrConnectionRefused, "Veritabanı bağlantısı açık değil."};
  QueryResult result = connection_->Execute(sql);
  if (!result.has_rows) return;
  columns_ = result.columns;
  rows_.reserve(result.rows.size());
  for (auto& values : result.rows) {
    Row row;
    row.changed.assign(values.size(), false);
    row.values = std::move(values);
    rows_.push_back(std::move(row));
  }
  position_ = 0;
  open_ = true;
}

void Recordset::Close() {
  open_ = false;
  columns_.clear();
  rows_.clear();
  position_ = 0;
}

void Recordset::Require_Open() const {
  if (!open_) throw DbError{kErrObjectClosed, "Nesne kapalıyken bu işleme izin verilmez."};
}

void Recordset::Require_Current() const {
  Require_Open();
  if (position_ < 0 || position_ >= static_cast<int>(rows_.size()))
    throw DbError{
        kErrNoCurrentRecord,
        "BOF veya EOF True ya da geçerli kayıt silinmiş. İstenen işlem geçerli bir kayıt gerektiriyor."};
}

bool Recordset::Eof() const {
  Require_Open();
  return position_ >= static_cast<int>(rows_.size());
}
bool Recordset::Bof() const {
  Require_Open();
  return position_ < 0 || rows_.empty();
}
int Recordset::Record_Count() const {
  Require_Open();
  return static_cast<int>(rows_.size());
}
void Recordset::Move_First() {
  Require_Open();
  position_ = 0;
}
void Recordset::Move_Last() {
  Require_Open();
  position_ = rows_.empty() ? 0 : static_cast<int>(rows_.size()) - 1;
}
void Recordset::Move_Next() {
  Require_Current();
  ++position_;
}
void Recordset::Move_Previous() {
  Require_Current();
  --position_;
}

int Recordset::Column(const QString& name) const {
  for (int i = 0; i < columns_.size(); ++i)
    if (columns_[i].compare(name, Qt::CaseInsensitive) == 0) return i;
  return -1;
}

bool Recordset::Has_Field(const QString& name) const { return open_ && Column(name) >= 0; }

QVariant Recordset::Field(const QString& name) const {
  Require_Open();
  int c = Column(name);
  if (c < 0)
    throw DbError{kErrItemNotFound,
                  "İstenen ad veya sıra sayısına karşılık gelen öğe koleksiyonda bulunamadı: " +
                      name};
  Require_Current();
  return rows_[position_].values[c];
}

QString Recordset::Text(const QString& name) const {
  QVariant v = Field(name);
  return v.isNull() ? QString() : v.toString();
}

double Recordset::Number(const QString& name) const {
  QVariant v = Field(name);
  return v.isNull() ? 0.0 : v.toDouble();
}

bool Recordset::Find(const QString& criterion) {
  Require_Open();
  static const QRegularExpression form(R"(^\s*\[?(\w+)\]?\s*=\s*(.*?)\s*$)");
  auto m = form.match(criterion);
  if (!m.hasMatch()) throw DbError{kErrStatement, "Geçersiz arama ölçütü: " + criterion};
  int c = Column(m.captured(1));
  if (c < 0) throw DbError{kErrItemNotFound, "Öğe koleksiyonda bulunamadı: " + m.captured(1)};
  QString value = m.captured(2);
  if (value.size() >= 2 && value.startsWith('\'') && value.endsWith('\''))
    value = value.mid(1, value.size() - 2).replace("''", "'");
  if (position_ < 0) position_ = 0;
  for (; position_ < static_cast<int>(rows_.size()); ++position_) {
    const QVariant& v = rows_[position_].values[c];
    if (!v.isNull() && v.toString().compare(value, Qt::CaseInsensitive) == 0) return true;
  }
  return false;
}

void Recordset::Add_New() {
  Require_Open();
  if (lock_ == LockType::ReadOnly)
    throw DbError{kErrStatement, "Kayıt kümesi salt okunur; yeni kayıt eklenemez."};
  Row row;
  row.values.assign(columns_.size(), QVariant());
  row.changed.assign(columns_.size(), false);
  row.is_new = true;
  rows_.push_back(std::move(row));
  position_ = static_cast<int>(rows_.size()) - 1;
}

void Recordset::Set_Field(const QString& name, const QVariant& value) {
  Require_Open();
  if (lock_ == LockType::ReadOnly)
    throw DbError{kErrStatement, "Kayıt kümesi salt okunur; alan değiştirilemez."};
  int c = Column(name);
  if (c < 0)
    throw DbError{kErrItemNotFound,
                  "İstenen ad veya sıra sayısına karşılık gelen öğe koleksiyonda bulunamadı: " +
                      name};
  Require_Current();
  rows_[position_].values[c] = value;
  rows_[position_].changed[c] = true;
}

void Recordset::Cancel_Batch() {
  Require_Open();
  std::erase_if(rows_, [](const Row& r) { return r.is_new; });
  for (auto& r : rows_) std::fill(r.changed.begin(), r.changed.end(), false);
  if (position_ > static_cast<int>(rows_.size())) position_ = static_cast<int>(rows_.size());
}

void Recordset::Update_Batch() {
  Require_Open();
  static const QRegularExpression from(R"(\bFROM\s+([\w.]+))",
                                       QRegularExpression::CaseInsensitiveOption);
  auto m = from.match(sql_);
  if (!m.hasMatch()) throw DbError{kErrStatement, "Güncellenecek tablo bulunamadı: " + sql_};
  QString table = m.captured(1);
  static const QRegularExpression dbo(R"(\.dbo\.)", QRegularExpression::CaseInsensitiveOption);
  table.replace(dbo, ".");
  QString key = connection_->Primary_Key(table);
  int key_column = key.isEmpty() ? -1 : Column(key);
  for (Row& row : rows_) {
    QStringList names;
    std::vector<QVariant> values;
    for (int c = 0; c < columns_.size(); ++c) {
      if (!row.changed[c] || c == key_column) continue;
      names << columns_[c];
      values.push_back(row.values[c]);
    }
    if (names.isEmpty()) continue;
    if (row.is_new) {
      QStringList marks;
      for (int i = 0; i < names.size(); ++i) marks << "?";
      QString insert =
          "INSERT INTO " + table + " (" + names.join(", ") + ") VALUES (" + marks.join(", ") + ")";
      // PostgreSQL tells a new row's key only when asked for it.
      const bool returning = key_column >= 0 && connection_->engine() == Engine::Postgres;
      if (returning) insert += " RETURNING " + key;
      QueryResult r = connection_->Execute_Bound(insert, values);
      if (key_column >= 0)
        row.values[key_column] = returning && !r.rows.empty() ? r.rows[0][0] : r.last_insert_id;
      row.is_new = false;
    } else {
      if (key_column < 0)
        throw DbError{kErrStatement, "Tablonun anahtar alanı yok; kayıt güncellenemez: " + table};
      QStringList sets;
      for (const QString& n : names) sets << n + " = ?";
      values.push_back(row.values[key_column]);
      const QueryResult updated =
          connection_->Execute_Bound("UPDATE " + table + " SET " + sets.join(", ") + " WHERE " +
                                         key + " = ?",
                                     values);
      // A row gone since it was read (another user's save replaced it) is a lost write: the
      // caller's transaction fails instead of going on without it.
      if (updated.rows_affected == 0)
        throw DbError{kErrStatement,
                      "Kayıt okunduktan sonra silinmiş veya değiştirilmiş; "
                      "yazılamadı: " +
                          table + " " + key + " = " + row.values[key_column].toString()};
    }
    std::fill(row.changed.begin(), row.changed.end(), false);
  }
}

void Recordset::Sort(const QStringList& names) {
  Require_Open();
  std::vector<int> columns;
  for (const QString& name : names) {
    int c = Column(name);
    if (c < 0)
      throw DbError{kErrItemNotFound,
                    "İstenen ad veya sıra sayısına karşılık gelen öğe koleksiyonda bulunamadı: " +
                        name};
    columns.push_back(c);
  }
  // Null first, numbers by value, everything else as text.
  auto less = [](const QVariant& a, const QVariant& b) {
    if (a.isNull() || b.isNull()) return a.isNull() && !b.isNull();
    bool a_number = false, b_number = false;
    const double x = a.toDouble(&a_number), y = b.toDouble(&b_number);
    if (a_number && b_number) return x < y;
    return a.toString() < b.toString();
  };
  std::stable_sort(rows_.begin(), rows_.end(), [&](const Row& a, const Row& b) {
    for (int c : columns) {
      if (less(a.values[c], b.values[c])) return true;
      if (less(b.values[c], a.values[c])) return false;
    }
    return false;
  });
  position_ = 0;
}
