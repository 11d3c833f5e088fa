// The statement editor's rules without a screen: the table list's statements, search, sort and
// delete; the definition window's menu, keys, row change, delete and insertion by code; the code
// and name dialog's refusals and results.
#include <gtest/gtest.h>

#include "db/query.h"
#include "editor/code_name.h"
#include "editor/definition_editing.h"
#include "editor/table_list.h"
#include "support/test_suite.h"

namespace {

QStringList Codes(const TableList& list) {
  QStringList codes;
  for (int r = 1; r < list.grid.Rows(); ++r) codes << list.grid.Text(r, "Rapor_Kodu");
  return codes;
}

// Headers of both kinds, each with two rows.
void Add_Tables(TestSuite& ts) {
  int id = 0;
  for (auto [code, name, kind] :
       {std::tuple{"12A", "Zeytin", 2}, std::tuple{"120", "Armut", 2}, std::tuple{"2", "Ceviz", 2},
        std::tuple{"121", "Bilanço", 1}, std::tuple{"AHMET'İN", "Ahmet'in", 2}}) {
    ++id;
    ts.Exec(
        QString("INSERT INTO MUHASEBEMALITABLOKART (Rapor_ID, Rapor_Kodu, Rapor_Adi, Rapor_Tipi) "
                "VALUES (%1, '%2', '%3', %4)")
            .arg(id)
            .arg(QString(code).replace("'", "''"), QString(name).replace("'", "''"))
            .arg(kind));
    for (int n = 1; n <= 2; ++n)
      ts.Exec(
          QString(
              "INSERT INTO MUHASEBEMALITABLOHAREKET (Rapor_ID, Rapor_Yeri, Satir_No, Satir_Tipi) "
              "VALUES (%1, 1, %2, 1)")
              .arg(id)
              .arg(n));
  }
}

KeyedGrid Grid_With_Codes(const QStringList& codes) {
  KeyedGrid grid = Make_Definition_Grid(kPlaceMain);
  for (const QString& code : codes) {
    const int r = grid.Add_Row();
    grid.Set_Text(r, "Satir_Kodu", code);
  }
  return grid;
}

QStringList Codes(const KeyedGrid& grid) {
  QStringList codes;
  for (int r = 1; r < grid.Rows(); ++r) codes << grid.Text(r, "Satir_Kodu");
  return codes;
}

}  // namespace

// (The list's statement and captions as shown: EditorWindows tests.)
TEST(TableListRules, SortColumns) {
  // Left from the code goes to the name, Right from the name back to the code.
  EXPECT_EQ(Next_Sort_Column(1, true), 2);
  EXPECT_EQ(Next_Sort_Column(2, true), 1);
  EXPECT_EQ(Next_Sort_Column(2, false), 1);
  EXPECT_EQ(Next_Sort_Column(1, false), 2);

  TableList list(2);
  EXPECT_EQ(list.grid.Text(0, 1), "Rapor Kodu ^");
  Set_Sort_Column(list, 2);
  EXPECT_EQ(list.sort_field, "Rapor_Adi");
  EXPECT_EQ(list.grid.Text(0, 1), "Rapor Kodu");
  EXPECT_EQ(list.grid.Text(0, 2), "Rapor Adı ^");
  EXPECT_EQ(list.grid.Fore_Color(0, 1), QColor(0x80, 0, 0));
  Set_Sort_Column(list, 3);  // the kind column keeps the field
  EXPECT_EQ(list.sort_field, "Rapor_Adi");
  EXPECT_EQ(list.sort_column, 3);
}

