// malitablo-cli: the program without a screen. Messages go to stderr; a question is answered
// Yes only with --yes.
//   malitablo-cli company "<database>|<server>|<user id>|<sql user>|<password>" [--yes]
//   malitablo-cli run "<database>|<server>|<user id>|<sql user>|<password>"
//       [--set "CAPTION=VALUE"]... [--format text|csv|json|pdf|html|txt|xlsx] [--out FILE] [--yes]
//   malitablo-cli check "<connection>" [--set "CAPTION=VALUE"]... [--format text|csv|json]
//   malitablo-cli explain "<connection>" [--set ...]... --row CODE [--column TITLE]
//       [--account CODE] [--format text|csv|json]
//   malitablo-cli --help
// pdf, html, txt and xlsx write the printed statement's files (by default named after the
// statement and its period, "GT 01.2026-12.2026.pdf", in the user's output folder beside the
// registry file) without opening them, and say on stderr where they went.
// A --set value "START..END" sets the start and the end value of the filter row.
// check and explain compute the statement as run does and roll its amounts back: check lists the
// accounts with lines in the period that the statement leaves out or counts twice (exit 1 when
// there is one), explain the parts of one row's amount or one of its accounts' voucher lines.
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <optional>

#include "app/start_up.h"
#include "audit/row_breakdown.h"
#include "audit/run_audit.h"
#include "process/app_state.h"
#include "process/program_end.h"
#include "report/exports.h"
#include "report/statement_listing.h"
#include "run/choice_lists.h"
#include "run/master_file.h"
#include "run/run_driver.h"

