// The statement editor driven as a user drives it, offscreen: the table list opened from the run
// window, a table added from the standard definition and saved through the code and name dialog,
// opened again to change and to view, copied, refused under a taken code, deleted; the row menu
// per grid; the list's search and sort keys. MALITABLO_SCREENSHOTS=<folder> saves each window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "db/query.h"
#include "db/recordset.h"
#include "editor/code_name_dialog.h"
#include "editor/definition_editing.h"
#include "editor/row_editor_window.h"
#include "editor/table_definition_window.h"
#include "editor/table_list_window.h"
#include "model/table_definition.h"
#include "run/filter_window.h"
#include "support/test_suite.h"
#include "ui/screenshot.h"
#include "ui/user_steps.h"
#include "ui_common/keyed_grid_widget.h"

namespace {

// Windows closed by the last event are deleted.
void Settle() {
  QApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Runs `act` on the modal dialog as soon as it shows; `act` must close it. Clearing the flag
// returned stops the waiting.
std::shared_ptr<bool> On_Dialog(std::function<void(RaporKodAdFrm*)> act) {
  auto waiting = std::make_shared<bool>(true);
  auto attempt = std::make_shared<std::function<void()>>();
  *attempt = [act, waiting, attempt] {
    if (!*waiting) return;
    if (auto* d = qobject_cast<RaporKodAdFrm*>(QApplication::activeModalWidget())) {
      *waiting = false;
      act(d);
    } else {
      QTimer::singleShot(10, *attempt);
    }
  };
  QTimer::singleShot(0, *attempt);
  return waiting;
}

// Types the code and name into the dialog and confirms with F2.
void Confirm(const QString& code, const QString& name, const QString& shot = {}) {
  On_Dialog([code, name, shot](RaporKodAdFrm* d) {
    Activate(d);
    auto* kod = d->findChild<QLineEdit*>("Tablo_Kod");
    auto* ad = d->findChild<QLineEdit*>("Tablo_Ad");
    kod->clear();
    Type(kod, code);
    QTest::keyClick(kod, Qt::Key_Return);  // the tag moves on to the name
    EXPECT_TRUE(ad->hasFocus());
    ad->clear();
    Type(ad, name);
    if (!shot.isEmpty()) Screenshot(d, shot);
    QTest::keyClick(ad, Qt::Key_F2);
  });
}

QStringList Shown(KeyedGridView* view) {
  QStringList rows;
  for (int r = 1; r < view->Grid().Rows(); ++r) rows << view->Grid().Text(r, "Yazilacak");
  return rows;
}

class EditorWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    t.state.Program_Folder = MALITABLO_PROGRAM_DIR;
    t.Connect();
    run = std::make_unique<FiltreFrm>(t.state);
    run->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(run.get()));
    run->Form_Activate();
  }
  void TearDown() override {
    if (Definition()) delete Definition();
    run.reset();
  }

  MuhMaliTabloListe* List() {
    Settle();
    return qobject_cast<MuhMaliTabloListe*>(run->Table_List_Window());
  }
  MuhMaliTabloTanim* Definition() {
    Settle();
    return List() ? List()->Definition_Window() : nullptr;
  }
  KeyedGridView* List_Grid() { return List()->findChild<KeyedGridView*>("TDBG1"); }
  KeyedGridView* Grid(const char* name) { return Definition()->findChild<KeyedGridView*>(name); }
  QPushButton* Button(QWidget* w, const char* name) { return w->findChild<QPushButton*>(name); }
  void Open_List() {
    QTest::mouseClick(Button(run.get(), "Tablo_OlusturBtn"), Qt::LeftButton);
    ASSERT_NE(List(), nullptr);
  }
  void Select(int row) { List_Grid()->Go_To(row, 1); }
  QStringList Listed() {
    QStringList codes;
    const KeyedGrid& g = List()->List().grid;
    for (int r = 1; r < g.Rows(); ++r) codes << g.Text(r, "Rapor_Kodu");
    return codes;
  }

  TestSuite t;
  std::unique_ptr<FiltreFrm> run;
};

}  // namespace

