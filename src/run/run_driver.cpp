#include "run/run_driver.h"

#include <algorithm>

#include "calc/formula.h"
#include "calc/ledger_aggregation.h"
#include "calc/row_sums.h"
#include "db/connection.h"
#include "db/open_connection.h"
#include "db/query.h"
#include "db/recordset.h"
#include "db/sql_text.h"
#include "model/financial_table.h"
#include "process/app_state.h"
#include "run/comparison.h"
#include "run/master_file.h"
#include "run/parameter_preparation.h"

namespace {

const QString kTable = "MUHASEBEMALITABLOHAREKET";

void Append_Condition(QString& sql, const QString& condition) {
  sql += (Index_Outside_Quotes(sql, "WHERE") >= 0 ? " AND " : " WHERE ") + condition;
}

}  // namespace

QString Unknown_Codes_Text(const CalculationResult& result) {
  QString text = QString::fromUtf8(
      "Formüllerde tabloda olmayan satır kodları var; bu kodlar hesaba katılmadı:");
  for (const UnknownFormulaCode& unknown : result.unknown_codes)
    text += QString::fromUtf8("\n%1 satırının formülünde: %2").arg(unknown.row_code, unknown.code);
  return text;
}

QString Append_Display_Conditions(const RunParameters& parameters) {
  QString sql = parameters.statement_sql;
  if (parameters.moved_only == "Evet")
    Append_Condition(sql, kTable + ".Bakiye<>0");
  else if (parameters.moved_only == "Hayır")
    Append_Condition(sql, "(" + kTable + ".Bakiye=0 OR " + kTable + ".Bakiye IS NULL)");
  if (!parameters.print_footnotes)
    Append_Condition(sql, kTable + ".Satir_Tipi<>" + QString::number(kRowFootnote));
  // The levels choose the printed rows, like a depth; every row was computed.
  if (!parameters.levels.from.isEmpty())
    Append_Condition(sql, kTable + ".Satir_Seviyesi>=" + parameters.levels.from);
  if (!parameters.levels.to.isEmpty())
    Append_Condition(sql, kTable + ".Satir_Seviyesi<=" + parameters.levels.to);
  return sql;
}

QString Nothing_To_Print(const AppState& s, const RunParameters& p) {
  if (p.period.first_day && p.period.last_day && *p.period.last_day < *p.period.first_day)
    return QString::fromUtf8("Rapor Bitiş Ayı, Rapor Başlangıç Ayından önce olamaz.");
  const DbSession db = s.Db();
  Recordset rows;
  Open_Recordset(db, rows, p.statement_sql);
  if (!rows.Is_Open()) throw DbError{kErrObjectClosed, {}};
  if (rows.Eof())
    return QString::fromUtf8("Seçilen koşullara uyan bir %1 satırı yok.")
        .arg(Statement_Kind(p.kind).name);
  if (!p.levels.from.isEmpty() || !p.levels.to.isEmpty()) {
    const double from = p.levels.from.isEmpty() ? -1e300 : p.levels.from.toDouble();
    const double to = p.levels.to.isEmpty() ? 1e300 : p.levels.to.toDouble();
    bool within = false;
    for (; !rows.Eof() && !within; rows.Move_Next()) {
      const double level = rows.Number("Satir_Seviyesi");
      within = level >= from && level <= to;
    }
    if (!within)
      return QString::fromUtf8("Seçilen seviyelerde (%1..%2) tabloda satır yok.")
          .arg(p.levels.from, p.levels.to);
  }
  // Without a fiscal year there is no period to look in; an amount typed into the definition
  // prints without any ledger line.
  if (p.period.year <= 0) return {};
  for (rows.Move_First(); !rows.Eof(); rows.Move_Next())
    if (static_cast<int>(rows.Number("Satir_Tipi")) == kRowAmount) return {};
  if (Ledger_Has_Line(db, Ledger_Condition(p))) return {};
  const QString period = Period_Text(p.period, s.Fiscal_Year_Start, s.Fiscal_Year_End, false);
  const QString where = p.workplace_code.isEmpty()
                            ? QString::fromUtf8("büyük defterde")
                            : QString::fromUtf8("%1 işyerinin").arg(p.workplace_name);
  return QString::fromUtf8("Seçilen dönemde (%1) %2 hiç fiş satırı yok.").arg(period, where);
}

