// The row editor's rules on one definition row, free of widgets: which fields a row type shows,
// the boxes filled from a grid row, the checks with their messages, the write into the grid,
// the account look-up in the chart, the picker's opening, and the formula builder.
// MuhMaliTabloSatir (row_editor_window) shows and calls these.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "ui_common/keyed_grid.h"

struct AppState;

inline const char* kRowEditorTitle = "Muhasebe Hesap Kartı";
inline const char* kMissingRowCode = "Lütfen Satırın Kodunu Giriniz.";
inline const char* kMissingRowName = "Lütfen Satırın Açıklamasını Giriniz.";
inline const char* kMissingAccountCode = "Lütfen Hesap Kodunu Giriniz.";
inline const char* kMissingRangeStart = "Lütfen Satırın Başlangıç Hesap Kodunu Giriniz.";
inline const char* kMissingRangeEnd = "Lütfen Satırın Bitiş Hesap Kodunu Giriniz.";
inline const char* kDuplicateRowCode = "Bu Kodu Ekleyemeziniz.Bu Kodla Bir Satır Zaten Var";

// The fields a row type shows. frames[0..4]: code, name, account, range, options; inside the
// options frame, the four option groups and the amount frame (amount box or formula).
struct RowLayout {
  bool frames[5] = {false, false, false, false, false};
  bool hesaplama = true;      // Frame2
  bool bakiye = true;         // BakiyeFrm
  bool karakter = true;       // KarakterFrm
  bool ters = true;           // TersBakiyeFrm
  bool amount_frame = false;  // TutarFrm
  bool amount_box = false;    // Tutar
  bool formula = false;       // FormulTxt and FormulBtn
  QString amount_caption = "Tutar";
};
RowLayout Arrange_Fields(int row_type);

// The option groups in the order Hesaplama_Tipi, Bakiye_Tipi, Hesap_Karakteri, Ters_Bakiye.
constexpr int kOptionGroups = 4;
const QStringList& Option_Group_Columns();

// What the editor's boxes hold. An option of -1 has no selected button.
struct RowFields {
  QString Satir_Kodu;
  QString Satir_Adi;
  QString MHesap_Kod;
  QString MHesap_KodBas;
  QString MHesap_KodBit;
  QString Tutar;
  QString Formul;
  int options[kOptionGroups] = {1, 0, 0, 0};
};

// The boxes of a change: the grid's row `row` as the layout reads it.
RowFields Fill_From_Grid(const KeyedGrid& grid, int row, const RowLayout& layout);

// The first failed check's message, "" when all pass: a missing field (emptiness of the text as
// typed), then a text longer than its column. An amount that is not a number in the state's
// separators becomes "0" (without a message).
QString Check_Fields(const AppState& state, RowFields& fields, const RowLayout& layout);

struct WriteResult {
  int row = -1;     // the grid row written; -1 when refused
  QString message;  // the refusal
};
// Writes the row into the grid: when changing, its current row; when adding, a row inserted
// below the current one, a code already there being refused. The written row becomes the
// current one.
WriteResult Write_To_Grid(KeyedGrid& grid, bool add, int row_type, const RowFields& fields,
                          const RowLayout& layout);

// An account of the chart (MUHKART).
struct AccountRef {
  qint64 id = 0;
  QString code;
  QString name;
};
// The account whose code is exactly `code`; none when the chart has no such account.
std::optional<AccountRef> Look_Up_Account(const AppState& state, const QString& code);
// The picker's opening for an account box: its text followed by "0" (search by code).
QString Picker_Opening(const QString& box_text);

// Formula building. Codes and operators are appended by the rules of the builder's buttons.
bool Is_Formula_Operator(QChar c);     // + - * /
bool Is_Formula_Punctuation(QChar c);  // + - * / ( )
// A code from the group list: the formula becomes the code when empty, gets it after an
// operator or parenthesis, and stays otherwise.
QString Formula_Add_Code(const QString& formula, const QString& code);
// An operator button: appended unless the formula is empty or ends with an operator.
QString Formula_Add_Operator(const QString& formula, QChar op);
// Backspace: the last operator or parenthesis, else the trailing code, is removed.
QString Formula_Backspace(const QString& formula);
// The rows the builder offers: (code, name) of every row of the main grid with a code, in grid
// order, but the row `except` (the one being changed).
QList<QPair<QString, QString>> Formula_Rows(const KeyedGrid& grid, int except = -1);
