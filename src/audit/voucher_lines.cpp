#include "audit/voucher_lines.h"

#include <QDateTime>
#include <cmath>

#include "db/db_error.h"
#include "db/query.h"
#include "db/recordset.h"
#include "db/sql_text.h"
#include "ui_common/exact_amount.h"

namespace {

QDate Date_Of(const QVariant& value) {
  if (value.metaType().id() == QMetaType::QDate) return value.toDate();
  if (value.metaType().id() == QMetaType::QDateTime) return value.toDateTime().date();
  const QString text = value.toString().trimmed().left(10);
  for (const char* format : {"yyyy-MM-dd", "MM/dd/yyyy", "yyyy/MM/dd"}) {
    const QDate date = QDate::fromString(text, format);
    if (date.isValid()) return date;
  }
  return {};
}

void Require_Open(const Recordset& rs) {
  if (!rs.Is_Open()) throw DbError{kErrObjectClosed, {}};
}

}  // namespace

void ExactSum::Add(double value) {
  const std::optional<Amount> amount = Amount::From_Double(value);
  if (!amount) return;
  const long long units = static_cast<long long>(amount->Units());
  units_ += amount->Negative() ? -units : units;
}

double ExactSum::Value() const {
  const std::optional<Amount> amount =
      Amount::From_Units(units_ < 0, static_cast<uint64_t>(units_ < 0 ? -units_ : units_));
  return amount ? amount->Value() : 0.0;
}

AccountLines Voucher_Lines(const DbSession& db, const RunParameters& parameters,
                           const QString& code) {
  AccountLines account;
  account.code = code.trimmed();
  Recordset rs;
  Open_Recordset(db, rs,
                 "SELECT MUHFISHAR.Tarih, MUHFISHAR.Fis_No, MUHFISHAR.Islem_Tipi, "
                 "MUHFISHAR.Aciklama, MUHFISHAR.BTutar, MUHFISHAR.ATutar FROM MUHFISHAR WHERE "
                 "MUHFISHAR.MHesap_Kod='" +
                     Sql_Quote_Value(account.code) + "'" + Ledger_Condition(parameters) +
                     " ORDER BY MUHFISHAR.Tarih, MUHFISHAR.Fis_No, MUHFISHAR.MFisHar_ID");
  Require_Open(rs);
  ExactSum debit, credit, balance;
  account.lines.reserve(rs.Record_Count());
  for (; !rs.Eof(); rs.Move_Next()) {
    VoucherLine line;
    line.date = Date_Of(rs.Field("Tarih"));
    line.voucher = rs.Text("Fis_No").trimmed();
    line.kind = rs.Text("Islem_Tipi").trimmed();
    line.description = rs.Text("Aciklama").trimmed();
    line.debit = rs.Number("BTutar");
    line.credit = rs.Number("ATutar");
    debit.Add(line.debit);
    credit.Add(line.credit);
    balance.Add(line.debit);
    balance.Add(-line.credit);
    line.balance = balance.Value();
    account.lines.push_back(line);
  }
  account.debit = debit.Value();
  account.credit = credit.Value();
  account.balance = balance.Value();
  const auto names = Account_Names(db, {account.code});
  if (auto found = names.find(account.code); found != names.end()) account.name = found->second;
  return account;
}

std::map<QString, QString> Account_Names(const DbSession& db, const QStringList& codes) {
  std::map<QString, QString> names;
  // In slices, so the statement stays short on every engine.
  constexpr int kSlice = 200;
  for (int start = 0; start < codes.size(); start += kSlice) {
    QStringList quoted;
    for (const QString& code : codes.mid(start, kSlice))
      quoted << "'" + Sql_Quote_Value(code.trimmed()) + "'";
    Recordset rs;
    Open_Recordset(db, rs,
                   "SELECT MUHKART.MHesap_Kod, MUHKART.MHesap_Ad FROM MUHKART WHERE "
                   "MUHKART.MHesap_Kod IN (" +
                       quoted.join(',') + ")");
    Require_Open(rs);
    for (; !rs.Eof(); rs.Move_Next())
      names.emplace(rs.Text("MHesap_Kod").trimmed(), rs.Text("MHesap_Ad").trimmed());
  }
  return names;
}

AuditTable Voucher_Lines_Table(const AccountLines& account, const QString& period) {
  AuditTable table;
  table.title = QString::fromUtf8("HESAP HAREKETLERİ");
  table.heading << QString::fromUtf8("Hesap : %1 %2").arg(account.code, account.name).trimmed();
  if (!period.isEmpty()) table.heading << QString::fromUtf8("Dönem : ") + period;
  table.heading << QString::fromUtf8("Satır sayısı : %1").arg(account.lines.size());
  table.columns = {{"Tarih", "Tarih", false, 1000},
                   {"Fis_No", QString::fromUtf8("Fiş No"), false, 800},
                   {"Islem_Tipi", QString::fromUtf8("İşlem"), false, 1300},
                   {"Aciklama", QString::fromUtf8("Açıklama"), false, 2306},
                   {"Borc", QString::fromUtf8("Borç"), true, 1600},
                   {"Alacak", "Alacak", true, 1600},
                   {"Bakiye", "Bakiye", true, 1600}};
  for (const VoucherLine& line : account.lines)
    table.rows.push_back({{line.date.toString("dd.MM.yyyy"), line.voucher, line.kind,
                           line.description, line.debit, line.credit, line.balance}});
  AuditRow total{{"TOPLAM", QVariant(), QVariant(), QVariant(), account.debit, account.credit,
                  account.balance}};
  total.bold = true;
  table.rows.push_back(total);
  return table;
}