TEST_F(EditorWindows, AddChangeViewCopyAndDeleteATable) {
  Open_List();
  EXPECT_FALSE(run->isVisible());
  EXPECT_TRUE(List()->isVisible());
  EXPECT_EQ(List()->Caption(), "Torvika Tablosu Listesi =>  Rapor Koduna Göre..");
  EXPECT_EQ(List()->findChild<QLabel*>("FormLabel")->text(), List()->Caption());
  EXPECT_EQ(List()->List().grid.Rows(), 1);

  // Insert adds a table; Yes to the standard definition fills the main grid.
  t.messages.Answer(true);
  QTest::keyClick(List_Grid(), Qt::Key_Insert);
  ASSERT_NE(Definition(), nullptr);
  EXPECT_FALSE(List()->isVisible());
  EXPECT_EQ(t.messages.Texts(), QStringList({"Standart Tanımın Getrilmesini İstiyormusunuz."}));
  EXPECT_GT(Grid("FisGrd")->Grid().Rows(), 20);
  EXPECT_FALSE(Grid("PasifGrd")->isVisible());  // an income statement has no passive side
  const QStringList rows = Shown(Grid("FisGrd"));
  Screenshot(Definition(), "definition_window");

  // F2: the dialog upper-cases the Turkish way; an apostrophe and 30 characters are fine.
  const QString code = "gelir'iş tablosu ğüşöç 1234567";  // 30 characters
  ASSERT_EQ(code.size(), 30);
  Confirm(code, "ılık gelir tablosu", "code_name_dialog");
  QTest::keyClick(Grid("FisGrd"), Qt::Key_F2);
  const QString upper = "GELİR'İŞ TABLOSU ĞÜŞÖÇ 1234567";
  EXPECT_EQ(Definition()->Definition().code, upper);
  EXPECT_EQ(Definition()->Definition().name, "ILIK GELİR TABLOSU");
  EXPECT_FALSE(Definition()->Definition().add_flag);  // changed from now on
  EXPECT_TRUE(Definition()->windowTitle().startsWith(upper + " - ILIK GELİR TABLOSU"));
  EXPECT_EQ(t.Count("MUHASEBEMALITABLOKART"), 1);
  EXPECT_EQ(t.Count("MUHASEBEMALITABLOHAREKET"), rows.size());
  EXPECT_EQ(t.messages.entries.size(), 1u);

  // F3 leaves; after a save the list reloads and shows the table.
  QTest::keyClick(Grid("FisGrd"), Qt::Key_F3);
  EXPECT_EQ(Definition(), nullptr);
  EXPECT_TRUE(List()->isVisible());
  EXPECT_EQ(Listed(), QStringList({upper}));
  Screenshot(List(), "table_list");

  // Enter changes it: the same rows come back; Escape does nothing outside view mode.
  Select(1);
  QTest::keyClick(List_Grid(), Qt::Key_Return);
  ASSERT_NE(Definition(), nullptr);
  EXPECT_EQ(Shown(Grid("FisGrd")), rows);
  EXPECT_TRUE(Button(Definition(), "KaydetBtn")->isVisible());
  QTest::keyClick(Grid("FisGrd"), Qt::Key_Escape);
  ASSERT_NE(Definition(), nullptr);
  QTest::keyClick(Grid("FisGrd"), Qt::Key_F3);
  ASSERT_EQ(Definition(), nullptr);

  // F5 views it: no save, F2 opens no dialog, Escape closes.
  QTest::keyClick(List_Grid(), Qt::Key_F5);
  ASSERT_NE(Definition(), nullptr);
  EXPECT_TRUE(Definition()->Definition().view_flag);
  EXPECT_FALSE(Button(Definition(), "KaydetBtn")->isVisible());
  EXPECT_FALSE(Button(Definition(), "FKaydetBtn")->isVisible());
  EXPECT_EQ(Shown(Grid("FisGrd")), rows);
  bool dialog_shown = false;
  auto waiting = On_Dialog([&](RaporKodAdFrm* d) {
    dialog_shown = true;
    d->CikisBtn_Click();
  });
  QTest::keyClick(Grid("FisGrd"), Qt::Key_F2);
  QTest::qWait(30);
  EXPECT_FALSE(dialog_shown);
  *waiting = false;
  QTest::keyClick(Grid("FisGrd"), Qt::Key_Escape);
  EXPECT_EQ(Definition(), nullptr);

  // Copy under a new code with "Farklı Kaydet".
  QTest::keyClick(List_Grid(), Qt::Key_Return);
  Confirm("KOPYA", "Kopya Tablo");
  QTest::mouseClick(Button(Definition(), "FKaydetBtn"), Qt::LeftButton);
  EXPECT_EQ(t.messages.entries.size(), 1u) << t.messages.Texts().join("\n").toStdString();
  EXPECT_EQ(t.Count("MUHASEBEMALITABLOKART"), 2);
  EXPECT_EQ(t.Count("MUHASEBEMALITABLOHAREKET"), 2 * rows.size());
  QTest::mouseClick(Button(Definition(), "CikisBtn"), Qt::LeftButton);
  EXPECT_EQ(Listed(), QStringList({upper, "KOPYA"}));

  // A taken code is refused in Turkish before the database is asked; nothing is lost.
  Select(2);
  QTest::keyClick(List_Grid(), Qt::Key_Return);
  Definition()->Menu_Item("MnSatir_Sil");  // No: the row stays
  t.messages.Answer(true);
  Grid("FisGrd")->Go_To(1, Grid("FisGrd")->Grid().Col_Index("Yazilacak"));
  Definition()->Menu_Item("MnSatir_Sil");
  EXPECT_EQ(Shown(Grid("FisGrd")), rows.mid(1));
  t.messages.entries.clear();
  Confirm(upper, "Başka Ad");
  QTest::keyClick(Grid("FisGrd"), Qt::Key_F2);
  EXPECT_EQ(t.messages.Texts(), QStringList({kDuplicateTableMessage}));
  EXPECT_EQ(Definition()->Definition().code, upper);  // what the user typed stays
  EXPECT_EQ(Shown(Grid("FisGrd")), rows.mid(1));
  EXPECT_EQ(t.Count("MUHASEBEMALITABLOHAREKET"), 2 * rows.size());
  // Cancelling the dialog saves nothing and keeps the window's code.
  On_Dialog([](RaporKodAdFrm* d) {
    QTest::keyClick(d->findChild<QLineEdit*>("Tablo_Kod"), Qt::Key_Escape);
  });
  QTest::keyClick(Grid("FisGrd"), Qt::Key_F2);
  EXPECT_EQ(t.Count("MUHASEBEMALITABLOHAREKET"), 2 * rows.size());
  // Leaving with the deleted row unsaved asks first: No stays, Yes leaves.
  t.messages.entries.clear();
  QTest::keyClick(Grid("FisGrd"), Qt::Key_F3);
  EXPECT_EQ(t.messages.Texts(), QStringList({kUnsavedChangesQuestion}));
  ASSERT_NE(Definition(), nullptr);
  t.messages.Answer(true);
  QTest::keyClick(Grid("FisGrd"), Qt::Key_F3);
  EXPECT_EQ(Definition(), nullptr);
  EXPECT_EQ(Listed(), QStringList({upper, "KOPYA"}));

  // Shift+Delete with No keeps the table; with Yes it goes, rows and header.
  Select(2);
  QTest::keyClick(List_Grid(), Qt::Key_Delete, Qt::ShiftModifier);
  EXPECT_EQ(t.Count("MUHASEBEMALITABLOKART"), 2);
  t.messages.entries.clear();
  t.messages.Answer(true);
  QTest::keyClick(List_Grid(), Qt::Key_Delete, Qt::ShiftModifier);
  EXPECT_EQ(t.messages.Texts(), QStringList({kDeleteTableQuestion}));
  EXPECT_EQ(Listed(), QStringList({upper}));
  EXPECT_EQ(t.Count("MUHASEBEMALITABLOKART"), 1);
  EXPECT_EQ(t.Count("MUHASEBEMALITABLOHAREKET"), rows.size());
  // The list is the database's: a heading click does not bring the deleted table back.
  emit List_Grid()->horizontalHeader()->sectionClicked(1);
  EXPECT_EQ(Listed(), QStringList({upper}));

  // Escape closes the list and shows the run window again.
  QTest::keyClick(List_Grid(), Qt::Key_Escape);
  EXPECT_EQ(List(), nullptr);
  EXPECT_TRUE(run->isVisible());
}

