// AnaRapor: the printed layout of a computed financial statement on the banded report engine.
// The layout holds every section and control (positions in twips); the handlers below are the
// engine's hooks: ReportStart sets the window's caption and fills the page header with the
// statement's heading (company, name, period, workplace, date), the format handlers set page
// numbers, group captions and the look of each row, and ReportEnd clears the export's waiting
// flag. The rules of Detail_Format are also plain functions, so the command line's listing
// makes the same decisions and they can be checked row by row without a report.
#pragma once

#include <QColor>
#include <QString>

#include "calc/run_parameters.h"
#include "report/report_engine.h"

struct AppState;
struct DbSession;

// The three amount columns of a row (left edges in twips from the left margin), each
// kAmountWidth wide with its amounts right-aligned: the outer column ends at the right margin.
constexpr int kAmountWidth = 1600;
constexpr int kBodyWidth = 10206;                                   // A4 less two 15 mm margins
constexpr int kOuterAmountLeft = kBodyWidth - kAmountWidth;         // txtBakiye as designed
constexpr int kMiddleAmountLeft = kOuterAmountLeft - kAmountWidth;  // txtATutar
constexpr int kInnerAmountLeft = kMiddleAmountLeft - kAmountWidth;  // txtBTutar
constexpr int kCaptionWidth = kInnerAmountLeft - 200;
// Indentation of a row's caption per level below the first.
constexpr int kLevelIndent = 240;

// The look of one detail row decided by Detail_Format.
struct DetailLook {
  bool amount_bold = false;
  QColor amount_color = Qt::black;
  int amount_left = kOuterAmountLeft;
  bool caption_bold = false;
  int caption_indent = 0;     // twips
  bool amount_blank = false;  // a zero amount prints nothing
  bool result_rules = false;  // a rule above the amount and a double rule below it
  int page_rules = 0;         // a rule row's rules across the page: 1 single, 2 double
};

// The look of a row from its Satir_Tipi and Satir_Seviyesi (as stored, read as numbers) and its
// Bakiye. The amount column follows the row: single-account, range, subtotal, amount and
// footnote rows (and any other kind) in the inner column; groups and formulas by their level
// (1 outer, 2 middle, deeper inner); grand totals outer with a bold caption. Formula amounts are
// bold, green above zero and red otherwise. Level-1 captions are bold (footnotes excepted);
// deeper ones are indented.
// `net_result` marks the statement's result row (Is_Net_Result), which gets the rules.
DetailLook Detail_Look(const QString& satir_tipi, const QString& satir_seviyesi, double bakiye,
                       bool net_result);

// Whether row `row` of `rows` is a result row of the statement: a grand total, or the last
// formula row.
bool Is_Net_Result(const ReportDataSource& rows, int row);

// Whether a row's amount prints nothing: a zero Bakiye (a missing one reads as zero; float noise
// below the formulas' 4 decimals is zero), whatever the row type, footnote rows included. The
// printed statement and the listings both use it.
bool Amount_Blank(double bakiye);

// Caption of the group header for a Rapor_Yeri value; `previous` for an unknown value.
QString Group_Caption(const QString& rapor_yeri, const QString& previous);

// What the page header says about the statement: whose it is, what it is, for which period
// and workplace.
struct StatementHeading {
  QString company;
  QString title;      // the statement's name
  QString period;     // "01.01.2026 - 31.12.2026", "" when unknown
  QString workplace;  // "" when none was chosen
};

// The period as printed: first and last day of the run ("dd.MM.yyyy - dd.MM.yyyy"), an open
// bound taking the fiscal year's first or last day, followed by " (Açılış dahil)" when the
// opening voucher is among the run's ledger lines. "" without a year.
QString Period_Text(const LedgerPeriod& period, const QDate& fiscal_year_start,
                    const QDate& fiscal_year_end, bool opening_in);
// A balance sheet is dated: its period's last day, "31.12.2026 tarihli", followed by
// " (Açılış dahil)" when the opening voucher is among the run's ledger lines. "" without a year.
QString Balance_Sheet_Date_Text(const LedgerPeriod& period, const QDate& fiscal_year_end,
                                bool opening_in);
// Whether the opening voucher ("Açılış Fişi") has lines within the period.
bool Opening_Voucher_In(const DbSession& db, const LedgerPeriod& period);
// The heading of a run's statement: the state's company, the rows' Rapor_Adi as the title
// (the program's name when there is none), the period and workplace of the run; a balance
// sheet's period says when it takes in the opening voucher.
StatementHeading Statement_Heading(const AppState& state, const ReportDataSource& rows,
                                   const RunParameters& parameters, bool opening_in);

// The report object: the banded layout and the caption of its window.
struct AnaRapor {
  ReportDefinition layout;
  QString Caption;
};

// The layout as designed, without handlers.
AnaRapor AnaRapor_Layout();

// The program's executable name without extension, upper-cased the Turkish way: the caption
// of the report's window.
QString Report_Title();

// Handlers. ReportStart works on the report object (its caption) and the running layout; the
// others on the running layout only.
void ActiveReport_ReportStart(AppState& state, const StatementHeading& heading, AnaRapor& report,
                              ReportContext& context);
void PageHeader_Format(ReportContext& context);
void GroupHeader1_Format(ReportContext& context);
void Detail_Format(ReportContext& context);
void ActiveReport_ReportEnd(AppState& state, ReportContext& context);
// The company number formats replacing the design formats of PageHeader, Detail and
// PageFooter controls.
void ApplyCompanyNumberFormats(const AppState& state, ReportDefinition& layout);

// AnaRapor over rows already read, with its heading. `report` receives the object as it stood
// after ReportStart (its caption).
ReportPages Run_AnaRapor(AppState& state, const ReportDataSource& rows,
                         const StatementHeading& heading, AnaRapor* report = nullptr);
// AnaRapor for a run: the rows of its statement query, headed by Statement_Heading.
ReportPages Run_AnaRapor(AppState& state, const RunParameters& parameters,
                         AnaRapor* report = nullptr);
