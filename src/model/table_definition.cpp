// Loading and saving one financial table between its definition grids and the database.
#include "model/table_definition.h"

#include "db/connection.h"
#include "db/db_error.h"
#include "db/query.h"
#include "db/sql_text.h"
#include "model/standard_definition.h"
#include "model/statement_lock.h"
#include "process/app_state.h"
#include "ui_common/amount_text.h"

namespace {

// ADO's error for a value that does not fit the column's type.
constexpr long kErrWrongType = 3421;

DbError Wrong_Type(const QString& column, const QString& text) {
  return {kErrWrongType, "Uygulama, geçerli işlem için yanlış türde bir değer kullanıyor: " +
                             column + " = '" + text + "'"};
}

// A grid cell written into an integer column: empty is Null, anything else must be a whole number.
QVariant Integer_Value(const QString& column, const QString& text) {
  const QString t = text.trimmed();
  if (t.isEmpty()) return QVariant(QMetaType(QMetaType::LongLong));
  bool ok = false;
  const qlonglong value = t.toLongLong(&ok);
  if (!ok) throw Wrong_Type(column, text);
  return value;
}

// The amount cell holds the amount as the user sees it: the system's decimal separator, maybe
// thousands separators.
QVariant Amount_Value(const AppState& state, const QString& text) {
  NumberSyntax syntax;
  syntax.blanks_around = true;
  if (!state.System_Decimal_Sep.isEmpty()) syntax.decimal_marks = state.System_Decimal_Sep;
  if (state.System_Thousand_Sep.size() == 1 && state.System_Thousand_Sep != syntax.decimal_marks)
    syntax.thousand = state.System_Thousand_Sep.at(0);
  const auto digits = DecimalDigits::Read(text, syntax);
  if (!digits) throw Wrong_Type("Bakiye", text);
  return digits->Value();
}

// A grid cell written into a text column: an empty cell is the empty text, not Null.
QVariant Text_Value(const QString& text) { return text.isNull() ? QString("") : text; }

QString Amount_Text(const AppState& state, double value) {
  const QChar decimal =
      state.System_Decimal_Sep.isEmpty() ? QChar(u'.') : state.System_Decimal_Sep.at(0);
  return Plain_Number_Text(value, 4, decimal);
}

QString Right_Trimmed(const QString& text) {
  int n = static_cast<int>(text.size());
  while (n > 0 && text.at(n - 1).isSpace()) --n;
  return text.left(n);
}

void Load_Row(AppState& state, const Recordset& rs, int placement, KeyedGrid& grid, int r) {
  const QString code = rs.Text("Satir_Kodu").trimmed();
  const QString name = Right_Trimmed(rs.Text("Satir_Adi"));
  const int type = rs.Field("Satir_Tipi").toInt();
  grid.Set_Text(r, "Satir_ID", rs.Text("Satir_ID"));
  grid.Set_Text(r, "Satir_Tipi", rs.Text("Satir_Tipi"));
  grid.Set_Text(r, "Satir_Kodu", code);
  grid.Set_Text(r, "Satir_Adi", name);
  grid.Set_Text(r, "Yazilacak", Display_Text(code, name));
  grid.Set_Text(r, "Satir_Seviyesi", rs.Text("Satir_Seviyesi"));
  grid.Set_Text(r, "Hesaplama_Tipi", rs.Text("Hesaplama_Tipi"));
  grid.Set_Text(r, "Bakiye_Tipi", rs.Text("Bakiye_Tipi"));
  grid.Set_Text(r, "Hesap_Karakteri", rs.Text("Hesap_Karakteri"));
  grid.Set_Text(r, "Ters_Bakiye", rs.Text("Ters_Bakiye"));
  const bool main = placement == kPlaceMain;
  grid.Set_Text(r, "MHesap_KodBas",
                main ? rs.Text("MHesap_KodBas").trimmed() : rs.Text("MHesap_KodBas"));
  grid.Set_Text(r, "MHesap_KodBit",
                main ? rs.Text("MHesap_KodBit").trimmed() : rs.Text("MHesap_KodBit"));
  if (main) {
    if (!rs.Is_Null("Formul")) grid.Set_Text(r, "Formul", rs.Text("Formul"));
    const bool group = type == kRowGroup;
    state.Row_Code_List[r] = group ? code : QString();
    state.Row_Name_List[r] = group ? rs.Text("Satir_Adi").trimmed() : QString();
  }
  const bool amount = placement != kPlaceFootnote && type == kRowAmount && !rs.Is_Null("Bakiye");
  grid.Set_Text(r, "Tutar", amount ? Amount_Text(state, rs.Number("Bakiye")) : QString());
}

void Save_Row(AppState& state, TableDefinition& def, int placement, const KeyedGrid& grid, int r,
              int number) {
  Recordset& rs = def.rows;
  rs.Add_New();
  rs.Set_Field("Rapor_ID", def.table_id);
  rs.Set_Field("Rapor_Yeri", placement);
  rs.Set_Field("Satir_No", number);
  auto integer = [&](const char* key) { rs.Set_Field(key, Integer_Value(key, grid.Text(r, key))); };
  integer("Satir_Tipi");
  rs.Set_Field("Satir_Kodu", Text_Value(grid.Text(r, "Satir_Kodu")));
  rs.Set_Field("Satir_Adi", Text_Value(grid.Text(r, "Satir_Adi")));
  integer("Satir_Seviyesi");
  integer("Hesaplama_Tipi");
  integer("Bakiye_Tipi");
  rs.Set_Field("MHesap_KodBas", Text_Value(grid.Text(r, "MHesap_KodBas")));
  rs.Set_Field("MHesap_KodBit", Text_Value(grid.Text(r, "MHesap_KodBit")));
  integer("Hesap_Karakteri");
  if (placement == kPlaceFootnote && grid.Text(r, "Ters_Bakiye").isEmpty())
    rs.Set_Field("Ters_Bakiye", 0);
  else
    integer("Ters_Bakiye");
  if (placement == kPlaceMain) rs.Set_Field("Formul", Text_Value(grid.Text(r, "Formul")));
  const QString amount = grid.Text(r, "Tutar");
  rs.Set_Field("Bakiye", amount.isEmpty() ? QVariant(QMetaType(QMetaType::Double))
                                          : Amount_Value(state, amount));
  rs.Update_Batch();
}

}  // namespace

