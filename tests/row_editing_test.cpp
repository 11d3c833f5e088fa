// The row editor's rules without a screen: fields by row type, checks and their messages, the
// write into a definition grid (insertion by code, duplicates, change), the formula builder;
// and the account picker's rules: opening, search text, sort columns, statement, detail choice.
#include <gtest/gtest.h>

#include "db/query.h"
#include "editor/account_list.h"
#include "editor/row_editing.h"
#include "model/financial_table.h"
#include "support/test_suite.h"

namespace {

KeyedGrid Main_Grid(const QStringList& codes) {
  KeyedGrid grid = Make_Definition_Grid(kPlaceMain);
  for (const QString& code : codes) {
    const int r = grid.Add_Row();
    grid.Set_Text(r, "Satir_Kodu", code);
    grid.Set_Text(r, "Satir_Tipi", "1");
  }
  return grid;
}

QStringList Codes(const KeyedGrid& grid) {
  QStringList codes;
  for (int r = 1; r < grid.Rows(); ++r) codes << grid.Text(r, "Satir_Kodu");
  return codes;
}

RowFields Named(const QString& code, const QString& name) {
  RowFields f;
  f.Satir_Kodu = code;
  f.Satir_Adi = name;
  return f;
}

struct RowEditingTest : ::testing::Test {
  RecordingMessages messages;
  AppState state{messages};
};

}  // namespace

// (The boxes of groups, accounts, ranges, subtotals and footnotes as shown: RowEditor tests.)
TEST(RowLayout, FieldsShownByRowType) {
  const RowLayout amount = Arrange_Fields(kRowAmount);
  EXPECT_TRUE(amount.amount_box && amount.hesaplama && !amount.bakiye && !amount.formula);
  const RowLayout formula = Arrange_Fields(kRowFormula);
  EXPECT_TRUE(formula.formula && !formula.amount_box && !formula.hesaplama);
  EXPECT_EQ(formula.amount_caption, "Formül");
  const RowLayout other = Arrange_Fields(7);
  for (bool shown : other.frames) EXPECT_FALSE(shown);
}

TEST_F(RowEditingTest, ChecksStopAtTheFirstEmptyFieldWithItsMessage) {
  RowFields f;
  EXPECT_EQ(Check_Fields(state, f, Arrange_Fields(kRowGroup)), kMissingRowCode);
  f.Satir_Kodu = " ";  // as typed: a blank is not empty
  EXPECT_EQ(Check_Fields(state, f, Arrange_Fields(kRowGroup)), kMissingRowName);
  f.Satir_Adi = "SATIŞLAR";
  EXPECT_EQ(Check_Fields(state, f, Arrange_Fields(kRowGroup)), "");
  EXPECT_EQ(Check_Fields(state, f, Arrange_Fields(kRowSingleAccount)), kMissingAccountCode);
  EXPECT_EQ(Check_Fields(state, f, Arrange_Fields(kRowAccountRange)), kMissingRangeStart);
  f.MHesap_KodBas = "600";
  EXPECT_EQ(Check_Fields(state, f, Arrange_Fields(kRowAccountRange)), kMissingRangeEnd);
  f.MHesap_KodBit = "602";
  EXPECT_EQ(Check_Fields(state, f, Arrange_Fields(kRowAccountRange)), "");
  // A subtotal has no code box, so an empty code passes.
  RowFields subtotal = Named("", "ARA TOPLAM");
  EXPECT_EQ(Check_Fields(state, subtotal, Arrange_Fields(kRowSubtotal)), "");
  // Texts longer than their columns are refused before a save.
  f.Satir_Adi = QString(200, u'Ş');
  EXPECT_EQ(Check_Fields(state, f, Arrange_Fields(kRowAccountRange)), "");
  f.Satir_Adi += "x";
  EXPECT_EQ(Check_Fields(state, f, Arrange_Fields(kRowAccountRange)),
            "Açıklama en fazla 200 karakter olabilir (201 karakter yazıldı).");
  f.Satir_Adi = "SATIŞLAR";
  f.MHesap_KodBit = QString(31, '9');
  EXPECT_EQ(Check_Fields(state, f, Arrange_Fields(kRowAccountRange)),
            "Bitiş Hesap Kodu en fazla 30 karakter olabilir (31 karakter yazıldı).");
}

