// Rules of the definition window's grids and menu.
#include "editor/definition_editing.h"

#include "db/query.h"
#include "editor/row_editing.h"
#include "process/app_state.h"
#include "process/messages.h"
#include "ui_common/turkish_text.h"

bool Shows_Passive_Grid(const QString& kind) { return kind.trimmed() == "1"; }

QString Length_Refusal(const QString& caption, const QString& text, int max) {
  if (text.size() <= max) return {};
  return caption + " en fazla " + QString::number(max) + " karakter olabilir (" +
         QString::number(text.size()) + " karakter yazıldı).";
}

QString Definition_Window_Title(const QString& code, const QString& name) {
  const QString table =
      code.trimmed().isEmpty() ? QString("Yeni Tablo") : code.trimmed() + " - " + name.trimmed();
  return table + " : " + kDefinitionWindowTitle;
}

std::vector<ShownColumn> Definition_Shown_Columns(int placement) {
  const QString caption = Placement_Caption(placement);
  std::vector<ShownColumn> columns = {
      {"Satir_Kodu", "Kod", 900},
      {"Satir_Adi", placement == kPlaceMain ? QString("Açıklama") : caption, 4800},
      {"Satir_Tipi", "Satır Türü", 1650},
      {"MHesap_KodBas", "Hesaplar", 1650},
  };
  if (placement == kPlaceMain) columns.push_back({"Formul", "Formül", 1500});
  columns.push_back({"Hesaplama_Tipi", "Seçenekler", 3000});
  return columns;
}

void Show_Definition_Columns(KeyedGrid& grid, int placement) {
  for (int c = 0; c < grid.Cols(); ++c) grid.Set_Col_Hidden(c, true);
  for (const ShownColumn& column : Definition_Shown_Columns(placement)) {
    const int c = grid.Col_Index(column.key);
    grid.Set_Col_Hidden(c, false);
    grid.Set_Col_Width(c, column.twips);
    grid.Set_Text(0, c, column.heading);
  }
}

QString Definition_Cell_Text(const KeyedGrid& grid, int row, const QString& key,
                             const QString& value) {
  if (row < 1) return value;
  const int type = grid.Text(row, "Satir_Tipi").trimmed().toInt();
  if (key == "Satir_Tipi") return Row_Type_Caption(type);
  if (key == "Satir_Adi") {
    if (type == kRowSingleRule) return QString(40, QChar(0x2500));
    if (type == kRowDoubleRule) return QString(40, QChar(0x2550));
    const int level = Row_Level(grid.Text(row, "Satir_Kodu"));
    return QString(3 * (level - 1), ' ') + value;
  }
  if (key == "MHesap_KodBas") {
    const QString end = grid.Text(row, "MHesap_KodBit").trimmed();
    return end.isEmpty() ? value.trimmed() : value.trimmed() + " - " + end;
  }
  if (key == "Hesaplama_Tipi") {
    const RowLayout layout = Arrange_Fields(type);
    if (!layout.frames[4]) return {};
    const bool applies[kOptionGroups] = {layout.hesaplama, layout.bakiye, layout.karakter,
                                         layout.ters};
    QStringList options;
    for (int g = 0; g < kOptionGroups; ++g) {
      const QString column = Option_Group_Columns()[g];
      if (applies[g]) options << Calc_Option_Caption(column, grid.Text(row, column).toInt());
    }
    options.removeAll(QString());
    return options.join(", ");
  }
  return value;
}

const std::vector<RowMenuItem>& Row_Menu_Items() {
  static const std::vector<RowMenuItem> items = {
      {"MnDipNotEkle", "DİPNOT EKLE", kRowFootnote},
      {"MnGrup", "GRUP", kRowGroup},
      {"MnHesap", "TEK HESAP", kRowSingleAccount},
      {"MnHesapAraligi", "HESAP ARALIĞI", kRowAccountRange},
      {"MnAraToplam", "ARA TOPLAM", kRowSubtotal},
      {"MnGenelToplam", "GENEL TOPLAM", kRowGrandTotal},
      {"MnSayfaDuzeni", "SAYFA DÜZENİ", 0},
      {"MnTutar", "TUTAR", kRowAmount},
      {"MNFormul", "FORMÜL", kRowFormula},
      {"MnSatirDegistir", "SATIR DEĞİŞTİR", 0},
      {"MnYukari", "YUKARI TAŞI", 0},
      {"MnAsagi", "AŞAĞI TAŞI", 0},
      {"MnSatir_Sil", "SATIR SİL", 0},
      {"MnDipNot", "DİPNOTLAR", 0},
  };
  return items;
}

const std::vector<RowMenuItem>& Page_Layout_Items() {
  static const std::vector<RowMenuItem> items = {
      {"MnBosSatir", "BOŞ SATIR", kRowBlankLine},
      {"MnCiftCizgi", "ÇİFT ÇİZGİ", kRowDoubleRule},
      {"MnTekCizgi", "TEK ÇİZGİ", kRowSingleRule},
  };
  return items;
}

bool Row_Menu_Item_Visible(const QString& item, int placement) {
  static const QStringList body_only = {"MnAraToplam", "MnGenelToplam", "MnHesap", "MnHesapAraligi",
                                        "MnGrup",      "MnSayfaDuzeni", "MnTutar"};
  const bool footnotes = placement == kPlaceFootnote;
  if (item == "MnDipNotEkle") return footnotes;
  if (body_only.contains(item)) return !footnotes;
  return true;
}

