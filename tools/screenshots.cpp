// malitablo-screenshots: the pictures of the user guide, taken from the program's own windows on
// a demo suite (scripts/screenshots runs it under Xvfb).
//   malitablo-screenshots PROGRAM_FOLDER OUTPUT_FOLDER "<database>|<server>|<user id>|..."
// Writes calistirma.png (the run window), onizleme.png (the preview of the income statement),
// satir-dokumu.png (the breakdown of its first group), kontrol.png (its coverage check),
// tablo-listesi.png (the table list), tablo-tanimi.png (the definition window of the first
// table), grafik.png (the chart of the income statement by months) and grafik-bilanco.png (the
// balance sheet's beside the previous period). Exits 1 when a window did not appear.
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <exception>
#include <memory>

#include "app/start_up.h"
#include "audit/audit_table_window.h"
#include "audit/row_breakdown.h"
#include "audit/run_audit_window.h"
#include "editor/table_definition_window.h"
#include "editor/table_list_window.h"
#include "process/app_state.h"
#include "process/messages.h"
#include "report/chart_window.h"
#include "report/output_window.h"
#include "report/report_data.h"
#include "run/choice_lists.h"
#include "run/filter_window.h"
#include "run/parameter_preparation.h"

namespace {

QString output_folder;
int missing = 0;

// Lets the windows lay themselves out and paint.
void Settle(int ms = 700) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

void Save(QWidget* window, const QString& name) {
  if (!window || !window->isVisible()) {
    std::fprintf(stderr, "Pencere görünmedi: %s\n", name.toUtf8().constData());
    ++missing;
    return;
  }
  const QString path = QDir(output_folder).filePath(name);
  if (!window->grab().save(path)) {
    std::fprintf(stderr, "Yazılamadı: %s\n", path.toUtf8().constData());
    ++missing;
    return;
  }
  std::fprintf(stderr, "%s\n", path.toUtf8().constData());
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("MaliTablo");
  if (argc != 4) {
    std::fprintf(stderr, "Kullanım: malitablo-screenshots PROGRAM_FOLDER OUTPUT_FOLDER BAĞLANTI\n");
    return 2;
  }
  output_folder = QString::fromUtf8(argv[2]);
  QDir().mkpath(output_folder);
  StderrMessages messages(true);
  AppState state(messages);
  state.Program_Folder = QString::fromUtf8(argv[1]);
  std::unique_ptr<FiltreFrm> run_window;
  try {
    Parse_Command_Line(state, QString::fromUtf8(argv[3]));
    state.Movement_Table = "CARIHAREKETLER";
    Open_Company(state, [&] { run_window = std::make_unique<FiltreFrm>(state); });
  } catch (const std::exception& e) {
    std::fprintf(stderr, "Şirket açılamadı: %s\n", e.what());
    return 1;
  }
  if (!run_window) return 1;
  FiltreFrm& w = *run_window;
  w.resize(860, 560);
  w.show();
  w.Form_Activate();
  Settle();
  Save(&w, "calistirma.png");

  // The preview is a modal dialog: taken and closed while it is open.
  w.Set_Output_Handler([&](const RunOutcome& run, const QString& target) {
    QTimer::singleShot(2500, [] {
      QWidget* preview = QApplication::activeModalWidget();
      if (preview) preview->resize(1000, 760);
      Settle(800);
      Save(preview, "onizleme.png");
      if (preview) preview->close();
    });
    Produce_Output(state, run.statement, target, &w);
  });
  w.Run();
  Settle();

  // The audit of the same run: a group's breakdown, then the coverage check.
  auto take = [](QWidget* window, const QString& name) {
    if (window) window->resize(820, 420);
    Settle();
    Save(window, name);
    if (window) window->close();
  };
  const RunOutcome& last_run = *w.Last_Run();
  take(Show_Row_Breakdown(state, last_run,
                          Find_Statement_Row(StatementData(last_run.statement), "A"), &w),
       "satir-dokumu.png");
  take(Show_Coverage(state, last_run, &w), "kontrol.png");

  state.Table_Type = Table_Kind(w.Filter_Grid());
  w.hide();
  auto list = std::make_unique<MuhMaliTabloListe>(state);
  list->resize(760, 480);
  list->show();
  list->Form_Activate();
  Settle();
  Save(list.get(), "tablo-listesi.png");

  list->InceleBtn_Click();
  Settle(1000);
  QWidget* definition = list->Definition_Window();
  if (definition) definition->resize(1000, 640);
  Settle();
  Save(definition, "tablo-tanimi.png");
  if (definition) definition->close();
  Settle(300);

  // The charts: the income statement by months, the balance sheet beside the previous period.
  auto set = [&](const QString& caption, const QString& value) {
    KeyedGrid& grid = w.Filter_Grid();
    grid.Set_Text(grid.Find_Row("FiltreLbl", caption), "Baslangic", value);
  };
  auto chart = [&](const QString& name) {
    w.Set_Output_Handler([&, name](const RunOutcome& run, const QString&) {
      GrafikFrm window(state, run.statement, &w);
      window.resize(1100, 760);
      window.show();
      Settle();
      Save(&window, name);
    });
    w.Run();
    Settle(300);
  };
  set("Karşılaştırma", "Aylar");
  chart("grafik.png");
  set("Tablo Türü", "Bilanço");
  Table_Kind_Changed(state, w.Filter_Grid());
  set("Tablo Kodu", "BL");
  set("Karşılaştırma", "Önceki Dönem");
  chart("grafik-bilanco.png");
  return missing == 0 ? 0 : 1;
}