TEST_F(EditorWindows, RowMenuPerGridAndFootnotes) {
  Open_List();
  QTest::keyClick(List_Grid(), Qt::Key_Insert);  // No to the standard definition
  ASSERT_NE(Definition(), nullptr);
  EXPECT_EQ(Grid("FisGrd")->Grid().Rows(), 1);

  auto visible_items = [&] {
    QStringList items;
    for (QAction* a : Definition()->Row_Menu()->actions())
      if (a->isVisible()) items << a->text();
    return items;
  };
  QTest::mouseClick(Grid("FisGrd")->viewport(), Qt::RightButton, {}, QPoint(20, 20));
  EXPECT_TRUE(Definition()->Row_Menu()->isVisible());
  EXPECT_EQ(visible_items().size(), 13);
  EXPECT_FALSE(visible_items().contains("DİPNOT EKLE"));
  Screenshot(Definition()->Row_Menu(), "row_menu");
  Definition()->Row_Menu()->hide();

  // The row commands open the row editor.
  t.messages.entries.clear();
  Definition()->Menu_Item("MnGrup");
  EXPECT_EQ(Definition()->Satir_Tipi, 1);
  EXPECT_TRUE(t.state.Add_Mode);
  auto editor = [] {
    Settle();
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* e = qobject_cast<MuhMaliTabloSatir*>(w); e && e->isVisible()) return e;
    return static_cast<MuhMaliTabloSatir*>(nullptr);
  };
  ASSERT_NE(editor(), nullptr);
  QTest::mouseClick(editor()->findChild<QPushButton*>("CikisBtn"), Qt::LeftButton);
  EXPECT_EQ(editor(), nullptr);
  EXPECT_TRUE(t.messages.entries.empty());
  // Without a row, changing one does nothing.
  Definition()->Menu_Item("MnSatirDegistir");
  EXPECT_EQ(editor(), nullptr);

  // DİPNOTLAR shows the footnote grid and disables the others; its menu offers seven items.
  Definition()->Menu_Item("MnDipNot");
  auto* footnotes = Grid("DipNotGrd");
  EXPECT_TRUE(footnotes->isVisible());
  EXPECT_FALSE(Grid("FisGrd")->isEnabled());
  QTest::mouseClick(footnotes->viewport(), Qt::RightButton, {}, QPoint(20, 20));
  EXPECT_EQ(visible_items().size(), 7);
  EXPECT_EQ(visible_items().first(), "DİPNOT EKLE");
  Definition()->Row_Menu()->hide();
  Screenshot(Definition(), "definition_footnotes");
  // Escape in the footnote grid hides it again.
  QTest::keyClick(footnotes, Qt::Key_Escape);
  EXPECT_FALSE(footnotes->isVisible());
  EXPECT_TRUE(Grid("FisGrd")->isEnabled());

  // Leaving without a save keeps the list as it was (no reload).
  t.Exec(
      "INSERT INTO MUHASEBEMALITABLOKART (Rapor_Kodu, Rapor_Adi, Rapor_Tipi) VALUES ('X', 'Y', 2)");
  QTest::mouseClick(Definition()->findChild<QPushButton*>("KapatButon"), Qt::LeftButton);
  EXPECT_EQ(Listed(), QStringList());
}