namespace {

const char kUsage[] =
    "Kullanım:\n"
    "  malitablo-cli company \"<veritabanı>|<sunucu>|<kullanıcı no>|<sql kullanıcısı>|<şifre>\" "
    "[--yes]\n"
    "  malitablo-cli run \"<veritabanı>|<sunucu>|<kullanıcı no>|<sql kullanıcısı>|<şifre>\" "
    "[--set \"BAŞLIK=DEĞER\"]... [--format text|csv|json|pdf|html|txt|xlsx] [--out DOSYA] "
    "[--yes]\n"
    "  malitablo-cli check \"<bağlantı>\" [--set \"BAŞLIK=DEĞER\"]... "
    "[--format text|csv|json] [--out DOSYA]\n"
    "  malitablo-cli explain \"<bağlantı>\" [--set \"BAŞLIK=DEĞER\"]... --row KOD "
    "[--column BAŞLIK] [--account HESAP] [--format text|csv|json] [--out DOSYA]\n"
    "  malitablo-cli --help\n";

const char kHelp[] =
    "\n"
    "Komutlar:\n"
    "  company    Şirketi açar ve ayarlarını yazar (ad, mali yıl, sayı biçimleri).\n"
    "  run        Mali tabloyu büyük defterden hesaplar ve yazar.\n"
    "  check      Dönemde hareketi olan hesapların tabloda eksik ya da iki kez sayılıp\n"
    "             sayılmadığını yazar (varsa çıkış durumu 1).\n"
    "  explain    Bir satırın tutarını oluşturan hesapları ya da satırları, --account ile\n"
    "             o hesabın dönemdeki fiş satırlarını yürüyen bakiyesiyle yazar.\n"
    "             check ve explain tabloyu hesaplar, kayıtlı tutarları değiştirmez.\n"
    "\n"
    "Bağlantı: veritabanı, sunucu, kullanıcı no, SQL kullanıcısı, şifre (\"æ\": şifre yok).\n"
    "Sunucu bir klasörse SQLite, \"pg:...\" ise PostgreSQL, başka bir adsa SQL Server (ODBC).\n"
    "\n"
    "Seçenekler:\n"
    "  --set \"BAŞLIK=DEĞER\"    Süzgeç satırının değeri; \"BAŞLIK=BAŞ..SON\" aralık verir.\n"
    "                          Örnek: \"Tablo Kodu=GT\", \"Tablo Türü=Bilanço\",\n"
    "                          \"Rapor Başlangıç Ayı=Ocak\", \"Rapor Bitiş Ayı=Aralık\".\n"
    "  --format BİÇİM          text (varsayılan), csv, json: satırlar standart çıkışa;\n"
    "                          pdf, html, txt, xlsx: basılı tablonun dosyası.\n"
    "  --out DOSYA             Çıktının yazılacağı dosya (dosya biçimlerinde varsayılan:\n"
    "                          çıktı klasöründe tablonun kodu ve dönemi,\n"
    "                          ör. \"GT 01.2026-12.2026.pdf\").\n"
    "  --row KOD               explain: dökümü yazılacak satırın kodu.\n"
    "  --column BAŞLIK         explain: \"Karşılaştırma\" ile bu tutar sütununun dökümü\n"
    "                          (ör. \"Mart\", \"Önceki Dönem\"); yoksa ana dönemin.\n"
    "  --account HESAP         explain: satırın bu hesabının fiş satırları.\n"
    "  --yes                   Soruları Evet diye yanıtlar (ilk çalıştırmada bölgesel ayarlar).\n"
    "  -h, --help              Bu yardımı yazar.\n"
    "\n"
    "Ayarlar $MALITABLO_REGISTRY dosyasında, yoksa ~/.config/MaliTablo/registry.ini içinde\n"
    "tutulur; çıktı klasörü bu dosyanın klasörüdür.\n"
    "Çıkış durumu: 0 başarılı, 1 şirket açılamadı, tablo yazılamadı ya da kontrol hata\n"
    "buldu, 2 yanlış kullanım.\n"
    "Ayrıntılar: man malitablo-cli\n";

void Error(const QString& text) { std::fprintf(stderr, "Hata: %s\n", text.toUtf8().constData()); }

int Usage() {
  std::fputs(kUsage, stderr);
  return 2;
}

// A listing written as it is made, to the file `path` or to standard output.
bool Write_Listing(const std::function<bool(const PieceWriter& piece)>& listing,
                   const QString& path) {
  if (path.isEmpty()) {
    const bool written = listing([](const QByteArray& piece) {
                           return std::fwrite(piece.constData(), 1, piece.size(), stdout) ==
                                  static_cast<size_t>(piece.size());
                         }) &&
                         std::fflush(stdout) == 0;
    if (!written) Error(QString::fromUtf8("Çıktı yazılamadı."));
    return written;
  }
  if (!Write_Export_File_In_Pieces(path, listing)) {
    Error(Unwritable_File_Message(path));
    return false;
  }
  return true;
}

bool Write_Stdout(const QByteArray& bytes) {
  return Write_Listing([&](const PieceWriter& piece) { return piece(bytes); }, {});
}

int Help() { return Write_Stdout(QByteArray(kUsage) + kHelp) ? 0 : 1; }

int Company(AppState& state) {
  QString text;
  QTextStream out(&text);
  out << "Şirket: " << state.Company_Name << "\n"
      << "Şirket no: " << state.Company_ID << "\n"
      << "Veritabanı: " << state.Database_Name << "\n"
      << "Mali yıl: " << state.Fiscal_Year_Start.toString("dd.MM.yyyy") << " - "
      << state.Fiscal_Year_End.toString("dd.MM.yyyy") << "\n"
      << "Tutar biçimi: " << state.Amount_Format << "\n"
      << "Döviz biçimi: " << state.Currency_Format << "\n"
      << "Kur biçimi: " << state.Rate_Format << "\n"
      << "Birim fiyat biçimi: " << state.Unit_Price_Format << "\n"
      << "Döviz birim fiyat biçimi: " << state.Currency_Unit_Price_Format << "\n";
  out.flush();
  return Write_Stdout(text.toUtf8()) ? 0 : 1;
}

struct RunOptions {
  QStringList sets;
  ListingFormat format = ListingFormat::Text;
  std::optional<ExportKind> file;  // a file of the printed statement instead of a listing
  QString out;
  QString row;      // explain: the row's code
  QString account;  // explain: one of its accounts
  QString column;   // explain: the title of an amount column; "" the main period
};

std::optional<ExportKind> Export_Format(const QString& name) {
  if (name == "pdf") return ExportKind::Pdf;
  if (name == "html") return ExportKind::Html;
  if (name == "txt") return ExportKind::Text;
  if (name == "xlsx") return ExportKind::Excel;
  return std::nullopt;
}

// The printed statement's file, written through the same layout as the preview.
bool Write_Export(const Statement& statement, ExportKind kind, QString path) {
  if (path.isEmpty())
    path = Export_Path(Export_File_Name(Statement_File_Base(statement.heading), kind));
  if (!Write_Statement_File(statement, kind, path)) {
    Error(Unwritable_File_Message(path));
    return false;
  }
  std::fprintf(stderr, "Dosya yazıldı: %s\n",
               QFileInfo(path).absoluteFilePath().toUtf8().constData());
  return true;
}

// The file formats draw text, which needs the GUI library; without a screen it runs offscreen.
bool Wants_Export(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--format") == 0 && Export_Format(QString::fromUtf8(argv[i + 1])))
      return true;
  }
  return false;
}