DefinitionKey Definition_Window_Key(int key_code, bool save_visible, bool view_mode) {
  switch (key_code) {
    case 113: return save_visible ? DefinitionKey::Save : DefinitionKey::None;  // F2
    case 114: return view_mode ? DefinitionKey::None : DefinitionKey::Exit;     // F3
    case 27: return view_mode ? DefinitionKey::Exit : DefinitionKey::None;      // Escape
    default: return DefinitionKey::None;
  }
}

int Row_To_Change(const KeyedGrid& grid) {
  const int r = grid.Row();
  if (r < 1 || r >= grid.Rows()) return -1;
  bool ok = false;
  const int type = grid.Text(r, "Satir_Tipi").trimmed().toInt(&ok);
  if (ok && Is_Page_Layout_Row(type)) return -1;
  return ok ? type : 0;
}

bool Delete_Current_Row(KeyedGrid& grid) {
  const int r = grid.Row();
  if (r < 1 || r >= grid.Rows()) return false;
  grid.Remove_Row(r);
  if (grid.Rows() == 1) grid.Set_Current(0, grid.Col());
  return true;
}

bool Move_Current_Row(KeyedGrid& grid, int step) {
  const int r = grid.Row();
  const int to = r + step;
  if (r < 1 || r >= grid.Rows() || to < 1 || to >= grid.Rows()) return false;
  for (int c = 0; c < grid.Cols(); ++c) {
    const QString text = grid.Text(r, c);
    grid.Set_Text(r, c, grid.Text(to, c));
    grid.Set_Text(to, c, text);
  }
  grid.Set_Current(to, grid.Col());
  return true;
}

int Insertion_Row(const KeyedGrid& grid) {
  const int r = grid.Row();
  return r >= 1 && r < grid.Rows() ? r + 1 : grid.Rows();
}

int Row_With_Code(const KeyedGrid& grid, const QString& code, int except) {
  for (int r = 1; r < grid.Rows(); ++r)
    if (r != except && grid.Text(r, "Satir_Kodu") == code) return r;
  return -1;
}

int Insert_Definition_Row(KeyedGrid& grid, const DefinitionRow& row) {
  const int r = Insertion_Row(grid);
  grid.Insert_Row(r);
  auto number = [](int n) { return QString::number(n); };
  grid.Set_Text(r, "Satir_Tipi", number(row.Satir_Tipi));
  grid.Set_Text(r, "Satir_Kodu", row.Satir_Kodu);
  grid.Set_Text(r, "Satir_Adi", row.Satir_Adi);
  grid.Set_Text(r, "Satir_Seviyesi", number(Row_Level(row.Satir_Kodu)));
  grid.Set_Text(r, "Hesaplama_Tipi", number(row.Hesaplama_Tipi));
  grid.Set_Text(r, "Bakiye_Tipi", number(row.Bakiye_Tipi));
  grid.Set_Text(r, "Hesap_Karakteri", number(row.Hesap_Karakteri));
  grid.Set_Text(r, "Ters_Bakiye", number(row.Ters_Bakiye));
  grid.Set_Text(r, "MHesap_KodBas", row.MHesap_KodBas);
  grid.Set_Text(r, "MHesap_KodBit", row.MHesap_KodBit);
  if (grid.Col_Index("Formul") >= 0) grid.Set_Text(r, "Formul", row.Formul);
  grid.Set_Text(r, "Tutar", row.Bakiye.isNull() ? QString() : row.Bakiye.toString());
  grid.Set_Text(r, "Yazilacak", Display_Text(row.Satir_Kodu, row.Satir_Adi));
  grid.Set_Current(r, grid.Col());
  return r;
}

DefinitionRow Page_Layout_Row(int row_type) {
  DefinitionRow row;
  row.Satir_Tipi = row_type;
  row.Hesaplama_Tipi = kHesaplamaNone;
  return row;
}

QString Definition_Snapshot(const DefinitionGrids& grids) {
  QStringList cells;
  for (int placement : kPlacements) {
    const KeyedGrid& grid = grids.Grid(placement);
    for (int r = 1; r < grid.Rows(); ++r) {
      for (int c = 0; c < grid.Cols(); ++c) cells << grid.Text(r, c);
      cells << "\n";
    }
    cells << "\f";
  }
  return cells.join('\t');
}

QColor Focus_Selection_Color() { return QColor(0xFF, 0x80, 0x80); }

QColor Unfocused_Selection_Color(int current_row, const QColor& back, const QColor& alternate) {
  return current_row % 2 == 1 ? back : alternate;
}

bool Save_Definition(AppState& state, TableDefinition& def, bool as_new,
                     const std::function<bool()>& ask_code_name) {
  if (as_new) {
    def.add_flag = true;
    def.table_id = 0;
  }
  state.Table_Code = def.code;
  state.Table_Name = def.name;
  state.Caller_Form = "MuhMaliTabloTanim";
  if (!ask_code_name()) return false;
  def.code = state.Table_Code;
  def.name = state.Table_Name;
  if (Code_Taken(state, def)) {
    state.Message->Critical(kDuplicateTableMessage);
    return false;
  }
  return Save_Table(state, def);
}

bool Code_Taken(AppState& state, const TableDefinition& def) {
  Recordset rs;
  Open_Recordset(state.Db(), rs,
                 "SELECT Rapor_ID,Rapor_Kodu FROM MUHASEBEMALITABLOKART WHERE Rapor_Tipi=" +
                     QString::number(def.kind.trimmed().toInt()));
  for (; rs.Is_Open() && !rs.Eof(); rs.Move_Next())
    if (rs.Field("Rapor_ID").toLongLong() != def.table_id &&
        Search_Key_TR(rs.Text("Rapor_Kodu")) == Search_Key_TR(def.code))
      return true;
  return false;
}
