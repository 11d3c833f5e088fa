#include "editor/row_editing.h"

#include "db/query.h"
#include "db/recordset.h"
#include "db/sql_text.h"
#include "editor/definition_editing.h"
#include "model/financial_table.h"
#include "process/app_state.h"
#include "ui_common/exact_amount.h"

RowLayout Arrange_Fields(int row_type) {
  RowLayout l;
  auto show = [&l](std::initializer_list<int> frames) {
    for (int f : frames) l.frames[f] = true;
  };
  switch (row_type) {
    case kRowGroup: show({0, 1}); break;
    case kRowSingleAccount: show({0, 1, 2, 4}); break;
    case kRowAccountRange: show({0, 1, 3, 4}); break;
    case kRowSubtotal:
    case kRowGrandTotal:
    case kRowFootnote: show({1}); break;
    case kRowAmount:
      show({0, 1, 4});
      l.bakiye = l.karakter = l.ters = false;
      l.amount_frame = l.amount_box = true;
      break;
    case kRowFormula:
      show({0, 1, 4});
      l.bakiye = l.karakter = l.ters = l.hesaplama = false;
      l.amount_frame = l.formula = true;
      l.amount_caption = "Formül";
      break;
    default: break;
  }
  return l;
}

const QStringList& Option_Group_Columns() {
  static const QStringList columns{"Hesaplama_Tipi", "Bakiye_Tipi", "Hesap_Karakteri",
                                   "Ters_Bakiye"};
  return columns;
}

RowFields Fill_From_Grid(const KeyedGrid& grid, int row, const RowLayout& layout) {
  RowFields f;
  f.Satir_Kodu = grid.Text(row, "Satir_Kodu");
  f.Satir_Adi = grid.Text(row, "Satir_Adi");
  if (!layout.frames[2]) {
    f.MHesap_KodBas = grid.Text(row, "MHesap_KodBas");
    f.MHesap_KodBit = grid.Text(row, "MHesap_KodBit").trimmed();
  } else {
    f.MHesap_Kod = grid.Text(row, "MHesap_KodBas");
  }
  if (layout.amount_frame) {
    f.Tutar = grid.Text(row, "Tutar");
    f.Formul = grid.Text(row, "Formul");  // "" in a grid without the column
  }
  for (int g = 0; g < kOptionGroups; ++g) {
    bool ok = false;
    const int value = grid.Text(row, Option_Group_Columns()[g]).trimmed().toInt(&ok);
    const int buttons = g == 3 ? 2 : 3;
    f.options[g] = ok && value >= 0 && value < buttons ? value : -1;
  }
  return f;
}

QString Check_Fields(const AppState& state, RowFields& f, const RowLayout& l) {
  if (l.frames[0] && f.Satir_Kodu.isEmpty()) return kMissingRowCode;
  if (l.frames[1] && f.Satir_Adi.isEmpty()) return kMissingRowName;
  if (l.frames[2] && f.MHesap_Kod.isEmpty()) return kMissingAccountCode;
  if (l.frames[3] && f.MHesap_KodBas.isEmpty()) return kMissingRangeStart;
  if (l.frames[3] && f.MHesap_KodBit.isEmpty()) return kMissingRangeEnd;
  const QString refusals[] = {
      Length_Refusal("Satır Kodu", f.Satir_Kodu, kRowCodeLength),
      Length_Refusal("Açıklama", f.Satir_Adi, kRowNameLength),
      Length_Refusal("Hesap Kodu", f.MHesap_Kod.trimmed(), kAccountCodeLength),
      Length_Refusal("Başlangıç Hesap Kodu", f.MHesap_KodBas.trimmed(), kAccountCodeLength),
      Length_Refusal("Bitiş Hesap Kodu", f.MHesap_KodBit.trimmed(), kAccountCodeLength),
      Length_Refusal("Formül", f.Formul, kFormulaLength),
  };
  for (const QString& refusal : refusals)
    if (!refusal.isEmpty()) return refusal;
  NumberSyntax syntax;
  syntax.blanks_around = true;
  if (!state.System_Decimal_Sep.isEmpty()) syntax.decimal_marks = state.System_Decimal_Sep;
  if (state.System_Thousand_Sep.size() == 1 && state.System_Thousand_Sep != syntax.decimal_marks)
    syntax.thousand = state.System_Thousand_Sep.at(0);
  if (!Is_Number_Text(f.Tutar, syntax)) f.Tutar = "0";
  return {};
}

