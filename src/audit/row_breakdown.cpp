#include "audit/row_breakdown.h"

#include "model/financial_table.h"
#include "report/report_data.h"

namespace {

QString Sign(int calc_type) {
  if (calc_type == kHesaplamaAdd) return "+";
  if (calc_type == kHesaplamaSubtract) return QString::fromUtf8("−");
  return {};
}

int Int(const ReportDataSource& rows, int row, const char* column) {
  return rows.Value(row, column).toString().trimmed().toDouble();
}

}  // namespace

StatementRow Statement_Row(const ReportDataSource& rows, int r) {
  StatementRow row;
  row.satir_id = rows.Value(r, "Satir_ID").toLongLong();
  row.rapor_id = rows.Value(r, "Rapor_ID").toLongLong();
  row.code = rows.Value(r, "Satir_Kodu").toString().trimmed();
  row.name = rows.Value(r, "Satir_Adi").toString().trimmed();
  row.type = Int(rows, r, "Satir_Tipi");
  row.calc_type = Int(rows, r, "Hesaplama_Tipi");
  row.balance_type = Int(rows, r, "Bakiye_Tipi");
  row.character = Int(rows, r, "Hesap_Karakteri");
  row.from = rows.Value(r, "MHesap_KodBas").toString().trimmed();
  row.to = rows.Value(r, "MHesap_KodBit").toString().trimmed();
  row.formula = rows.Value(r, "Formul").toString().trimmed();
  row.amount = rows.Value(r, "Bakiye");
  return row;
}

int Find_Statement_Row(const ReportDataSource& rows, const QString& code) {
  for (int r = 0; r < rows.Row_Count(); ++r)
    if (rows.Value(r, "Satir_Kodu").toString().trimmed() == code.trimmed()) return r;
  return -1;
}

std::map<QString, QString> Row_Names(const ReportDataSource& rows) {
  std::map<QString, QString> names;
  for (int r = 0; r < rows.Row_Count(); ++r)
    names.emplace(rows.Value(r, "Satir_Kodu").toString().trimmed(),
                  rows.Value(r, "Satir_Adi").toString().trimmed());
  return names;
}

BreakdownKind Breakdown_Kind(int row_type) {
  switch (row_type) {
    case kRowSingleAccount:
    case kRowAccountRange: return BreakdownKind::Accounts;
    case kRowGroup:
    case kRowSubtotal:
    case kRowGrandTotal: return BreakdownKind::Rows;
    case kRowFormula: return BreakdownKind::Formula;
    case kRowAmount: return BreakdownKind::Typed;
    default: return BreakdownKind::None;
  }
}

RowBreakdown Row_Breakdown(const StatementRow& row, const CalculationResult& result) {
  RowBreakdown b;
  b.row = row;
  b.kind = Breakdown_Kind(row.type);
  if (b.kind == BreakdownKind::Formula || b.kind == BreakdownKind::Typed ||
      b.kind == BreakdownKind::None) {
    b.amount = row.amount.toDouble();
    return b;
  }
  const auto found = result.intake.find(row.satir_id);
  if (found == result.intake.end()) return b;
  const RowIntake& intake = found->second;
  if (b.kind == BreakdownKind::Accounts) {
    for (const TakenAccount& account : intake.accounts) {
      BreakdownPart part;
      part.code = account.code;
      part.sums = account.sums;
      b.total += account.sums;
      b.parts.push_back(part);
    }
    b.amount = intake.left_out
                   ? 0.0
                   : Row_Amount(row.type, row.balance_type, row.character, b.total, intake.side)
                         .toDouble();
    return b;
  }
  for (const TakenRow& taken : intake.rows) {
    BreakdownPart part;
    part.satir_id = taken.satir_id;
    part.code = taken.code;
    part.calc_type = taken.calc_type;
    part.sums = taken.sums;
    part.value = taken.value;
    part.accounts = taken.accounts;
    b.total += taken.sums;
    if (taken.calc_type == kHesaplamaAdd) b.amount += taken.value;
    if (taken.calc_type == kHesaplamaSubtract) b.amount -= taken.value;
    b.parts.push_back(part);
  }
  return b;
}

