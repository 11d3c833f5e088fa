// The row editor and the account picker driven as a user drives them, offscreen: rows of every
// kind added to a new statement by keys and mouse, accounts looked up by Enter and picked in
// the picker by code and by name, the refusals with their messages, the formula builder's
// buttons and keys, a row changed. MALITABLO_SCREENSHOTS=<folder> saves both windows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "editor/account_picker_window.h"
#include "editor/row_editor_window.h"
#include "editor/table_definition_window.h"
#include "support/test_suite.h"
#include "ui/screenshot.h"
#include "ui/user_steps.h"
#include "ui_common/keyed_grid_widget.h"

namespace {

class RowEditor : public ::testing::Test {
 protected:
  void SetUp() override {
    t.state.Program_Folder = MALITABLO_PROGRAM_DIR;
    t.Connect();
    t.Exec(
        "INSERT INTO MUHKART (MHesap_ID,MHesap_Kod,MHesap_Ad,Aktif) VALUES "
        "(1,'600','YURT İÇİ SATIŞLAR',1),(2,'600.01','MAĞAZA SATIŞLARI',1),"
        "(3,'600.02','İNTERNET SATIŞLARI',1),(4,'601','YURT DIŞI SATIŞLAR',1),"
        "(5,'601.01','İHRACAT',1)");
    t.Exec("INSERT INTO MUHBAKIYE (MHesap_ID,Bakiye) VALUES (3,-1250.5),(2,300)");
    t.state.Add_Mode = true;
    t.state.Table_Type = 2;
    window = new MuhMaliTabloTanim(t.state);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    Activate(window);
    QApplication::processEvents();
  }
  void TearDown() override {
    delete Editor();
    delete window;
  }

  template <typename W>
  static W* Top_Level() {
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* found = qobject_cast<W*>(w)) return found;
    return nullptr;
  }
  MuhMaliTabloSatir* Editor() { return Top_Level<MuhMaliTabloSatir>(); }
  MuhHesapListesi* Picker() { return Top_Level<MuhHesapListesi>(); }
  QLineEdit* Box(const char* name) { return Editor()->findChild<QLineEdit*>(name); }
  QPushButton* Button(QWidget* w, const char* name) { return w->findChild<QPushButton*>(name); }
  KeyedGrid& Main() { return window->findChild<KeyedGridView*>("FisGrd")->Grid(); }
  // Opens the editor for a menu item and types the code (when it has a box) and the name.
  void Start(const char* item, const QString& code, const QString& name) {
    window->Menu_Item(item);
    ASSERT_NE(Editor(), nullptr);
    // Attached to the window, blocking it.
    EXPECT_EQ(Editor()->windowHandle()->transientParent(), window->windowHandle());
    EXPECT_FALSE(window->findChild<KeyedGridView*>("FisGrd")->isEnabled());
    Activate(Editor());
    if (Box("Satir_Kodu")->isVisible()) {
      QTest::mouseClick(Box("Satir_Kodu"), Qt::LeftButton);
      Type(Box("Satir_Kodu"), code);
      QTest::keyClick(Box("Satir_Kodu"), Qt::Key_Return);  // the tag moves on to the name
    } else {
      Box("Satir_Adi")->setFocus();
    }
    EXPECT_TRUE(Box("Satir_Adi")->hasFocus()) << item;
    Type(Box("Satir_Adi"), name);
  }
  void Save() {
    QWidget* focus = Editor()->focusWidget();
    QTest::keyClick(focus ? focus : Editor(), Qt::Key_F2);
    QApplication::processEvents();
  }
  void Click_Cell(KeyedGridView* view, int row, bool twice) {
    view->Go_To(row, 1);
    const QPoint at = view->Cell_Rect(row, 1).center();
    if (twice)
      QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    else
      QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
  }
  QStringList Shown() {
    QStringList rows;
    for (int r = 1; r < Main().Rows(); ++r) rows << Main().Text(r, "Yazilacak");
    return rows;
  }

  TestSuite t;
  MuhMaliTabloTanim* window = nullptr;
};

}  // namespace