TEST_F(RowEditingTest, AnAmountThatIsNotANumberBecomesZero) {
  state.System_Decimal_Sep = ",";
  state.System_Thousand_Sep = ".";
  RowFields f = Named("9", "SABİT");
  EXPECT_EQ(Check_Fields(state, f, Arrange_Fields(kRowAmount)), "");
  EXPECT_EQ(f.Tutar, "0");
  f.Tutar = "1.234,50";
  Check_Fields(state, f, Arrange_Fields(kRowAmount));
  EXPECT_EQ(f.Tutar, "1.234,50");
  f.Tutar = "12a";
  Check_Fields(state, f, Arrange_Fields(kRowAmount));
  EXPECT_EQ(f.Tutar, "0");
}

TEST(RowWrite, ANewRowGoesBelowTheCurrentOne) {
  KeyedGrid grid = Main_Grid({"1.1", "1.2", "1.4"});
  grid.Set_Current(1, 0);
  const RowLayout l = Arrange_Fields(kRowGroup);
  const WriteResult w = Write_To_Grid(grid, true, kRowGroup, Named("1.3", "Üç  "), l);
  EXPECT_EQ(w.row, 2);
  EXPECT_EQ(Codes(grid), QStringList({"1.1", "1.3", "1.2", "1.4"}));
  EXPECT_EQ(grid.Text(2, "Satir_Adi"), "Üç");  // trailing blanks dropped, case kept
  EXPECT_EQ(grid.Text(2, "Yazilacak"), "1.3Üç");
  EXPECT_EQ(grid.Text(2, "Satir_Seviyesi"), "2");
  EXPECT_EQ(grid.Text(2, "Hesaplama_Tipi"), "1");
  EXPECT_EQ(grid.Row(), 2);
  grid.Set_Current(0, 0);
  EXPECT_EQ(Write_To_Grid(grid, true, kRowGroup, Named("0", "SON"), l).row, 5);
}

TEST(RowWrite, ACodeAlreadyThereIsRefused) {
  KeyedGrid grid = Main_Grid({"1.1", "1.2", "1.4"});
  const WriteResult w =
      Write_To_Grid(grid, true, kRowGroup, Named("1.2", "İKİ"), Arrange_Fields(kRowGroup));
  EXPECT_EQ(w.row, -1);
  EXPECT_EQ(w.message, kDuplicateRowCode);
  EXPECT_EQ(grid.Rows(), 4);
}

TEST(RowWrite, ARowWithoutACodeGoesBelowTheCurrentRowToo) {
  KeyedGrid grid = Main_Grid({"1.1", "1.2", "1.4"});
  grid.Set_Current(2, 0);
  const WriteResult w = Write_To_Grid(grid, true, kRowSubtotal, Named("", "ARA TOPLAM"),
                                      Arrange_Fields(kRowSubtotal));
  EXPECT_EQ(w.row, 3);
  EXPECT_EQ(Codes(grid), QStringList({"1.1", "1.2", "", "1.4"}));
  EXPECT_EQ(grid.Text(3, "Satir_Tipi"), "4");
  EXPECT_EQ(grid.Text(3, "Satir_Seviyesi"), "1");
}

TEST(RowWrite, AccountBoxesAmountAndFormulaCells) {
  KeyedGrid grid = Main_Grid({});
  RowFields account = Named("1.1", "YURT İÇİ");
  account.MHesap_Kod = " 600.01 ";
  account.options[1] = 2;
  Write_To_Grid(grid, true, kRowSingleAccount, account, Arrange_Fields(kRowSingleAccount));
  EXPECT_EQ(grid.Text(1, "MHesap_KodBas"), "600.01");
  EXPECT_EQ(grid.Text(1, "MHesap_KodBit"), "");
  EXPECT_EQ(grid.Text(1, "Bakiye_Tipi"), "2");
  EXPECT_EQ(grid.Text(1, "Tutar"), "");

  RowFields formula = Named("9", "NET");
  formula.Formul = "1+2";
  formula.Tutar = "0";
  EXPECT_EQ(Write_To_Grid(grid, true, kRowFormula, formula, Arrange_Fields(kRowFormula)).row, 2);
  EXPECT_EQ(grid.Text(2, "Formul"), "1+2");
  EXPECT_EQ(grid.Text(2, "Tutar"), "0");
}

