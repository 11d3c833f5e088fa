#include "audit/coverage_check.h"

#include <cmath>
#include <set>

#include "calc/row_sums.h"
#include "model/financial_table.h"
#include "report/report_data.h"
#include "ui_common/amount_text.h"

bool In_Statement_Classes(int kind, const QString& code) {
  const QString trimmed = code.trimmed();
  const QChar first = trimmed.isEmpty() ? QChar() : trimmed.front();
  // The result accounts are closed through within the year: never a statement's own.
  for (const char* result : {"690", "691", "692"})
    if (trimmed.startsWith(result)) return false;
  if (kind == kKindIncomeStatement) return first == '6';
  if (kind == kKindBalanceSheet) return first >= '1' && first <= '6';
  return true;
}

bool SideTotals::Balanced() const { return std::fabs(assets - liabilities) < 0.005; }

std::optional<SideTotals> Side_Totals(const ReportDataSource& rows) {
  std::optional<double> totals[2];
  for (int r = 0; r < rows.Row_Count(); ++r) {
    if (Code_Number(rows.Value(r, "Satir_Tipi")) != kRowGrandTotal) continue;
    const int place = Code_Number(rows.Value(r, "Rapor_Yeri"));
    if (place == kPlaceMain || place == kPlacePassive)
      totals[place - 1] = rows.Value(r, "Bakiye").toDouble();
  }
  if (!totals[0] || !totals[1]) return std::nullopt;
  return SideTotals{*totals[0], *totals[1]};
}

CoverageReport Coverage(int kind, const CalculationResult& result) {
  auto code_of = [&](qint64 id) { return result.intake.at(id).code; };
  // The rows that take each account, and the groups and totals that add it more than once.
  std::map<QString, QStringList> takers;
  std::map<QString, QStringList> added_twice;
  for (const auto& [id, intake] : result.intake) {
    for (const TakenAccount& account : intake.accounts)
      takers[account.code.trimmed()] << code_of(id);
    std::map<QString, QStringList> through;
    for (const TakenRow& row : intake.rows) {
      if (row.calc_type != kHesaplamaAdd && row.calc_type != kHesaplamaSubtract) continue;
      for (const TakenAccount& account : row.accounts) through[account.code.trimmed()] << row.code;
    }
    for (const auto& [code, rows] : through)
      if (rows.size() > 1) added_twice[code] << code_of(id) + ": " + rows.join(" + ");
  }
  CoverageReport report;
  for (const TakenAccount& account : result.period_accounts) {
    const QString code = account.code.trimmed();
    ++report.accounts;
    const auto taken = takers.find(code);
    const int count = taken == takers.end() ? 0 : taken->second.size();
    if (count > 0) ++report.taken;
    if (count == 0) {
      (In_Statement_Classes(kind, code) ? report.left_out : report.other_classes)
          .push_back({code, account.sums, {}});
    }
    QStringList doubled;
    if (count > 1) doubled << taken->second.join(", ");
    if (const auto twice = added_twice.find(code); twice != added_twice.end())
      doubled << twice->second;
    if (!doubled.isEmpty()) report.doubled.push_back({code, account.sums, doubled});
  }
  report.reverse_rows = result.reverse_rows;
  return report;
}

QStringList Coverage_Accounts(const CoverageReport& report) {
  QStringList codes;
  for (const auto* list : {&report.left_out, &report.doubled, &report.other_classes})
    for (const CoverageAccount& account : *list) codes << account.code;
  codes.removeDuplicates();
  return codes;
}

