// The run window driven by keys and clicks offscreen: cell moves and their refusals, the copy
// and completion rules of typed values, Delete, the multiple-choice popup, F9, the grid's size,
// a run refused for a wrong date or a year without ledger lines, an error of the output shown
// as a message, F2 once per press, typed codes kept, the locked end cells, next year's January
// (told apart, offered only after December). A whole run to its output is in
// editor_run_test.cpp.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "db/db_error.h"
#include "db/query.h"
#include "db/recordset.h"
#include "run/choice_lists.h"
#include "run/filter_window.h"
#include "support/test_suite.h"
#include "ui_common/keyed_grid_widget.h"

namespace {

const char* kRows =
    "Tablo Kodu;;;;MUHASEBEMALITABLOKART.Rapor_Kodu;;TK;False;;;\n"
    "Seviye Aralığı;;;1;MUHASEBEMALITABLOHAREKET.Satir_Seviyesi;;GR;False;;;\n"
    "Seviyesi;;;1;X.S;;GR;False;;;\n"
    "Hareket Görmüşler;Evet;;;MUHASEBEMALITABLOHAREKET.Bakiye;Hepsi|Evet|Hayır;BL;False;;;\n"
    "Açıklama;abc;;;X.A;;OZ;False;;;\n"
    "Satıcı;Hepsi;;;X.Sat;;CS;False;Hepsi,A,B,C,;;\n"
    "Tarih;01.01.2020;01.01.2020;;X.T;;TR;False;;;\n"
    "Fatura Tarihi;05.05.2020;05.05.2020;;X.F;;TR;False;;;\n"
    "Seviye;;;1;MUHASEBEMALITABLOHAREKET.Satir_Seviyesi;;GR;False;;;\n";

void Write_Master(const QString& folder, const QString& rows) {
  QFile file(folder + "/Master.mtr");
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(("<TEMELSQL>\nSELECT * FROM MUHASEBEMALITABLOHAREKET ORDER BY Satir_No\n<GROUPSQL>\n"
              "<FILTRE>\n" +
              rows + "<END>\n")
                 .toUtf8());
}

class RunWindow {
 public:
  explicit RunWindow(TestSuite& t) : t_(t) {}

  void Open() {
    t_.Connect();
    w = std::make_unique<FiltreFrm>(t_.state);
    w->Set_Output_Handler([this](const RunOutcome&, const QString& target) { outputs << target; });
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    w->Form_Activate();
    Grid()->setFocus();
  }

  KeyedGridView* Grid() { return w->findChild<KeyedGridView*>("FiltreGrd"); }
  KeyedGridView* Popup() { return w->findChild<KeyedGridView*>("CoktanSecmeliGrd"); }
  KeyedGrid& G() { return w->Filter_Grid(); }
  QString Cell(int row, const char* key) { return G().Text(row, key); }
  QString Current_Key() { return G().Col_Key(G().Row() == 0 ? 0 : G().Col()); }

  QWidget* Focus() {
    QWidget* f = QApplication::focusWidget();
    return f ? f : Grid();
  }
  // The cell editor commits on Enter through a queued call: let it run.
  void Key(Qt::Key key) {
    QTest::keyClick(Focus(), key);
    QApplication::processEvents();
  }
  void Type(const QString& text) {
    for (QChar c : text) QTest::keyClick(Focus(), c.toLatin1());
  }
  void Down(int times) {
    for (int i = 0; i < times; ++i) QTest::keyClick(Grid(), Qt::Key_Down);
  }
  void Click(int row, const char* key) {
    const QRect rect = Grid()->Cell_Rect(row, G().Col_Index(key));
    QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {}, rect.center());
  }

  std::unique_ptr<FiltreFrm> w;
  QStringList outputs;

 private:
  TestSuite& t_;
};

