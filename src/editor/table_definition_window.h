// MuhMaliTabloTanim, the window in which one financial table is defined: its rows in the main
// grid FisGrd, the passive grid PasifGrd (balance sheets) and the footnote grid DipNotGrd (on
// demand), the row menu MnHepsi, and the saves KaydetBtn and FKaydetBtn through the code and
// name dialog. It is opened by the table list in add, change or view mode (the globals of the
// state); closing it tells the list (the signal closed) whether anything was saved. The rules live
// in definition_editing.h, loading and saving in model/table_definition.h.
#pragma once

#include <QWidget>
#include <functional>

#include "model/table_definition.h"

struct AppState;
class FormTitlePanel;
class KeyedGridView;
class QFrame;
class QKeyEvent;
class QMenu;
class QMouseEvent;
class QPushButton;

class MuhMaliTabloTanim : public QWidget {
  Q_OBJECT
 public:
  // The row editor, which adds or changes the rows of the window's grids: MuhMaliTabloSatir
  // unless another is set.
  using RowEditorOpener = std::function<void(MuhMaliTabloTanim& window)>;
  static void Set_Row_Editor(RowEditorOpener opener);

  // Form_Load: opens the table of the state's globals (and, adding, offers the standard
  // definition).
  explicit MuhMaliTabloTanim(AppState& state, QWidget* parent = nullptr);
  ~MuhMaliTabloTanim() override;

  TableDefinition& Definition() { return def_; }
  AppState& State() { return s_; }
  // The grid the row menu acts on (the one that last had the focus) and its placement.
  KeyedGridView* Active_Grid() { return active_; }
  int Active_Placement() const;
  // The row type the row editor is to create or change.
  int Satir_Tipi = 0;
  // The row editor closed: its grid changes are shown and the grid has the focus again.
  void Row_Editor_Closed();

  void KaydetBtn_Click();
  void FKaydetBtn_Click();
  void CikisBtn_Click();
  // A row menu item by name (MnGrup, MnSatirDegistir, MnDipNot, ...).
  void Menu_Item(const QString& name);
  QMenu* Row_Menu() { return MnHepsi; }

 signals:
  // The window closes; `saved` tells whether a save succeeded while it was open.
  void closed(bool saved);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void Build_Controls();
  void Build_Row_Menu();
  KeyedGridView* Make_Grid(int placement, QWidget* parent);
  void Lock_For_View();
  void Save(bool as_new);
  void Open_Row_Editor();
  void Show_Title();
  void Show_Row_Menu(KeyedGridView* grid, const QPoint& global);
  void Grid_Pressed(KeyedGridView* grid, QMouseEvent* mouse);
  bool Grid_Key_Down(KeyedGridView* grid, QKeyEvent* event);
  void Grid_Focus_In(KeyedGridView* grid);
  void Grid_Focus_Out(KeyedGridView* grid);
  void Toggle_Footnotes();
  void Refresh_Grids();

  AppState& s_;
  TableDefinition def_;
  bool saved_ = false;
  QString saved_snapshot_;  // the grids as last loaded or saved
  bool closing_ = false;
  KeyedGridView* active_ = nullptr;

  FormTitlePanel* FormBaslik = nullptr;
  QFrame* AktifShape = nullptr;
  QFrame* PasifShape = nullptr;
  KeyedGridView* FisGrd = nullptr;
  KeyedGridView* PasifGrd = nullptr;
  QFrame* DipNotPnl = nullptr;
  KeyedGridView* DipNotGrd = nullptr;
  QPushButton* KaydetBtn = nullptr;
  QPushButton* FKaydetBtn = nullptr;
  QPushButton* CikisBtn = nullptr;
  QMenu* MnHepsi = nullptr;
};
