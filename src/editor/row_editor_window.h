// MuhMaliTabloSatir, the window in which one definition row is added or changed: the fields of
// the row type, the account boxes with their look-up and the account picker, the option groups,
// the amount or the formula with its builder. It works on the definition window's active grid
// and hands back to it on closing. The rules live in row_editing.h.
#pragma once

#include <QPointer>
#include <QWidget>

#include "editor/row_editing.h"

struct AppState;
class FormTitlePanel;
class KeyedGridView;
class MuhMaliTabloTanim;
class QButtonGroup;
class QFrame;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

class MuhMaliTabloSatir : public QWidget {
  Q_OBJECT
 public:
  // A window attached to the opener, which it blocks while it shows.
  MuhMaliTabloSatir(AppState& state, MuhMaliTabloTanim& opener);
  ~MuhMaliTabloSatir() override;

  // Opens the editor on the definition window (its opener, as Set_Row_Editor takes it).
  static void Open(AppState& state, MuhMaliTabloTanim& opener);

  void KaydetBtn_Click();
  void CikisBtn_Click();
  void CagirBtn_Click(int k);
  // The picker answered: its pick goes into the receiving box.
  void Form_Activate();
  void FormulBtn_Click();
  void Formula_Code_Chosen();
  void Formula_Operator(QChar op);

  RowFields Fields() const;
  const RowLayout& Layout() const { return layout_; }
  QWidget* Picker() const { return picker_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void Build_Controls();
  void Build_Row_Boxes();
  void Build_Account_Boxes();
  void Build_Option_Groups(QVBoxLayout* options);
  void Build_Amount_Box(QVBoxLayout* options);
  void Build_Formula_Builder(QVBoxLayout* options);
  void Apply_Layout();
  void Show_Fields(const RowFields& f);
  bool Account_Key(int k, QKeyEvent* event);
  bool Formula_Grid_Key(QKeyEvent* event);
  void Set_Formula(const QString& text);

  AppState& s_;
  QPointer<MuhMaliTabloTanim> opener_;
  KeyedGridView* grid_view_;  // the opener's grid the row goes to
  int row_type_ = 0;
  bool add_ = false;
  RowLayout layout_;
  QString receiving_box_;
  bool picker_open_ = false;
  bool pick_mode_switched_ = false;
  bool written_ = false;
  QPointer<QWidget> picker_;
  KeyedGrid formula_rows_;

  FormTitlePanel* FormBaslik = nullptr;
  QFrame* IcFrame = nullptr;
  QFrame* FRMS[5] = {};
  QLineEdit* Satir_Kodu = nullptr;
  QLineEdit* Satir_Adi = nullptr;
  QLineEdit* MHesap_Kod = nullptr;
  QLineEdit* MHesap_KodBas = nullptr;
  QLineEdit* MHesap_KodBit = nullptr;
  QLineEdit* MHesap_ID = nullptr;
  QLineEdit* MHesap_IDBas = nullptr;
  QLineEdit* MHesap_IDBit = nullptr;
  QPushButton* CagirBtn[3] = {};
  QGroupBox* Option_Frames[kOptionGroups] = {};  // Frame2, BakiyeFrm, KarakterFrm, TersBakiyeFrm
  QButtonGroup* Options[kOptionGroups] = {};
  QGroupBox* TutarFrm = nullptr;
  QLineEdit* Tutar = nullptr;
  QLineEdit* FormulTxt = nullptr;
  QPushButton* FormulBtn = nullptr;
  KeyedGridView* HesapAlaniFlx = nullptr;
  QFrame* Islemler = nullptr;
  QPushButton* KaydetBtn = nullptr;
  QPushButton* CikisBtn = nullptr;
};