// A suite with its own master file and the run window over it.
class FilterWindow : public ::testing::Test {
 protected:
  void Open(const QString& rows = kRows) {
    Write_Master(t.state.Program_Folder, rows);
    r.Open();
  }
  // A table T of one grand-total row, under a master file of the filter `rows`.
  void Open_One_Row_Table(
      const QString& rows = "Tablo Kodu;T;;;MUHASEBEMALITABLOKART.Rapor_Kodu;;TK;False;;;\n") {
    t.Exec(
        "INSERT INTO MUHASEBEMALITABLOKART (Rapor_ID, Rapor_Kodu, Rapor_Adi, Rapor_Tipi) "
        "VALUES (1,'T','T',2)");
    t.Exec(
        "INSERT INTO MUHASEBEMALITABLOHAREKET (Rapor_ID, Rapor_Yeri, Satir_No, Satir_Tipi, "
        "Satir_Kodu, Formul) VALUES (1, 1, 1, 5, 'K1', '')");
    Open(rows);
  }
  TestSuite t;
  RunWindow r{t};
};

}  // namespace

TEST_F(FilterWindow, LoadsTheMasterFileIntoAGridOfAtLeast28Rows) {
  for (auto [lines, rows] : {std::pair{30, 31}, std::pair{5, 28}}) {
    TestSuite suite;
    QString text;
    for (int i = 1; i <= lines; ++i) text += QString("Filtre %1;;;;X.A%1;;OZ;False;;;\n").arg(i);
    Write_Master(suite.state.Program_Folder, text);
    RunWindow window(suite);
    window.Open();
    EXPECT_EQ(window.G().Rows(), rows) << lines;
    EXPECT_EQ(window.Cell(lines, "FiltreLbl"), QString("Filtre %1").arg(lines));
  }
  Open();
  // The caption upper-cased the Turkish way: the dotted i stays dotted.
  EXPECT_EQ(r.w->windowTitle(), QString::fromUtf8("MALİTABLO_Uİ_TESTS"));
  EXPECT_EQ(r.w->Output_Target(), "Ekran");
  EXPECT_EQ(r.Cell(3, "Baslangic"), "1");  // "Seviyesi" starts at level 1
  EXPECT_EQ(r.Cell(3, "Bitis"), "1");
  EXPECT_EQ(r.G().Row(), 1);
  EXPECT_EQ(r.Current_Key(), "Baslangic");
}

TEST_F(FilterWindow, CellMovesFollowTheRowRules) {
  Open();
  // A caption cell cannot be entered, by mouse or key.
  r.Click(2, "FiltreLbl");
  EXPECT_EQ(r.G().Row(), 1);
  EXPECT_EQ(r.Current_Key(), "Baslangic");
  r.Key(Qt::Key_Left);
  EXPECT_EQ(r.Current_Key(), "Baslangic");
  r.Click(2, "Bitis");
  EXPECT_EQ(r.G().Row(), 2);
  EXPECT_EQ(r.Current_Key(), "Bitis");  // a range row keeps its end value
  // A single-value row sends the end column back to the start column.
  r.Click(1, "Baslangic");
  r.Key(Qt::Key_Right);
  EXPECT_EQ(r.G().Row(), 1);
  EXPECT_EQ(r.Current_Key(), "Baslangic");
  r.Click(1, "Bitis");
  EXPECT_EQ(r.Current_Key(), "Baslangic");

  // Typing a start value on a range copies it to the end value, except on "Seviyesi".
  r.Click(2, "Baslangic");
  r.Type("7");
  r.Key(Qt::Key_Return);
  EXPECT_EQ(r.Cell(2, "Baslangic"), "7");
  EXPECT_EQ(r.Cell(2, "Bitis"), "7");
  r.Down(1);
  r.Type("4");
  r.Key(Qt::Key_Return);
  EXPECT_EQ(r.Cell(3, "Baslangic"), "4");
  EXPECT_EQ(r.Cell(3, "Bitis"), "1");
  // "Seviye" is a depth: a typed start level leaves the end level open.
  r.Click(9, "Baslangic");
  r.Type("2");
  r.Key(Qt::Key_Return);
  EXPECT_EQ(r.Cell(9, "Baslangic"), "2");
  EXPECT_EQ(r.Cell(9, "Bitis"), "");

  // Delete: the first item of the choice list, or an empty cell.
  r.Click(4, "Baslangic");
  r.Key(Qt::Key_Delete);
  EXPECT_EQ(r.Cell(4, "Baslangic"), "Hepsi");
  r.Down(1);
  r.Key(Qt::Key_Delete);
  EXPECT_EQ(r.Cell(5, "Baslangic"), "");
  EXPECT_TRUE(t.messages.entries.empty());
}

