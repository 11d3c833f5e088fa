// Statement runs on the demo suite, as the run window and the command line make them: the
// shipped master file, its filter rows, the calculation and the display conditions. The
// figures are checked against direct sums of the demo vouchers.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <barrier>
#include <thread>

#include "app/start_up.h"
#include "audit/run_audit.h"
#include "calc/row_sums.h"
#include "db/query.h"
#include "db/recordset.h"
#include "demo/demo_suite.h"
#include "model/statement_lock.h"
#include "model/table_definition.h"
#include "process/program_end.h"
#include "report/ana_rapor.h"
#include "report/report_data.h"
#include "report/statement_chart.h"
#include "run/choice_lists.h"
#include "run/master_file.h"
#include "run/run_driver.h"
#include "support/demo_company.h"
#include "support/test_suite.h"

namespace {

std::string S(const QString& text) { return text.toStdString(); }

class DemoRun : public DemoCompanyTest {
 protected:
  void SetUp() override {
    DemoCompanyTest::SetUp();
    grid = Make_Filter_Grid();
    Load_Master_File(state, grid);
    FillChoiceLists(state, grid);
    Set("Tablo Kodu", "GT");
  }

  // The kind and code of the statement to run.
  void Choose(const QString& kind, const QString& code) {
    Set("Tablo Türü", kind);
    Table_Kind_Changed(state, grid);
    Set("Tablo Kodu", code);
  }

  void Set(const QString& caption, const QString& start, const QString& end = QString()) {
    int row = grid.Find_Row("FiltreLbl", caption);
    ASSERT_GT(row, 0) << caption.toStdString();
    grid.Set_Text(row, "Baslangic", start);
    if (!end.isNull()) grid.Set_Text(row, "Bitis", end);
  }

  // Runs and returns the shown rows' Bakiye by row code (captions for rows without a code).
  std::map<QString, QVariant> Run() {
    std::map<QString, QVariant> amounts;
    const std::optional<RunOutcome> run = Run_Statement(state, grid, {}, &completed);
    ran = run.has_value();
    if (!run) return amounts;
    last_period = run->parameters.period;
    for (const Statement::Row& row : run->statement.rows) {
      const RowAmounts& main = row.Main();
      amounts[row.code.isEmpty() ? row.caption : row.code] =
          main.balance ? QVariant(*main.balance) : QVariant();
    }
    return amounts;
  }

  // Credit minus debit of the accounts whose code starts with one of `prefixes`.
  double Net(const QStringList& prefixes, const QString& where = QString()) {
    QStringList conditions;
    for (const QString& p : prefixes) conditions << "MHesap_Kod LIKE '" + p + "%'";
    Recordset rs;
    Open_Recordset(state.Db(), rs,
                   "SELECT SUM(ATutar - BTutar) AS N FROM MUHFISHAR WHERE (" +
                       conditions.join(" OR ") + ")" + where);
    return rs.Number("N");
  }

  KeyedGrid grid;
  bool ran = false;
  LedgerPeriod last_period;
  FilterCompletions completed;
};

}  // namespace

TEST_F(DemoRun, WholeYearMatchesTheVouchers) {
  auto a = Run();
  ASSERT_TRUE(ran) << messages.Texts().join("\n").toStdString();
  EXPECT_TRUE(messages.entries.empty()) << messages.Texts().join("\n").toStdString();
  const double gross = Net({"60"});
  const double deductions = -Net({"61"});
  const double cost = -Net({"62"});
  const double net_profit = Net({"6"});
  EXPECT_NEAR(a.at("A").toDouble(), gross, 0.005);
  EXPECT_NEAR(a.at("B").toDouble(), -deductions, 0.005);  // "(-)" lines carry their minus
  EXPECT_NEAR(a.at("D").toDouble(), -cost, 0.005);
  EXPECT_NEAR(a.at("C").toDouble(), gross - deductions, 0.005);          // net sales
  EXPECT_NEAR(a.at("R1").toDouble(), gross - deductions - cost, 0.005);  // gross profit
  EXPECT_NEAR(a.at("R5").toDouble(), net_profit, 0.005);                 // net profit
  EXPECT_GT(net_profit, 0);
  // The run leaves the statement query narrowed to the chosen table, in save order.
  EXPECT_EQ(a.size(), 54u);
}