QString Rows_Sql(qint64 table_id) {
  return "SELECT * FROM MUHASEBEMALITABLOHAREKET WHERE Rapor_ID=" + QString::number(table_id);
}

QString Delete_Rows_Sql(qint64 table_id) {
  return "DELETE FROM MUHASEBEMALITABLOHAREKET WHERE Rapor_ID=" + QString::number(table_id);
}

QString Header_Sql(qint64 table_id) {
  return "SELECT * FROM MUHASEBEMALITABLOKART WHERE Rapor_Id=" + QString::number(table_id);
}

TableDefinition Open_Table_Definition(AppState& state) {
  TableDefinition def;
  def.table_id = state.Table_ID;
  def.add_flag = state.Add_Mode;
  def.view_flag = state.View_Mode;
  def.code = state.Table_Code;
  def.name = state.Table_Name;
  def.kind = QString::number(state.Table_Type);
  Open_Rows(state, def);
  if (!def.add_flag) Load_Rows(state, def);
  if (def.add_flag && state.Message->Question("Standart Tanımın Getrilmesini İstiyormusunuz."))
    Load_Standard_Definition(state, def.kind.trimmed().toInt(), def);
  return def;
}

void Open_Rows(AppState& state, TableDefinition& def) {
  Open_Update_Recordset(state.Db(), def.rows, Rows_Sql(def.table_id));
}

