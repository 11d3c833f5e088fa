// The financial table model: a statement definition is a header in MUHASEBEMALITABLOKART (code,
// name, kind) and an ordered list of rows in MUHASEBEMALITABLOHAREKET. This file holds their
// records, every code value with the caption the editor shows for it (row types, the four
// calculation options, placements, statement kinds), the column keys of the definition grids
// (the editor's working copy of the rows, one grid per placement) and the two rules on a row's
// code: its level and its display text. Loading and saving live in table_definition.h.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <cstdint>
#include <vector>

#include "ui_common/keyed_grid.h"

// Statement kinds (Rapor_Tipi).
enum StatementKind : int {
  kKindBalanceSheet = 1,
  kKindIncomeStatement = 2,
};

struct StatementKindInfo {
  StatementKind code;
  QString choice;               // the "Tablo Türü" choice: "Bilanço", "Gelir Tablosu"
  QString name;                 // in a sentence: "bilanço", "gelir tablosu"
  QString standard_definition;  // the standard definition's file: "BILANCO.txt", "TORVIKA.txt"
};
// Every statement kind, in code order.
const std::vector<StatementKindInfo>& Statement_Kinds();
// The kind of a code; the income statement for any other code.
const StatementKindInfo& Statement_Kind(int code);
// File name of a kind's standard definition ("BILANCO.txt", "TORVIKA.txt"); "" for other kinds.
QString Standard_Definition_File(int kind);
// Folder under the program's own folder that holds the standard definition files.
inline const char* kStandardDefinitionFolder = "Muhasebe Parametre";

// Row types (Satir_Tipi). Codes 6, 7 and 8 are page layout rows: they take nothing in and print
// a blank line, a double rule or a single rule.
enum RowType : int {
  kRowGroup = 1,
  kRowSingleAccount = 2,
  kRowAccountRange = 3,
  kRowSubtotal = 4,
  kRowGrandTotal = 5,
  kRowBlankLine = 6,
  kRowDoubleRule = 7,
  kRowSingleRule = 8,
  kRowAmount = 9,
  kRowFootnote = 10,
  kRowFormula = 11,
};

struct RowTypeInfo {
  int code;
  QString menu_item;  // the definition window's menu item that creates the row
  QString caption;    // "GRUP", "TEK HESAP", ...
};
// Every row type the editor makes, in code order.
const std::vector<RowTypeInfo>& Row_Types();
// Whether a row type is a blank line or a rule.
bool Is_Page_Layout_Row(int code);
// Caption of a row type code; "" for a code the editor does not make.
QString Row_Type_Caption(int code);

// The four calculation options of a row. Stored codes are the indexes of the row editor's option
// buttons.
constexpr int kHesaplamaNone = 0, kHesaplamaAdd = 1, kHesaplamaSubtract = 2;
constexpr int kBakiyeTotal = 0, kBakiyeDebit = 1, kBakiyeCredit = 2;
constexpr int kKarakterEither = 0, kKarakterDebit = 1, kKarakterCredit = 2;
constexpr int kTersListed = 0, kTersNotListed = 1;

struct CalcOptionInfo {
  QString column;         // Hesaplama_Tipi, Bakiye_Tipi, Hesap_Karakteri, Ters_Bakiye
  QString frame_caption;  // caption of the editor's frame around the buttons
  QStringList captions;   // caption of code 0, 1, ...
  int default_code;       // selected for a new row
};
// The options in the order Hesaplama_Tipi, Bakiye_Tipi, Hesap_Karakteri, Ters_Bakiye.
const std::vector<CalcOptionInfo>& Calc_Options();
// Caption of `code` for the option stored in `column`; "" when there is none.
QString Calc_Option_Caption(const QString& column, int code);

// Placements (Rapor_Yeri): which grid of the definition window a row lives in.
enum Placement : int { kPlaceMain = 1, kPlacePassive = 2, kPlaceFootnote = 3 };
constexpr int kPlacements[] = {kPlaceMain, kPlacePassive, kPlaceFootnote};
QString Placement_Grid_Name(int placement);  // "FisGrd", "PasifGrd", "DipNotGrd"
// Caption of a placement wherever rows are shown by placement: "AKTİFLER", "PASİFLER",
// "DİPNOTLAR"; "" for any other value.
QString Placement_Caption(int placement);
// Whether a statement of `kind` heads the rows of `placement` with its caption: a balance sheet
// heads both sides and the footnotes, an income statement only its footnotes (and a passive
// side, should it have one).
bool Placement_Heading_Shown(int placement, int kind);

// Column keys of a definition grid, in order: 16 columns in the main grid (with Formul), 15 in
// the passive and footnote grids. Yazilacak is always the last column and the only visible one.
QStringList Definition_Grid_Keys(int placement);
// An empty definition grid for `placement`: its columns, only the header row, the header text
// of its visible column (the placement's caption, none for the main grid), the design widths,
// every column but Yazilacak hidden.
KeyedGrid Make_Definition_Grid(int placement);

// The three definition grids of one table, by placement.
struct DefinitionGrids {
  KeyedGrid FisGrd = Make_Definition_Grid(kPlaceMain);
  KeyedGrid PasifGrd = Make_Definition_Grid(kPlacePassive);
  KeyedGrid DipNotGrd = Make_Definition_Grid(kPlaceFootnote);

  KeyedGrid& Grid(int placement);
  const KeyedGrid& Grid(int placement) const;
};

// Level of a row: the number of "." in its code, as typed, plus 1.
int Row_Level(const QString& code);
// Display text of a row (its Yazilacak cell): the code followed directly by the name.
QString Display_Text(const QString& code, const QString& name);

// Header record of MUHASEBEMALITABLOKART.
struct TableHeader {
  qint64 Rapor_ID = 0;
  QString Rapor_Kodu;
  QString Rapor_Adi;
  int Rapor_Tipi = kKindIncomeStatement;
};

// Row record of MUHASEBEMALITABLOHAREKET. Bakiye is Null (an invalid QVariant) when no amount
// is stored; BTutar, ATutar and Bakiye are also written by every run of the statement.
struct DefinitionRow {
  qint64 Satir_ID = 0;
  qint64 Rapor_ID = 0;
  int16_t Rapor_Yeri = kPlaceMain;
  int32_t Satir_No = 0;
  int Satir_Tipi = kRowGroup;
  QString Satir_Kodu;
  QString Satir_Adi;
  int Satir_Seviyesi = 1;
  int Hesaplama_Tipi = kHesaplamaAdd;
  int Bakiye_Tipi = kBakiyeTotal;
  int Hesap_Karakteri = kKarakterEither;
  int Ters_Bakiye = kTersListed;
  QString MHesap_KodBas;
  QString MHesap_KodBit;
  QString Formul;
  QVariant Bakiye;
};