TEST_F(DemoRun, PeriodLevelsAndDisplayOptions) {
  // First quarter, last month "Şubat": the period ends on the last day of February.
  Set("Rapor Başlangıç Ayı", "Ocak");
  Set("Rapor Bitiş Ayı", "Şubat");
  auto a = Run();
  ASSERT_TRUE(ran);
  EXPECT_EQ(last_period.first_day, QDate(2026, 1, 1));
  EXPECT_EQ(last_period.last_day, QDate(2026, 2, 28));
  EXPECT_NEAR(a.at("A").toDouble(), Net({"60"}, " AND Tarih<='02/28/2026'"), 0.005);

  // "Hareket Görmüşler" = "Evet": only rows with an amount.
  Set("Rapor Bitiş Ayı", "Aralık");
  Set("Hareket Görmüşler", "Evet");
  a = Run();
  ASSERT_TRUE(ran);
  EXPECT_LT(a.size(), 54u);
  for (const auto& [code, amount] : a) EXPECT_NE(amount.toDouble(), 0) << code.toStdString();
  EXPECT_EQ(a.count("A.3"), 0u);  // "Diğer Gelirler" has no voucher

  // The levels choose the printed rows like a depth: 1..1 the main headings, 1..2 the headings
  // and their accounts, each with the amount it has in the whole statement.
  Set("Hareket Görmüşler", "Hepsi");
  const auto whole = Run();
  ASSERT_TRUE(ran);
  Set("Seviye", "1", "1");
  const auto summary = Run();
  ASSERT_TRUE(ran);
  Set("Seviye", "1", "2");
  const auto detailed = Run();
  ASSERT_TRUE(ran);
  EXPECT_NEAR(summary.at("A").toDouble(), Net({"60"}), 0.005);
  EXPECT_EQ(summary.count("A.1"), 0u);
  EXPECT_EQ(detailed.count("A.1"), 1u);
  EXPECT_LT(summary.size(), detailed.size());
  EXPECT_LE(detailed.size(), whole.size());  // the income statement goes two levels deep
  for (const auto* shown : {&summary, &detailed})
    for (const auto& [code, amount] : *shown) EXPECT_EQ(amount, whole.at(code)) << S(code);
}

TEST_F(DemoRun, RunsThatWouldPrintNothingSayWhy) {
  auto refused = [&](const QString& message) {
    const auto a = Run();
    EXPECT_FALSE(ran);
    EXPECT_TRUE(a.empty());  // no output
    ASSERT_EQ(messages.entries.size(), 1u) << S(messages.Texts().join(" / "));
    EXPECT_EQ(messages.entries[0].kind, MessageKind::Critical);
    EXPECT_EQ(S(messages.entries[0].text), S(message));
    messages.entries.clear();
  };
  // A code no table has; a code of the other kind names that kind.
  Set("Tablo Kodu", "YOK");
  refused("\"YOK\" kodlu bir gelir tablosu bulunamadı.");
  Set("Tablo Kodu", "BL");
  refused(
      "\"BL\" kodlu bir gelir tablosu bulunamadı. Bu bir bilanço; \"Tablo Türü\" satırında "
      "\"Bilanço\" seçiniz.");
  // Months reversed.
  Set("Tablo Kodu", "GT");
  Set("Rapor Başlangıç Ayı", "Mart");
  Set("Rapor Bitiş Ayı", "Şubat");
  refused("Rapor Bitiş Ayı, Rapor Başlangıç Ayından önce olamaz.");
  // Levels no row has.
  Set("Rapor Başlangıç Ayı", "Ocak");
  Set("Rapor Bitiş Ayı", "Aralık");
  Set("Seviye", "7", "9");
  refused("Seçilen seviyelerde (7..9) tabloda satır yok.");
}

TEST_F(DemoRun, TableCodesMatchInTurkishWithoutLetterCase) {
  const auto upper = Run();
  ASSERT_TRUE(ran);
  Set("Tablo Kodu", "gt");
  EXPECT_EQ(Run(), upper);
  ASSERT_TRUE(ran);
  // The grid stays as typed; the stored spelling comes back for the window to show.
  const int row = grid.Find_Row("FiltreLbl", "Tablo Kodu");
  EXPECT_EQ(grid.Text(row, "Baslangic"), "gt");
  ASSERT_EQ(completed.size(), 1u);
  Apply_Completions(grid, completed);
  EXPECT_EQ(grid.Text(row, "Baslangic"), "GT");
  EXPECT_TRUE(messages.entries.empty());
}

