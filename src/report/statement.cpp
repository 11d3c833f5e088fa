// Reading a run's statement once, and its rows as the report engine reads them.
#include "report/statement.h"

#include <algorithm>

#include "db/query.h"
#include "db/recordset.h"
#include "process/app_state.h"
#include "report/ana_rapor.h"

namespace {

// A number stored in a text or number column; empty when it is none.
std::optional<int> Stored_Number(const QVariant& value) {
  if (value.isNull()) return std::nullopt;
  bool ok = false;
  const int number = value.toString().trimmed().toInt(&ok);
  return ok ? std::optional<int>(number) : std::nullopt;
}

std::optional<double> Stored_Amount(const QVariant& value) {
  if (value.isNull() || !value.isValid()) return std::nullopt;
  return value.toDouble();
}

QVariant Variant(const std::optional<int>& value) { return value ? QVariant(*value) : QVariant(); }
QVariant Variant(const std::optional<double>& value) {
  return value ? QVariant(*value) : QVariant();
}

}  // namespace

std::vector<Statement::Row> Statement_Rows(const ReportDataSource& rows) {
  std::vector<Statement::Row> out;
  out.reserve(static_cast<size_t>(rows.Row_Count()));
  for (int r = 0; r < rows.Row_Count(); ++r) {
    Statement::Row row;
    row.place = Stored_Number(rows.Value(r, "Rapor_Yeri"));
    row.number = Stored_Number(rows.Value(r, "Satir_No"));
    row.kind = Stored_Number(rows.Value(r, "Satir_Tipi"));
    row.level = Stored_Number(rows.Value(r, "Satir_Seviyesi"));
    row.code = rows.Value(r, "Satir_Kodu").toString().trimmed();
    row.caption = rows.Value(r, "Satir_Adi").toString().trimmed();
    row.amounts.push_back({Stored_Amount(rows.Value(r, "BTutar")),
                           Stored_Amount(rows.Value(r, "ATutar")),
                           Stored_Amount(rows.Value(r, "Bakiye"))});
    row.id = rows.Value(r, "Satir_ID");
    row.table_id = rows.Value(r, "Rapor_ID");
    row.calc_type = rows.Value(r, "Hesaplama_Tipi");
    row.balance_type = rows.Value(r, "Bakiye_Tipi");
    row.character = rows.Value(r, "Hesap_Karakteri");
    row.accounts_from = rows.Value(r, "MHesap_KodBas").toString();
    row.accounts_to = rows.Value(r, "MHesap_KodBit").toString();
    row.formula = rows.Value(r, "Formul").toString();
    const DetailLook look =
        Detail_Look(row.kind, row.level, row.Main().balance.value_or(0), Is_Net_Result(rows, r));
    row.amount_place = look.amount_place;
    row.emphasis = look.caption_bold;
    row.net_result = look.result_rules;
    out.push_back(std::move(row));
  }
  return out;
}

std::pair<QDate, QDate> Period_Bounds(const LedgerPeriod& period, const QDate& fiscal_year_start,
                                      const QDate& fiscal_year_end) {
  if (period.year <= 0) return {};
  auto in_year = [&](const QDate& date, const QDate& fallback) {
    return date.isValid() && date.year() == period.year ? date : fallback;
  };
  return {period.first_day.value_or(in_year(fiscal_year_start, QDate(period.year, 1, 1))),
          period.last_day.value_or(in_year(fiscal_year_end, QDate(period.year, 12, 31)))};
}

QString Period_Text(const LedgerPeriod& period, const QDate& fiscal_year_start,
                    const QDate& fiscal_year_end, bool opening_in) {
  if (period.year <= 0) return {};
  const auto [first, last] = Period_Bounds(period, fiscal_year_start, fiscal_year_end);
  QString text = first.toString("dd.MM.yyyy") + " - " + last.toString("dd.MM.yyyy");
  if (opening_in) text += " (Açılış dahil)";
  return text;
}

QString Balance_Sheet_Date_Text(const LedgerPeriod& period, const QDate& fiscal_year_start,
                                const QDate& fiscal_year_end, bool opening_in) {
  if (period.year <= 0) return {};
  const QDate last = Period_Bounds(period, fiscal_year_start, fiscal_year_end).second;
  return last.toString("dd.MM.yyyy") + " tarihli" + (opening_in ? " (Açılış dahil)" : "");
}

bool Opening_Voucher_In(const DbSession& db, const LedgerPeriod& period) {
  if (period.year <= 0) return false;
  RunParameters bounds;
  bounds.period = period;
  Recordset rs;
  Open_Recordset(db, rs,
                 "SELECT COUNT(*) AS Adet FROM MUHFISHAR WHERE Islem_Tipi='Açılış Fişi'" +
                     Ledger_Condition(bounds));
  return rs.Is_Open() && !rs.Eof() && rs.Number("Adet") > 0;
}