TEST_F(FilterWindow, DateRowsCompleteTheYearCheckOnLeavingAndTakeTodayOnF9) {
  Open();
  const QString year = QString::number(QDate::currentDate().year());
  r.Click(7, "Baslangic");
  r.Type("15.03. ");
  r.Key(Qt::Key_Return);
  EXPECT_EQ(r.Cell(7, "Baslangic"), "15.03." + year);
  r.Key(Qt::Key_Down);  // leaving the cell runs the date check on what was typed
  EXPECT_EQ(r.Cell(7, "Baslangic"), "15/03/" + year);
  EXPECT_TRUE(t.messages.entries.empty());
  r.Type("31042026");
  r.Key(Qt::Key_Return);
  r.Key(Qt::Key_Up);
  ASSERT_EQ(t.messages.entries.size(), 1u);
  EXPECT_EQ(t.messages.entries[0].kind, MessageKind::Critical);
  EXPECT_EQ(t.messages.entries[0].text, QString::fromUtf8("Gün alanını yanlış girdiniz."));
  EXPECT_EQ(r.Cell(8, "Baslangic"), "31042026");  // the cell keeps the text

  r.Key(Qt::Key_F9);
  const QString today = QDate::currentDate().toString("dd.MM.yyyy");
  EXPECT_EQ(r.Cell(7, "Baslangic"), today);
  EXPECT_EQ(r.Cell(7, "Bitis"), today);
  EXPECT_EQ(r.Cell(8, "Bitis"), "05.05.2020");  // "Fatura Tarihi" is not "Tarih"
}

TEST_F(FilterWindow, MultipleChoicePopupStoresTheTickedOptions) {
  Open();
  auto* ara = r.w->findChild<QWidget*>("AraBtn");
  EXPECT_FALSE(ara->isVisible());
  r.Click(6, "Baslangic");
  EXPECT_TRUE(ara->isVisible());

  KeyedGrid& popup = r.w->Choice_Popup();
  auto ticks = [&] {
    QString s;
    for (int row = 1; row < popup.Rows(); ++row) s += Popup_Ticked(popup, row) ? "x" : "-";
    return s;
  };
  r.Key(Qt::Key_Return);
  ASSERT_TRUE(r.Popup()->isVisible());
  EXPECT_EQ(ticks(), "xxxx");                 // an empty selection shows every option ticked
  QTest::keyClick(r.Popup(), Qt::Key_Space);  // "Hepsi" off: all off
  EXPECT_EQ(ticks(), "----");
  QTest::keyClick(r.Popup(), Qt::Key_Down);
  QTest::keyClick(r.Popup(), Qt::Key_Space);
  QTest::keyClick(r.Popup(), Qt::Key_Down);
  QTest::keyClick(r.Popup(), Qt::Key_Space);
  EXPECT_EQ(ticks(), "-xx-");
  QTest::keyClick(r.Popup(), Qt::Key_Return);
  EXPECT_FALSE(r.Popup()->isVisible());
  EXPECT_EQ(r.Cell(6, "CoktanSecmeSecim"), "A,B,");
  EXPECT_EQ(r.Cell(6, "Baslangic"), "Secimli");

  // Reopened: the selection is ticked; ticking "Hepsi" ticks all and stores no selection.
  QTest::keyClick(r.Grid(), Qt::Key_Return);
  ASSERT_TRUE(r.Popup()->isVisible());
  EXPECT_EQ(ticks(), "-xx-");
  QTest::keyClick(r.Popup(), Qt::Key_Space);
  EXPECT_EQ(ticks(), "xxxx");
  QTest::keyClick(r.Popup(), Qt::Key_Return);
  EXPECT_EQ(r.Cell(6, "CoktanSecmeSecim"), "");
  EXPECT_EQ(r.Cell(6, "Baslangic"), "Hepsi");

  // Delete with the list open stores "Hepsi".
  r.G().Set_Text(6, "CoktanSecmeSecim", "C,");
  r.Grid()->setFocus();
  QTest::keyClick(r.Grid(), Qt::Key_Return);
  EXPECT_EQ(ticks(), "---x");
  QTest::keyClick(r.Popup(), Qt::Key_Delete);
  EXPECT_FALSE(r.Popup()->isVisible());
  EXPECT_EQ(r.Cell(6, "CoktanSecmeSecim"), "");
  EXPECT_EQ(r.Cell(6, "Baslangic"), "Hepsi");
}