TEST_F(DemoRun, BalanceSheetBalancesFromTheOpeningForAnyLastMonth) {
  Choose("Bilanço", "BL");
  // The kind's lists and first month.
  EXPECT_EQ(S(grid.Text(grid.Find_Row("FiltreLbl", "Rapor Başlangıç Ayı"), "Baslangic")), "Açılış");
  EXPECT_TRUE(
      grid.Text(grid.Find_Row("FiltreLbl", "Tablo Kodu"), "Secenek").split('|').contains("BL"));
  EXPECT_FALSE(
      grid.Text(grid.Find_Row("FiltreLbl", "Tablo Kodu"), "Secenek").split('|').contains("GT"));
  const std::pair<const char*, const char*> months[] = {{"Ocak", "01/31/2026"},
                                                        {"Haziran", "06/30/2026"},
                                                        {"Aralık", "12/31/2026"}};
  for (const auto& [last, last_day] : months) {
    SCOPED_TRACE(last);
    Choose("Bilanço", "BL");
    Set("Rapor Bitiş Ayı", QString::fromUtf8(last));
    const auto a = Run();
    ASSERT_TRUE(ran) << S(messages.Texts().join(" / "));
    const double assets = a.at("AKTİF TOPLAMI").toDouble();
    const QString to = QString(" AND Tarih<='") + last_day + "'";
    // Assets are the debit balances of classes 1-2, the sides balance class by class.
    EXPECT_NEAR(assets, -Net({"1", "2"}, to), 0.005);
    EXPECT_NEAR(a.at("1").toDouble() + a.at("2").toDouble(), assets, 0.005);
    EXPECT_NEAR(a.at("3").toDouble() + a.at("4").toDouble() + a.at("5").toDouble(), assets, 0.005);
    // The period's result is one line: last year's result until it is appropriated, and income
    // less expenses of the year, the income statement's result from "Ocak" to the same month.
    EXPECT_NEAR(a.at("5.6").toDouble(), Net({"59", "6"}, to), 0.005);
    EXPECT_EQ(a.count("5.6.03"), 1u);
    Choose("Gelir Tablosu", "GT");
    Set("Rapor Başlangıç Ayı", "Ocak");
    Set("Rapor Bitiş Ayı", QString::fromUtf8(last));
    const auto income = Run();
    ASSERT_TRUE(ran) << S(messages.Texts().join(" / "));
    EXPECT_NEAR(income.at("R5").toDouble(), Net({"6"}, to), 0.005);
    if (QString(last) != "Ocak") {  // last year's profit is appropriated in March
      EXPECT_NEAR(a.at("5.6").toDouble(), income.at("R5").toDouble(), 0.005);
    }
  }
  Choose("Bilanço", "BL");
  // A summary balance sheet: the main headings and both totals, with the whole sheet's amounts.
  const auto whole = Run();
  Set("Seviye", "1", "1");
  const auto summary = Run();
  ASSERT_TRUE(ran);
  EXPECT_EQ(summary.count("1.1"), 0u);
  EXPECT_EQ(summary.count("5.6"), 0u);
  for (const char* shown : {"1", "2", "3", "4", "5", "AKTİF TOPLAMI", "PASİF TOPLAMI"})
    EXPECT_EQ(summary.at(QString::fromUtf8(shown)), whole.at(QString::fromUtf8(shown))) << shown;
  // Without footnotes: its five footnote rows go, and nothing else.
  Set("Seviye", "", "");
  Set("Dipnot Basılsın Mı?", "Hayır");
  const auto without = Run();
  ASSERT_TRUE(ran);
  EXPECT_EQ(without.size() + 5, whole.size());
  for (const auto& [code, amount] : without) EXPECT_EQ(amount, whole.at(code)) << S(code);
}

TEST_F(DemoRun, AFailedRunLeavesThePreviousResultsWhole) {
  auto stored = [&] {
    std::vector<double> amounts;
    Recordset rs;
    Open_Recordset(state.Db(), rs, "SELECT Bakiye FROM MUHASEBEMALITABLOHAREKET ORDER BY Satir_ID");
    for (; !rs.Eof(); rs.Move_Next()) amounts.push_back(rs.Number("Bakiye"));
    return amounts;
  };
  const auto year = Run();
  ASSERT_TRUE(ran);
  const auto before = stored();

  // February's run dies at its tenth row, after nine rows were written.
  Set("Rapor Bitiş Ayı", "Şubat");
  RunSteps dying;
  dying.progress = [](int done, int) {
    if (done == 10) throw std::runtime_error("kill");
  };
  EXPECT_THROW(Run_Statement(state, grid, dying), std::runtime_error);
  EXPECT_EQ(stored(), before);

  // The rerun is February's, whole.
  const auto february = Run();
  ASSERT_TRUE(ran);
  EXPECT_NE(february, year);
  EXPECT_NEAR(february.at("A").toDouble(), Net({"60"}, " AND Tarih<='02/28/2026'"), 0.005);
}

