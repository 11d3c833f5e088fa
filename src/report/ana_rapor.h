// AnaRapor: the printed layout of a computed financial statement on the banded report engine.
// The layout holds every section and control (positions in twips); the handlers below are the
// engine's hooks: ReportStart sets the window's caption and fills the page header with the
// statement's heading (company, name, period, workplace, date), the format handlers set page
// numbers, group captions and the look of each row. The rules of Detail_Format are also plain
// functions, so the command line's listing makes the same decisions and they can be checked row by
// row without a report.
#pragma once

#include <QColor>
#include <QString>

#include "report/report_engine.h"
#include "report/statement.h"

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

// The left edge of an amount column.
int Amount_Left(AmountPlace place);

// The look of one detail row decided by Detail_Format.
struct DetailLook {
  bool amount_bold = false;
  QColor amount_color = Qt::black;
  AmountPlace amount_place = AmountPlace::Outer;
  bool caption_bold = false;
  int caption_indent = 0;     // twips
  bool amount_blank = false;  // a zero amount prints nothing
  bool result_rules = false;  // a rule above the amount and a double rule below it
  int page_rules = 0;         // a rule row's rules across the page: 1 single, 2 double
};

// The look of a row from its Satir_Tipi and Satir_Seviyesi (as stored, empty when not a number)
// and its Bakiye. The amount column follows the row: single-account, range, subtotal, amount and
// footnote rows (and any other kind) in the inner column; groups and formulas by their level
// (1 outer, 2 middle, deeper inner); grand totals outer with a bold caption. Formula amounts are
// bold; every amount prints black with its sign. Level-1 captions are bold (footnotes excepted);
// deeper ones are indented.
// `net_result` marks the statement's result row (Is_Net_Result), which gets the rules.
DetailLook Detail_Look(std::optional<int> satir_tipi, std::optional<int> satir_seviyesi,
                       double bakiye, bool net_result);

// Whether row `row` of `rows` is a result row of the statement: a grand total, or the last
// formula row.
bool Is_Net_Result(const ReportDataSource& rows, int row);

// Whether a row's amount prints nothing: a zero Bakiye (a missing one reads as zero; float noise
// below the formulas' 4 decimals is zero), whatever the row type, footnote rows included. The
// printed statement and the listings both use it.
bool Amount_Blank(double bakiye);

// Caption of the group header for a Rapor_Yeri value; `previous` for an unknown value.
QString Group_Caption(const QString& rapor_yeri, const QString& previous);

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
void ActiveReport_ReportStart(const Statement& statement, AnaRapor& report, ReportContext& context);
void PageHeader_Format(ReportContext& context);
void GroupHeader1_Format(ReportContext& context);
void Detail_Format(ReportContext& context);
// The company number formats replacing the design formats of PageHeader, Detail and
// PageFooter controls.
void ApplyCompanyNumberFormats(const StatementStyle& style, ReportDefinition& layout);

// A statement of several amount columns prints each row's caption and its figure in every column
// in print order, under the columns' titles in the page header: the amount of column `c` is the
// detail field "txtTutar_<c>" and its title the label "lblTutar_<c>" (the caption's title is
// "lblSatir_Adi"), so the page's amounts and titles tell which column they belong to. More than
// three columns print on landscape A4.
// A caption too long for its room goes on in the detail label "txtSatir_Adi_Devam", under it.
inline const QString kContinuedSuffix = "_Devam";
inline const QString kColumnAmountControl = "txtTutar_";
inline const QString kColumnTitleControl = "lblTutar_";
// The statement column an amount or title control prints; -1 for any other control.
int Column_Of_Control(const QString& control);
// A row's figure in column `column` as the page prints it: the balance by the one-column page's
// rules (nothing when nil or missing), a change as a percentage with one decimal ("%12,5").
QString Column_Amount_Text(const Statement& statement, size_t column, const RowAmounts& amounts,
                           const QString& amount_format);

// The statement laid out on pages. `report` receives the object as it stood after ReportStart
// (its caption).
ReportPages Run_AnaRapor(const Statement& statement, AnaRapor* report = nullptr);
