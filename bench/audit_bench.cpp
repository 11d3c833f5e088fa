// Times the audit of a statement on a large ledger: the coverage check, and one row's breakdown
// with its largest account's voucher lines, each as a window or the command line makes it (the
// calculation recording its intake inside a transaction that is rolled back), beside the
// calculation alone. Prints the best of three of each.
//   malitablo-audit-bench DATA_FOLDER DATABASE TABLE_CODE ROW_CODE
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>
#include <functional>

#include "app/start_up.h"
#include "audit/coverage_check.h"
#include "audit/row_breakdown.h"
#include "audit/voucher_lines.h"
#include "calc/ledger_aggregation.h"
#include "company/company_parameters.h"
#include "db/connection.h"
#include "process/app_state.h"
#include "process/program_end.h"
#include "report/report_data.h"
#include "run/master_file.h"
#include "run/parameter_preparation.h"

namespace {

double Best_Of_Three(AppState& s, const std::function<void()>& work) {
  double best = 1e9;
  for (int i = 0; i < 3; ++i) {
    s.Db_Connection->Begin_Transaction(true);
    QElapsedTimer t;
    t.start();
    work();
    best = std::min(best, t.nsecsElapsed() / 1e9);
    s.Db_Connection->Rollback();
  }
  return best;
}

int Bench(char** argv);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc != 5) {
    std::fprintf(stderr,
                 "Kullanım: malitablo-audit-bench VERI_KLASORU VERITABANI TABLO_KODU SATIR_KODU\n");
    return 2;
  }
  try {
    return Bench(argv);
  } catch (const ProgramEnd& end) {
    return end.exit_code;  // its message is on stderr already
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
}

namespace {

int Bench(char** argv) {
  StderrMessages messages;
  AppState s(messages);
  // Beside the programs of a suite folder, or in build/ beside the build's suite.
  s.Program_Folder = QCoreApplication::applicationDirPath();
  if (!QFile::exists(s.Program_Folder + "/Master.mtr")) s.Program_Folder += "/suite/Rapor";
  s.Database_Name = argv[2];
  Open_Connection(s, "sa", "", argv[2], argv[1]);
  Load_Company_Parameters(s);
  KeyedGrid grid = Make_Filter_Grid();
  Load_Master_File(s, grid);
  grid.Set_Text(grid.Find_Row("FiltreLbl", "Tablo Kodu"), "Baslangic", argv[3]);
  const RunParameters parameters = Parametreleri_Hazirla(s, grid);
  const ReportRows rows = Report_Rows(s, parameters.statement_sql);
  const int row = Find_Statement_Row(rows, argv[4]);
  if (row < 0) {
    std::fprintf(stderr, "Satır bulunamadı: %s\n", argv[4]);
    return 1;
  }

  CoverageReport coverage;
  RowBreakdown breakdown;
  AccountLines lines;
  const double calculation = Best_Of_Three(s, [&] { Tablo_Hesapla(s.Db(), parameters); });
  const double check = Best_Of_Three(s, [&] {
    const CalculationResult result = Tablo_Hesapla(s.Db(), parameters, {}, {true});
    coverage = Coverage(parameters.kind, result);
  });
  const double explain = Best_Of_Three(s, [&] {
    const CalculationResult result = Tablo_Hesapla(s.Db(), parameters, {}, {true});
    breakdown = Row_Breakdown(Statement_Row(rows, row), result);
    Account_Names(s.Db(), Breakdown_Accounts(breakdown));
  });
  // The account of the row with the most lines.
  QString largest;
  long long most = -1;
  for (const BreakdownPart& part : breakdown.parts) {
    const std::vector<TakenAccount> accounts =
        part.accounts.empty() ? std::vector<TakenAccount>{{part.code, part.sums}} : part.accounts;
    for (const TakenAccount& account : accounts)
      if (account.sums.lines > most) {
        most = account.sums.lines;
        largest = account.code;
      }
  }
  const double voucher_lines = largest.isEmpty() ? 0 : Best_Of_Three(s, [&] {
    lines = Voucher_Lines(s.Db(), parameters, largest);
  });

  std::printf("ledger accounts in the period: %d (taken %d, left out %zu, doubled %zu)\n",
              coverage.accounts, coverage.taken, coverage.left_out.size(), coverage.doubled.size());
  std::printf("calculation alone:             %.3f s\n", calculation);
  std::printf("coverage check:                %.3f s\n", check);
  std::printf("breakdown of row %s:           %.3f s (%zu parts)\n", argv[4], explain,
              breakdown.parts.size());
  std::printf("voucher lines of %s:       %.3f s (%zu lines)\n", largest.toUtf8().constData(),
              voucher_lines, lines.lines.size());
  return 0;
}

}  // namespace