TEST(TableListRules, SearchSortAndDelete) {
  TestSuite ts;
  ts.Connect();
  Add_Tables(ts);
  TableList list(2);
  EXPECT_TRUE(Search_List(ts.state, list, ""));
  EXPECT_EQ(Codes(list), QStringList({"120", "12A", "2", "AHMET'İN"}));
  EXPECT_EQ(list.grid.Row(), 1);
  EXPECT_FALSE(Search_List(ts.state, list, ""));  // the same text does not query again
  EXPECT_TRUE(Search_List(ts.state, list, "12"));
  EXPECT_EQ(Codes(list), QStringList({"120", "12A"}));
  EXPECT_EQ(list.last_search_text, "12");
  EXPECT_TRUE(Search_List(ts.state, list, "AHMET'"));
  EXPECT_EQ(Codes(list), QStringList({"AHMET'İN"}));
  EXPECT_TRUE(ts.messages.entries.empty());

  // The name column: the same text searches the names, ordered by name.
  Set_Sort_Column(list, 2);
  EXPECT_TRUE(Search_List(ts.state, list, ""));
  EXPECT_EQ(Codes(list), QStringList({"AHMET'İN", "120", "2", "12A"}));
  // F12: ascending without the direction word, then descending, then ascending again.
  Toggle_List_Order(ts.state, list);
  EXPECT_TRUE(list.rows.Source().endsWith(" ORDER BY Rapor_Adi"));
  Toggle_List_Order(ts.state, list);
  EXPECT_EQ(Codes(list), QStringList({"12A", "2", "120", "AHMET'İN"}));
  Toggle_List_Order(ts.state, list);
  EXPECT_EQ(Codes(list).first(), "AHMET'İN");

  ListedTable table;
  EXPECT_FALSE(Listed_Table(list, 0, table));
  EXPECT_FALSE(Listed_Table(list, 5, table));
  ASSERT_TRUE(Listed_Table(list, 2, table));
  EXPECT_EQ(table.code, "120");
  EXPECT_EQ(table.name, "Armut");
  EXPECT_EQ(table.type, 2);

  // Delete: that table's rows and header only.
  Delete_Table(ts.state, table.id);
  EXPECT_EQ(ts.Count("MUHASEBEMALITABLOKART"), 4);
  EXPECT_EQ(ts.Count("MUHASEBEMALITABLOHAREKET"), 8);
  EXPECT_EQ(ts.Count(QString("MUHASEBEMALITABLOHAREKET WHERE Rapor_ID=%1").arg(table.id)), 0);
  list.last_sql.clear();
  Search_List(ts.state, list, "");
  EXPECT_EQ(list.grid.Rows(), 4);

  // The other kind lists only its own tables.
  TableList sheets(1);
  Search_List(ts.state, sheets, "");
  EXPECT_EQ(Codes(sheets), QStringList({"121"}));
}

TEST(DefinitionEditing, MenuKeysAndLayoutByKind) {
  QStringList footnote_items, body_items;
  for (const RowMenuItem& item : Row_Menu_Items()) {
    if (Row_Menu_Item_Visible(item.name, kPlaceFootnote)) footnote_items << item.caption;
    if (Row_Menu_Item_Visible(item.name, kPlacePassive)) body_items << item.caption;
  }
  EXPECT_EQ(footnote_items, QStringList({"DİPNOT EKLE", "FORMÜL", "SATIR DEĞİŞTİR", "YUKARI TAŞI",
                                         "AŞAĞI TAŞI", "SATIR SİL", "DİPNOTLAR"}));
  EXPECT_EQ(body_items.size(), 13);
  EXPECT_FALSE(body_items.contains("DİPNOT EKLE"));

  // F2 saves while the button shows; F3 closes outside view mode, Escape only in it.
  EXPECT_EQ(Definition_Window_Key(113, true, false), DefinitionKey::Save);
  EXPECT_EQ(Definition_Window_Key(113, false, true), DefinitionKey::None);
  EXPECT_EQ(Definition_Window_Key(114, true, false), DefinitionKey::Exit);
  EXPECT_EQ(Definition_Window_Key(114, false, true), DefinitionKey::None);
  EXPECT_EQ(Definition_Window_Key(27, false, true), DefinitionKey::Exit);
  EXPECT_EQ(Definition_Window_Key(27, true, false), DefinitionKey::None);

  EXPECT_TRUE(Shows_Passive_Grid("1"));
  EXPECT_FALSE(Shows_Passive_Grid("2"));
  EXPECT_FALSE(Shows_Passive_Grid("7"));
}

