// The parameters of one statement run, as one value: the statement query whose rows are
// computed, the ledger period of the fiscal year as dates, the level bounds of the rows that are
// printed, the display options, the workplace chosen, or the message of a refused filter value.
// The run window's filter grid becomes this value; the calculation, the display conditions and
// the statement take it.
#pragma once

#include <QDate>
#include <QString>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "calc/natural_side.h"

// The ledger lines of a run: those of the fiscal year, from the first day up to the last day
// (an open bound takes in every line of the year on that side).
struct LedgerPeriod {
  int year = 0;
  std::optional<QDate> first_day;
  std::optional<QDate> last_day;
};

// Levels (Satir_Seviyesi) of the statement rows that are printed, like a depth: plain numbers
// as typed, "" for an open bound. Every row is computed whatever the levels.
struct LevelBounds {
  QString from;
  QString to;
};

// The amount columns beside the period's own: none, the same months one year earlier, each
// month of the period, each quarter of it.
enum class Comparison { None, PreviousYear, Months, Quarters };

struct RunParameters {
  int kind = 2;           // the statement kind (Rapor_Tipi) of the run
  QString statement_sql;  // the rows to compute, in order
  bool statement_has_where = false;
  LedgerPeriod period;
  LevelBounds levels;
  bool print_footnotes = true;
  bool row_lines = false;
  // "Hareket Görmüşler": "Evet" prints the rows with an amount, "Hayır" those without, anything
  // else every row.
  QString moved_only;
  // Closing vouchers ("Kapanış Fişi") are in the period's lines; an income statement leaves
  // them out by default, a balance sheet takes them.
  bool closing_vouchers = false;
  // The chosen workplace's code: the ledger lines are those of that workplace. "" for the whole
  // company (also when the ledger has no workplace column).
  QString workplace_code;
  // What heads the figures as their workplace: the chosen workplace's name when the lines are
  // restricted to it, the note that they are the whole company's when they could not be; ""
  // when no workplace was chosen.
  QString workplace_name;
  Comparison comparison = Comparison::None;
  // The natural side of each main account; none known: the amount rule alone.
  std::shared_ptr<const NaturalSides> natural_sides;
  // The message of the last refused filter value; the run stops with it. "" when none.
  QString error;
};

// The condition every ledger query of the calculation appends (Date_Filter_Sql): the fiscal
// year and the period's first and last day as 'MM/DD/YYYY', then the closing vouchers left out
// and the workplace when the run asks for them.
QString Ledger_Condition(const RunParameters& parameters);

// The workplace heading of figures: the chosen workplace's name when the ledger lines were
// restricted to it, else the note that the figures are the whole company's.
QString Workplace_Heading(const QString& name, bool restricted);

// The last day of a month ("01".."12") in `year`, as two-digit text.
QString Month_Last_Day(const QString& month, int year);