TEST_F(EditorWindows, BalanceSheetGridsAndListSearch) {
  for (auto [code, name, kind] : {std::tuple{"120", "Bilanço A", 1},
                                  std::tuple{"12B", "Bilanço B", 1}, std::tuple{"300", "Aylık", 1},
                                  std::tuple{"ÖZET-Ş", "Özet", 1}, std::tuple{"GT", "Gelir", 2}})
    t.Exec(QString("INSERT INTO MUHASEBEMALITABLOKART (Rapor_Kodu, Rapor_Adi, Rapor_Tipi) "
                   "VALUES ('%1', '%2', %3)")
               .arg(code, name)
               .arg(kind));
  t.state.Table_Type = 1;
  MuhMaliTabloListe list(t.state);
  list.show();
  auto* grid = list.findChild<KeyedGridView*>("TDBG1");
  EXPECT_EQ(list.Caption(), "Bilanço Tablosu Listesi =>  Rapor Koduna Göre..");
  EXPECT_EQ(list.List().grid.Rows(), 5);

  // Typing 1 and 2 lists the codes that begin with 12, 150 ms after the last key.
  Type(grid, "12");
  EXPECT_EQ(list.findChild<QLineEdit*>("Arama")->text(), "12");
  EXPECT_EQ(list.List().grid.Rows(), 5);
  QTest::qWait(250);
  EXPECT_EQ(list.List().grid.Rows(), 3);
  // Delete clears the search at once.
  QTest::keyClick(grid, Qt::Key_Delete);
  EXPECT_EQ(list.List().grid.Rows(), 5);
  // Case is ignored by Turkish rules; an arrow key right after typing searches first.
  Type(grid, "öz");
  QTest::keyClick(grid, Qt::Key_Down);
  ASSERT_EQ(list.List().grid.Rows(), 2);
  EXPECT_EQ(list.List().grid.Text(1, "Rapor_Kodu"), "ÖZET-Ş");
  QTest::keyClick(grid, Qt::Key_Delete);
  // Left moves the sort to the name column; the next search orders by name.
  QTest::keyClick(grid, Qt::Key_Left);
  EXPECT_EQ(list.Caption(), "Bilanço Tablosu Listesi =>  Rapor Adına Göre..");
  EXPECT_EQ(grid->model()->headerData(2, Qt::Horizontal).toString(), "Rapor Adı ^");
  Type(grid, "B");
  QTest::qWait(250);
  ASSERT_EQ(list.List().grid.Rows(), 3);
  EXPECT_EQ(list.List().grid.Text(1, "Rapor_Adi"), "Bilanço A");
  Screenshot(&list, "table_list_search");
  // Right goes back to the code column; a heading click chooses the column too.
  QTest::keyClick(grid, Qt::Key_Right);
  EXPECT_EQ(list.List().sort_field, "Rapor_Kodu");
  emit grid->horizontalHeader()->sectionClicked(2);
  EXPECT_EQ(list.List().sort_field, "Rapor_Adi");
  EXPECT_TRUE(list.findChild<QLineEdit*>("Arama")->text().isEmpty());

  // A balance sheet shows both grids; Right moves from the main to the passive grid.
  t.messages.Answer(true);
  list.EkleBtn_Click();
  MuhMaliTabloTanim* def = list.Definition_Window();
  ASSERT_NE(def, nullptr);
  auto* main = def->findChild<KeyedGridView*>("FisGrd");
  auto* passive = def->findChild<KeyedGridView*>("PasifGrd");
  EXPECT_TRUE(passive->isVisible());
  EXPECT_GT(passive->Grid().Rows(), 1);
  EXPECT_EQ(passive->model()
                ->headerData(passive->Grid().Col_Index("Satir_Adi"), Qt::Horizontal)
                .toString(),
            "PASİFLER");
  Activate(def);
  main->setFocus();
  QTest::keyClick(main, Qt::Key_Right);
  EXPECT_TRUE(passive->hasFocus());
  EXPECT_EQ(def->Active_Grid(), passive);
  Screenshot(def, "definition_balance_sheet");
  delete def;
}