TEST_F(DemoRun, OnlyAReadingBaseStatementRuns) {
  auto lines = [&] {
    Recordset rs;
    Open_Recordset(state.Db(), rs, "SELECT COUNT(*) AS N FROM MUHFISHAR");
    return rs.Number("N");
  };
  const double count = lines();
  for (const char* base :
       {"DELETE FROM MUHFISHAR", "SELECT * FROM MUHFISHAR; DELETE FROM MUHFISHAR",
        "UPDATE MUHFISHAR SET BTutar=0", "SELECT 1 -- comment"}) {
    SCOPED_TRACE(base);
    state.Base_Sql = base;
    messages.entries.clear();
    EXPECT_TRUE(Run().empty());
    EXPECT_FALSE(ran);
    ASSERT_EQ(messages.entries.size(), 1u);
    EXPECT_TRUE(messages.entries[0].text.endsWith("/Master.mtr"));
    EXPECT_EQ(lines(), count);
  }
  // One SELECT that writes, or reads a server file, all the same: refused where the engine
  // knows it (PostgreSQL), an error where it does not (SQLite); the ledger and chart unchanged.
  auto chart = [&] {
    Recordset rs;
    Open_Recordset(state.Db(), rs,
                   "SELECT COUNT(*) AS N, MIN(MHesap_Kod) AS K FROM MUHKART WHERE MHesap_Kod<>'X'");
    return rs.Number("N");
  };
  const double accounts = chart();
  for (const char* base :
       {"WITH d AS (DELETE FROM MUHFISHAR RETURNING *) SELECT * FROM MUHASEBEMALITABLOHAREKET",
        "WITH u AS (UPDATE MUHKART SET MHesap_Kod='X' RETURNING *) SELECT * FROM "
        "MUHASEBEMALITABLOHAREKET",
        "SELECT MUHASEBEMALITABLOHAREKET.*, lo_import('/etc/hostname') AS L FROM "
        "MUHASEBEMALITABLOHAREKET"}) {
    SCOPED_TRACE(base);
    state.Base_Sql = base;
    messages.entries.clear();
    Run();
    EXPECT_FALSE(ran);
    ASSERT_FALSE(messages.entries.empty());
    if (Test_On_Postgres()) {
      EXPECT_TRUE(messages.entries[0].text.endsWith("/Master.mtr"));
    }
    EXPECT_EQ(lines(), count);
    EXPECT_EQ(chart(), accounts);
  }
}