TEST(RowWrite, AChangeRewritesTheCurrentRowAndKeepsUnselectedOptions) {
  KeyedGrid grid = Main_Grid({"1", "2"});
  grid.Set_Text(2, "Ters_Bakiye", "1");
  grid.Set_Text(2, "MHesap_KodBas", "600");
  grid.Set_Text(2, "MHesap_KodBit", "602 ");
  grid.Set_Current(2, 0);
  const RowLayout l = Arrange_Fields(kRowAccountRange);
  RowFields f = Fill_From_Grid(grid, 2, l);
  EXPECT_EQ(f.MHesap_KodBas, "600");
  EXPECT_EQ(f.MHesap_KodBit, "602");
  EXPECT_EQ(f.options[3], 1);
  EXPECT_EQ(f.options[0], -1);  // an empty cell selects no button
  f.Satir_Kodu = "3";
  const WriteResult w = Write_To_Grid(grid, false, kRowAccountRange, f, l);
  EXPECT_EQ(w.row, 2);
  EXPECT_EQ(Codes(grid), QStringList({"1", "3"}));
  EXPECT_EQ(grid.Text(2, "Hesaplama_Tipi"), "");
  EXPECT_EQ(grid.Text(2, "Satir_Tipi"), "3");
}

TEST(FormulaBuilder, OperatorsCodesAndBackspace) {
  EXPECT_EQ(Formula_Add_Operator("", '+'), "");
  EXPECT_EQ(Formula_Add_Operator("1-", '+'), "1-");
  EXPECT_EQ(Formula_Add_Operator("1", '*'), "1*");
  EXPECT_EQ(Formula_Add_Operator("(1)", '/'), "(1)/");
  EXPECT_EQ(Formula_Add_Code("", "1.1"), "1.1");
  EXPECT_EQ(Formula_Add_Code("1.1", "1.2"), "1.1");
  EXPECT_EQ(Formula_Add_Code("1.1+", "1.2"), "1.1+1.2");
  EXPECT_EQ(Formula_Add_Code("(", "2"), "(2");
  EXPECT_EQ(Formula_Backspace("1.1+1.2"), "1.1+");
  EXPECT_EQ(Formula_Backspace("1.1+"), "1.1");
  EXPECT_EQ(Formula_Backspace("1.1"), "");
  EXPECT_EQ(Formula_Backspace(""), "");
  EXPECT_EQ(Formula_Backspace("(1+2)"), "(1+2");
}

TEST(FormulaBuilder, OffersEveryRowWithACodeButTheChangedOne) {
  KeyedGrid grid = Main_Grid({"A", "", "A.1", "B"});
  grid.Set_Text(1, "Satir_Adi", "Bir");
  grid.Set_Text(3, "Satir_Tipi", QString::number(kRowSingleAccount));
  const auto rows = Formula_Rows(grid, 4);
  ASSERT_EQ(rows.size(), 2);
  EXPECT_EQ(rows[0], qMakePair(QString("A"), QString("Bir")));
  EXPECT_EQ(rows[1].first, "A.1");
  EXPECT_EQ(Formula_Rows(Main_Grid({})).size(), 0);
}