void Load_Rows(AppState& state, TableDefinition& def) {
  Recordset& rs = def.rows;
  try {
    // A closed recordset is a failed query, already reported: the table shows no rows.
    const int count = rs.Is_Open() ? rs.Record_Count() : 0;
    state.Row_Code_List = QStringList(count > 0 ? count + 1 : 0);
    state.Row_Name_List = QStringList(count > 0 ? count + 1 : 0);
    state.Row_Count = count;
    if (count == 0) return;
    // Save_Table numbers the records across the placements, each in grid order; the statement
    // asks for no order, and engines differ in the one they give, so the records are put back
    // in their saved order here: placement by placement, each in grid order. A placement ends
    // at the first record of another one.
    rs.Sort({"Satir_No", "Satir_ID"});
    for (int placement : kPlacements) {
      KeyedGrid& grid = def.Grid(placement);
      int r = 0;
      while (!rs.Eof() && rs.Field("Rapor_Yeri").toInt() == placement) {
        ++r;
        if (r == grid.Rows()) grid.Add_Row();
        Load_Row(state, rs, placement, grid, r);
        rs.Move_Next();
      }
    }
  } catch (const DbError& e) {
    state.Message->Critical(e.Description);
  }
}

bool Save_Table(AppState& state, TableDefinition& def) {
  if (!Is_Sql_Number(def.kind)) {
    state.Message->Critical("Tablo tipi bir sayı olmalıdır: '" + def.kind + "'");
    return false;
  }
  // A failed save leaves the window as it was: the stored table's id and mode come back with it.
  const qint64 old_id = def.table_id;
  const bool old_add = def.add_flag;
  // The query procedures show a failing statement and go on; inside the save such a failure
  // ends the transaction like any other.
  QString failure;
  DbSession db = state.Db();
  db.show_error = [&state, &failure](const QString& text) {
    if (failure.isEmpty()) failure = text;
    state.Message->Critical(text);
  };
  auto stop_on_failure = [&failure] {
    if (!failure.isEmpty()) throw DbError{kErrStatement, failure};
  };
  const std::shared_ptr<Connection> connection = state.Db_Connection;
  try {
    if (!connection) throw DbError{kErrConnectionRefused, "Veritabanı bağlantısı açık değil."};
    Begin_Statement_Work(*connection, StatementWork::Save,
                         def.add_flag ? std::vector<qint64>{} : std::vector<qint64>{def.table_id});
    Open_Update_Recordset(db, def.header, Header_Sql(def.table_id));
    stop_on_failure();
    if (def.add_flag) def.header.Add_New();
    def.header.Set_Field("Rapor_Kodu", Text_Value(def.code));
    def.header.Set_Field("Rapor_Adi", Text_Value(def.name));
    def.header.Set_Field("Rapor_Tipi", Integer_Value("Rapor_Tipi", def.kind));
    def.header.Update_Batch();
    if (def.add_flag) {
      Open_Recordset(db, def.header,
                     "SELECT * FROM MUHASEBEMALITABLOKART WHERE Rapor_Kodu='" +
                         Sql_Quote_Value(def.code) + "' AND Rapor_Tipi=" + def.kind);
      stop_on_failure();
      def.table_id = def.header.Field("Rapor_ID").toLongLong();
      // The header exists now: later saves update it instead of inserting it again.
      def.add_flag = false;
    }
    Open_Update_Recordset(db, def.rows, Delete_Rows_Sql(def.table_id));
    stop_on_failure();
    Open_Update_Recordset(db, def.rows, Rows_Sql(def.table_id));
    stop_on_failure();
    int number = 0;
    for (int placement : kPlacements) {
      const KeyedGrid& grid = def.Grid(placement);
      for (int r = 1; r < grid.Rows(); ++r) Save_Row(state, def, placement, grid, r, ++number);
    }
    connection->Commit();
    return true;
  } catch (const DbError& e) {
    if (connection) connection->Rollback();
    def.table_id = old_id;
    def.add_flag = old_add;
    if (e.Number == kErrStatementBusy) {
      state.Message->Critical(e.Description);
    } else if (e.Is_Duplicate()) {
      state.Message->Plain(e.Description);
      state.Message->Critical(kDuplicateTableMessage);
    } else {
      state.Message->Critical("Kayıt Yapılırken BirHata Oluştu.", "Velora ");
      state.Message->Critical(e.Description, "Hata Detayı");
    }
    if (def.rows.Is_Open()) def.rows.Cancel_Batch();
    if (def.header.Is_Open()) def.header.Cancel_Batch();
    return false;
  }
}

void Delete_Rows(AppState& state, TableDefinition& def) {
  Open_Update_Recordset(state.Db(), def.rows, Delete_Rows_Sql(def.table_id));
}
