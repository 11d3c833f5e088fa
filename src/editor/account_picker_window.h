// MuhHesapListesi, the account picker: the chart of accounts with balances, searched as the user
// types by the sort column, re-sorted with F12, the list type (all, active, inactive) chosen
// above, its headings choosing the sort column. Any account can be chosen; the choice (or none)
// goes to the state's Picked_Account_ID, Picked_Account_Code and Picked_Account_Name, and the
// caller is told when the picker closes. The rules live in account_list.h.
#pragma once

#include <QPointer>
#include <QWidget>

#include "db/recordset.h"
#include "ui_common/keyed_grid.h"

struct AppState;
class FormTitlePanel;
class KeyedGridView;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

class MuhHesapListesi : public QWidget {
  Q_OBJECT
 public:
  // A window attached to `caller`, which it blocks while it shows.
  MuhHesapListesi(AppState& state, QWidget* caller);

  void AramaTimer_Timer();
  void SecBtn_Click();
  void CikisBtn_Click();
  void Set_Sort_Column(int column);

  const KeyedGrid& Grid() const { return grid_; }
  QString Search_Text() const;
  int Sort_Column() const { return sort_column_; }

 signals:
  // The picker closes, its choice (or none) in the state.
  void closed();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Fill_Grid();
  bool Grid_Key_Down(QKeyEvent* event);

  AppState& s_;
  QPointer<QWidget> caller_;
  bool activated_ = false;
  bool closed_ = false;
  bool chosen_ = false;
  Recordset rows_;  // Rs_Accounts
  KeyedGrid grid_;
  QString last_sql_;              // the chart's statement the rows were read with
  bool search_selected_ = false;  // the opening search is replaced by the first typed key
  QString sort_field_ = "MUHKART.MHesap_Kod";
  int sort_column_ = 1;

  FormTitlePanel* FormBaslik = nullptr;
  QCheckBox* Bakiyeli = nullptr;
  QLineEdit* Arama = nullptr;
  QComboBox* Liste_Tipi = nullptr;
  QPushButton* SecBtn = nullptr;
  QPushButton* CikisBtn = nullptr;
  KeyedGridView* TDBG1 = nullptr;
  QLabel* StokAdediLbl = nullptr;
  QTimer* AramaTimer = nullptr;
};