TEST_F(RowEditor, RowsOfEveryKindByKeysAndPicker) {
  Start("MnGrup", "A", "A. Brüt satışlar");
  EXPECT_EQ(Box("Satir_Adi")->text(), "A. Brüt satışlar");  // as typed
  EXPECT_FALSE(Box("MHesap_Kod")->isVisible());
  Screenshot(Editor(), "row_editor_group");
  Save();
  EXPECT_EQ(Editor(), nullptr);
  EXPECT_TRUE(window->findChild<KeyedGridView*>("FisGrd")->isEnabled());
  EXPECT_EQ(Shown(), QStringList({"AA. Brüt satışlar"}));

  // An account looked up by Enter: the code stays, its id is kept.
  Start("MnHesap", "A.1", "MAĞAZA");
  QLineEdit* kod = Box("MHesap_Kod");
  // The tags: Up from the name goes to the account box, Down from it back to the code.
  QTest::keyClick(Box("Satir_Adi"), Qt::Key_Up);
  EXPECT_TRUE(Box("Satir_Kodu")->hasFocus());
  QTest::keyClick(Box("Satir_Kodu"), Qt::Key_Up);
  EXPECT_TRUE(kod->hasFocus());
  QTest::keyClick(kod, Qt::Key_Down);
  EXPECT_TRUE(Box("Satir_Kodu")->hasFocus());
  QTest::keyClick(Box("Satir_Kodu"), Qt::Key_Down);
  EXPECT_TRUE(Box("Satir_Adi")->hasFocus());
  QTest::keyClick(Box("Satir_Adi"), Qt::Key_Down);
  EXPECT_TRUE(kod->hasFocus());
  Type(kod, "600.01");
  QTest::keyClick(kod, Qt::Key_Return);
  EXPECT_EQ(Box("MHesap_ID")->text(), "2");
  EXPECT_EQ(Picker(), nullptr);
  Save();

  // An account not in the chart opens the picker opened with what was typed.
  Start("MnHesap", "A.2", "İNTERNET");
  kod = Box("MHesap_Kod");
  kod->setFocus();
  Type(kod, "600.0");
  QTest::keyClick(kod, Qt::Key_Return);
  ASSERT_NE(Picker(), nullptr);
  MuhHesapListesi* picker = Picker();
  EXPECT_EQ(picker->windowHandle()->transientParent(), Editor()->windowHandle());
  EXPECT_FALSE(Box("Satir_Adi")->isEnabled());
  EXPECT_EQ(picker->Search_Text(), "600.0");
  EXPECT_EQ(picker->Grid().Rows(), 3);  // 600.01 and 600.02
  auto* list = picker->findChild<KeyedGridView*>("TDBG1");
  // The opening is selected: typing replaces it.
  Type(list, "600.02");
  EXPECT_EQ(picker->Search_Text(), "600.02");
  ASSERT_TRUE(QTest::qWaitFor([&] { return picker->Grid().Rows() == 2; }));
  EXPECT_EQ(picker->Grid().Text(1, "MHesap_Ad"), "İNTERNET SATIŞLARI");
  EXPECT_EQ(picker->Grid().Text(1, "Bakiye"), "1.251 (A)");
  EXPECT_EQ(list->model()->index(0, 3).data(Qt::TextAlignmentRole).value<Qt::Alignment>() &
                Qt::AlignRight,
            Qt::AlignRight);
  Screenshot(picker, "account_picker");
  QTest::keyClick(list, Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_EQ(Picker(), nullptr);
  EXPECT_TRUE(Box("Satir_Adi")->isEnabled());
  EXPECT_EQ(Box("MHesap_Kod")->text(), "600.02");
  EXPECT_EQ(Box("MHesap_ID")->text(), "3");
  Save();

  // A range row through the picker searching by name in lower case; a main account is chosen
  // like any other.
  Start("MnHesapAraligi", "B", "SATIŞLAR");
  Editor()->CagirBtn_Click(1);
  picker = Picker();
  ASSERT_NE(picker, nullptr);
  list = picker->findChild<KeyedGridView*>("TDBG1");
  QTest::keyClick(list, Qt::Key_Right);
  EXPECT_EQ(picker->Sort_Column(), 2);
  Type(list, "yurt iç");
  ASSERT_TRUE(QTest::qWaitFor([&] { return picker->Grid().Rows() == 2; }));
  QTest::keyClick(list, Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_EQ(Picker(), nullptr);
  EXPECT_EQ(Box("MHesap_KodBas")->text(), "600");
  Save();
  EXPECT_EQ(t.messages.Texts().last(), "Lütfen Satırın Bitiş Hesap Kodunu Giriniz.");
  ASSERT_NE(Editor(), nullptr);
  EXPECT_EQ(Box("MHesap_KodBas")->text(), "600");
  EXPECT_EQ(Box("Satir_Adi")->text(), "SATIŞLAR");
  Type(Box("MHesap_KodBit"), "602");
  Screenshot(Editor(), "row_editor_range");
  Save();
  EXPECT_EQ(Editor(), nullptr);

  // A code already there is refused and the editor keeps what was typed.
  Start("MnGrup", "A.1", "TEKRAR");
  Save();
  EXPECT_EQ(t.messages.Texts().last(), "Bu Kodu Ekleyemeziniz.Bu Kodla Bir Satır Zaten Var");
  ASSERT_NE(Editor(), nullptr);
  EXPECT_EQ(Box("Satir_Kodu")->text(), "A.1");
  QTest::keyClick(Box("Satir_Adi"), Qt::Key_F3);
  QApplication::processEvents();
  EXPECT_EQ(Editor(), nullptr);

  // A subtotal has only its name and goes below the current row.
  window->findChild<KeyedGridView*>("FisGrd")->Go_To(3, 0);
  Start("MnAraToplam", "", "ARA TOPLAM");
  EXPECT_FALSE(Box("Satir_Kodu")->isVisible());
  Save();
  EXPECT_EQ(Shown(), QStringList({"AA. Brüt satışlar", "A.1MAĞAZA", "A.2İNTERNET", "ARA TOPLAM",
                                  "BSATIŞLAR"}));
  EXPECT_EQ(Main().Text(2, "MHesap_KodBas"), "600.01");
  EXPECT_EQ(Main().Text(3, "MHesap_KodBas"), "600.02");
  EXPECT_EQ(Main().Text(5, "MHesap_KodBit"), "602");
  EXPECT_EQ(Main().Text(4, "Satir_Tipi"), "4");
  // A footnote has only its name too, and goes to the footnote grid.
  window->Menu_Item("MnDipNot");
  Start("MnDipNotEkle", "", "TUTARLAR TL");
  EXPECT_FALSE(Box("Satir_Kodu")->isVisible());
  Save();
  window->Menu_Item("MnDipNot");
  EXPECT_EQ(window->findChild<KeyedGridView*>("DipNotGrd")->Grid().Text(1, "Satir_Adi"),
            "TUTARLAR TL");
  EXPECT_EQ(Main().Rows(), 6);

  // A changed row keeps its place and shows what the grid holds.
  window->findChild<KeyedGridView*>("FisGrd")->Go_To(5, 0);
  window->Menu_Item("MnSatirDegistir");
  ASSERT_NE(Editor(), nullptr);
  Activate(Editor());
  EXPECT_EQ(Box("MHesap_KodBit")->text(), "602");
  Box("Satir_Adi")->setText("ARALIK");
  Save();
  EXPECT_EQ(Main().Text(5, "Yazilacak"), "BARALIK");
  // Escape leaves without a change.
  window->Menu_Item("MnSatirDegistir");
  ASSERT_NE(Editor(), nullptr);
  Activate(Editor());
  Box("Satir_Adi")->setText("OCAK");
  QTest::keyClick(Box("Satir_Adi"), Qt::Key_Escape);
  QApplication::processEvents();
  EXPECT_EQ(Editor(), nullptr);
  EXPECT_EQ(Main().Text(5, "Yazilacak"), "BARALIK");

  // An amount row opened to change shows its stored amount grouped, as typing does.
  t.state.Amount_Decimals = 2;
  const int amount = Main().Add_Row();
  Main().Set_Text(amount, "Satir_Tipi", QString::number(kRowAmount));
  Main().Set_Text(amount, "Tutar", "1234567,5");
  window->findChild<KeyedGridView*>("FisGrd")->Go_To(amount, 0);
  window->Menu_Item("MnSatirDegistir");
  ASSERT_NE(Editor(), nullptr);
  EXPECT_EQ(Box("Tutar")->text(), "1.234.567,5");
}

TEST_F(RowEditor, FormulaBuiltWithButtonsAndKeys) {
  // The builder offers the rows with a code of the table being made.
  for (auto [code, name] : {std::pair{"A", "A. BRÜT SATIŞLAR"}, std::pair{"", "ARA TOPLAM"},
                            std::pair{"B", "B. İNDİRİMLER"}}) {
    const int r = Main().Add_Row();
    Main().Set_Text(r, "Satir_Kodu", code);
    Main().Set_Text(r, "Satir_Adi", name);
  }
  window->findChild<KeyedGridView*>("FisGrd")->Go_To(3, 0);
  Start("MNFormul", "C", "NET SATIŞLAR");
  QLineEdit* formula = Box("FormulTxt");
  EXPECT_TRUE(formula->isVisible());
  EXPECT_FALSE(Box("Tutar")->isVisible());
  auto* rows = Editor()->findChild<KeyedGridView*>("HesapAlaniFlx");
  EXPECT_FALSE(rows->isVisible());
  QTest::mouseClick(Button(Editor(), "FormulBtn"), Qt::LeftButton);
  ASSERT_TRUE(rows->isVisible());
  ASSERT_EQ(rows->Grid().Rows(), 3);
  QTest::mouseClick(Button(Editor(), "ArtiBtn"), Qt::LeftButton);
  EXPECT_EQ(formula->text(), "");  // no operator on an empty formula
  Click_Cell(rows, 1, true);
  EXPECT_EQ(formula->text(), "A");
  Click_Cell(rows, 2, true);
  EXPECT_EQ(formula->text(), "A");  // a code needs an operator before it
  QTest::mouseClick(Button(Editor(), "EksiBtn"), Qt::LeftButton);
  QTest::mouseClick(Button(Editor(), "ArtiBtn"), Qt::LeftButton);
  EXPECT_EQ(formula->text(), "A-");
  QTest::mouseClick(Button(Editor(), "ParantezIcBtn"), Qt::LeftButton);
  Click_Cell(rows, 2, true);
  QTest::keyClick(rows, Qt::Key_9, Qt::ShiftModifier);
  EXPECT_EQ(formula->text(), "A-(B)");
  QTest::keyClick(rows, Qt::Key_Backspace);
  QTest::keyClick(rows, Qt::Key_Backspace);
  EXPECT_EQ(formula->text(), "A-(");
  QTest::keyClick(rows, Qt::Key_Delete);
  EXPECT_EQ(formula->text(), "");
  Click_Cell(rows, 1, true);
  QTest::keyClick(rows, Qt::Key_Asterisk, Qt::KeypadModifier);
  Click_Cell(rows, 2, true);
  EXPECT_EQ(formula->text(), "A*B");
  Screenshot(Editor(), "row_editor_formula");
  QTest::mouseClick(Button(Editor(), "SilBtn"), Qt::LeftButton);
  EXPECT_EQ(formula->text(), "");
  Click_Cell(rows, 1, true);
  QTest::mouseClick(Button(Editor(), "ArtiBtn"), Qt::LeftButton);
  Click_Cell(rows, 2, true);
  QTest::mouseClick(Button(Editor(), "KaydetBtn"), Qt::LeftButton);
  QApplication::processEvents();
  EXPECT_EQ(Editor(), nullptr);
  EXPECT_EQ(Main().Text(4, "Formul"), "A+B");
  EXPECT_EQ(Main().Text(4, "Tutar"), "0");
  EXPECT_EQ(Main().Text(4, "Satir_Tipi"), "11");
}

TEST_F(RowEditor, APickerClosedByItsFrameChoosesNothing) {
  Start("MnHesap", "A.1", "MAĞAZA");
  t.state.Picked_Account_Code = "600.01";
  t.state.Picked_Account_ID = 2;
  Editor()->CagirBtn_Click(0);
  ASSERT_NE(Picker(), nullptr);
  Picker()->close();
  EXPECT_EQ(Picker(), nullptr);
  EXPECT_TRUE(Box("MHesap_Kod")->isEnabled());
  EXPECT_EQ(t.state.Picked_Account_ID, 0);
  EXPECT_EQ(t.state.Picked_Account_Code, "");
  EXPECT_EQ(Box("MHesap_Kod")->text(), "");
  EXPECT_FALSE(t.state.Account_Pick_Mode);  // the editor switched it on and off again
}
