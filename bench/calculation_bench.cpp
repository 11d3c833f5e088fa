// Times the statement calculation against its lower bound: one grouped pass over the same
// year's ledger lines in the same database.
//   malitablo-bench DATA_FOLDER DATABASE TABLE_CODE
//       both in one process, the cache warmed, best of three; prints both times and their ratio,
//       then the year's months as columns: each reading its own lines, and all from one reading
//   malitablo-bench --grouped-pass DATA_FOLDER DATABASE TABLE_CODE
//       the lower bound as a whole program: the run's parameters prepared as a run prepares them,
//       then the grouped pass once; prints its number of accounts. scripts/bench measures it
//       with /usr/bin/time beside the end-to-end run of malitablo-cli.
// DATA_FOLDER is the suite's data folder or a PostgreSQL server ("pg:..."). The statement query
// is the shipped master file's, with the table chosen by its code and the whole fiscal year, as
// a run from the window builds it.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <cstdio>

#include "app/start_up.h"
#include "calc/ledger_aggregation.h"
#include "calc/row_sums.h"
#include "company/company_parameters.h"
#include "db/query.h"
#include "db/recordset.h"
#include "process/app_state.h"
#include "run/comparison.h"
#include "run/master_file.h"
#include "run/parameter_preparation.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QStringList args = app.arguments().mid(1);
  const bool grouped_only = !args.isEmpty() && args.first() == "--grouped-pass";
  if (grouped_only) args.removeFirst();
  if (args.size() != 3) {
    std::fprintf(stderr,
                 "Kullanım: malitablo-bench [--grouped-pass] VERI_KLASORU VERITABANI TABLO_KODU\n");
    return 2;
  }
  const QString& database = args[1];
  const QString& table_code = args[2];
  StderrMessages messages;
  AppState s(messages);
  // Beside the programs of a suite folder, or in build/ beside the build's suite.
  s.Program_Folder = QCoreApplication::applicationDirPath();
  if (!QFile::exists(s.Program_Folder + "/Master.mtr")) s.Program_Folder += "/suite/Rapor";
  s.Database_Name = database;
  Open_Connection(s, "sa", "", database, args[0]);
  Load_Company_Parameters(s);
  KeyedGrid grid = Make_Filter_Grid();
  Load_Master_File(s, grid);
  grid.Set_Text(grid.Find_Row("FiltreLbl", "Tablo Kodu"), "Baslangic", table_code);
  const RunParameters parameters = Parametreleri_Hazirla(s, grid);
  const QString period = Ledger_Condition(parameters);
  // The same year's lines, grouped once: the least any calculation must read.
  const QString lower_bound =
      "SELECT Ana_Hesap_ID, SUM(BTutar), SUM(ATutar) FROM MUHFISHAR WHERE 1=1" + period +
      " GROUP BY Ana_Hesap_ID";
  Recordset rs;
  if (grouped_only) {
    Open_Recordset(s.Db(), rs, lower_bound);
    if (!rs.Is_Open()) return 1;
    std::printf("accounts: %d\n", rs.Record_Count());
    return 0;
  }

  Open_Recordset(s.Db(), rs, "SELECT COUNT(*) AS N FROM MUHFISHAR");
  const long long lines = rs.Field("N").toLongLong();
  Open_Recordset(s.Db(), rs,
                 "SELECT Rapor_ID FROM MUHASEBEMALITABLOKART WHERE Rapor_Tipi=2 AND Rapor_Kodu='" +
                     table_code + "'");
  if (rs.Eof()) {
    std::fprintf(stderr, "Tablo bulunamadı: %s\n", table_code.toUtf8().constData());
    return 1;
  }
  const QString id = rs.Text("Rapor_ID");
  std::printf("period condition:       %s\n", period.toUtf8().constData());

  // Warm the cache once, then take the best of three of each.
  Open_Recordset(s.Db(), rs, lower_bound);
  double best_calc = 1e9, best_bound = 1e9;
  for (int i = 0; i < 3; ++i) {
    QElapsedTimer t;
    t.start();
    Tablo_Hesapla(s.Db(), parameters);
    best_calc = std::min(best_calc, t.nsecsElapsed() / 1e9);
    t.restart();
    Open_Recordset(s.Db(), rs, lower_bound);
    best_bound = std::min(best_bound, t.nsecsElapsed() / 1e9);
  }
  // The year's months as columns (and their total): each column reading its own lines, as runs
  // did, against all of them summed from one reading by day, as a run does.
  RunParameters by_month = parameters;
  by_month.comparison = Comparison::Months;
  const ComparisonPlan plan = Comparison_Plan(by_month, s.Fiscal_Year_Start, s.Fiscal_Year_End);
  double best_each = 1e9, best_days = 1e9;
  for (int i = 0; i < 3; ++i) {
    QElapsedTimer t;
    t.start();
    for (const AmountColumn& column : plan.columns) {
      RunParameters p = parameters;
      p.period = column.period;
      Tablo_Hesapla(s.Db(), p);
    }
    best_each = std::min(best_each, t.nsecsElapsed() / 1e9);
    t.restart();
    const LedgerDays days(s.Db(), period);
    for (const AmountColumn& column : plan.columns) {
      RunParameters p = parameters;
      p.period = column.period;
      CalculationOptions options;
      options.ledger = days.Groups(p.period.first_day, p.period.last_day);
      Tablo_Hesapla(s.Db(), p, {}, options);
    }
    best_days = std::min(best_days, t.nsecsElapsed() / 1e9);
  }
  Open_Recordset(s.Db(), rs,
                 "SELECT COUNT(*) AS N FROM MUHASEBEMALITABLOHAREKET WHERE Rapor_ID=" + id);
  std::printf("ledger lines:           %lld\n", lines);
  std::printf("statement rows:         %s\n", rs.Text("N").toUtf8().constData());
  std::printf("calculation:            %.3f s\n", best_calc);
  std::printf("lower bound (GROUP BY): %.3f s\n", best_bound);
  std::printf("ratio:                  %.2f\n", best_calc / best_bound);
  std::printf("months, each read:      %.3f s (%zu columns)\n", best_each, plan.columns.size());
  std::printf("months, one reading:    %.3f s\n", best_days);
  return 0;
}
