#include "run/choice_lists.h"

#include <QDate>
#include <optional>

#include "db/query.h"
#include "db/recordset.h"
#include "process/app_state.h"
#include "run/blank_trim.h"
#include "run/parameter_preparation.h"
#include "ui_common/turkish_text.h"

namespace {

enum class Target { Plain, WithHepsi, Options, Today };

// A look-up of the shape "SELECT DISTINCT RTRIM(C) as Deger[, RTRIM(C2) as Deger2] FROM T
// ORDER BY RTRIM(C)", or a statement of its own.
struct Caption {
  const char* caption;
  Target target;
  const char* table;  // nullptr: the movement table of the process state
  const char* column;
  const char* column2;  // two-column list when set
  const char* own_sql;  // a statement outside the shape
};

const Caption kCaptions[] = {
    {"Cari Kodu", Target::Plain, "CARIKART", "Cari_Kod", "Unvan", nullptr},
    {"Cari Ünvanı", Target::Plain, "CARIKART", "Unvan", "Cari_Kod", nullptr},
    {"Stok Kodu", Target::Plain, "STOKKART", "Stok_Kod", "Stok_Ad", nullptr},
    {"Stok Adı", Target::Plain, "STOKKART", "Stok_Ad", "Stok_Kod", nullptr},
    {"Banka Adı", Target::Plain, "HESAPKART", "Banka_Ad", nullptr, nullptr},
    {"Hesap Adı", Target::Plain, "HESAPKART", "Hesap_Ad", "Hesap_No", nullptr},
    {"Muhasebe Kodu", Target::Plain, "MUHKART", "MHesap_Kod", "MHesap_Ad", nullptr},
    {"Muhasebe Adı", Target::Plain, "MUHKART", "MHesap_Ad", "MHesap_Kod", nullptr},
    {"Tablo Kodu", Target::Plain, nullptr, nullptr, nullptr,
     "SELECT DISTINCT RTRIM(Rapor_Kodu) as Deger FROM MUHASEBEMALITABLOKART WHERE Rapor_Tipi={KIND} "
     "ORDER BY RTRIM(Rapor_Kodu)"},
    {"Tablo Adı", Target::Plain, nullptr, nullptr, nullptr,
     "SELECT DISTINCT RTRIM(Rapor_Adi) as Deger FROM MUHASEBEMALITABLOKART WHERE Rapor_Tipi={KIND} "
     "ORDER BY RTRIM(Rapor_Adi)"},
    {"Satıcı Kodu", Target::Options, nullptr, nullptr, nullptr,
     "SELECT DISTINCT Satici_Kodu as Deger, Satici_Adi as Deger2 FROM SATICI"},
    {"Satıcı Adı", Target::Options, nullptr, nullptr, nullptr,
     "SELECT DISTINCT Satici_Adi as Deger, Satici_Kodu as Deger2 FROM SATICI"},
    {"Raporlama Tarihi", Target::Today, nullptr, nullptr, nullptr, nullptr},
    {"Cari Özel Kod1", Target::WithHepsi, "CARIKART", "O_Kod1", nullptr, nullptr},
    {"Cari Özel Kod2", Target::WithHepsi, "CARIKART", "O_Kod2", nullptr, nullptr},
    {"Cari Özel Kod3", Target::WithHepsi, "CARIKART", "O_Kod3", nullptr, nullptr},
    {"Cari Grup Kodu", Target::WithHepsi, "CARIKART", "Grup_Kod", nullptr, nullptr},
    {"İlçe", Target::WithHepsi, "CARIKART", "Ilce", nullptr, nullptr},
    {"Şehir", Target::WithHepsi, "CARIKART", "Sehir", nullptr, nullptr},
    {"Vergi Dairesi", Target::WithHepsi, "CARIKART", "Vergi_Dairesi", nullptr, nullptr},
    {"Kasa Kodu", Target::WithHepsi, nullptr, nullptr, "Kasa_Ad",
     "SELECT DISTINCT RTRIM(Kasa_Kod) as Deger , RTRIM(Kasa_Ad) as Deger2 FROM KASAKART ORDER BY "
     "RTRIM(Kasa_Kod)"},
    {"Kasa Adı", Target::WithHepsi, "KASAKART", "Kasa_Ad", "Kasa_Kod", nullptr},
    {"Kasa Özel Kodu", Target::WithHepsi, "KASAKART", "O_Kod", nullptr, nullptr},
    {"İskonto", Target::WithHepsi, nullptr, nullptr, nullptr, "SELECT ISK as Deger FROM CARIKART"},
    {"KDV", Target::WithHepsi, "STOKKART", "KDV", nullptr, nullptr},
    {"Ana Birim", Target::WithHepsi, "STOKKART", "Ana_Birim", nullptr, nullptr},
    {"2. Birim", Target::WithHepsi, "STOKKART", "Birim2", nullptr, nullptr},
    {"3. Birim", Target::WithHepsi, "STOKKART", "Birim3", nullptr, nullptr},
    {"Üretici Firma", Target::WithHepsi, "STOKKART", "Uretici_Firma", nullptr, nullptr},
    {"Stok Özel Kod1", Target::WithHepsi, "STOKKART", "O_Kod", nullptr, nullptr},
    {"Stok Özel Kod2", Target::WithHepsi, "STOKKART", "O_Kod2", nullptr, nullptr},
    {"Stok Özel Kod3", Target::WithHepsi, "STOKKART", "O_Kod3", nullptr, nullptr},
    {"Stok Grup Kodu", Target::WithHepsi, "STOKKART", "Grup_Kod", nullptr, nullptr},
    {"Hesap No", Target::WithHepsi, "HESAPKART", "Hesap_No", "Hesap_Ad", nullptr},
    {"Şube Adı", Target::WithHepsi, "HESAPKART", "Sube", nullptr, nullptr},
    {"Banka Özel Kodu", Target::WithHepsi, "HESAPKART", "O_Kod", nullptr, nullptr},
    {"Anlaşma Taksit Sayısı", Target::WithHepsi, "POSANLASMA", "Taksit_Sayisi", nullptr, nullptr},
    {"Anlaşma Acıklaması", Target::WithHepsi, "POSANLASMA", "Aciklama", nullptr, nullptr},
    {"Anlaşma Provizyonu", Target::WithHepsi, "POSANLASMA", "Opsiyon_Gun", nullptr, nullptr},
    {"Anlaşma Kesinti Oranı", Target::WithHepsi, "POSANLASMA", "Kesinti_Orani", nullptr, nullptr},
    {"Ambar No", Target::WithHepsi, "AMBAR", "Ambar_No", "Ambar_Ad", nullptr},
    {"Ambar Adı", Target::WithHepsi, "AMBAR", "Ambar_Ad", "Ambar_No", nullptr},
    {"Hizmet Kodu", Target::WithHepsi, "HIZMETTANIM", "Kod", "Ad", nullptr},
    {"Hizmet Adı", Target::WithHepsi, "HIZMETTANIM", "Ad", "Kod", nullptr},
    {"Masraf Kodu", Target::WithHepsi, "MASRAFTANIM", "Kod", "Ad", nullptr},
    {"Masraf Adı", Target::WithHepsi, "MASRAFTANIM", "Ad", "Kod", nullptr},
    {"İndirim Kodu", Target::WithHepsi, "INDIRIMTANIM", "Kod", "Ad", nullptr},
    {"İndirim Adı", Target::WithHepsi, "INDIRIMTANIM", "Ad", "Kod", nullptr},
    {"Sablon Kodu", Target::WithHepsi, "SABLONKART", "Sablon_Kod", "Sablon_Ad", nullptr},
    {"Sablon Adı", Target::WithHepsi, "SABLONKART", "Sablon_Ad", "Sablon_Kod", nullptr},
    {"İşlem Özel Kodu", Target::WithHepsi, nullptr, "O_Kod", nullptr, nullptr},
    {"İşlem Belge No", Target::WithHepsi, nullptr, "Belge_No", nullptr, nullptr},
    {"Doviz Kod", Target::WithHepsi, "DOVIZTANIM", "Doviz_Kod", "Doviz_Ad", nullptr},
    {"Doviz Ad", Target::WithHepsi, nullptr, nullptr, "Doviz_Kod",
     "SELECT DISTINCT RTRIM(Doviz_Ad) as Deger, RTRIM(Doviz_Kod) as Deger2 FROM DOVIZTANIM"},
    {"Muhasebe Özel Kod1", Target::WithHepsi, "MUHKART", "MO_Kod1", nullptr, nullptr},
    {"Muhasebe Özel Kod2", Target::WithHepsi, "MUHKART", "MO_Kod2", nullptr, nullptr},
    {"Muhasebe Özel Kod3", Target::WithHepsi, "MUHKART", "MO_Kod3", nullptr, nullptr},
    {"Muhasebe Grup Kodu", Target::WithHepsi, "MUHKART", "MGrup_Kod", nullptr, nullptr},
    // The workplaces offered for the report header.
    {"İşyeri Kodu", Target::WithHepsi, "ISYERITANIM", "Isyeri_Kodu", nullptr, nullptr},
    {"İşyeri Adı", Target::WithHepsi, "ISYERITANIM", "Isyeri_Adi", nullptr, nullptr},
};

const Caption* Find_Caption(const QString& caption) {
  for (const Caption& c : kCaptions)
    if (caption == QString::fromUtf8(c.caption)) return &c;
  return nullptr;
}

// The look-up's list, or nothing when the statement failed (its messages are shown).
std::optional<QString> Read_Choice_List(AppState& state, const QString& sql, bool two_columns) {
  Recordset rs;
  Open_Recordset(state.Db(), rs, sql);
  if (!rs.Is_Open()) return std::nullopt;
  QString result = rs.Record_Count() != 0 ? "|" : "";
  QStringList items;
  if (rs.Record_Count() != 0) {
    rs.Move_First();
    const bool both = two_columns && rs.Has_Field("Deger2") && !rs.Text("Deger2").isEmpty();
    for (; !rs.Eof(); rs.Move_Next())
      items << (both ? rs.Text("Deger") + kChoiceColumnSeparator + rs.Text("Deger2")
                     : rs.Text("Deger"));
  }
  result += items.join('|');
  rs.Close();
  return result == "|" ? QString() : result;
}

std::optional<QString> Read_Discount_List(AppState& state) {
  Recordset rs;
  Open_Recordset(state.Db(), rs, "SELECT ISK as Deger FROM CARIKART");
  if (!rs.Is_Open()) return std::nullopt;
  QString result = rs.Record_Count() != 0 ? "|" : "";
  for (; !rs.Eof(); rs.Move_Next())
    if (!rs.Text("Deger").isEmpty()) result += Trim_Blanks(rs.Text("Deger")) + "|";
  rs.Close();
  return result;
}

std::optional<QString> Read_Option_List(AppState& state, const QString& sql) {
  Recordset rs;
  Open_Recordset(state.Db(), rs, sql);
  if (!rs.Is_Open()) return std::nullopt;
  QString result = rs.Record_Count() != 0 ? "," : "";
  for (; !rs.Eof(); rs.Move_Next())
    if (!rs.Text("Deger").isEmpty())
      result += Trim_Blanks(rs.Text("Deger")) + "  /  " + Trim_Blanks(rs.Text("Deger2")) + ",";
  rs.Close();
  return result;
}

QString Options_Sql(const QString& caption) {
  const Caption* c = Find_Caption(caption);
  return c && c->target == Target::Options ? QString::fromUtf8(c->own_sql) : QString();
}

}  // namespace