TEST(DefinitionEditing, ChangeMoveDeleteAndInsertionBelowTheCurrentRow) {
  KeyedGrid grid = Grid_With_Codes({"1", "1.2", "3", "a"});
  EXPECT_EQ(Row_To_Change(grid), -1);  // the header row is current
  grid.Set_Current(2, 0);
  grid.Set_Text(2, "Satir_Tipi", "11");
  EXPECT_EQ(Row_To_Change(grid), 11);
  grid.Set_Text(2, "Satir_Tipi", "x");
  EXPECT_EQ(Row_To_Change(grid), 0);

  grid.Set_Text(2, "Satir_Tipi", QString::number(kRowDoubleRule));
  EXPECT_EQ(Row_To_Change(grid), -1);  // a rule has nothing to change

  // Rows move one place at a time, every cell with them, and stay current; not past either end.
  grid.Set_Text(2, "Satir_Adi", "İKİ");
  EXPECT_TRUE(Move_Current_Row(grid, 1));
  EXPECT_EQ(Codes(grid), QStringList({"1", "3", "1.2", "a"}));
  EXPECT_EQ(grid.Row(), 3);
  EXPECT_EQ(grid.Text(3, "Satir_Adi"), "İKİ");
  EXPECT_EQ(grid.Text(3, "Satir_Tipi"), "7");
  EXPECT_TRUE(Move_Current_Row(grid, -1));
  EXPECT_TRUE(Move_Current_Row(grid, -1));
  EXPECT_FALSE(Move_Current_Row(grid, -1));
  EXPECT_EQ(Codes(grid), QStringList({"1.2", "1", "3", "a"}));
  grid.Set_Current(4, 0);
  EXPECT_FALSE(Move_Current_Row(grid, 1));
  EXPECT_TRUE(Move_Current_Row(grid, -1));
  EXPECT_EQ(Codes(grid), QStringList({"1.2", "1", "a", "3"}));

  // A new row goes below the current one, whatever its code; without a current row, last.
  grid.Set_Current(1, 0);
  EXPECT_EQ(Insertion_Row(grid), 2);
  grid.Set_Current(0, 0);
  EXPECT_EQ(Insertion_Row(grid), 5);
  EXPECT_EQ(Row_With_Code(grid, "3"), 4);
  EXPECT_EQ(Row_With_Code(grid, "3", 4), -1);
  grid = Grid_With_Codes({"1", "1.2", "3", "a"});

  DefinitionRow row;
  row.Satir_Tipi = kRowAmount;
  row.Satir_Kodu = "2.1.1";
  row.Satir_Adi = " Teminat";
  row.Bakiye = 1500;
  grid.Set_Current(2, 0);
  const int r = Insert_Definition_Row(grid, row);
  EXPECT_EQ(r, 3);
  EXPECT_EQ(grid.Row(), 3);
  EXPECT_EQ(Codes(grid), QStringList({"1", "1.2", "2.1.1", "3", "a"}));
  EXPECT_EQ(grid.Text(r, "Satir_Seviyesi"), "3");
  EXPECT_EQ(grid.Text(r, "Yazilacak"), "2.1.1 Teminat");
  EXPECT_EQ(grid.Text(r, "Tutar"), "1500");
  EXPECT_EQ(grid.Text(r, "Hesaplama_Tipi"), "1");
  KeyedGrid footnotes = Make_Definition_Grid(kPlaceFootnote);
  row.Formul = "1+2";
  EXPECT_EQ(Insert_Definition_Row(footnotes, row), 1);  // no Formul column: nothing to fill

  grid.Set_Current(3, 0);
  EXPECT_TRUE(Delete_Current_Row(grid));
  EXPECT_EQ(Codes(grid), QStringList({"1", "1.2", "3", "a"}));
  KeyedGrid one = Grid_With_Codes({"1"});
  one.Set_Current(1, 0);
  EXPECT_TRUE(Delete_Current_Row(one));
  EXPECT_EQ(one.Row(), 0);
  EXPECT_FALSE(Delete_Current_Row(one));
}

