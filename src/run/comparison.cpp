#include "run/comparison.h"

#include <cmath>

#include "db/query.h"
#include "db/recordset.h"
#include "report/ana_rapor.h"
#include "ui_common/turkish_text.h"

const char* const kNoPreviousPeriod = "Önceki dönem verisi yok";

namespace {

QString Month_Title(const QDate& month) { return Month_Name_TR(month.month()); }

QString Quarter_Title(const QDate& month) {
  return QString::number((month.month() - 1) / 3 + 1) + QString::fromUtf8(". Çeyrek");
}

AmountColumn Period_Column(const QString& title, const LedgerPeriod& period,
                           const QDate& fiscal_year_start, const QDate& fiscal_year_end) {
  AmountColumn column{title, period, ColumnKind::Period, {}, {}};
  std::tie(column.first_day, column.last_day) =
      Period_Bounds(period, fiscal_year_start, fiscal_year_end);
  return column;
}

std::optional<double> Difference(const std::optional<double>& current,
                                 const std::optional<double>& previous) {
  if (!current && !previous) return std::nullopt;
  return current.value_or(0) - previous.value_or(0);
}

// The change as a percentage of the previous figure's size; none when that figure is nil.
std::optional<double> Change(const std::optional<double>& current,
                             const std::optional<double>& previous) {
  if (!previous || Amount_Blank(*previous)) return std::nullopt;
  return (current.value_or(0) - *previous) / std::fabs(*previous) * 100;
}

}  // namespace

ComparisonPlan Comparison_Plan(const RunParameters& p, const QDate& fiscal_year_start,
                               const QDate& fiscal_year_end) {
  ComparisonPlan plan;
  AmountColumn main = Period_Column("CARİ", p.period, fiscal_year_start, fiscal_year_end);
  if (p.comparison == Comparison::None) {
    plan.columns.push_back(main);
    return plan;
  }
  if (p.comparison == Comparison::PreviousYear) {
    LedgerPeriod previous = p.period;
    previous.year = p.period.year - 1;
    if (previous.first_day) previous.first_day = previous.first_day->addYears(-1);
    if (previous.last_day) previous.last_day = previous.last_day->addYears(-1);
    main.title = QString::fromUtf8("Cari Dönem");
    plan.columns = {main,
                    Period_Column(QString::fromUtf8("Önceki Dönem"), previous,
                                  fiscal_year_start.addYears(-1), fiscal_year_end.addYears(-1)),
                    {"Fark", {}, ColumnKind::Difference, {}, {}},
                    {QString::fromUtf8("Değişim %"), {}, ColumnKind::Change, {}, {}}};
    return plan;
  }
  // Months or quarters: one column per part of the period that they cut it into.
  const bool quarters = p.comparison == Comparison::Quarters;
  const bool balance_sheet = p.kind == kKindBalanceSheet;
  std::vector<AmountColumn> parts;
  const QDate first = main.first_day, last = main.last_day;
  if (!first.isValid() || !last.isValid()) {
    plan.columns.push_back(main);
    return plan;
  }
  for (QDate month(first.year(), first.month(), 1); month <= last; month = month.addMonths(1)) {
    const QString title = quarters ? Quarter_Title(month) : Month_Title(month);
    const QDate month_end = month.addMonths(1).addDays(-1);
    if (!parts.empty() && parts.back().title == title &&
        parts.back().last_day.addDays(1) == month) {
      parts.back().period.last_day = std::min(month_end, last);
      parts.back().last_day = *parts.back().period.last_day;
      continue;
    }
    LedgerPeriod part = p.period;
    if (!balance_sheet && !parts.empty()) part.first_day = month;
    part.last_day = std::min(month_end, last);
    parts.push_back({title, part, ColumnKind::Period,
                     parts.empty() || balance_sheet ? first : month, *part.last_day});
  }
  // The first and the last part keep the period's own bounds, open ones included.
  if (!parts.empty()) parts.back().period.last_day = p.period.last_day;
  plan.columns.push_back(main);
  if (balance_sheet && !parts.empty()) {
    plan.columns.front().title = parts.back().title;
    parts.pop_back();
  } else {
    plan.columns.front().title = "Toplam";
  }
  for (AmountColumn& part : parts) {
    plan.print_order.push_back(plan.columns.size());
    plan.columns.push_back(std::move(part));
  }
  plan.print_order.push_back(0);
  return plan;
}

ColumnFigures Read_Column_Figures(const DbSession& db, const QString& statement_sql) {
  ColumnFigures figures;
  Recordset rs;
  Open_Recordset(db, rs, statement_sql);
  auto amount = [&](const char* column) -> std::optional<double> {
    if (rs.Is_Null(column)) return std::nullopt;
    return rs.Number(column);
  };
  for (; rs.Is_Open() && !rs.Eof(); rs.Move_Next())
    figures[rs.Text("Satir_ID")] = {amount("BTutar"), amount("ATutar"), amount("Bakiye")};
  return figures;
}

void Add_Comparison_Columns(Statement& statement, const ComparisonPlan& plan,
                            const std::vector<std::optional<ColumnFigures>>& figures) {
  const AmountColumn main = statement.columns.front();
  statement.columns = plan.columns;
  statement.columns.front().period = main.period;
  statement.print_order = plan.print_order;
  size_t previous = 0;
  for (size_t c = 1; c < plan.columns.size(); ++c) {
    if (plan.columns[c].kind != ColumnKind::Period) continue;
    previous = c;
    if (!figures[c]) statement.heading.note = QString::fromUtf8(kNoPreviousPeriod);
  }
  for (Statement::Row& row : statement.rows) {
    row.amounts.resize(plan.columns.size());
    const RowAmounts& current = row.amounts.front();
    for (size_t c = 1; c < plan.columns.size(); ++c) {
      RowAmounts& cell = row.amounts[c];
      const ColumnKind kind = plan.columns[c].kind;
      if (kind == ColumnKind::Period) {
        if (!figures[c]) continue;
        const auto found = figures[c]->find(row.id.toString());
        if (found != figures[c]->end()) cell = found->second;
        continue;
      }
      if (!figures[previous]) continue;
      const RowAmounts& before = row.amounts[previous];
      auto work = kind == ColumnKind::Difference ? Difference : Change;
      cell = {work(current.debit, before.debit), work(current.credit, before.credit),
              work(current.balance, before.balance)};
    }
  }
}