QString Choice_List_Sql(const AppState& state, const QString& caption, int kind) {
  const Caption* c = Find_Caption(caption);
  if (!c || c->target == Target::Today) return {};
  if (c->own_sql) return QString::fromUtf8(c->own_sql).replace("{KIND}", QString::number(kind));
  const QString table = c->table ? QString::fromUtf8(c->table) : state.Movement_Table;
  const QString column = QString::fromUtf8(c->column);
  QString sql = "SELECT DISTINCT RTRIM(" + column + ") as Deger";
  if (c->column2) sql += ", RTRIM(" + QString::fromUtf8(c->column2) + ") as Deger2";
  return sql + " FROM " + table + " ORDER BY RTRIM(" + column + ")";
}

bool Is_Two_Column_List(const QString& caption) {
  const Caption* c = Find_Caption(caption);
  return c && c->target != Target::Options && c->column2 != nullptr;
}

QString BuildChoiceList(AppState& state, const QString& lookup_sql, bool two_columns) {
  return Read_Choice_List(state, lookup_sql, two_columns).value_or(QString());
}

QString BuildDiscountList(AppState& state) { return Read_Discount_List(state).value_or(QString()); }

QString BuildOptionList(AppState& state, const QString& caption) {
  const QString sql = Options_Sql(caption);
  if (sql.isEmpty()) return {};
  return Read_Option_List(state, sql).value_or(QString());
}