TEST(DefinitionEditing, ColumnsShowWhatEachRowPrintsAndComputes) {
  KeyedGrid grid = Grid_With_Codes({"A", "A.1", "A.1.1", "", ""});
  Show_Definition_Columns(grid, kPlaceMain);
  QStringList shown;
  for (int c = 0; c < grid.Cols(); ++c)
    if (!grid.Col_Hidden(c)) shown << grid.Text(0, c);
  EXPECT_EQ(shown.size(), 6);
  for (const char* heading : {"Kod", "Açıklama", "Satır Türü", "Hesaplar", "Formül", "Seçenekler"})
    EXPECT_TRUE(shown.contains(heading)) << heading;
  KeyedGrid passive = Grid_With_Codes({});
  Show_Definition_Columns(passive, kPlacePassive);
  EXPECT_EQ(passive.Text(0, passive.Col_Index("Satir_Adi")), "PASİFLER");
  EXPECT_TRUE(passive.Col_Hidden(passive.Col_Index("Formul")));

  auto cell = [&grid](int row, const char* key) {
    return Definition_Cell_Text(grid, row, key, grid.Text(row, key));
  };
  grid.Set_Text(3, "Satir_Tipi", QString::number(kRowAccountRange));
  grid.Set_Text(3, "Satir_Adi", "Yurt içi");
  grid.Set_Text(3, "MHesap_KodBas", "600");
  grid.Set_Text(3, "MHesap_KodBit", "600.99 ");
  grid.Set_Text(3, "Hesaplama_Tipi", "2");
  grid.Set_Text(3, "Bakiye_Tipi", "0");
  grid.Set_Text(3, "Hesap_Karakteri", "2");
  grid.Set_Text(3, "Ters_Bakiye", "1");
  EXPECT_EQ(cell(3, "Satir_Adi"), "      Yurt içi");  // level 3: two steps in
  EXPECT_EQ(cell(3, "Satir_Tipi"), "HESAP ARALIĞI");
  EXPECT_EQ(cell(3, "MHesap_KodBas"), "600 - 600.99");
  EXPECT_EQ(cell(3, "Hesaplama_Tipi"), "Çıkar, Toplam Bakiye, Alacak, Listelenmeyecek");
  grid.Set_Text(2, "Satir_Tipi", QString::number(kRowAmount));
  grid.Set_Text(2, "Hesaplama_Tipi", "1");
  EXPECT_EQ(cell(2, "Hesaplama_Tipi"), "Ekle");  // an amount is only added or subtracted
  grid.Set_Text(1, "Satir_Tipi", QString::number(kRowGroup));
  EXPECT_EQ(cell(1, "Hesaplama_Tipi"), "");
  EXPECT_EQ(cell(1, "Satir_Tipi"), "GRUP");
  grid.Set_Text(4, "Satir_Tipi", QString::number(kRowSingleRule));
  grid.Set_Text(5, "Satir_Tipi", QString::number(kRowBlankLine));
  EXPECT_EQ(cell(4, "Satir_Tipi"), "TEK ÇİZGİ");
  EXPECT_TRUE(cell(4, "Satir_Adi").startsWith(QChar(0x2500)));
  EXPECT_EQ(cell(5, "Satir_Tipi"), "BOŞ SATIR");
  EXPECT_EQ(cell(5, "Satir_Adi"), "");

  EXPECT_EQ(Definition_Window_Title("GT ", "Gelir Tablosu"),
            "GT - Gelir Tablosu : Entegrasyon Parametre Girişi");
  EXPECT_EQ(Definition_Window_Title("", ""), "Yeni Tablo : Entegrasyon Parametre Girişi");
  const DefinitionRow rule = Page_Layout_Row(kRowDoubleRule);
  EXPECT_EQ(rule.Hesaplama_Tipi, kHesaplamaNone);
  EXPECT_TRUE(rule.Satir_Kodu.isEmpty() && rule.Satir_Adi.isEmpty());
}

TEST(CodeNameRules, RefusalsAndResults) {
  RecordingMessages messages;
  AppState state(messages);
  EXPECT_EQ(Code_Name_Refusal("   ", "Ad"), "Lütfen Tablo Kodunu Giriniz");
  EXPECT_EQ(Code_Name_Refusal("", ""), "Lütfen Tablo Kodunu Giriniz");
  EXPECT_EQ(Code_Name_Refusal("K", " "), "Lütfen Tablo Adını Giriniz");
  EXPECT_EQ(Code_Name_Refusal("K", "A"), "");
  EXPECT_EQ(Code_Name_Refusal("K", " " + QString(100, u'Ö') + " "), "");
  EXPECT_EQ(Code_Name_Refusal("K", QString(106, u'Ö')),
            "Tablo Adı en fazla 100 karakter olabilir (106 karakter yazıldı).");
  EXPECT_EQ(Code_Name_Refusal(QString(51, 'K'), "A"),
            "Tablo Kodu en fazla 50 karakter olabilir (51 karakter yazıldı).");

  state.Table_Code = "ESKİ";
  state.Table_Name = "Eski Ad";
  const CodeNameStart start = Code_Name_Start(state);
  EXPECT_FALSE(Code_Name_Confirm(state, " ", "Ad"));
  ASSERT_EQ(messages.entries.size(), 1u);
  EXPECT_EQ(messages.entries[0].kind, MessageKind::Critical);
  EXPECT_EQ(state.Table_Code, "ESKİ");
  const QString thirty = QString("ÇĞİÖŞÜ'").repeated(5).left(30);
  EXPECT_TRUE(Code_Name_Confirm(state, " " + thirty + " ", thirty));
  EXPECT_EQ(state.Table_Code, thirty);
  EXPECT_FALSE(state.Child_Cancelled);
  Code_Name_Cancel(state, start);
  EXPECT_EQ(state.Table_Code, "ESKİ");
  EXPECT_EQ(state.Table_Name, "Eski Ad");
  EXPECT_TRUE(state.Child_Cancelled);
}