TEST(AccountList, SearchTextOpeningAndSortColumns) {
  QString search;
  for (char c : QByteArray("100 01")) Account_Search_Key(search, true, c);
  EXPECT_EQ(search, "100.01");
  EXPECT_FALSE(Account_Search_Key(search, true, '+'));
  EXPECT_TRUE(Account_Search_Key(search, true, 8));
  EXPECT_EQ(search, "100.0");
  QString name;
  Account_Search_Key(name, false, ' ');
  Account_Search_Key(name, false, '-');
  EXPECT_EQ(name, " -");

  const PickerStart opened = Picker_Start("120.0");
  EXPECT_EQ(opened.sort_column, kAccountCodeColumn);
  EXPECT_EQ(opened.search, "120.");
  EXPECT_TRUE(opened.reset_opening);
  const PickerStart plain = Picker_Start("0");
  EXPECT_EQ(plain.search, "");
  EXPECT_FALSE(plain.reset_opening);
  EXPECT_EQ(Picker_Start("SATIŞ1").sort_column, kAccountNameColumn);

  EXPECT_EQ(Next_Account_Sort_Column(1, true), 8);
  EXPECT_EQ(Next_Account_Sort_Column(8, false), 1);
  EXPECT_EQ(Next_Account_Sort_Column(2, false), 5);
  EXPECT_EQ(Account_Caption(6), "Muhasebe Hesap Listesi -> Özel Kod2'e Göre...");
  EXPECT_EQ(Account_Search_Sql("MHesap_Ad", "Hepsi"),
            QString(kAccountsBaseSql) + kAccountsGroupBy + " ORDER BY MHesap_Ad");
  EXPECT_EQ(Account_Search_Sql("MUHKART.MHesap_Kod", "Aktif Olanlar"),
            QString(kAccountsBaseSql) + " WHERE MUHKART.Aktif=1" + kAccountsGroupBy +
                " ORDER BY MUHKART.MHesap_Kod");
  EXPECT_EQ(Account_Search_Sql("MHesap_Ad", "Aktif Olmayanlar"),
            QString(kAccountsBaseSql) + " WHERE Aktif=0" + kAccountsGroupBy +
                " ORDER BY MHesap_Ad");
}

TEST(AccountList, ChartLookUpBalancesAndTurkishSearch) {
  TestSuite t;
  t.Connect();
  t.Exec(
      "INSERT INTO MUHKART (MHesap_ID,MHesap_Kod,MHesap_Ad,Aktif) VALUES "
      "(1,'600','YURT İÇİ SATIŞLAR',1),(2,'600.01','MAĞAZA',1),(3,'600.02','İNTERNET',0),"
      "(4,'601','YURT DIŞI SATIŞLAR',1)");
  t.Exec("INSERT INTO MUHBAKIYE (MHesap_ID,Bakiye) VALUES (2,-100),(2,-50.5),(3,20)");
  const auto found = Look_Up_Account(t.state, "600.01");
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->id, 2);
  EXPECT_EQ(found->name, "MAĞAZA");
  EXPECT_FALSE(Look_Up_Account(t.state, "600.0").has_value());

  Recordset rows;
  Open_Recordset(t.state.Db(), rows, Account_Search_Sql("MUHKART.MHesap_Kod", "Hepsi"));
  KeyedGrid grid;
  Fill_Account_Grid(t.state, rows, grid, kAccountCodeColumn, false, "600.");
  ASSERT_EQ(grid.Rows(), 3);
  EXPECT_EQ(grid.Text(1, "MHesap_Kod"), "600.01");
  EXPECT_TRUE(grid.Text(1, "Bakiye").endsWith("(A)"));
  EXPECT_EQ(grid.Text(0, 1), "Hesap Kodu ^");
  Open_Recordset(t.state.Db(), rows, Account_Search_Sql("MHesap_Ad", "Aktif Olanlar"));
  Fill_Account_Grid(t.state, rows, grid, kAccountNameColumn, false);
  ASSERT_EQ(grid.Rows(), 4);  // 600, 600.01 and 601, by name
  EXPECT_EQ(grid.Text(1, "MHesap_Kod"), "600.01");
  EXPECT_EQ(grid.Text(0, 2), "Hesap Adı ^");
  // A name search ignores case by Turkish rules: the dotless ı of "dış" is the I of "DIŞI".
  for (const char* typed : {"yurt dış", "YURT DIŞ", "Yurt Dış"}) {
    Fill_Account_Grid(t.state, rows, grid, kAccountNameColumn, false, QString::fromUtf8(typed));
    ASSERT_EQ(grid.Rows(), 2) << typed;
    EXPECT_EQ(grid.Text(1, "MHesap_Kod"), "601");
  }
  Fill_Account_Grid(t.state, rows, grid, kAccountNameColumn, false, "yurt dis");
  EXPECT_EQ(grid.Rows(), 1);
  Fill_Account_Grid(t.state, rows, grid, kAccountNameColumn, false, "yurt i");
  EXPECT_EQ(grid.Rows(), 2);  // "YURT İÇİ", the dotted İ
}