void FillChoiceLists(AppState& state, KeyedGrid& grid, const ProgressCallback& progress) {
  const int kind = Table_Kind(grid);
  const int maximum = grid.Rows() - 1;
  if (progress) progress(0, maximum);
  for (int row = 1; row < grid.Rows(); ++row) {
    if (progress) progress(row, maximum);
    const QString caption = grid.Text(row, "FiltreLbl");
    const Caption* c = Find_Caption(caption);
    if (!c) continue;
    switch (c->target) {
      case Target::Today:
        grid.Set_Text(row, "Baslangic", QDate::currentDate().toString("dd.MM.yyyy"));
        break;
      case Target::Options:
        if (auto list = Read_Option_List(state, QString::fromUtf8(c->own_sql)))
          grid.Set_Text(row, "CoktanSecmeSecenek", "Hepsi" + *list);
        break;
      case Target::Plain:
      case Target::WithHepsi: {
        std::optional<QString> list =
            caption == QString::fromUtf8("İskonto")
                ? Read_Discount_List(state)
                : Read_Choice_List(state, Choice_List_Sql(state, caption, kind),
                                   Is_Two_Column_List(caption));
        if (list)
          grid.Set_Text(row, "Secenek", (c->target == Target::WithHepsi ? "Hepsi" : "") + *list);
        break;
      }
    }
  }
}

