// Rules of the definition window's grids and menu.
#include "editor/definition_editing.h"

#include "process/app_state.h"

bool Shows_Passive_Grid(const QString& kind) { return kind.trimmed() == "1"; }

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
      {"MnSatir_Sil", "SATIR SİL", 0},
      {"MnDipNot", "DİPNOTLAR", 0},
  };
  return items;
}

QStringList Page_Layout_Captions() { return {"BOŞ SATIR", "ÇİFT ÇİZGİ", "TEK ÇİZGİ"}; }

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
  return ok ? type : 0;
}

bool Delete_Current_Row(KeyedGrid& grid) {
  const int r = grid.Row();
  if (r < 1 || r >= grid.Rows()) return false;
  grid.Remove_Row(r);
  if (grid.Rows() == 1) grid.Set_Current(0, grid.Col());
  return true;
}

int Insertion_Row(const KeyedGrid& grid, const QString& code) {
  if (code.isEmpty()) {
    const int r = grid.Row();
    return r >= 1 && r < grid.Rows() ? r : grid.Rows();
  }
  for (int r = 1; r < grid.Rows(); ++r)
    if (QString::compare(grid.Text(r, "Satir_Kodu"), code, Qt::CaseSensitive) > 0) return r;
  return grid.Rows();
}

int Row_With_Code(const KeyedGrid& grid, const QString& code, int except) {
  for (int r = 1; r < grid.Rows(); ++r)
    if (r != except && grid.Text(r, "Satir_Kodu") == code) return r;
  return -1;
}

int Insert_Definition_Row(KeyedGrid& grid, const DefinitionRow& row) {
  const int r = Insertion_Row(grid, row.Satir_Kodu);
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
  return r;
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
  return Save_Table(state, def);
}