// A wrong date, then without it a period of no ledger line: each refused with its reason before
// anything is computed or output.
TEST_F(FilterWindow, RefusedRunsSayWhyAndComputeNothing) {
  t.state.Fiscal_Year_Start = QDate(2026, 1, 1);
  t.state.Fiscal_Year_End = QDate(2026, 12, 31);
  Open_One_Row_Table("Tarih;31.02.2026;;;MUHASEBEMALITABLOHAREKET.Tarih;;TR;True;;;\n");
  for (const char* reason :
       {"Lütfen tarihi doğru giriniz",
        "Seçilen dönemde (01.01.2026 - 31.12.2026) büyük defterde hiç fiş satırı yok."}) {
    t.messages.entries.clear();
    r.Key(Qt::Key_F2);
    ASSERT_EQ(t.messages.entries.size(), 1u);
    EXPECT_EQ(t.messages.entries[0].kind, MessageKind::Critical);
    EXPECT_EQ(t.messages.entries[0].text, QString::fromUtf8(reason));
    EXPECT_TRUE(r.outputs.isEmpty());
    EXPECT_FALSE(r.w->findChild<QWidget*>("Bekleme")->isVisible());
    EXPECT_EQ(t.Count("MUHASEBEMALITABLOHAREKET WHERE Bakiye IS NOT NULL"), 0);
    r.G().Set_Text(1, "Baslangic", "");
  }
}

TEST_F(FilterWindow, AnErrorOfTheOutputIsShownAndTheWindowRunsAgain) {
  Open_One_Row_Table();
  r.w->Set_Output_Handler([this](const RunOutcome&, const QString& target) {
    r.outputs << target;
    throw DbError{kErrStatement, QString::fromUtf8("Rapor okunamadı")};
  });
  // F2 runs; the error of the output reaches the user instead of the event loop.
  r.Key(Qt::Key_F2);
  ASSERT_EQ(r.outputs, QStringList{"Ekran"});
  ASSERT_EQ(t.messages.entries.size(), 1u) << t.messages.Texts().join(" / ").toStdString();
  EXPECT_EQ(t.messages.entries[0].kind, MessageKind::Critical);
  EXPECT_EQ(t.messages.entries[0].text, QString::fromUtf8("Rapor okunamadı"));
  EXPECT_FALSE(r.w->findChild<QWidget*>("Bekleme")->isVisible());
  // The window is not left half-way through a run: the button starts the next one.
  QTest::mouseClick(r.w->findChild<QPushButton*>("TamamBtn"), Qt::LeftButton);
  EXPECT_EQ(r.outputs.size(), 2);
  EXPECT_EQ(t.messages.entries.size(), 2u);
}

TEST_F(FilterWindow, EveryF2PressRunsOnceEvenWhenItsReleaseGoesElsewhere) {
  Open_One_Row_Table();
  // A run's preview or message takes the key's release: ten presses, ten runs.
  for (int i = 0; i < 10; ++i) {
    QTest::keyPress(r.Focus(), Qt::Key_F2);
    QApplication::processEvents();
  }
  EXPECT_EQ(r.outputs.size(), 10);
  // Released, pressed and released again: one more.
  QTest::keyRelease(r.Focus(), Qt::Key_F2);
  r.Key(Qt::Key_F2);
  EXPECT_EQ(r.outputs.size(), 11);
  // A held key's repeated presses start nothing.
  QKeyEvent repeat(QEvent::KeyPress, Qt::Key_F2, Qt::NoModifier, QString(), true);
  QApplication::sendEvent(r.Focus(), &repeat);
  EXPECT_EQ(r.outputs.size(), 11);
  EXPECT_FALSE(t.state.F2_Run_Flag);
  EXPECT_TRUE(t.messages.entries.empty()) << t.messages.Texts().join(" / ").toStdString();
}