void Table_Kind_Changed(AppState& state, KeyedGrid& grid) {
  const int kind = Table_Kind(grid);
  Refill_Table_Lists(state, grid);
  const int first = grid.Find_Row("FiltreLbl", QString::fromUtf8("Rapor Başlangıç Ayı"));
  if (first > 0)
    grid.Set_Text(first, "Baslangic",
                  QString::fromUtf8(kind == kKindBalanceSheet ? "Açılış" : "Ocak"));
  // A balance sheet takes the closing vouchers in, an income statement leaves them out.
  const int closing = grid.Find_Row("FiltreLbl", QString::fromUtf8("Kapanış Fişi"));
  if (closing > 0)
    grid.Set_Text(closing, "Baslangic",
                  QString::fromUtf8(kind == kKindBalanceSheet ? "Dahil" : "Hariç"));
}

void Refill_Table_Lists(AppState& state, KeyedGrid& grid) {
  const int kind = Table_Kind(grid);
  for (const char* caption : {"Tablo Kodu", "Tablo Adı"}) {
    const int row = grid.Find_Row("FiltreLbl", QString::fromUtf8(caption));
    if (row <= 0) continue;
    if (auto list =
            Read_Choice_List(state, Choice_List_Sql(state, grid.Text(row, "FiltreLbl"), kind),
                             false))
      grid.Set_Text(row, "Secenek", *list);
    // A code or name of the other kind does not stay chosen.
    const QString chosen = grid.Text(row, "Baslangic");
    if (!chosen.isEmpty() && !grid.Text(row, "Secenek").split('|').contains(chosen))
      grid.Set_Text(row, "Baslangic", {});
  }
}

QString Check_Filter_Value(const KeyedGrid& grid, int row, QString& value) {
  if (Trim_Blanks(value).isEmpty()) return {};
  const QString type = grid.Text(row, "Tip").trimmed();
  QStringList choices;
  if (type == "OZ") {
    choices = QString::fromUtf8("Evet|Hayır|Aktif|Pasif|Hepsi").split('|');
  } else if (type != "TK") {
    for (const QString& item : grid.Text(row, "Secenek").split('|')) {
      const QString choice = Trim_Blanks(Choice_Item_Value(item));
      if (!choice.isEmpty() && !choices.contains(choice)) choices << choice;
    }
  }
  if (choices.isEmpty()) return {};
  const QString typed = Upper_TR(Trim_Blanks(value));
  for (const QString& choice : choices) {
    if (Upper_TR(choice) != typed) continue;
    value = choice;
    return {};
  }
  return QString::fromUtf8(
             "\"%1\" satırı için \"%2\" geçerli bir değer değil. Geçerli değerler: %3")
      .arg(grid.Text(row, "FiltreLbl"), value, choices.join(", "));
}