// Saves and runs of one statement, by two users at once: a run waits for the save and prints
// its figures, or is refused naming the save; never a statement of blank amounts.
TEST_F(DemoRun, SavesAndRunsOfOneStatementExcludeEachOther) {
  Recordset header;
  Open_Recordset(state.Db(), header,
                 "SELECT Rapor_ID, Rapor_Adi FROM MUHASEBEMALITABLOKART WHERE Rapor_Kodu='GT'");
  ASSERT_FALSE(header.Eof());
  const qint64 id = header.Field("Rapor_ID").toLongLong();
  const QString name = header.Text("Rapor_Adi");
  const QString command_line = QString(kDemoCompany) + "|" +
                               server_->Server(Demo_Data_Folder(dir_->path())) + "|1|sa|" +
                               QChar(0xE6);
  const double gross = Net({"60"});
  const QString save_held = QString::fromUtf8(kSaveLockedMessage);

  // A user whose save holds the statement: the run is refused after the wait, naming the save.
  {
    RecordingMessages other_messages;
    AppState other(other_messages);
    other.Program_Folder = MALITABLO_PROGRAM_DIR;
    Parse_Command_Line(other, command_line);
    Open_Company(other, [] {});
    Begin_Statement_Work(*other.Db_Connection, StatementWork::Save, {id});
    EXPECT_TRUE(Run().empty());
    EXPECT_FALSE(ran);
    EXPECT_EQ(S(messages.Texts().join('\n')), S(save_held));
    other.Db_Connection->Rollback();
    messages.entries.clear();
  }

  // Twenty saves, each started with a run on another connection.
  constexpr int kRounds = 20;
  std::barrier start(2);
  std::thread saver([&] {
    RecordingMessages saver_messages;
    AppState saving(saver_messages);
    saving.Program_Folder = MALITABLO_PROGRAM_DIR;
    Parse_Command_Line(saving, command_line);
    Open_Company(saving, [] {});
    saving.Table_ID = id;
    saving.Table_Code = "GT";
    saving.Table_Name = name;
    saving.Table_Type = kKindIncomeStatement;
    TableDefinition definition = Open_Table_Definition(saving);
    for (int round = 0; round < kRounds; ++round) {
      start.arrive_and_wait();
      Save_Table(saving, definition);
    }
  });
  int printed = 0;
  for (int round = 0; round < kRounds; ++round) {
    SCOPED_TRACE(round);
    start.arrive_and_wait();
    messages.entries.clear();
    const auto amounts = Run();
    if (ran) {
      ++printed;
      ASSERT_TRUE(amounts.count("A") && !amounts.at("A").isNull());
      EXPECT_NEAR(amounts.at("A").toDouble(), gross, 0.005);
      EXPECT_EQ(amounts.size(), 54u);
    } else {
      EXPECT_EQ(S(messages.Texts().join('\n')), S(save_held));
    }
  }
  saver.join();
  EXPECT_GT(printed, 0);
}

namespace {

// A row's figures by row code in the run's column titled `title`.
const RowAmounts& Figures(const RunOutcome& run, const QString& code, const QString& title) {
  size_t column = 0;
  while (column < run.statement.columns.size() && run.statement.columns[column].title != title)
    ++column;
  const auto row = std::find_if(run.statement.rows.begin(), run.statement.rows.end(),
                                [&](const Statement::Row& r) { return r.code == code; });
  if (column == run.statement.columns.size() || row == run.statement.rows.end())
    throw std::out_of_range(S(code + " / " + title));
  return row->amounts[column];
}

}  // namespace

