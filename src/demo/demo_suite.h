// A demo suite to run the program on: the connection file sys.inf, a definitions database with
// users, companies and rights, and two company databases on the uniform chart of accounts with
// a realistic year of vouchers (opening, sales with VAT, purchases, cost of sales, returns,
// collections, payments, expenses, salaries, interest, bank charges, year-end tax) and the
// standard income statement ("GT") and balance sheet ("BL") definitions. Users: 1 VELORA
// (password "velora", the report in both companies) and 2 MUHASEBE (password "muhasebe", no
// right in the second company).
#pragma once

#include <QString>
#include <cstdint>
#include <functional>

struct DemoOptions {
  QString suite_folder;        // sys.inf goes here, the databases into suite_folder/Veri
  long long ledger_lines = 0;  // voucher lines of the first company; 0 = an ordinary year
  int year = 2026;
  // The ledger's random amounts and days follow the ledger number: the same number, the same suite.
  // 0 is the demo's own ledger.
  uint64_t ledger_number = 0;
  // Folder of the programs, where "Muhasebe Parametre" holds the standard definitions that every
  // demo company gets as its income statement and balance sheet; empty = no definitions.
  QString program_folder;
  // The server the databases go to ("pg:host=... dbname=...", a schema per database, each made
  // afresh); empty = SQLite files in suite_folder/Veri.
  QString server;
};

// Database names of the demo companies.
inline const char* kDemoCompany = "MALITABLO_DEMO";
inline const char* kDemoCompany2 = "MALITABLO_DEMO2";

QString Demo_Data_Folder(const QString& suite_folder);
// Makes the whole suite; throws DbError on a database failure. `log` receives progress lines.
void Create_Demo_Suite(const DemoOptions& options,
                       const std::function<void(const QString&)>& log = {});
// Makes one empty company database with every table, ready for a test to fill.
void Create_Company_Database(const QString& data_folder, const QString& database);
