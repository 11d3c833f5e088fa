// What makes up one row of a computed statement, from what the calculation recorded that the
// row took in (CalculationResult::intake): a single-account or range row's accounts, a group's
// contributing rows with their accounts, a total's added rows; a formula row shows its formula
// and a typed amount says so. The breakdown's amount follows from its parts by the amount rule
// and the calculation types, and equals the amount the statement prints for the row.
#pragma once

#include <QString>
#include <QVariant>
#include <map>
#include <optional>
#include <vector>

#include "audit/audit_table.h"
#include "calc/ledger_aggregation.h"
#include "model/financial_table.h"

class ReportDataSource;

// A row of the statement query as the audit reads it.
struct StatementRow {
  qint64 satir_id = 0;
  qint64 rapor_id = 0;
  QString code;
  QString name;
  int type = 0;  // Satir_Tipi
  int calc_type = 0;
  int balance_type = 0;
  int character = 0;
  QString from, to;  // MHesap_KodBas, MHesap_KodBit
  QString formula;
  QVariant amount;  // the stored Bakiye: what the statement prints
};

StatementRow Statement_Row(const ReportDataSource& rows, int row);
// The first row of `rows` whose code is `code` (spaces around ignored); -1 when none.
int Find_Statement_Row(const ReportDataSource& rows, const QString& code);
// Satir_Adi of every row of `rows` by its code (the first row of a code).
std::map<QString, QString> Row_Names(const ReportDataSource& rows);

enum class BreakdownKind {
  Accounts,  // single-account and range rows: the accounts of their lines
  Rows,      // groups and totals: the rows they added
  Formula,   // the formula's text; its codes are other rows
  Typed,     // an amount typed into the definition
  None,      // footnotes and layout rows: no amount
};

struct BreakdownPart {
  QString code;
  int calc_type = kHesaplamaAdd;  // rows only: 1 adds, 2 subtracts, other: not in the amount
  LineSums sums;
  double value = 0;                    // rows only: by the row's amount rule, unsigned
  std::vector<TakenAccount> accounts;  // a row's accounts; empty for an account part
  qint64 satir_id = 0;                 // rows only
};

struct RowBreakdown {
  StatementRow row;
  BreakdownKind kind = BreakdownKind::None;
  std::vector<BreakdownPart> parts;
  LineSums total;     // the parts' debit, credit and balance added up
  double amount = 0;  // what the parts make by the amount rule and calculation types
};

BreakdownKind Breakdown_Kind(int row_type);
RowBreakdown Row_Breakdown(const StatementRow& row, const CalculationResult& result);

// Every account code a breakdown names, for their names.
QStringList Breakdown_Accounts(const RowBreakdown& breakdown);
// The breakdown as a table: the parts (a row's accounts indented under it), then the total;
// account lines carry their code for the voucher lines. Names are looked up by code.
AuditTable Row_Breakdown_Table(const RowBreakdown& breakdown,
                               const std::map<QString, QString>& account_names,
                               const std::map<QString, QString>& row_names, const QString& period);