TEST_F(FilterWindow, EnterKeepsATypedCodeAsTabDoes) {
  t.Exec(
      "INSERT INTO MUHASEBEMALITABLOKART (Rapor_ID, Rapor_Kodu, Rapor_Adi, Rapor_Tipi) "
      "VALUES (1,'GT','Gelir Tablosu',2)");
  Open(
      "Tablo Kodu;;;;MUHASEBEMALITABLOKART.Rapor_Kodu;;TK;True;;;\n"
      "Açıklama;;;;X.A;;OZ;False;;;\n");
  ASSERT_TRUE(r.Cell(1, "Secenek").contains("GT")) << r.Cell(1, "Secenek").toStdString();
  // A code not in the list stays as typed, whichever key ends the edit; the run reports it.
  ASSERT_EQ(r.G().Row(), 1);
  ASSERT_EQ(r.Current_Key(), "Baslangic");
  r.Type("XY");
  ASSERT_TRUE(r.Grid()->Editing());
  r.Key(Qt::Key_Return);
  EXPECT_EQ(r.Cell(1, "Baslangic"), "XY");
  auto clear = [&] {
    r.G().Set_Text(1, "Baslangic", "");
    r.Grid()->Refresh();
    r.Grid()->setFocus();
  };
  clear();
  r.Type("ZW");
  r.Key(Qt::Key_Tab);
  EXPECT_EQ(r.Cell(1, "Baslangic"), "ZW");
  // A code of the list is taken as it is listed.
  clear();
  r.Type("GT");
  r.Key(Qt::Key_Return);
  EXPECT_EQ(r.Cell(1, "Baslangic"), "GT");
  // Typing into a filled cell replaces its text.
  r.Type("XY");
  r.Key(Qt::Key_Return);
  EXPECT_EQ(r.Cell(1, "Baslangic"), "XY");
}

TEST_F(FilterWindow, GreyEndCellTakesNoCursorAndNoTyping) {
  Open();
  KeyedGridModel* model = r.Grid()->Model();
  const int end = r.G().Col_Index("Bitis");
  // Row 1 holds one value (TK): its end cell is neither enabled nor editable; a range row's is.
  EXPECT_FALSE(model->flags(model->Cell_Index(1, end)) & Qt::ItemIsEnabled);
  EXPECT_TRUE(model->flags(model->Cell_Index(2, end)) & Qt::ItemIsEditable);
  EXPECT_EQ(r.G().Back_Color(1, end), QColor(224, 224, 224));
  // A click on it goes to the start cell of its row; Down from a range's end cell reaches the
  // next row's start cell when that row holds one value.
  r.Click(3, "Bitis");
  r.Key(Qt::Key_Down);
  EXPECT_EQ(r.G().Row(), 4);
  EXPECT_EQ(r.Current_Key(), "Baslangic");
  r.Click(1, "Bitis");
  EXPECT_EQ(r.G().Row(), 1);
  EXPECT_EQ(r.Current_Key(), "Baslangic");
  // A double click on it opens no editor there; typing afterwards does not reach it.
  const QRect cell = r.Grid()->Cell_Rect(1, end);
  QTest::mouseDClick(r.Grid()->viewport(), Qt::LeftButton, {}, cell.center());
  QApplication::processEvents();
  r.Type("Q");
  r.Key(Qt::Key_Return);
  EXPECT_EQ(r.Cell(1, "Bitis"), "");
  EXPECT_NE(r.Current_Key(), "Bitis");
  // An empty row's end cell is not locked by the rule (it is closed by its own).
  EXPECT_TRUE(model->flags(model->Cell_Index(20, end)) & Qt::ItemIsEnabled);
}