QStringList Breakdown_Accounts(const RowBreakdown& b) {
  QStringList codes;
  for (const BreakdownPart& part : b.parts) {
    if (b.kind == BreakdownKind::Accounts) codes << part.code;
    for (const TakenAccount& account : part.accounts) codes << account.code;
  }
  codes.removeDuplicates();
  return codes;
}

AuditTable Row_Breakdown_Table(const RowBreakdown& b, const std::map<QString, QString>& names,
                               const std::map<QString, QString>& row_names, const QString& period) {
  auto name_of = [&](const QString& code) {
    const auto found = names.find(code);
    return found == names.end() ? QString() : found->second;
  };
  auto row_name = [&](const QString& code) {
    const auto found = row_names.find(code);
    return found == row_names.end() ? QString() : found->second;
  };
  AuditTable table;
  table.title = QString::fromUtf8("SATIR DÖKÜMÜ");
  table.heading << QString::fromUtf8("Satır : %1 %2").arg(b.row.code, b.row.name).trimmed();
  table.heading << QString::fromUtf8("Satır tipi : ") + Row_Type_Caption(b.row.type);
  if (b.row.type == kRowAccountRange)
    table.heading << QString::fromUtf8("Hesap aralığı : %1 - %2").arg(b.row.from, b.row.to);
  else if (b.row.type == kRowSingleAccount)
    table.heading << QString::fromUtf8("Hesap : ") + b.row.from;
  if (!period.isEmpty()) table.heading << QString::fromUtf8("Dönem : ") + period;
  table.columns = {{"Kod", "Kod", false, 1500},
                   {"Ad", "Ad", false, 2900},
                   {"Islem", QString::fromUtf8("İşlem"), false, 506},
                   {"Borc", QString::fromUtf8("Borç"), true, 1300},
                   {"Alacak", "Alacak", true, 1300},
                   {"Bakiye", "Bakiye", true, 1300},
                   {"Tutar", "Tutar", true, 1400}};
  auto account_row = [&](const TakenAccount& account, int depth) {
    AuditRow row{{account.code, name_of(account.code), QVariant(), Sum_Value(account.sums.debit),
                  Sum_Value(account.sums.credit), Sum_Value(account.sums.balance), QVariant()}};
    row.depth = depth;
    row.account = account.code;
    return row;
  };
  switch (b.kind) {
    case BreakdownKind::Accounts:
      for (const BreakdownPart& part : b.parts)
        table.rows.push_back(account_row({part.code, part.sums}, 0));
      if (b.parts.empty())
        table.notes << QString::fromUtf8("Dönemde bu satırın hesaplarında hareket yok.");
      break;
    case BreakdownKind::Rows:
      for (const BreakdownPart& part : b.parts) {
        const bool counted =
            part.calc_type == kHesaplamaAdd || part.calc_type == kHesaplamaSubtract;
        AuditRow row{{part.code, row_name(part.code), Sign(part.calc_type),
                      Sum_Value(part.sums.debit), Sum_Value(part.sums.credit),
                      Sum_Value(part.sums.balance), counted ? QVariant(part.value) : QVariant()}};
        row.bold = true;
        table.rows.push_back(row);
        for (const TakenAccount& account : part.accounts)
          table.rows.push_back(account_row(account, 1));
      }
      if (b.parts.empty()) table.notes << QString::fromUtf8("Bu satıra eklenen satır yok.");
      break;
    case BreakdownKind::Formula:
      table.notes << QString::fromUtf8("Formül : ") + b.row.formula;
      table.notes << QString::fromUtf8("Formüldeki kodlar tablonun öteki satırlarıdır.");
      break;
    case BreakdownKind::Typed:
      table.notes << QString::fromUtf8("Tutar tanımda elle girilmiştir; defterden gelmez.");
      break;
    case BreakdownKind::None: table.notes << QString::fromUtf8("Bu satırın tutarı yoktur."); break;
  }
  AuditRow total{{"TOPLAM", QVariant(), QVariant(), Sum_Value(b.total.debit),
                  Sum_Value(b.total.credit), Sum_Value(b.total.balance), b.amount}};
  total.bold = true;
  table.rows.push_back(total);
  return table;
}