TEST_F(DemoRun, MonthsAndQuartersAddUpToThePeriod) {
  const QString january = " AND Tarih>='01/01/2026' AND Tarih<'02/01/2026'";
  const QString first_quarter = " AND Tarih>='01/01/2026' AND Tarih<'04/01/2026'";
  for (const char* comparison : {"Aylar", "Çeyrekler"}) {
    SCOPED_TRACE(comparison);
    Set("Karşılaştırma", QString::fromUtf8(comparison));
    const std::optional<RunOutcome> run = Run_Statement(state, grid, {});
    ASSERT_TRUE(run) << S(messages.Texts().join(" / "));
    const Statement& statement = run->statement;
    const bool months = QString::fromUtf8(comparison) == "Aylar";
    ASSERT_EQ(statement.columns.size(), months ? 13u : 5u);
    const std::vector<size_t> order = Printed_Columns(statement);
    EXPECT_EQ(order.back(), 0u);  // the period's total is printed last
    EXPECT_EQ(statement.columns[order.front()].first_day, QDate(2026, 1, 1));
    EXPECT_EQ(statement.columns[order.front()].last_day, QDate(2026, months ? 1 : 3, 31));
    // Every row's debit and credit in the parts add up to the period's.
    for (const Statement::Row& row : statement.rows) {
      double debit = 0, credit = 0, balance = 0;
      for (size_t c = 1; c < statement.columns.size(); ++c) {
        debit += row.amounts[c].debit.value_or(0);
        credit += row.amounts[c].credit.value_or(0);
        balance += row.amounts[c].balance.value_or(0);
      }
      EXPECT_NEAR(debit, row.Main().debit.value_or(0), 0.005) << S(row.code);
      EXPECT_NEAR(credit, row.Main().credit.value_or(0), 0.005) << S(row.code);
      if (row.code == "R5") {
        EXPECT_NEAR(balance, row.Main().balance.value_or(0), 0.005);
      }
    }
    const QString first = months ? "Ocak" : QString::fromUtf8("1. Çeyrek");
    EXPECT_NEAR(*Figures(*run, "A", first).balance, Net({"60"}, months ? january : first_quarter),
                0.005);
    EXPECT_NEAR(*Figures(*run, "R5", first).balance, Net({"6"}, months ? january : first_quarter),
                0.005);
    // The chart: the level-1 rows as bars and the result rows as lines over the months or
    // quarters, the total left out.
    const StatementChart chart = Statement_Chart(statement);
    ASSERT_EQ(chart.bars.size(), statement.columns.size() - 1);
    EXPECT_NE(chart.bars.back().title, "Toplam");
    auto caption = [&](const QString& code) {
      return std::find_if(statement.rows.begin(), statement.rows.end(),
                          [&](const Statement::Row& r) { return r.code == code; })
          ->caption;
    };
    const qsizetype sales = chart.categories.indexOf(caption("A"));
    ASSERT_GE(sales, 0);
    EXPECT_NEAR(chart.bars.front().values[sales], Net({"60"}, months ? january : first_quarter),
                0.005);
    const auto result =
        std::find_if(chart.lines.begin(), chart.lines.end(),
                     [&](const ChartSeries& l) { return l.title == caption("R5"); });
    ASSERT_NE(result, chart.lines.end());
    EXPECT_EQ(result->values.size(), months ? 12u : 4u);
    EXPECT_NEAR(result->values.front(), Net({"6"}, months ? january : first_quarter), 0.005);
    // The stored results stay the period's own.
    Recordset rs;
    Open_Recordset(state.Db(), rs,
                   "SELECT Bakiye FROM MUHASEBEMALITABLOHAREKET WHERE Satir_Kodu='R5' AND "
                   "Rapor_ID=" +
                       statement.rows.front().table_id.toString());
    EXPECT_NEAR(rs.Number("Bakiye"), Net({"6"}), 0.005);
  }
  // A balance sheet's months each run from the opening to their month's end; the last is the
  // period itself.
  Set("Tablo Türü", "Bilanço");
  Table_Kind_Changed(state, grid);
  Set("Tablo Kodu", "BL");
  Set("Karşılaştırma", "Aylar");
  const std::optional<RunOutcome> sheet = Run_Statement(state, grid, {});
  ASSERT_TRUE(sheet) << S(messages.Texts().join(" / "));
  EXPECT_EQ(sheet->statement.columns.size(), 12u);
  EXPECT_EQ(sheet->statement.columns.front().title, QString::fromUtf8("Aralık"));
  const auto assets = [&](const char* title) {
    const auto row = std::find_if(sheet->statement.rows.begin(), sheet->statement.rows.end(),
                                  [](const Statement::Row& r) {
                                    return r.caption == QString::fromUtf8("AKTİF TOPLAMI");
                                  });
    for (size_t c = 0; c < sheet->statement.columns.size(); ++c)
      if (sheet->statement.columns[c].title == QString::fromUtf8(title))
        return row->amounts[c].balance.value_or(0);
    return 0.0;
  };
  EXPECT_NEAR(assets("Haziran"), -Net({"1", "2"}, " AND Tarih<='06/30/2026'"), 0.005);
  EXPECT_NEAR(assets("Aralık"), -Net({"1", "2"}), 0.005);
}

TEST_F(DemoRun, PeriodsSummedFromOneReadingByDayAsFromTheirOwn) {
  RunParameters p;
  p.period.year = 2026;
  const LedgerDays days(state.Db(), Ledger_Condition(p));
  ASSERT_TRUE(days.Readable());
  using Key = std::pair<std::optional<qint64>, std::optional<QString>>;
  const auto by_key = [](const std::vector<LedgerGroup>& groups) {
    std::map<Key, LineSums> sums;
    for (const LedgerGroup& g : groups) sums[{g.account, g.code}] = g.sums;
    return sums;
  };
  // Bounds within months, and open on either side.
  const std::pair<std::optional<QDate>, std::optional<QDate>> periods[] =
      {{QDate(2026, 1, 15), QDate(2026, 3, 20)},
       {std::nullopt, QDate(2026, 2, 10)},
       {QDate(2026, 11, 30), std::nullopt}};
  for (const auto& [first, last] : periods) {
    p.period.first_day = first;
    p.period.last_day = last;
    const auto own = by_key(Read_Ledger_Groups(state.Db(), Ledger_Condition(p)));
    const auto summed = by_key(days.Groups(first, last));
    ASSERT_EQ(summed.size(), own.size());
    for (const auto& [key, sums] : own) {
      ASSERT_TRUE(summed.count(key)) << S(key.second.value_or(""));
      EXPECT_EQ(summed.at(key).lines, sums.lines);
      EXPECT_NEAR(summed.at(key).debit.value_or(0), sums.debit.value_or(0), 0.005);
      EXPECT_NEAR(summed.at(key).credit.value_or(0), sums.credit.value_or(0), 0.005);
    }
  }
}

