#include "calc/run_parameters.h"

#include "db/sql_text.h"

namespace {

QString Sql_Date(const QDate& date) { return date.toString("MM/dd/yyyy"); }

}  // namespace

QString Ledger_Condition(const RunParameters& p) {
  QString sql = " AND MUHFISHAR.Yil='" + QString::number(p.period.year) + "'";
  if (p.period.first_day) sql += " AND MUHFISHAR.Tarih>='" + Sql_Date(*p.period.first_day) + "'";
  // Before the next day: a date with a time of day belongs to its day.
  if (p.period.last_day)
    sql += " AND MUHFISHAR.Tarih<'" + Sql_Date(p.period.last_day->addDays(1)) + "'";
  if (!p.closing_vouchers)
    sql += QString::fromUtf8(
        " AND (MUHFISHAR.Islem_Tipi IS NULL OR MUHFISHAR.Islem_Tipi<>'Kapanış Fişi')");
  if (!p.workplace_code.isEmpty())
    sql += " AND MUHFISHAR.Isyeri_Kodu='" + Sql_Quote_Value(p.workplace_code) + "'";
  return sql;
}

QString Workplace_Heading(const QString& name, bool restricted) {
  if (name.isEmpty() || restricted) return name;
  return QString::fromUtf8("Tüm şirket (defterde işyeri bilgisi yok)");
}

QString Month_Last_Day(const QString& month, int year) {
  const int m = month.toInt();
  switch (m) {
    case 4:
    case 6:
    case 9:
    case 11: return "30";
    case 2: return QDate::isValid(year, 2, 29) ? "29" : "28";
    default: return "31";
  }
}
