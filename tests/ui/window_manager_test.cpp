// Dialogs under a real window manager (tests/ui/window_manager.sh runs these on Xvfb with
// openbox; elsewhere they are skipped): each window the editor opens is transient for the
// window that opened it (WM_TRANSIENT_FOR) and lies on that window's screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "editor/account_picker_window.h"
#include "editor/row_editor_window.h"
#include "editor/table_definition_window.h"
#include "editor/table_list_window.h"
#include "run/filter_window.h"
#include "support/test_suite.h"
#include "ui/user_steps.h"
#include "ui_common/keyed_grid_widget.h"

namespace {

// The window WM_TRANSIENT_FOR names, as the window manager reads it.
WId Transient_For(QWidget* window) {
  QProcess xprop;
  xprop.start("xprop", {"-id", QString::number(window->winId()), "WM_TRANSIENT_FOR"});
  xprop.waitForFinished(5000);
  const QString out = QString::fromLatin1(xprop.readAllStandardOutput());
  bool ok = false;
  const WId id = out.section('#', 1).trimmed().toULongLong(&ok, 0);
  return ok ? id : 0;
}

// The window as the opener's: transient for it and wholly on its screen.
void Expect_Attached(QWidget* window, QWidget* opener) {
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
  QTest::qWait(100);  // the window manager places and frames it
  SCOPED_TRACE(window->objectName().toStdString());
  EXPECT_EQ(Transient_For(window), opener->winId());
  const QRect area = opener->screen()->availableGeometry();
  EXPECT_TRUE(area.contains(window->frameGeometry()))
      << window->frameGeometry().x() << "," << window->frameGeometry().y() << " "
      << window->frameGeometry().width() << "x" << window->frameGeometry().height();
}

}  // namespace

TEST(WindowManager, EveryDialogIsAttachedToItsOpenerAndOnItsScreen) {
  if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "no window manager";
  TestSuite t;
  t.state.Program_Folder = MALITABLO_PROGRAM_DIR;
  t.Connect();
  t.Exec("INSERT INTO MUHKART (MHesap_ID,MHesap_Kod,MHesap_Ad,Aktif) VALUES (1,'600','SATIŞ',1)");
  FiltreFrm run(t.state);
  run.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&run));
  run.Form_Activate();

  run.findChild<QPushButton*>("Tablo_OlusturBtn")->click();
  auto* list = qobject_cast<MuhMaliTabloListe*>(run.Table_List_Window());
  Expect_Attached(list, &run);
  list->EkleBtn_Click();  // No to the standard definition
  MuhMaliTabloTanim* def = list->Definition_Window();
  Expect_Attached(def, list);
  def->Menu_Item("MnHesap");
  auto* editor = Shown_Window<MuhMaliTabloSatir>();
  Expect_Attached(editor, def);
  editor->CagirBtn_Click(0);
  Expect_Attached(Shown_Window<MuhHesapListesi>(), editor);
  Shown_Window<MuhHesapListesi>()->close();
  editor->close();
  QApplication::processEvents();

  // The code and name dialog, modal on the definition window.
  QTimer::singleShot(200, [def] {
    QWidget* dialog = QApplication::activeModalWidget();
    Expect_Attached(dialog, def);
    if (dialog) dialog->close();
  });
  def->KaydetBtn_Click();
  delete def;
}