TEST_F(DemoRun, PreviousPeriodBesideTheCurrent) {
  Set("Karşılaştırma", QString::fromUtf8("Önceki Dönem"));
  const QString previous = QString::fromUtf8("Önceki Dönem");
  // The year before is the demo's database of its own: read there, and nothing written there
  // (its file as it was, its stored results untouched).
  const QString before_year = Demo_Previous_Year_Database(2026);
  RecordingMessages other_messages;
  AppState other{other_messages};
  Open_Demo_Database(other, before_year);
  const auto stored = [&] {
    QFile f(Demo_Data_Folder(dir_->path()) + "/" + before_year + ".sqlite");
    QByteArray text = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    Recordset rs;
    Open_Recordset(other.Db(), rs, "SELECT Satir_ID, Bakiye FROM MUHASEBEMALITABLOHAREKET");
    for (; !rs.Eof(); rs.Move_Next()) text += (rs.Text("Satir_ID") + rs.Text("Bakiye")).toUtf8();
    return text;
  };
  const QByteArray untouched = stored();
  std::optional<RunOutcome> run = Run_Statement(state, grid, {});
  ASSERT_TRUE(run) << S(messages.Texts().join(" / "));
  EXPECT_EQ(run->statement.heading.note, "");
  EXPECT_TRUE(stored() == untouched);
  // Row for row the statement run on that database itself.
  KeyedGrid other_grid = Make_Filter_Grid();
  Load_Master_File(other, other_grid);
  other_grid.Set_Text(other_grid.Find_Row("FiltreLbl", "Tablo Kodu"), "Baslangic", "GT");
  const std::optional<RunOutcome> direct = Run_Statement(other, other_grid, {});
  ASSERT_TRUE(direct) << S(other_messages.Texts().join(" / "));
  ASSERT_EQ(direct->statement.rows.size(), run->statement.rows.size());
  for (size_t r = 0; r < run->statement.rows.size(); ++r) {
    const Statement::Row& row = run->statement.rows[r];
    EXPECT_EQ(row.amounts[1].balance, direct->statement.rows[r].Main().balance) << S(row.code);
    EXPECT_EQ(row.amounts[1].credit, direct->statement.rows[r].Main().credit) << S(row.code);
  }
  // An account's voucher lines under that column are the year before's own (its closing voucher
  // left out, as the income statement leaves it), then the totals.
  Recordset count;
  Open_Recordset(other.Db(), count,
                 QString::fromUtf8("SELECT COUNT(*) AS N FROM MUHFISHAR WHERE MHesap_Kod='600.01' "
                                   "AND Islem_Tipi<>'Kapanış Fişi'"));
  ASSERT_GT(count.Number("N"), 0);
  EXPECT_EQ(Voucher_Lines_Of_Run(state, Column_Parameters(*run, 1), "", "600.01",
                                 Column_Ledger(*run, 1))
                .rows.size(),
            static_cast<size_t>(count.Number("N")) + 1);

  // Listed but missing, then not listed at all: without a line of that year here the column is
  // empty and says so, and the run goes on.
  struct Listing {
    AppState& state;
    void Set(const QString& change) {
      state.Db_Connection->Execute("UPDATE Defination_DB.dbo.sysfrmlng SET " + change +
                                   " WHERE sysfrm_ID=0");
    }
    ~Listing() { Set("sysfrm_dbnm='" + Demo_Previous_Year_Database(2026) + "', sysfrm_kd='001'"); }
  } listing{state};
  for (const char* change : {"sysfrm_dbnm='MALITABLO_DEMO_YOK'", "sysfrm_kd='999'"}) {
    listing.Set(change);
    run = Run_Statement(state, grid, {});
    ASSERT_TRUE(run) << S(messages.Texts().join(" / "));
    EXPECT_EQ(run->statement.heading.note, QString::fromUtf8("Önceki dönem verisi yok")) << change;
    for (const Statement::Row& row : run->statement.rows)
      for (size_t c = 1; c < 4; ++c) EXPECT_FALSE(row.amounts[c].balance) << S(row.code);
  }
  // The printed page's note stands apart, under the period and over the columns' titles.
  const ReportPages pages = Run_AnaRapor(run->statement);
  const std::vector<PageText>& header = pages.pages.at(0).texts;
  auto placed = [&](const char* control) {
    const auto at = std::find_if(header.begin(), header.end(),
                                 [&](const PageText& t) { return t.control == control; });
    return at == header.end() ? PageText{} : *at;
  };
  const PageText period = placed("Donem"), note = placed("Not"), titles = placed("lblSatir_Adi");
  EXPECT_EQ(note.text, QString::fromUtf8("Önceki dönem verisi yok"));
  EXPECT_GE(note.top, period.top + period.height);
  EXPECT_GE(titles.top, note.top + note.height);

  // A sale of 1000 and its cost of 400 in March of the year before.
  struct Lines {
    AppState& state;
    void Add(const char* account, const char* date, double debit, double credit) {
      state.Db_Connection->Execute(
          QString("INSERT INTO MUHFISHAR (Fis_No, Tarih, Yil, AY, Ay_Index, Islem_Tipi, "
                  "MHesap_Kod, Ana_Hesap_ID, Aciklama, BTutar, ATutar) SELECT 990001, '%1', "
                  "'2025', AY, Ay_Index, Islem_Tipi, MHesap_Kod, Ana_Hesap_ID, 'x', %2, %3 FROM "
                  "MUHFISHAR WHERE MFisHar_ID=(SELECT MIN(MFisHar_ID) FROM MUHFISHAR WHERE "
                  "MHesap_Kod LIKE '%4%' AND Yil='2026')")
              .arg(date)
              .arg(debit)
              .arg(credit)
              .arg(account));
    }
    ~Lines() { state.Db_Connection->Execute("DELETE FROM MUHFISHAR WHERE Fis_No=990001"); }
  } lines{state};
  lines.Add("600", "03/15/2025", 0, 1000);
  lines.Add("100", "03/15/2025", 1000, 0);
  lines.Add("62", "03/20/2025", 400, 0);
  lines.Add("153", "03/20/2025", 0, 400);
  run = Run_Statement(state, grid, {});
  ASSERT_TRUE(run) << S(messages.Texts().join(" / "));
  EXPECT_EQ(run->statement.heading.note, "");
  EXPECT_EQ(run->statement.columns[1].first_day, QDate(2025, 1, 1));
  EXPECT_EQ(run->statement.columns[1].last_day, QDate(2025, 12, 31));
  const double sales = Net({"60"}, " AND Yil='2026'");
  EXPECT_NEAR(*Figures(*run, "A", previous).balance, 1000, 0.005);
  EXPECT_NEAR(*Figures(*run, "D", previous).balance, -400, 0.005);
  EXPECT_NEAR(*Figures(*run, "R1", previous).balance, 600, 0.005);
  EXPECT_NEAR(*Figures(*run, "A", "Fark").balance, sales - 1000, 0.005);
  EXPECT_NEAR(*Figures(*run, "A", QString::fromUtf8("Değişim %")).balance,
              (sales - 1000) / 1000 * 100, 0.0001);
  // Nothing the year before: the difference is the current figure, the change is blank.
  const RowAmounts deductions = Figures(*run, "B", "Cari Dönem");
  EXPECT_NEAR(Figures(*run, "B", previous).balance.value_or(0), 0, 0.005);
  EXPECT_NEAR(*Figures(*run, "B", "Fark").balance, deductions.balance.value_or(0), 0.005);
  EXPECT_FALSE(Figures(*run, "B", QString::fromUtf8("Değişim %")).balance);

  // The previous column is the same statement run on the year before's months.
  Set("Karşılaştırma", "Yok");
  state.Fiscal_Year_Start = QDate(2025, 1, 1);
  state.Fiscal_Year_End = QDate(2025, 12, 31);
  const std::optional<RunOutcome> before = Run_Statement(state, grid, {});
  ASSERT_TRUE(before) << S(messages.Texts().join(" / "));
  ASSERT_EQ(before->statement.rows.size(), run->statement.rows.size());
  for (size_t r = 0; r < run->statement.rows.size(); ++r) {
    const Statement::Row& row = run->statement.rows[r];
    EXPECT_EQ(row.amounts[1].balance, before->statement.rows[r].Main().balance) << S(row.code);
    EXPECT_EQ(row.amounts[1].debit, before->statement.rows[r].Main().debit) << S(row.code);
  }
}
