// Saves and runs of one statement exclude each other: both begin their transaction for writing
// by locking the statement's header row (the embedded engine's write lock covers the whole
// database), then mark what they do, so that one refused after the lock wait is told whose
// work holds the statement.
#pragma once

#include <QString>
#include <vector>

#include "db/db_error.h"
#include "db/db_session.h"

class Connection;

enum class StatementWork { Save = 1, Run = 2 };

// The refusal of a statement held by other work ("currently locked"); the message is the
// error's Description.
constexpr long kErrStatementBusy = 3218;

// Shown when a run holds the statement (or the embedded engine's write lock) too long.
inline const char* kRunLockedMessage =
    "Tablolar şu anda başka bir çalıştırma tarafından hesaplanıyor. Lütfen biraz sonra tekrar "
    "deneyiniz.";
// Shown when a save of the statement holds it too long.
inline const char* kSaveLockedMessage =
    "Bu tablo kaydediliyor; tanım penceresindeki kayıt bitmeden tablo çalıştırılamaz veya "
    "yeniden kaydedilemez. Lütfen biraz sonra tekrar deneyiniz.";

// Begins the connection's transaction for writing and locks the header rows of `table_ids`
// (in ascending order) for `work`. A lock not granted within the engine's wait throws DbError
// kErrStatementBusy naming the work that holds it; nothing is left open then.
void Begin_Statement_Work(Connection& connection, StatementWork work,
                          std::vector<qint64> table_ids);

// The headers (Rapor_ID) whose rows `statement_sql` reads.
std::vector<qint64> Statement_Table_Ids(const DbSession& db, const QString& statement_sql);
