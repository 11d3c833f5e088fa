// Code values, captions and grid layout of the financial table model.
#include "model/financial_table.h"

const std::vector<StatementKindInfo>& Statement_Kinds() {
  static const std::vector<StatementKindInfo> kinds = {
      {kKindBalanceSheet, "Bilanço", "bilanço", "BILANCO.txt"},
      {kKindIncomeStatement, "Gelir Tablosu", "gelir tablosu", "TORVIKA.txt"},
  };
  return kinds;
}

const StatementKindInfo& Statement_Kind(int code) {
  for (const StatementKindInfo& kind : Statement_Kinds())
    if (kind.code == code) return kind;
  return Statement_Kinds().back();
}

QString Standard_Definition_File(int kind) {
  for (const StatementKindInfo& info : Statement_Kinds())
    if (info.code == kind) return info.standard_definition;
  return {};
}

const std::vector<RowTypeInfo>& Row_Types() {
  static const std::vector<RowTypeInfo> types = {
      {kRowGroup, "MnGrup", "GRUP"},
      {kRowSingleAccount, "MnHesap", "TEK HESAP"},
      {kRowAccountRange, "MnHesapAraligi", "HESAP ARALIĞI"},
      {kRowSubtotal, "MnAraToplam", "ARA TOPLAM"},
      {kRowGrandTotal, "MnGenelToplam", "GENEL TOPLAM"},
      {kRowBlankLine, "MnBosSatir", "BOŞ SATIR"},
      {kRowDoubleRule, "MnCiftCizgi", "ÇİFT ÇİZGİ"},
      {kRowSingleRule, "MnTekCizgi", "TEK ÇİZGİ"},
      {kRowAmount, "MnTutar", "TUTAR"},
      {kRowFootnote, "MnDipNotEkle", "DİPNOT EKLE"},
      {kRowFormula, "MNFormul", "FORMÜL"},
  };
  return types;
}

bool Is_Page_Layout_Row(int code) {
  return code == kRowBlankLine || code == kRowDoubleRule || code == kRowSingleRule;
}

QString Row_Type_Caption(int code) {
  for (const RowTypeInfo& t : Row_Types())
    if (t.code == code) return t.caption;
  return {};
}

const std::vector<CalcOptionInfo>& Calc_Options() {
  static const std::vector<CalcOptionInfo> options = {
      {"Hesaplama_Tipi", "Hesaplama Şekli", {"İşlem Yapma", "Ekle", "Çıkar"}, kHesaplamaAdd},
      {"Bakiye_Tipi",
       "Bakiye Tipi",
       {"Toplam Bakiye", "Borç Bakiyesi", "Alacak Bakiyesi"},
       kBakiyeTotal},
      {"Hesap_Karakteri", "Bakiye Karakteri", {"Borç/Alacak", "Borç", "Alacak"}, kKarakterEither},
      {"Ters_Bakiye", "Ters Durumdaki Bakiye", {"Listelenecek", "Listelenmeyecek"}, kTersListed},
  };
  return options;
}

QString Calc_Option_Caption(const QString& column, int code) {
  for (const CalcOptionInfo& o : Calc_Options())
    if (o.column == column) return o.captions.value(code);
  return {};
}

QString Placement_Grid_Name(int placement) {
  switch (placement) {
    case kPlaceMain: return "FisGrd";
    case kPlacePassive: return "PasifGrd";
    case kPlaceFootnote: return "DipNotGrd";
    default: return {};
  }
}

QString Placement_Caption(int placement) {
  switch (placement) {
    case kPlaceMain: return "AKTİFLER";
    case kPlacePassive: return "PASİFLER";
    case kPlaceFootnote: return "DİPNOTLAR";
    default: return {};
  }
}

bool Placement_Heading_Shown(int placement, int kind) {
  if (placement == kPlaceMain) return kind == kKindBalanceSheet;
  return placement == kPlacePassive || placement == kPlaceFootnote;
}

QStringList Definition_Grid_Keys(int placement) {
  QStringList keys = {"Satir_No",        "Satir_Tipi",  "Satir_Kodu",     "Satir_Adi",
                      "Satir_Seviyesi",  "Rapor_Yeri",  "Hesaplama_Tipi", "Bakiye_Tipi",
                      "Hesap_Karakteri", "Ters_Bakiye", "MHesap_KodBas",  "MHesap_KodBit",
                      "Satir_ID",        "Tutar"};
  if (placement == kPlaceMain) keys << "Formul";
  keys << "Yazilacak";
  return keys;
}

KeyedGrid Make_Definition_Grid(int placement) {
  KeyedGrid grid(Definition_Grid_Keys(placement));
  const int visible = grid.Col_Index("Yazilacak");
  for (int c = 0; c < grid.Cols(); ++c) {
    grid.Set_Col_Hidden(c, c != visible);
    grid.Set_Col_Width(c, 1140);
  }
  grid.Set_Col_Width(grid.Col_Index("Satir_Adi"), 2205);
  grid.Set_Col_Width(visible, 1290);
  grid.Set_Text(0, visible, placement == kPlaceMain ? QString() : Placement_Caption(placement));
  return grid;
}

int Row_Level(const QString& code) { return static_cast<int>(code.count('.')) + 1; }

QString Display_Text(const QString& code, const QString& name) { return code + name; }

KeyedGrid& DefinitionGrids::Grid(int placement) {
  switch (placement) {
    case kPlacePassive: return PasifGrd;
    case kPlaceFootnote: return DipNotGrd;
    default: return FisGrd;
  }
}

const KeyedGrid& DefinitionGrids::Grid(int placement) const {
  return const_cast<DefinitionGrids*>(this)->Grid(placement);
}