WriteResult Write_To_Grid(KeyedGrid& grid, bool add, int row_type, const RowFields& f,
                          const RowLayout& l) {
  int r = grid.Row();
  if (add) {
    if (!f.Satir_Kodu.trimmed().isEmpty() && Row_With_Code(grid, f.Satir_Kodu) > 0)
      return {-1, kDuplicateRowCode};
    r = Insertion_Row(grid);
    grid.Insert_Row(r);
  } else if (r < 1 || r >= grid.Rows()) {
    return {};
  }
  QString name = f.Satir_Adi;
  while (name.endsWith(' ')) name.chop(1);
  grid.Set_Text(r, "Satir_Tipi", QString::number(row_type));
  grid.Set_Text(r, "Satir_Kodu", f.Satir_Kodu);
  grid.Set_Text(r, "Satir_Adi", name);
  grid.Set_Text(r, "Yazilacak", Display_Text(f.Satir_Kodu, name));
  grid.Set_Text(r, "Tutar", l.amount_frame ? f.Tutar : QString());
  if (grid.Col_Index("Formul") >= 0) grid.Set_Text(r, "Formul", l.amount_frame ? f.Formul : "");
  if (l.frames[2]) {
    grid.Set_Text(r, "MHesap_KodBas", f.MHesap_Kod.trimmed());
    grid.Set_Text(r, "MHesap_KodBit", QString());
  } else {
    grid.Set_Text(r, "MHesap_KodBas", f.MHesap_KodBas.trimmed());
    grid.Set_Text(r, "MHesap_KodBit", f.MHesap_KodBit.trimmed());
  }
  for (int g = 0; g < kOptionGroups; ++g)
    if (f.options[g] >= 0)
      grid.Set_Text(r, Option_Group_Columns()[g], QString::number(f.options[g]));
  grid.Set_Text(r, "Satir_Seviyesi", QString::number(Row_Level(f.Satir_Kodu)));
  grid.Set_Current(r, grid.Col_Index("Yazilacak"));
  return {r, {}};
}

std::optional<AccountRef> Look_Up_Account(const AppState& state, const QString& code) {
  Recordset rs;
  Open_Recordset(state.Db(), rs,
                 "SELECT MHesap_ID,MHesap_Kod,MHesap_Ad FROM MUHKART WHERE MHesap_KOd='" +
                     Sql_Quote_Value(code) + "'");
  if (!rs.Is_Open() || rs.Eof()) return std::nullopt;
  return AccountRef{rs.Field("MHesap_ID").toLongLong(), rs.Field("MHesap_Kod").toString().trimmed(),
                    rs.Field("MHesap_Ad").toString()};
}

QString Picker_Opening(const QString& box_text) { return box_text + "0"; }

bool Is_Formula_Operator(QChar c) { return c == '+' || c == '-' || c == '*' || c == '/'; }
bool Is_Formula_Punctuation(QChar c) { return Is_Formula_Operator(c) || c == '(' || c == ')'; }

QString Formula_Add_Code(const QString& formula, const QString& code) {
  if (formula.isEmpty()) return code;
  if (Is_Formula_Punctuation(formula.back())) return formula + code;
  return formula;
}

QString Formula_Add_Operator(const QString& formula, QChar op) {
  if (formula.isEmpty() || Is_Formula_Operator(formula.back())) return formula;
  return formula + op;
}

QString Formula_Backspace(const QString& formula) {
  if (formula.isEmpty()) return formula;
  if (Is_Formula_Punctuation(formula.back())) return formula.chopped(1);
  for (int i = formula.size() - 1; i >= 0; --i)
    if (Is_Formula_Punctuation(formula[i])) return formula.left(i + 1);
  return {};
}

QList<QPair<QString, QString>> Formula_Rows(const KeyedGrid& grid, int except) {
  QList<QPair<QString, QString>> rows;
  for (int r = 1; r < grid.Rows(); ++r) {
    const QString code = grid.Text(r, "Satir_Kodu").trimmed();
    if (r != except && !code.isEmpty()) rows.append({code, grid.Text(r, "Satir_Adi").trimmed()});
  }
  return rows;
}