bool Write_Output(const QByteArray& bytes, const QString& path) {
  return Write_Listing([&](const PieceWriter& piece) { return piece(bytes); }, path);
}

// The filter grid of the master file with the --set values; 0, or the exit status of a wrong
// caption.
int Fill_Filter_Grid(AppState& state, const RunOptions& options, KeyedGrid& grid) {
  grid = Make_Filter_Grid();
  Load_Master_File(state, grid);
  FillChoiceLists(state, grid);
  // The statement kind goes first, as in the window: its lists and its first month, which the
  // other values may then change.
  const QString kind_caption = QString::fromUtf8("Tablo Türü");
  QStringList sets;
  for (const QString& set : options.sets)
    if (set.section('=', 0, 0) == kind_caption) sets << set;
  const bool kind_set = !sets.isEmpty();
  for (const QString& set : options.sets)
    if (set.section('=', 0, 0) != kind_caption) sets << set;
  for (int i = 0; i < sets.size(); ++i) {
    const QString& set = sets[i];
    if (kind_set && i > 0 && sets[i - 1].section('=', 0, 0) == kind_caption &&
        set.section('=', 0, 0) != kind_caption)
      Table_Kind_Changed(state, grid);
    int equals = set.indexOf('=');
    QString caption = set.left(equals);
    int row = equals > 0 ? grid.Find_Row("FiltreLbl", caption) : -1;
    if (row < 0) {
      Error("Filtrede böyle bir satır yok: \"" + caption + "\"");
      return 2;
    }
    QString value = set.mid(equals + 1);
    const int range = value.indexOf("..");
    QString start = range >= 0 ? value.left(range) : value;
    QString end = range >= 0 ? value.mid(range + 2) : QString();
    for (QString* part : {&start, &end}) {
      const QString refusal = Check_Filter_Value(grid, row, *part);
      if (refusal.isEmpty()) continue;
      Error(refusal);
      return 2;
    }
    grid.Set_Text(row, "Baslangic", start);
    if (range >= 0) grid.Set_Text(row, "Bitis", end);
  }
  if (kind_set && sets.last().section('=', 0, 0) == kind_caption) Table_Kind_Changed(state, grid);
  return 0;
}

// A file (--out) is written before the run's amounts are kept, so a file that cannot be written
// leaves the previous results; a listing to standard output is written once the run has ended,
// so that a slow reader does not hold the statements' write lock.
int Run(AppState& state, const RunOptions& options) {
  KeyedGrid grid;
  if (const int status = Fill_Filter_Grid(state, options, grid)) return status;
  RunSteps steps;
  if (options.file) {
    steps.write = [&](const RunOutcome& outcome) {
      return Write_Export(outcome.statement, *options.file, options.out);
    };
  } else if (!options.out.isEmpty()) {
    steps.write = [&](const RunOutcome& outcome) {
      return Write_Output(Statement_Listing(outcome.statement, options.format), options.out);
    };
  }
  const std::optional<RunOutcome> outcome = Run_Statement(state, grid, steps);
  if (!outcome) return 1;
  if (steps.write) return 0;
  return Write_Output(Statement_Listing(outcome->statement, options.format), {}) ? 0 : 1;
}

// check and explain: the statement computed with what each row took in, its amounts rolled
// back once the statement is read.
std::optional<RunOutcome> Audit_Run(AppState& state, const RunOptions& options, int* status) {
  KeyedGrid grid;
  *status = Fill_Filter_Grid(state, options, grid);
  if (*status) return std::nullopt;
  RunSteps steps;
  steps.record_intake = true;
  steps.keep_amounts = false;
  std::optional<RunOutcome> outcome = Run_Statement(state, grid, steps);
  if (!outcome) *status = 1;
  return outcome;
}

int Check(AppState& state, const RunOptions& options) {
  int status = 0;
  const std::optional<RunOutcome> run = Audit_Run(state, options, &status);
  if (!run) return status;
  const CoverageOutcome coverage = Coverage_Of_Run(state, *run);
  if (!Write_Output(Audit_Listing(state, coverage.table, options.format), options.out)) return 1;
  return coverage.clean ? 0 : 1;
}