namespace {

// The run's transaction: taken for writing before the first row is computed, committed once the
// statement has been read back (and the output written that must be whole), rolled back on any
// failure (or when the process dies), so the stored results are one run's whole.
class RunTransaction {
 public:
  RunTransaction(Connection& connection, const std::vector<qint64>& table_ids)
      : connection_(connection) {
    Begin_Statement_Work(connection_, StatementWork::Run, table_ids);
  }
  ~RunTransaction() {
    if (!committed_) connection_.Rollback();
  }
  void Commit() {
    connection_.Commit();
    committed_ = true;
  }

 private:
  Connection& connection_;
  bool committed_ = false;
};

// The company's database of the fiscal year before the current one: of the same company code,
// the year that starts last before the current year; "" when none is listed.
QString Previous_Year_Database(const AppState& s) {
  Recordset rs;
  Open_Recordset(s.Db(), rs,
                 "SELECT P.sysfrm_dbnm FROM Defination_DB.dbo.sysfrmlng P, "
                 "Defination_DB.dbo.sysfrmlng C WHERE C.sysfrm_dbnm='" +
                     Sql_Quote_Value(s.Database_Name) +
                     "' AND P.sysfrm_kd=C.sysfrm_kd AND "
                     "P.Mali_Yil_Baslangic<C.Mali_Yil_Baslangic ORDER BY P.Mali_Yil_Baslangic "
                     "DESC");
  if (!rs.Is_Open() || rs.Eof()) return {};
  return rs.Text("sysfrm_dbnm").trimmed();
}

// The lines of `period`'s year from the previous fiscal year's own database, opened for
// reading alone, when it exists and holds lines of that year (`database` is then set to its
// name); none otherwise.
std::optional<std::vector<LedgerGroup>> Previous_Year_Ledger(const AppState& s,
                                                             const RunParameters& period,
                                                             QString& database) {
  const QString name = Previous_Year_Database(s);
  if (name.isEmpty() || name == s.Database_Name) return std::nullopt;
  OpenedConnection opened;
  try {
    opened = Open_Connection(s.Sql_User, s.Sql_Password, name, s.Server_Name, true);
  } catch (const DbError&) {
    return std::nullopt;  // listed, but no such database
  }
  const DbSession ledger{opened.connection, s.Db().show_error};
  if (!Ledger_Has_Year(ledger, period.period.year)) return std::nullopt;
  const AccountIds ids = Main_Account_Ids(ledger, s.Db());
  database = name;
  return Read_Ledger_Groups(ledger, Ledger_Condition(period), &ids);
}

// Whether `part` lies within `whole` (an open bound of `whole` holds every bound of `part`).
bool Within(const LedgerPeriod& part, const LedgerPeriod& whole) {
  if (part.year != whole.year) return false;
  if (whole.first_day && (!part.first_day || *part.first_day < *whole.first_day)) return false;
  if (whole.last_day && (!part.last_day || *part.last_day > *whole.last_day)) return false;
  return true;
}

// Hides the waiting frame however the calculation ends.
struct Waiting {
  const RunSteps& steps;
  bool shown = false;
  void Show() {
    if (steps.show_waiting) steps.show_waiting();
    shown = true;
  }
  void Hide() {
    if (shown && steps.hide_waiting) steps.hide_waiting();
    shown = false;
  }
  ~Waiting() { Hide(); }
};

std::optional<RunOutcome> Run(AppState& s, const KeyedGrid& grid, const RunSteps& steps,
                              FilterCompletions* completions) {
  if (!s.Db_Connection || !s.Db_Connection->Is_Read_Only_Statement(s.Base_Sql)) {
    s.Message->Critical(Master_Base_Sql_Not_Read_Only(Master_File_Path(s)));
    return std::nullopt;
  }
  RunOutcome outcome;
  RunParameters& parameters = outcome.parameters;
  parameters = Parametreleri_Hazirla(s, grid, completions);
  if (!parameters.error.isEmpty()) {
    s.Message->Critical(parameters.error);
    return std::nullopt;
  }
  const QString refusal = Nothing_To_Print(s, parameters);
  if (!refusal.isEmpty()) {
    s.Message->Critical(refusal);
    return std::nullopt;
  }
  Waiting waiting{steps};
  waiting.Show();
  RunTransaction transaction(*s.Db_Connection,
                             Statement_Table_Ids(s.Db(), parameters.statement_sql));
  // The other columns first, each read back as its calculation left it; the main period last,
  // so the stored results are its own. The columns of the run's own year take their lines from
  // one reading of the period, by day; the previous year's from its own database when it has
  // one, else from this one when its ledger holds that year.
  const ComparisonPlan plan = Comparison_Plan(parameters, s.Fiscal_Year_Start, s.Fiscal_Year_End);
  std::optional<LedgerDays> days;
  if (std::any_of(plan.columns.begin() + 1, plan.columns.end(), [&](const AmountColumn& c) {
        return c.kind == ColumnKind::Period && Within(c.period, parameters.period);
      })) {
    days.emplace(s.Db(), Ledger_Condition(parameters));
    if (!days->Readable()) days.reset();
  }
  auto options_for = [&](const LedgerPeriod& period) {
    CalculationOptions options;
    options.record_intake = steps.record_intake;
    if (days && Within(period, parameters.period))
      options.ledger = days->Groups(period.first_day, period.last_day);
    return options;
  };
  std::vector<std::optional<ColumnFigures>> figures(plan.columns.size());
  outcome.column_calculations.resize(plan.columns.size());
  outcome.column_ledgers.resize(plan.columns.size());
  for (size_t c = 1; c < plan.columns.size(); ++c) {
    const AmountColumn& column = plan.columns[c];
    if (column.kind != ColumnKind::Period) continue;
    RunParameters other = parameters;
    other.period = column.period;
    CalculationOptions options = options_for(column.period);
    if (column.period.year != parameters.period.year) {
      options.ledger = Previous_Year_Ledger(s, other, outcome.column_ledgers[c]);
      if (!options.ledger && !Ledger_Has_Year(s.Db(), column.period.year)) continue;
    }
    outcome.column_calculations[c] = Tablo_Hesapla(s.Db(), other, steps.progress, options);
    figures[c] = Read_Column_Figures(s.Db(), parameters.statement_sql);
  }
  outcome.calculation =
      Tablo_Hesapla(s.Db(), parameters, steps.progress, options_for(parameters.period));
  waiting.Hide();
  parameters.statement_sql = Append_Display_Conditions(parameters);
  if (const QString unlisted = Unlisted_Rows_Condition(outcome.calculation); !unlisted.isEmpty())
    Append_Condition(parameters.statement_sql, unlisted);
  outcome.statement = Read_Statement(s, parameters);
  if (plan.columns.size() > 1) Add_Comparison_Columns(outcome.statement, plan, figures);
  if (steps.write && !steps.write(outcome)) return std::nullopt;
  if (steps.keep_amounts) transaction.Commit();
  if (!outcome.calculation.unknown_codes.empty())
    s.Message->Information(Unknown_Codes_Text(outcome.calculation));
  return outcome;
}

}  // namespace

std::optional<RunOutcome> Run_Statement(AppState& s, const KeyedGrid& grid, const RunSteps& steps,
                                        FilterCompletions* completions) {
  s.F2_Run_Flag = false;
  try {
    return Run(s, grid, steps, completions);
  } catch (const DbError& e) {
    if (e.Is_Lock_Timeout())
      s.Message->Critical(kRunLockedMessage);
    else if (e.Number != kErrObjectClosed)  // a failing query has shown its own two messages
      s.Message->Critical(e.Description);
    return std::nullopt;
  } catch (const FormulaError& e) {
    s.Message->Critical(e.message);
    return std::nullopt;
  }
}
