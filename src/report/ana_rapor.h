// AnaRapor: the printed layout of a computed financial statement on the banded report engine.
// The layout holds every section and control as designed (positions in twips); the handlers
// below are the engine's hooks: ReportStart sets the caption and fills the page header, the
// format handlers set page numbers, group captions and the per-row look of the amount, and
// ReportEnd clears the export's waiting flag. The rules of Detail_Format are also
// plain functions so they can be checked row after row without a report.
#pragma once

#include <QColor>
#include <QString>

#include "report/report_engine.h"

struct AppState;

// The three amount positions of a row (left edges in twips).
constexpr int kBakiyeLeft = 9315;  // as designed, the rightmost
constexpr int kATutarLeft = 8235;  // first amount column
constexpr int kBTutarLeft = 6405;  // second amount column

inline const QColor kFormulaPositiveColor{53, 179, 82};
inline const QColor kFormulaOtherColor{232, 0, 5};

// The look of one detail row decided by Detail_Format.
struct DetailLook {
  bool amount_bold = false;
  QColor amount_color = Qt::black;
  int amount_left = kBakiyeLeft;
  bool caption_bold = false;
  bool amount_blank = false;  // a zero amount prints nothing
};

// The look of a row from its Satir_Tipi and Satir_Seviyesi (as text) and its Bakiye;
// `previous_left` is where the previous row printed its amount (kBakiyeLeft before the first).
DetailLook Detail_Look(const QString& satir_tipi, const QString& satir_seviyesi, double bakiye,
                       int previous_left);

// Whether a row's amount prints nothing: a zero Bakiye (a missing one reads as zero), whatever
// the row type, footnote rows included. The printed statement and the listings both use it.
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

// The program's executable name without extension, upper-cased the Turkish way.
QString Report_Title();

// Handlers. ReportStart works on the report object (its caption) and the running layout; the
// others on the running layout only.
void ActiveReport_ReportStart(AppState& state, AnaRapor& report, ReportContext& context);
void PageHeader_Format(ReportContext& context);
void GroupHeader1_Format(ReportContext& context);
void Detail_Format(ReportContext& context);
void ActiveReport_ReportEnd(AppState& state, ReportContext& context);
// The company number formats replacing the design formats of PageHeader, Detail and
// PageFooter controls.
void ApplyCompanyNumberFormats(const AppState& state, ReportDefinition& layout);

// AnaRapor run for the current state: the rows of state.Report_Sql laid out into pages.
// `report` receives the object as it stood after ReportStart (its caption).
ReportPages Run_AnaRapor(AppState& state, AnaRapor* report = nullptr);
// The same over rows already read (tests, the command line).
ReportPages Run_AnaRapor(AppState& state, const ReportDataSource& rows, AnaRapor* report = nullptr);
