// The statement calculation: every row that the statement query selects receives its debit,
// credit and amount from the ledger for the run's period. Groups sum the rows under their code
// prefix, single accounts and ranges sum their voucher lines, subtotals and grand totals take
// the single-account rows visited since the previous total of their kind, formula rows are
// evaluated over other rows' amounts. Each row is written back and committed on its own.
#pragma once

#include <QString>
#include <QVariant>
#include <vector>

#include "calc/run_parameters.h"
#include "db/db_session.h"
#include "process/progress.h"

// The amount rule: which of the three sums is a row's value. `balance_type` kBakiyeDebit takes
// the debit, kBakiyeCredit the credit; otherwise the net balance B is signed by `character`
// (kKarakterDebit: |B|, kKarakterCredit: -|B|, else B).
// Returns a null QVariant when the sum it uses is null.
QVariant Amount_By_Rule(int balance_type, int character, const QVariant& debit,
                        const QVariant& credit, const QVariant& balance);

// A formula row that names a code no row of its table has (the code counts as nothing).
struct UnknownFormulaCode {
  QString row_code;
  QString code;
};
struct CalculationResult {
  std::vector<UnknownFormulaCode> unknown_codes;
};

// Computes the rows of the parameters' statement query over their ledger period and levels,
// telling `progress` before the first row (0 of -1) and after every row.
// A database error or a formula that cannot be evaluated ends the calculation by exception
// (DbError, FormulaError); rows already written keep their new values.
CalculationResult Tablo_Hesapla(const DbSession& db, const RunParameters& parameters,
                                const ProgressCallback& progress = {});
