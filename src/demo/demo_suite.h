// A demo suite to run the program on: the connection file sys.inf, a definitions database with
// users, companies and rights, and two company databases on the uniform chart of accounts with
// a realistic year of vouchers (opening, sales with VAT, purchases, cost of sales, returns,
// collections and payments of the invoices, expenses, salaries and their payment, interest, bank
// charges; at each month's end depreciation through the cost accounts, the VAT offset and an
// overdraft shown as a loan; the year-end tax, and on request the closing voucher) and the
// standard income statement ("GT") and balance sheet ("BL") definitions. The first company also
// has its previous year, closed, in a database of its own; its closing balances are the year's
// opening voucher. Users: 1 VELORA
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
  // The year ends with its closing voucher ("Kapanış Fişi": the income statement accounts into
  // 690, 692 and the period's result 590 or 591).
  bool closing = false;
};

// Database names of the demo companies.
inline const char* kDemoCompany = "MALITABLO_DEMO";
inline const char* kDemoCompany2 = "MALITABLO_DEMO2";

QString Demo_Data_Folder(const QString& suite_folder);
// The database of the first demo company's previous fiscal year, the year before `year`.
QString Demo_Previous_Year_Database(int year);
// Makes the whole suite; throws DbError on a database failure. `log` receives progress lines.
void Create_Demo_Suite(const DemoOptions& options,
                       const std::function<void(const QString&)>& log = {});
// Makes one empty company database with every table, ready for a test to fill.
void Create_Company_Database(const QString& data_folder, const QString& database);