StatementHeading Statement_Heading(const AppState& state, const ReportDataSource& rows,
                                   const RunParameters& parameters, bool opening_in) {
  StatementHeading heading;
  heading.company = state.Company_Name;
  const bool any = rows.Row_Count() > 0;
  heading.title = any ? rows.Value(0, "Rapor_Adi").toString().trimmed() : QString();
  if (heading.title.isEmpty()) heading.title = Report_Title();
  heading.code = any ? rows.Value(0, "Rapor_Kodu").toString().trimmed() : QString();
  heading.kind = Statement_Kind(parameters.kind).code;
  // A balance sheet is dated; only it takes in the opening voucher's accounts, so only it says so.
  heading.period =
      parameters.kind == kKindBalanceSheet
          ? Balance_Sheet_Date_Text(parameters.period, state.Fiscal_Year_Start,
                                    state.Fiscal_Year_End, opening_in)
          : Period_Text(parameters.period, state.Fiscal_Year_Start, state.Fiscal_Year_End, false);
  std::tie(heading.first_day, heading.last_day) =
      Period_Bounds(parameters.period, state.Fiscal_Year_Start, state.Fiscal_Year_End);
  heading.workplace = parameters.workplace_name;
  return heading;
}

StatementStyle Statement_Style(const AppState& state, const RunParameters& parameters) {
  StatementStyle style;
  style.row_lines = parameters.row_lines;
  style.amount_format = state.Amount_Format;
  style.unit_price_format = state.Unit_Price_Format;
  style.currency_format = state.Currency_Format;
  style.currency_unit_price_format = state.Currency_Unit_Price_Format;
  style.rate_format = state.Rate_Format;
  style.amount_decimals = state.Amount_Decimals;
  style.separators = System_Separators(state);
  return style;
}

Statement Read_Statement(const AppState& state, const RunParameters& parameters) {
  const DbSession db = state.Db();
  Recordset rs;
  Open_Recordset(db, rs, parameters.statement_sql);
  const ReportRows rows = Report_Rows(rs);
  Statement statement;
  statement.heading =
      Statement_Heading(state, rows, parameters, Opening_Voucher_In(db, parameters.period));
  statement.columns.front().period = parameters.period;
  statement.columns.front().first_day = statement.heading.first_day;
  statement.columns.front().last_day = statement.heading.last_day;
  statement.rows = Statement_Rows(rows);
  statement.style = Statement_Style(state, parameters);
  return statement;
}

std::vector<size_t> Printed_Columns(const Statement& statement) {
  if (!statement.print_order.empty()) return statement.print_order;
  std::vector<size_t> order(statement.columns.size());
  for (size_t c = 0; c < order.size(); ++c) order[c] = c;
  return order;
}

std::optional<double> Printed_Balance(const Statement& statement, const Statement::Row& row,
                                      size_t column) {
  const std::optional<double>& balance = row.amounts[column].balance;
  if (!balance) return std::nullopt;
  const bool percent = statement.columns[column].kind == ColumnKind::Change;
  const std::optional<DecimalDigits> digits =
      DecimalDigits::Of_Double(*balance, kAmountSignificantDigits);
  return digits ? digits->Rounded(percent ? 2 : statement.style.amount_decimals).Value() : *balance;
}

QString Indented_Caption(const Statement::Row& row) {
  const int indent = row.level ? std::clamp(*row.level - 1, 0, 5) : 0;
  return QString(2 * indent, ' ') + row.caption;
}

QVariant StatementData::Value(int r, const QString& column) const {
  if (r < 0 || r >= Row_Count()) return {};
  const Statement::Row& row = statement_.rows[static_cast<size_t>(r)];
  const QString c = column.toLower();
  if (c == "rapor_yeri") return Variant(row.place);
  if (c == "satir_no") return Variant(row.number);
  if (c == "satir_tipi") return Variant(row.kind);
  if (c == "satir_seviyesi") return Variant(row.level);
  if (c == "satir_kodu") return row.code;
  if (c == "satir_adi") return row.caption;
  if (c == "btutar") return Variant(row.Main().debit);
  if (c == "atutar") return Variant(row.Main().credit);
  if (c == "bakiye") return Variant(row.Main().balance);
  if (c == "satir_id") return row.id;
  if (c == "rapor_id") return row.table_id;
  if (c == "hesaplama_tipi") return row.calc_type;
  if (c == "bakiye_tipi") return row.balance_type;
  if (c == "hesap_karakteri") return row.character;
  if (c == "mhesap_kodbas") return row.accounts_from;
  if (c == "mhesap_kodbit") return row.accounts_to;
  if (c == "formul") return row.formula;
  if (c == "rapor_adi") return statement_.heading.title;
  if (c == "rapor_kodu") return statement_.heading.code;
  if (c == "rapor_tipi") return static_cast<int>(statement_.heading.kind);
  return {};
}
