// MuhMaliTabloListe, the list of one kind's table definitions: incremental search by code or by
// name (typed into the grid, run 150 ms after the last key), the sort column chosen by Left,
// Right or a heading click, F12 to reverse the order, and the commands add (Insert), change
// (Enter, double-click), view (F5) and delete (Shift+Delete) with their popup menu. Add, change
// and view open the definition window (MuhMaliTabloTanim) while this window hides; it shows the
// run window again when it closes. The rules live in table_list.h.
#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "editor/table_list.h"

struct AppState;
class FormTitlePanel;
class KeyedGridView;
class MuhMaliTabloTanim;
class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

class MuhMaliTabloListe : public QWidget {
  Q_OBJECT
 public:
  // Form_Load for the kind in Table_Type.
  explicit MuhMaliTabloListe(AppState& state, QWidget* parent = nullptr);
  ~MuhMaliTabloListe() override;

  TableList& List() { return list_; }
  // The definition window while one is open.
  MuhMaliTabloTanim* Definition_Window() const;
  QString Caption() const;

  // Each time the window is shown: reloads unless the child was left through its exit button.
  void Form_Activate();
  // The search (AramaTimer's tick).
  void AramaTimer_Timer();
  void EkleBtn_Click();
  void DegistirBtn_Click();
  void InceleBtn_Click();
  void SilBtn_Click();
  void CikisBtn_Click();
  // A popup-menu command: "KeyEkle", "KeyDegistir", "KeyIncele", "KeySil", "KeyCikis".
  void Menu_Click(const QString& key);
  QMenu* Popup_Menu() { return MNHepsi; }

 signals:
  // The list closes: the window that opened it shows again.
  void closed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void Build_Controls();
  void Fill_Grid();
  void Show_Rows();
  void Open_Definition(bool add, bool view);
  bool Grid_Key_Down(QKeyEvent* event);
  bool Grid_Key_Up(QKeyEvent* event);
  void Heading_Click(int column);
  void Show_Popup(const QPoint& global);
  void Blink();

  AppState& s_;
  TableList list_;
  bool search_pending_ = false;
  bool closing_ = false;
  QPointer<MuhMaliTabloTanim> definition_;

  QTimer AramaTimer;
  QTimer Timer1;
  FormTitlePanel* FormBaslik = nullptr;
  QFrame* SSPanel2 = nullptr;
  QLineEdit* Arama = nullptr;
  QLabel* mercek1 = nullptr;
  QLabel* mercek2 = nullptr;
  KeyedGridView* TDBG1 = nullptr;
  QPushButton* EkleBtn = nullptr;
  QPushButton* InceleBtn = nullptr;
  QPushButton* DegistirBtn = nullptr;
  QPushButton* SilBtn = nullptr;
  QPushButton* CikisBtn = nullptr;
  QMenu* MNHepsi = nullptr;
};
