// FiltreFrm, the run window and the program's main window: the filter rows of the master file in
// the grid FiltreGrd, the output target RaporYeri, the multiple-choice popup CoktanSecmeliGrd
// opened by AraBtn, the waiting frame Bekleme of a run, and the buttons Tablo_OlusturBtn,
// TamamBtn and CikisBtn. A run goes through Run_Statement; the output it ends with is handed to
// the output handler with the text of RaporYeri, except the check ("Kontrol"), which the window
// shows itself and whose amounts are rolled back. Closing the window ends the program. An error
// in a handler or a run is shown as a critical message (ui_common/guarded.h).
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <optional>

#include "report/statement.h"
#include "ui_common/keyed_grid.h"

struct AppState;
class KeyedGridView;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QVBoxLayout;

// The percentage box of the running calculation: the share of rows done, with all its digits
// ("46.6666666666667%"), highlighted from 47 % (rounded) on; empty while the count is unknown.
struct CalculationPercent {
  QString text;
  bool highlight = false;
};
CalculationPercent Calculation_Percent(int done, int count);

class FiltreFrm : public QMainWindow {
  Q_OBJECT
 public:
  // Shows or writes a run's statement for `target` once the run has ended.
  using OutputHandler = std::function<void(const RunOutcome& run, const QString& target)>;

  // Form_Load: reads the master file (a damaged one ends the program with ProgramEnd).
  explicit FiltreFrm(AppState& state, QWidget* parent = nullptr);
  ~FiltreFrm() override;

  // Produces the output of a run, from its statement, for the target chosen in RaporYeri.
  void Set_Output_Handler(OutputHandler handler) { output_ = std::move(handler); }
  // The last run, its calculation with what each row took in when its output was the preview
  // or the check; the preview's breakdowns read it. Empty before the first run.
  const std::optional<RunOutcome>& Last_Run() const { return last_run_; }
  // The table list while it is open.
  QWidget* Table_List_Window() const { return table_list_window_; }

  // Form_Activate: fills the choice lists once.
  void Form_Activate();
  // TamamBtn's action: a run of the statement.
  void Run();
  // AraBtn's action: opens the multiple-choice list of the current row, or stores and closes it.
  void AraBtn_Click();
  // F9: today's date on every row captioned exactly "Tarih".
  void SetTodayOnDateRows();

  KeyedGrid& Filter_Grid() { return grid_; }
  KeyedGrid& Choice_Popup() { return popup_; }
  QString Output_Target() const;

 signals:
  void Closed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Build_Controls();
  void Build_Filter_Grid(QWidget* central, QVBoxLayout* layout);
  void Build_Choice_Popup(QWidget* central);
  void Build_Target_Row(QWidget* central, QVBoxLayout* layout);
  void Build_Buttons(QWidget* central, QVBoxLayout* layout);
  void Build_Waiting_Frame(QWidget* central);
  void Form_Load();
  // The rules of FiltreGrd.
  bool Before_Change(int row, int col);
  void After_Change(int row, int col, int old_row, int old_col);
  void After_Edit(int row, int col);
  void Check_Date_Cell(int row, int col);
  bool Grid_Key_Down(QKeyEvent* event);
  bool Grid_Key_Up(QKeyEvent* event);
  bool Editor_Key(QLineEdit* editor, QKeyEvent* event);
  bool Is_Date_Row(int row) const;
  void Place_Ara_Button();
  // The window's own keys, seen before its controls'.
  bool Window_Key(QKeyEvent* event);
  void Delete_Key();
  // The popup.
  bool Popup_Key_Down(QKeyEvent* event);
  bool Popup_Key_Up(QKeyEvent* event);
  void Close_Popup(bool store);
  void Place_Popup();
  void Focus_Changed(QWidget* old_focus, QWidget* new_focus);
  // The run's waiting frame.
  void Show_Waiting();
  void Hide_Waiting();
  // The calculation's bar and percentage box after `done` of `count` rows.
  void Show_Progress(int done, int count);
  void Place_Waiting();
  void Tablo_Olustur();

  AppState& s_;
  KeyedGrid grid_;
  KeyedGrid popup_;
  KeyedGrid target_;
  bool date_typed_ = false;
  bool running_ = false;
  bool popup_closing_ = false;
  bool escape_in_grid_ = false;
  int popup_row_ = 0;
  OutputHandler output_;
  std::optional<RunOutcome> last_run_;

  KeyedGridView* FiltreGrd = nullptr;
  KeyedGridView* CoktanSecmeliGrd = nullptr;
  KeyedGridView* RaporYeri = nullptr;
  QPushButton* AraBtn = nullptr;
  QFrame* SSPanel1 = nullptr;
  QPushButton* Tablo_OlusturBtn = nullptr;
  QPushButton* TamamBtn = nullptr;
  QPushButton* CikisBtn = nullptr;
  QProgressBar* Bar2 = nullptr;
  QFrame* Bekleme = nullptr;
  QLineEdit* Yuzde = nullptr;
  QProgressBar* Bar1 = nullptr;
  QPointer<QWidget> table_list_window_;
};
