// A computed statement as one value: its heading, its amount columns, its rows with their
// figures and the look the printed page gives each row, and the style of the run. The run reads
// it once, inside its transaction, right after the calculation; every output (the preview, the
// printer, the export files, the command line's listings, the audit pages) is a function of
// this value and reads nothing else.
#pragma once

#include <QDate>
#include <QString>
#include <QVariant>
#include <optional>
#include <vector>

#include "calc/ledger_aggregation.h"
#include "calc/run_parameters.h"
#include "model/financial_table.h"
#include "report/report_data.h"
#include "ui_common/amount_text.h"

struct AppState;

// What the page header says about the statement: whose it is, what it is, for which period
// and workplace, printed when.
struct StatementHeading {
  QString company;
  QString title;      // the statement's name
  QString period;     // "01.01.2026 - 31.12.2026", "" when unknown
  QString workplace;  // "" when none was chosen
  QString code;       // the statement's code
  StatementKind kind = kKindIncomeStatement;
  QDate first_day, last_day;  // the period's bounds as printed; null when unknown
  QDate print_date = QDate::currentDate();
  QString note;  // said under the heading when a column could not be computed; "" when none
};

// What an amount column holds: a period's figures, the current period's less the previous
// one's, or that difference as a percentage of the previous figure.
enum class ColumnKind { Period, Difference, Change };

// One amount column: its heading and the ledger lines its figures come from, with the dates
// they are printed with (null for a difference or a change). The run's own period is the first
// column.
struct AmountColumn {
  QString title;
  LedgerPeriod period;
  ColumnKind kind = ColumnKind::Period;
  QDate first_day, last_day;
};

// A row's figures in one amount column as stored (BTutar, ATutar, Bakiye); empty when NULL.
struct RowAmounts {
  std::optional<double> debit;
  std::optional<double> credit;
  std::optional<double> balance;
};

// Where a row's amount stands on the page, from the caption outwards.
enum class AmountPlace { Inner = 0, Middle = 1, Outer = 2 };

// How the figures are written: the company's formats and decimals, the system's separators.
struct StatementStyle {
  bool row_lines = false;  // a rule under every row
  // The company's number formats; an empty one keeps the page's design format.
  QString amount_format, unit_price_format, currency_format, currency_unit_price_format,
      rate_format;
  int amount_decimals = 2;
  NumberSeparators separators;
};

struct Statement {
  struct Row {
    // As stored; empty when NULL or not a number.
    std::optional<int> place;         // Rapor_Yeri
    std::optional<int> number;        // Satir_No
    std::optional<int> kind;          // Satir_Tipi
    std::optional<int> level;         // Satir_Seviyesi
    QString code;                     // Satir_Kodu, trimmed
    QString caption;                  // Satir_Adi, trimmed
    std::vector<RowAmounts> amounts;  // one per amount column of the statement

    // The look of the printed page (Detail_Look).
    AmountPlace amount_place = AmountPlace::Inner;
    bool emphasis = false;    // a bold caption
    bool net_result = false;  // the statement's result: rules around its amount

    // The definition behind the figures, for the audit.
    QVariant id, table_id;  // Satir_ID, Rapor_ID
    QVariant calc_type, balance_type, character;
    QString accounts_from, accounts_to, formula;

    // The main period's figures.
    const RowAmounts& Main() const { return amounts.front(); }
  };

  StatementHeading heading;
  std::vector<AmountColumn> columns{AmountColumn{"CARİ", {}, ColumnKind::Period, {}, {}}};
  std::vector<Row> rows;
  StatementStyle style;
  // The columns in the order they are printed (indices into `columns`); empty: their own order.
  std::vector<size_t> print_order;
};

// The statement's columns in print order.
std::vector<size_t> Printed_Columns(const Statement& statement);
// A row's balance in column `column` as the page prints it: rounded to the amount's decimals (a
// change to two); empty when the row has none.
std::optional<double> Printed_Balance(const Statement& statement, const Statement::Row& row,
                                      size_t column);
// A row's caption for a listing or a sheet: indented two blanks a level below the first (at most
// five).
QString Indented_Caption(const Statement::Row& row);

// What a run gives its outputs: its parameters, its statement and what the calculation
// recorded.
struct RunOutcome {
  RunParameters parameters;
  Statement statement;
  CalculationResult calculation;
  // The calculation of every other period column, by column index (what its rows took in when
  // the run records its intake); empty where a column was not computed.
  std::vector<CalculationResult> column_calculations;
  // The database whose ledger a period column's lines were read from, by column index: the
  // previous fiscal year's own, or "" for the company's.
  std::vector<QString> column_ledgers;
};

// The rows of the statement query as read (one amount column), each with its look decided as
// the printed page decides it.
std::vector<Statement::Row> Statement_Rows(const ReportDataSource& rows);

// The period's bounds as printed: an open bound takes the fiscal year's first or last day.
// Null dates without a year.
std::pair<QDate, QDate> Period_Bounds(const LedgerPeriod& period, const QDate& fiscal_year_start,
                                      const QDate& fiscal_year_end);
// The period as printed ("dd.MM.yyyy - dd.MM.yyyy"), followed by " (Açılış dahil)" when the
// opening voucher is among the run's ledger lines. "" without a year.
QString Period_Text(const LedgerPeriod& period, const QDate& fiscal_year_start,
                    const QDate& fiscal_year_end, bool opening_in);
// A balance sheet is dated: its period's last day, "31.12.2026 tarihli", followed by
// " (Açılış dahil)" when the opening voucher is among the run's ledger lines. "" without a year.
QString Balance_Sheet_Date_Text(const LedgerPeriod& period, const QDate& fiscal_year_start,
                                const QDate& fiscal_year_end, bool opening_in);
// Whether the opening voucher ("Açılış Fişi") has lines within the period.
bool Opening_Voucher_In(const DbSession& db, const LedgerPeriod& period);
// The heading of a run's statement: the state's company, the rows' Rapor_Adi as the title
// (the program's name when there is none) and Rapor_Kodu as the code, the period and workplace
// of the run; a balance sheet's period says when it takes in the opening voucher.
StatementHeading Statement_Heading(const AppState& state, const ReportDataSource& rows,
                                   const RunParameters& parameters, bool opening_in);
// The company's formats and separators and the run's row lines.
StatementStyle Statement_Style(const AppState& state, const RunParameters& parameters);

// The statement of a run whose figures have just been computed: its rows read once from the
// statement query (with the display conditions), its heading and style.
Statement Read_Statement(const AppState& state, const RunParameters& parameters);

// The statement's rows as the report engine and the audit read them: the stored column names
// (the main period's BTutar, ATutar and Bakiye, the heading's Rapor_Adi, Rapor_Kodu and
// Rapor_Tipi).
class StatementData : public ReportDataSource {
 public:
  explicit StatementData(const Statement& statement) : statement_(statement) {}
  int Row_Count() const override { return static_cast<int>(statement_.rows.size()); }
  QVariant Value(int row, const QString& column) const override;

 private:
  const Statement& statement_;
};
