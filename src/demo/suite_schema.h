// Creation of every table the program reads or writes, in one place: the definitions
// database (users, companies with every settings column, user rights) and a company database
// (chart of accounts, balances, voucher lines, workplaces, the two statement-definition tables
// and the look-up tables of the choice lists), with the indexes that make each ledger query of
// the calculation an index seek. The demo suite and the tests build their databases with it.
#pragma once

#include <QString>
#include <QStringList>

#include "db/sql_dialect.h"

class Connection;

// The statements that create the tables, in the engine's types.
QStringList Definitions_Schema(Engine engine);
QStringList Company_Schema(Engine engine);

// Creates the empty SQLite database file `<folder>/<database>.sqlite` (the folder too); throws
// DbError when it cannot.
void Create_Sqlite_Database(const QString& folder, const QString& database);

// Makes the empty database `database` on `server`: the schema (dropped first with everything
// in it) on PostgreSQL ("pg:..."), else the SQLite file in the folder. Throws DbError when it
// cannot.
void Create_Database(const QString& server, const QString& database);

void Create_Definitions_Schema(Connection& connection);
void Create_Company_Schema(Connection& connection);