TEST_F(FilterWindow, NextYearsJanuaryIsToldApartAndOfferedOnlyAfterDecember) {
  Open(QString::fromUtf8(
      "Rapor Başlangıç Ayı;Ocak;;;MUHFISHAR.Tarih;Açılış|Ocak|Şubat|Aralık|Ocak ;DT;False;;;\n"
      "Rapor Bitiş Ayı;Aralık;;;MUHFISHAR.Tarih;Açılış|Ocak|Şubat|Aralık|Ocak ;DT;False;;;\n"));
  KeyedGridModel* model = r.Grid()->Model();
  const QModelIndex start = model->Cell_Index(1, r.G().Col_Index("Baslangic"));
  EXPECT_EQ(model->data(start, Qt::DisplayRole).toString(), "Ocak");
  r.G().Set_Text(1, "Baslangic", "Ocak ");
  EXPECT_EQ(model->data(start, Qt::DisplayRole).toString(),
            QString::fromUtf8("Ocak (sonraki yıl)"));
  EXPECT_EQ(model->data(start, Qt::EditRole).toString(), "Ocak ");
  // The list shows both Januaries apart and writes the stored values.
  r.Key(Qt::Key_Return);
  auto* combo = r.Grid()->findChild<QComboBox*>();
  ASSERT_NE(combo, nullptr);
  QStringList items;
  for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
  EXPECT_EQ(items, (QStringList{"Açılış", "Ocak", "Şubat", "Aralık", "Ocak (sonraki yıl)"}));
  EXPECT_EQ(combo->currentIndex(), 4);
  combo->setCurrentIndex(1);
  r.Key(Qt::Key_Return);
  EXPECT_EQ(r.Cell(1, "Baslangic"), "Ocak");
  // Typed letters choose the first month they begin, whatever the case: never next year's.
  for (auto [typed, month] :
       {std::pair{"o", "Ocak"}, std::pair{"OCAK", "Ocak"}, std::pair{"ş", "Şubat"}}) {
    r.G().Set_Text(1, "Baslangic", "Aralık");
    r.Grid()->Refresh();
    for (QChar c : QString::fromUtf8(typed)) {
      QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
      QApplication::sendEvent(r.Focus(), &press);
    }
    r.Key(Qt::Key_Return);
    EXPECT_EQ(r.Cell(1, "Baslangic"), QString::fromUtf8(month)) << typed;
  }
  // The last month's list has next year's January only after a first month of December.
  auto last_months = [&](const char* first) {
    r.G().Set_Text(1, "Baslangic", QString::fromUtf8(first));
    r.Click(1, "Baslangic");
    r.Click(2, "Baslangic");
    r.Key(Qt::Key_Return);
    QStringList items;
    if (auto* list = r.Grid()->findChild<QComboBox*>())
      for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
    r.Key(Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return items;
  };
  EXPECT_EQ(last_months("Kasım"), (QStringList{"Açılış", "Ocak", "Şubat", "Aralık"}));
  EXPECT_EQ(last_months("Aralık"),
            (QStringList{"Açılış", "Ocak", "Şubat", "Aralık", "Ocak (sonraki yıl)"}));
}

TEST(CalculationPercentBox, ShowsEveryDigitAndTurnsAtFortySevenRounded) {
  EXPECT_EQ(Calculation_Percent(0, -1).text, "");  // the count is not known yet
  EXPECT_EQ(Calculation_Percent(6, 15).text, "40%");
  EXPECT_FALSE(Calculation_Percent(6, 15).highlight);
  EXPECT_EQ(Calculation_Percent(7, 15).text, "46.6666666666667%");  // 46.67 rounds to 47
  EXPECT_TRUE(Calculation_Percent(7, 15).highlight);
  EXPECT_FALSE(Calculation_Percent(46, 100).highlight);
  EXPECT_EQ(Calculation_Percent(15, 15).text, "100%");
}