int Explain(AppState& state, const RunOptions& options) {
  int status = 0;
  const std::optional<RunOutcome> run = Audit_Run(state, options, &status);
  if (!run) return status;
  const StatementData rows(run->statement);
  const int row = Find_Statement_Row(rows, options.row);
  if (row < 0) {
    Error(QString::fromUtf8("Tabloda bu kodla bir satır yok: \"%1\"").arg(options.row));
    return 1;
  }
  size_t column = 0;
  if (!options.column.isEmpty()) {
    const auto& columns = run->statement.columns;
    column = static_cast<size_t>(
        std::find_if(columns.begin(), columns.end(),
                     [&](const AmountColumn& c) { return c.title == options.column.trimmed(); }) -
        columns.begin());
    if (column == columns.size()) {
      Error(QString::fromUtf8("Tabloda bu başlıkla bir tutar sütunu yok: \"%1\"")
                .arg(options.column));
      return 1;
    }
  }
  if (options.account.isEmpty())
    return Write_Output(Audit_Listing(state, Breakdown_Of_Run(state, *run, row, column),
                                      options.format),
                        options.out)
               ? 0
               : 1;
  if (!Breakdown_Accounts_Of_Run(*run, row, column).contains(options.account.trimmed())) {
    Error(QString::fromUtf8("\"%1\" hesabı %2 satırının dönemdeki hesapları arasında yok.")
              .arg(options.account, options.row));
    return 1;
  }
  // An account may have millions of lines: they are written as they are read.
  return Write_Listing(
             [&](const PieceWriter& piece) {
               return Write_Voucher_Lines_Of_Run(state, Column_Parameters(*run, column),
                                                 Column_Period_Text(*run, column),
                                                 options.account.trimmed(), options.format, piece,
                                                 Column_Ledger(*run, column));
             },
             options.out)
             ? 0
             : 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::unique_ptr<QCoreApplication> app;
  if (Wants_Export(argc, argv)) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app = std::make_unique<QGuiApplication>(argc, argv);
  } else {
    app = std::make_unique<QCoreApplication>(argc, argv);
  }
  QCoreApplication::setApplicationName("MaliTablo");
  QStringList args = QCoreApplication::arguments().mid(1);
  if (args.contains("--help") || args.contains("-h")) return Help();
  bool yes = args.removeAll("--yes") > 0;
  RunOptions options;
  QStringList positional;
  for (int i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    bool has_value = i + 1 < args.size();
    if (a == "--set" && has_value) {
      options.sets << args[++i];
    } else if (a == "--format" && has_value) {
      const QString name = args[++i];
      options.file = Export_Format(name);
      if (!options.file && !Parse_Listing_Format(name, &options.format)) return Usage();
    } else if (a == "--out" && has_value) {
      options.out = args[++i];
    } else if (a == "--row" && has_value) {
      options.row = args[++i];
    } else if (a == "--account" && has_value) {
      options.account = args[++i];
    } else if (a == "--column" && has_value) {
      options.column = args[++i];
    } else if (a.startsWith("--")) {
      return Usage();
    } else {
      positional << a;
    }
  }
  if (positional.size() != 2) return Usage();
  const QString command = positional[0];
  if (command != "company" && command != "run" && command != "check" && command != "explain")
    return Usage();
  if (command == "company" && (!options.sets.isEmpty() || !options.out.isEmpty())) return Usage();
  // The audit commands write listings only; --row, --column and --account belong to explain.
  if ((command == "check" || command == "explain") && options.file) return Usage();
  if (command != "explain" &&
      (!options.row.isEmpty() || !options.account.isEmpty() || !options.column.isEmpty()))
    return Usage();
  if (command == "explain" && options.row.isEmpty()) return Usage();

  StderrMessages messages(yes);
  AppState state(messages);
  state.Program_Folder = QCoreApplication::applicationDirPath();
  try {
    Parse_Command_Line(state, positional[1]);
    state.Movement_Table = "CARIHAREKETLER";
    if (state.Parametreler.value(1) == "-1") return Usage();
    int result = 0;
    Open_Company(state, [&] {
      if (command == "run")
        result = Run(state, options);
      else if (command == "check")
        result = Check(state, options);
      else if (command == "explain")
        result = Explain(state, options);
      else
        result = Company(state);
    });
    return result;
  } catch (const ProgramEnd& end) {
    return end.exit_code;
  } catch (const std::exception& e) {
    // Anything the run does not report itself ends the program with its text.
    Error(QString::fromUtf8(e.what()));
    return 1;
  }
}
