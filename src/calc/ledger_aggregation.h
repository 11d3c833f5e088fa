// The statement calculation: every row that the statement query selects receives its debit,
// credit and amount from the ledger for the run's period. Groups sum the rows under their code
// prefix, single accounts and ranges sum their voucher lines, subtotals and grand totals take
// the single-account rows visited since the previous total of their kind, formula rows are
// evaluated over other rows' amounts. Each row is written back and committed on its own.
#pragma once

#include <QVariant>

struct AppState;

// The amount rule: which of the three sums is a row's value. `balance_type` 1 takes the debit,
// 2 the credit; otherwise the net balance B is signed by `character` (1: |B|, 2: -|B|, else B).
// Returns a null QVariant when the sum it uses is null.
QVariant Amount_By_Rule(int balance_type, int character, const QVariant& debit,
                        const QVariant& credit, const QVariant& balance);

// Computes the rows of Report_Sql with Date_Filter_Sql. Reports progress through
// state.Progress after every row. A database error or a formula that cannot be evaluated
// ends the calculation by exception (DbError, FormulaError); rows already written keep
// their new values.
void Tablo_Hesapla(AppState& state);