AuditTable Coverage_Table(const CoverageReport& report, int kind, const QString& statement,
                          const QString& period, const std::map<QString, QString>& names,
                          const std::map<QString, QString>& row_names) {
  auto name_of = [&](const QString& code) {
    const auto found = names.find(code);
    return found == names.end() ? QString() : found->second;
  };
  AuditTable table;
  table.title = QString::fromUtf8("HESAP KAPSAMI KONTROLÜ");
  table.heading << QString::fromUtf8("Tablo : ") + statement;
  if (!period.isEmpty()) table.heading << QString::fromUtf8("Dönem : ") + period;
  table.heading << QString::fromUtf8("Dönemde hareketi olan hesap : %1, tablonun aldığı : %2")
                       .arg(report.accounts)
                       .arg(report.taken);
  const QString classes = kind == kKindIncomeStatement ? QString::fromUtf8(" (6 ile başlayanlar)")
                          : kind == kKindBalanceSheet ? QString::fromUtf8(" (1-6 ile başlayanlar)")
                                                      : QString();
  table.heading << QString::fromUtf8("Dışarıda kalan hesap%1 : %2, iki kez sayılan hesap : %3")
                       .arg(classes)
                       .arg(report.left_out.size())
                       .arg(report.doubled.size());
  auto amount = [](double value) { return Amount_To_Text(2, value, {}, true); };
  if (report.sides)
    table.heading << QString::fromUtf8("Aktif toplamı : %1, pasif toplamı : %2")
                         .arg(amount(report.sides->assets), amount(report.sides->liabilities));
  if (report.sides && !report.sides->Balanced())
    table.heading << QString::fromUtf8("Sonuç : Bilanço denk değil.");
  else
    table.heading << (report.left_out.empty() && report.doubled.empty()
                          ? QString::fromUtf8("Sonuç : Eksik ya da mükerrer hesap yok.")
                          : QString::fromUtf8("Sonuç : Tablonun hesap kapsamı hatalı."));
  table.columns = {{"Durum", "Durum", false, 1300},
                   {"Hesap_Kodu", "Hesap Kodu", false, 1300},
                   {"Hesap_Adi", QString::fromUtf8("Hesap Adı"), false, 2200},
                   {"Borc", QString::fromUtf8("Borç"), true, 1300},
                   {"Alacak", "Alacak", true, 1300},
                   {"Bakiye", "Bakiye", true, 1300},
                   {"Satirlar", QString::fromUtf8("Alan satırlar"), false, 1506}};
  auto add = [&](const CoverageAccount& account, const QString& state) {
    AuditRow row{{state, account.code, name_of(account.code), Sum_Value(account.sums.debit),
                  Sum_Value(account.sums.credit), Sum_Value(account.sums.balance),
                  account.rows.join("; ")}};
    row.account = account.code;
    table.rows.push_back(row);
  };
  for (const CoverageAccount& account : report.left_out) add(account, QString::fromUtf8("Eksik"));
  for (const CoverageAccount& account : report.doubled) add(account, QString::fromUtf8("Mükerrer"));
  for (const ReverseRow& row : report.reverse_rows) {
    const auto name = row_names.find(row.code);
    const QString label =
        (row.code + " " + (name == row_names.end() ? QString() : name->second)).trimmed();
    table.notes << QString::fromUtf8(
                       "Uyarı: %1 satırının bakiyesi (%2) hesaplarının doğal "
                       "tarafının tersinde%3.")
                       .arg(label, amount(row.balance),
                            row.listed ? QString() : QString::fromUtf8("; satır listelenmedi"));
  }
  if (!report.other_classes.empty()) {
    // Named up to a line's worth; the command's CSV and JSON carry only the faults.
    constexpr int kNamed = 30;
    QStringList codes;
    for (const CoverageAccount& account : report.other_classes) codes << account.code;
    const int count = codes.size();
    if (count > kNamed) {
      codes = codes.mid(0, kNamed);
      codes << QString::fromUtf8("… ve %1 hesap daha").arg(count - kNamed);
    }
    table.notes << QString::fromUtf8("Tablonun sınıfları dışında kalan hareketli hesaplar (%1): ")
                           .arg(count) +
                       codes.join(", ");
  }
  return table;
}
