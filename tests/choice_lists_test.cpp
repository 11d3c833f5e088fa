// Choice lists read from the company's look-up tables, and the multiple-choice popup.
#include <gtest/gtest.h>

#include <QDate>

#include "run/choice_lists.h"
#include "run/master_file.h"
#include "support/case_file.h"
#include "support/test_suite.h"

namespace {

int Add(KeyedGrid& grid, const char* caption, const QString& secenek = {}) {
  const int row = grid.Add_Row();
  grid.Set_Text(row, "FiltreLbl", QString::fromUtf8(caption));
  grid.Set_Text(row, "Secenek", secenek);
  return row;
}

}  // namespace

using ChoiceListStatements = CaseFileTest;

TEST_P(ChoiceListStatements, ByCaption) {
  RecordingMessages messages;
  AppState state(messages);
  state.Movement_Table = "CARIHAREKETLER";
  for (const CaseLine& line : Read_Case_File(GetParam())) {
    const QStringList& c = line.fields;
    ASSERT_EQ(line.key, "caption") << line.Where();
    ASSERT_EQ(c.size(), 2) << line.Where();
    EXPECT_EQ(Choice_List_Sql(state, c[0]), c[1]) << line.Where();
  }
}

INSTANTIATE_TEST_SUITE_P(choice_lists, ChoiceListStatements,
                         testing::ValuesIn(Case_Files("choice_lists")), Case_File_Name);

TEST(ChoiceLists, TwoColumnListsAndItemValues) {
  EXPECT_TRUE(Is_Two_Column_List(QString::fromUtf8("Muhasebe Adı")));
  EXPECT_FALSE(Is_Two_Column_List(QString::fromUtf8("Muhasebe Özel Kod2")));
  EXPECT_FALSE(Is_Two_Column_List(QString::fromUtf8("Satıcı Kodu")));
  EXPECT_EQ(Choice_Item_Value("120.01\tYıldız"), "120.01");
}

TEST(ChoiceLists, EmptyLookupsAndMissingTable) {
  TestSuite suite;
  suite.Connect();
  suite.state.Movement_Table = "YOK_TABLO";
  KeyedGrid grid = Make_Filter_Grid();
  const int plain = Add(grid, "Cari Kodu", "eski");
  const int hepsi = Add(grid, "Cari Grup Kodu");
  const int options = Add(grid, "Satıcı Kodu");
  const int discount = Add(grid, "İskonto");
  const int missing = Add(grid, "İşlem Özel Kodu", "eski");
  const int today = Add(grid, "Raporlama Tarihi");
  const int other = Add(grid, "Seviye", "1|2");
  std::vector<std::pair<int, int>> progress;
  FillChoiceLists(suite.state, grid,
                  [&](int done, int count) { progress.emplace_back(done, count); });
  EXPECT_EQ(grid.Text(plain, "Secenek"), "");
  EXPECT_EQ(grid.Text(hepsi, "Secenek"), "Hepsi");
  EXPECT_EQ(grid.Text(options, "CoktanSecmeSecenek"), "Hepsi");
  EXPECT_EQ(grid.Text(discount, "Secenek"), "Hepsi");
  EXPECT_EQ(grid.Text(missing, "Secenek"), "eski");  // the look-up failed: not filled
  EXPECT_EQ(grid.Text(today, "Baslangic"), QDate::currentDate().toString("dd.MM.yyyy"));
  EXPECT_EQ(grid.Text(other, "Secenek"), "1|2");
  EXPECT_EQ(suite.messages.entries.size(), 2u);  // the database error and the statement
  ASSERT_FALSE(progress.empty());
  EXPECT_EQ(progress.back(), std::make_pair(grid.Rows() - 1, grid.Rows() - 1));
}

TEST(ChoiceLists, ListsFromTheDatabase) {
  TestSuite suite;
  suite.Exec(
      "INSERT INTO CARIKART (Cari_Kod, Unvan, Grup_Kod, ISK) VALUES "
      "('120.02 ', 'Ege Gıda', 'B', '10'), ('120.01', 'Yıldız', 'A', ' 5 '), "
      "('120.03', 'Kuzey', 'A', ''), ('120.04', 'Güney', NULL, NULL)");
  suite.Exec("INSERT INTO AMBAR (Ambar_No, Ambar_Ad) VALUES ('1', ''), ('2', 'Ankara Depo')");
  suite.Exec("INSERT INTO SATICI (Satici_Kodu, Satici_Adi) VALUES ('S01', 'Ahmet Yılmaz ')");
  suite.Exec(
      "INSERT INTO ISYERITANIM (Isyeri_Kodu, Isyeri_Adi) VALUES ('01', 'Merkez'), ('02', 'Şube')");
  suite.Connect();
  KeyedGrid grid = Make_Filter_Grid();
  const int cari = Add(grid, "Cari Kodu");
  const int group = Add(grid, "Cari Grup Kodu");
  const int ambar = Add(grid, "Ambar No");
  const int seller = Add(grid, "Satıcı Kodu");
  const int workplace = Add(grid, "İşyeri Adı");
  FillChoiceLists(suite.state, grid);
  EXPECT_EQ(grid.Text(cari, "Secenek"),
            QString::fromUtf8("|120.01\tYıldız|120.02\tEge Gıda|120.03\tKuzey|120.04\tGüney"));
  EXPECT_EQ(grid.Text(group, "Secenek"), "Hepsi||A|B");
  // The first row has no second column: one column.
  EXPECT_EQ(grid.Text(ambar, "Secenek"), "Hepsi|1|2");
  EXPECT_EQ(grid.Text(seller, "CoktanSecmeSecenek"),
            QString::fromUtf8("Hepsi,S01  /  Ahmet Yılmaz,"));
  EXPECT_EQ(grid.Text(workplace, "Secenek"), QString::fromUtf8("Hepsi|Merkez|Şube"));
  EXPECT_EQ(BuildDiscountList(suite.state), "|10|5|");
  EXPECT_EQ(BuildOptionList(suite.state, QString::fromUtf8("Satıcı Adı")),
            QString::fromUtf8(",Ahmet Yılmaz  /  S01,"));
  EXPECT_TRUE(suite.messages.entries.empty());
}

TEST(ChoiceLists, PopupWithoutHepsi) {
  // Ticking and storing through the window's keys, with "Hepsi" in front, is in
  // ui/filter_window_test.cpp; here the options have no "Hepsi" and the first row is an option.
  KeyedGrid grid = Make_Filter_Grid();
  const int row = grid.Add_Row();
  grid.Set_Text(row, "CoktanSecmeSecenek", "X,Y,");
  grid.Set_Text(row, "CoktanSecmeSecim", "X,");
  KeyedGrid popup = Make_Choice_Popup();
  LoadChoiceList(grid, row, popup);
  ASSERT_EQ(popup.Rows(), 3);
  EXPECT_TRUE(Popup_Ticked(popup, 1) && !Popup_Ticked(popup, 2));
  popup.Set_Current(2, popup.Col_Index("Tip"));
  Popup_Double_Click(popup);  // ticking another option unticks the first row all the same
  StoreChoice(grid, row, popup);
  EXPECT_EQ(grid.Text(row, "CoktanSecmeSecim"), "Y,");
  EXPECT_EQ(grid.Text(row, "Baslangic"), "Secimli");
}
