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

// The lines of one account in the run's period.
QString Lines_Condition(const RunParameters& parameters, const QString& code) {
  return "MUHFISHAR.MHesap_Kod='" + Sql_Quote_Value(code) + "'" + Ledger_Condition(parameters);
}

QString Account_Name(const DbSession& db, const QString& code) {
  const auto names = Account_Names(db, {code});
  const auto found = names.find(code);
  return found == names.end() ? QString() : found->second;
}

// The table of an account's lines without its rows.
AuditTable Lines_Frame(const QString& code, const QString& name, const QString& period,
                       qint64 count) {
  AuditTable table;
  table.title = QString::fromUtf8("HESAP HAREKETLERİ");
  table.heading << QString::fromUtf8("Hesap : %1 %2").arg(code, name).trimmed();
  if (!period.isEmpty()) table.heading << QString::fromUtf8("Dönem : ") + period;
  table.heading << QString::fromUtf8("Satır sayısı : %1").arg(count);
  table.columns = {{"Tarih", "Tarih", false, 1000},
                   {"Fis_No", QString::fromUtf8("Fiş No"), false, 800},
                   {"Islem_Tipi", QString::fromUtf8("İşlem"), false, 1300},
                   {"Aciklama", QString::fromUtf8("Açıklama"), false, 2306},
                   {"Borc", QString::fromUtf8("Borç"), true, 1600},
                   {"Alacak", "Alacak", true, 1600},
                   {"Bakiye", "Bakiye", true, 1600}};
  return table;
}

AuditRow Line_Row(const VoucherLine& line) {
  return {{line.date.toString("dd.MM.yyyy"), line.voucher, line.kind, line.description, line.debit,
           line.credit, line.balance}};
}

AuditRow Total_Row(const AccountLines& account) {
  AuditRow total{{"TOPLAM", QVariant(), QVariant(), QVariant(), account.debit, account.credit,
                  account.balance}};
  total.bold = true;
  return total;
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

AccountLines Each_Voucher_Line(const DbSession& db, const RunParameters& parameters,
                               const QString& code,
                               const std::function<void(const VoucherLine& line)>& each) {
  AccountLines account;
  account.code = code.trimmed();
  ExactSum debit, credit, balance;
  const bool read = Read_Each_Row(
      db,
      "SELECT MUHFISHAR.Tarih, MUHFISHAR.Fis_No, MUHFISHAR.Islem_Tipi, MUHFISHAR.Aciklama, "
      "MUHFISHAR.BTutar, MUHFISHAR.ATutar FROM MUHFISHAR WHERE " +
          Lines_Condition(parameters, account.code) +
          " ORDER BY MUHFISHAR.Tarih, MUHFISHAR.Fis_No, MUHFISHAR.MFisHar_ID",
      [&](const std::vector<QVariant>& values) {
        auto text = [&](int c) { return values[c].isNull() ? QString() : values[c].toString(); };
        auto number = [&](int c) { return values[c].isNull() ? 0.0 : values[c].toDouble(); };
        VoucherLine line;
        line.date = Date_Of(values[0]);
        line.voucher = text(1).trimmed();
        line.kind = text(2).trimmed();
        line.description = text(3).trimmed();
        line.debit = number(4);
        line.credit = number(5);
        debit.Add(line.debit);
        credit.Add(line.credit);
        balance.Add(line.debit);
        balance.Add(-line.credit);
        line.balance = balance.Value();
        each(line);
      });
  if (!read) throw DbError{kErrObjectClosed, {}};
  account.debit = debit.Value();
  account.credit = credit.Value();
  account.balance = balance.Value();
  return account;
}

AccountLines Voucher_Lines(const DbSession& db, const RunParameters& parameters,
                           const QString& code) {
  std::vector<VoucherLine> lines;
  AccountLines account = Each_Voucher_Line(db, parameters, code,
                                           [&](const VoucherLine& line) { lines.push_back(line); });
  account.lines = std::move(lines);
  account.name = Account_Name(db, account.code);
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
  AuditTable table =
      Lines_Frame(account.code, account.name, period, static_cast<qint64>(account.lines.size()));
  for (const VoucherLine& line : account.lines) table.rows.push_back(Line_Row(line));
  table.rows.push_back(Total_Row(account));
  return table;
}

AuditTable Voucher_Lines_Table_Read_Along(const DbSession& db, const RunParameters& parameters,
                                          const QString& code, const QString& period,
                                          AuditRowSource* rows) {
  const QString account = code.trimmed();
  Recordset rs;
  Open_Recordset(db, rs,
                 "SELECT COUNT(*) AS N FROM MUHFISHAR WHERE " +
                     Lines_Condition(parameters, account));
  Require_Open(rs);
  const qint64 count = rs.Eof() ? 0 : static_cast<qint64>(rs.Number("N"));
  *rows = [db, parameters, account](const std::function<void(const AuditRow& row)>& row) {
    row(Total_Row(Each_Voucher_Line(db, parameters, account,
                                    [&](const VoucherLine& line) { row(Line_Row(line)); })));
  };
  return Lines_Frame(account, Account_Name(db, account), period, count);
}