QString Offered_Choices(const KeyedGrid& grid, int row) {
  const QString list = grid.Text(row, "Secenek");
  if (grid.Text(row, "FiltreLbl") != QString::fromUtf8("Rapor Bitiş Ayı")) return list;
  const int first = grid.Find_Row("FiltreLbl", QString::fromUtf8("Rapor Başlangıç Ayı"));
  if (first > 0 && Trim_Blanks(grid.Text(first, "Baslangic")) == QString::fromUtf8("Aralık"))
    return list;
  // Next year's January is the list's "Ocak" with its trailing blank.
  QStringList items = list.split('|');
  items.removeAll(QString::fromUtf8("Ocak "));
  return items.join('|');
}

KeyedGrid Make_Choice_Popup() {
  KeyedGrid popup({"Secim", "Tip"});
  popup.Set_Text(0, "Secim", "Secim");
  popup.Set_Text(0, "Tip", "Tip");
  popup.Set_Col_Width(0, 495);
  popup.Set_Col_Width(1, 3000);
  return popup;
}

bool Popup_Ticked(const KeyedGrid& popup, int row) {
  return popup.Text(row, "Secim").compare("True", Qt::CaseInsensitive) == 0;
}

void Set_Popup_Tick(KeyedGrid& popup, int row, bool ticked) {
  popup.Set_Text(row, "Secim", ticked ? "True" : "False");
}

void LoadChoiceList(const KeyedGrid& grid, int row, KeyedGrid& popup) {
  popup.Clear_Rows();
  QStringList options = grid.Text(row, "CoktanSecmeSecenek").split(',');
  if (options.last().isEmpty()) options.removeLast();  // the comma that ends the last option
  for (const QString& option : options) {
    const int r = popup.Add_Row();
    Set_Popup_Tick(popup, r, false);
    popup.Set_Text(r, "Tip", option);
  }
  const QString selection = grid.Text(row, "CoktanSecmeSecim");
  if (selection.isEmpty()) {
    for (int r = 1; r < popup.Rows(); ++r) Set_Popup_Tick(popup, r, true);
    return;
  }
  for (const QString& chosen : selection.split(',', Qt::SkipEmptyParts)) {
    const int r = popup.Find_Row("Tip", chosen);
    if (r > 0) Set_Popup_Tick(popup, r, true);
  }
}

void StoreChoice(KeyedGrid& grid, int row, const KeyedGrid& popup) {
  QString selection;
  for (int r = 1; r < popup.Rows(); ++r) {
    const bool ticked = Popup_Ticked(popup, r);
    if (r == 1 && popup.Text(r, "Tip") == "Hepsi") {
      if (ticked) {
        selection.clear();
        break;
      }
      continue;
    }
    if (ticked) selection += popup.Text(r, "Tip") + ",";
  }
  grid.Set_Text(row, "CoktanSecmeSecim", selection);
  grid.Set_Text(row, "Baslangic", selection.isEmpty() ? "Hepsi" : "Secimli");
}

void Popup_Tick_Changed(KeyedGrid& popup, int row) {
  if (row == 1) {
    const bool ticked = Popup_Ticked(popup, 1);
    for (int r = 2; r < popup.Rows(); ++r) Set_Popup_Tick(popup, r, ticked);
  } else if (row > 1 && popup.Rows() > 1) {
    Set_Popup_Tick(popup, 1, false);
  }
}

void Popup_Double_Click(KeyedGrid& popup) {
  const int row = popup.Row();
  if (row < 1) return;
  Set_Popup_Tick(popup, row, !Popup_Ticked(popup, row));
  Popup_Tick_Changed(popup, row);
}

void Popup_Col_Changed(KeyedGrid& popup) {
  popup.Set_Current(popup.Row(), popup.Col_Index("Secim"));
}
