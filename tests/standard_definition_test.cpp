// Standard definition files: the reader's rules (fields, placements, the end line), the two
// shipped files (code page, row types, options, formulas, account ranges), saving them, and the
// demo companies that get both; the income statement is worked out by hand on the demo ledger.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <cmath>
#include <map>

#include "app/suite_text.h"
#include "db/connection.h"
#include "demo/demo_suite.h"
#include "model/financial_table.h"
#include "model/standard_definition.h"
#include "model/table_definition.h"
#include "support/test_suite.h"

namespace {

QString Standard_Path(const QString& file) {
  return QDir(MALITABLO_PROGRAM_DIR).filePath(QString(kStandardDefinitionFolder) + "/" + file);
}

TableDefinition Standard(int kind) {
  RecordingMessages messages;
  AppState state(messages);
  state.Program_Folder = MALITABLO_PROGRAM_DIR;
  TableDefinition def;
  def.kind = QString::number(kind);
  EXPECT_TRUE(Load_Standard_Definition(state, def)) << messages.Texts().join("\n").toStdString();
  return def;
}

QSet<int> Types(const KeyedGrid& grid) {
  QSet<int> types;
  for (int r = 1; r < grid.Rows(); ++r) types.insert(grid.Text(r, "Satir_Tipi").toInt());
  return types;
}

QString Options(const KeyedGrid& grid, int r) {
  return grid.Text(r, "Hesaplama_Tipi") + grid.Text(r, "Bakiye_Tipi") + grid.Text(r, "Hesap_Karakteri") +
         grid.Text(r, "Ters_Bakiye");
}

// Rules every standard row keeps: level and display text by the model's rules, unique codes.
void Expect_Well_Formed(const KeyedGrid& grid) {
  QSet<QString> codes;
  for (int r = 1; r < grid.Rows(); ++r) {
    const QString code = grid.Text(r, "Satir_Kodu");
    SCOPED_TRACE(grid.Text(r, "Yazilacak").toStdString());
    EXPECT_EQ(grid.Text(r, "Satir_Seviyesi").toInt(), Row_Level(code));
    EXPECT_EQ(grid.Text(r, "Yazilacak"), Display_Text(code, grid.Text(r, "Satir_Adi")));
    EXPECT_FALSE(Row_Type_Caption(grid.Text(r, "Satir_Tipi").toInt()).isEmpty());
    if (!code.isEmpty()) {
      EXPECT_FALSE(codes.contains(code));
      codes.insert(code);
    }
  }
}

// Evaluates a formula of "+" and "-" over row codes from `values`.
double Evaluate(const QString& formula, const std::map<QString, double>& values) {
  double result = 0;
  static const QRegularExpression term(R"(([+-]?)([^+-]+))");
  for (auto it = term.globalMatch(formula); it.hasNext();) {
    auto m = it.next();
    double v = values.at(m.captured(2));
    result += m.captured(1) == "-" ? -v : v;
  }
  return result;
}

}  // namespace

TEST(StandardDefinition, FieldsPlacementsAndTheEndLine) {
  TableDefinition def;
  Read_Standard_Definition(
      "1;1;A;Assets;1;1;\r\n"
      "2;2;A.1;Cash;2;1;1;0;1;0;100;;;;;ignored after the last field\r\n"
      "3;11;B;Sum;1;1;1;0;0;0;;;;;A+A.1;\r\n"
      "4;1;P;Liabilities;1;2;1;0;0;0;;;;1500;\r\n"
      "5;9;P.1;Too many;2;2;0;0;0;0;;;;75;extra;more;\r\n"
      "6;10;;First note;1;3;\r\n"
      "<END> \r\n"
      "7;10;;After a blank end;1;3;\r\n"
      "<end>\r\n"
      "8;1;Z;Never read;1;3;\r\n",
      def);
  ASSERT_EQ(def.FisGrd.Rows(), 4);
  EXPECT_EQ(def.FisGrd.Text(1, "Yazilacak"), "AAssets");
  EXPECT_EQ(def.FisGrd.Text(1, "Satir_Tipi"), "1");
  EXPECT_EQ(def.FisGrd.Text(1, "Rapor_Yeri"), "1");
  EXPECT_EQ(def.FisGrd.Text(2, "MHesap_KodBas"), "100");
  EXPECT_EQ(def.FisGrd.Text(2, "Hesap_Karakteri"), "1");
  EXPECT_EQ(def.FisGrd.Text(2, "Formul"), "");
  EXPECT_EQ(def.FisGrd.Text(3, "Formul"), "A+A.1");
  EXPECT_EQ(def.FisGrd.Text(3, "Satir_No"), "3");

  ASSERT_EQ(def.PasifGrd.Rows(), 3);
  EXPECT_EQ(def.PasifGrd.Text(1, "Yazilacak"), "PLiabilities");
  EXPECT_EQ(def.PasifGrd.Text(1, "Tutar"), "1500");
  EXPECT_EQ(def.PasifGrd.Text(2, "Tutar"), "75");
  EXPECT_EQ(def.PasifGrd.Text(2, "Yazilacak"), "P.1Too many");  // fields past Tutar dropped

  // "<END> " with a blank is a row of its own (no fields); "<end>" ends the file.
  ASSERT_EQ(def.DipNotGrd.Rows(), 4);
  EXPECT_EQ(def.DipNotGrd.Text(1, "Satir_Adi"), "First note");
  EXPECT_EQ(def.DipNotGrd.Text(2, "Yazilacak"), "");
  EXPECT_EQ(def.DipNotGrd.Text(3, "Satir_Adi"), "After a blank end");

  // A line whose placement is neither 2 nor 3 stays in the grid in use; without an end line
  // the file ends the rows.
  TableDefinition odd;
  Read_Standard_Definition("1;1;A;a;1;2;\n2;1;B;b;1;1;\n3;1;C;c;1;7;", odd);
  EXPECT_EQ(odd.FisGrd.Rows(), 1);
  ASSERT_EQ(odd.PasifGrd.Rows(), 4);
  EXPECT_EQ(odd.PasifGrd.Text(3, "Yazilacak"), "Cc");

  // Kinds without a file load nothing; a missing file is reported.
  RecordingMessages messages;
  AppState state(messages);
  state.Program_Folder = QDir::tempPath() + "/malitablo-no-such-folder";
  TableDefinition other;
  other.kind = "3";
  EXPECT_FALSE(Load_Standard_Definition(state, other));
  EXPECT_TRUE(messages.entries.empty());
  other.kind = "1";
  EXPECT_FALSE(Load_Standard_Definition(state, other));
  ASSERT_EQ(messages.entries.size(), 1u);
  EXPECT_EQ(messages.entries[0].kind, MessageKind::Critical);
}

TEST(StandardDefinition, ShippedFilesAreWindows1254WithCrLfAndFieldCounts) {
  for (const char* file : {"TORVIKA.txt", "BILANCO.txt"}) {
    SCOPED_TRACE(file);
    QFile f(Standard_Path(file));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString as_utf8 = utf8(bytes);
    EXPECT_TRUE(utf8.hasError());  // Turkish letters as single 1254 bytes
    const QString text = Decode_Windows1254(bytes);
    EXPECT_TRUE(text.contains("İ"));
    EXPECT_TRUE(text.endsWith("<END>\r\n"));
    EXPECT_FALSE(text.contains(QRegularExpression("[^\r]\n")));
    for (const QString& line : text.split("\r\n", Qt::SkipEmptyParts)) {
      if (line == "<END>") break;
      // Fifteen fields in the main grid (with Formul), fourteen in the others.
      EXPECT_EQ(line.count(';'), line.section(';', 5, 5) == "1" ? 15 : 14) << line.toStdString();
    }
  }
}

TEST(StandardDefinition, IncomeStatement) {
  TableDefinition def = Standard(kKindIncomeStatement);
  const KeyedGrid& g = def.FisGrd;
  EXPECT_EQ(def.PasifGrd.Rows(), 1);
  EXPECT_EQ(def.DipNotGrd.Rows(), 1);
  Expect_Well_Formed(g);
  EXPECT_EQ(Types(g), (QSet<int>{kRowGroup, kRowSingleAccount, kRowAccountRange, kRowFormula}));

  std::map<QString, QStringList> accounts;  // group code -> accounts of its single rows
  QSet<QString> groups_seen;
  for (int r = 1; r < g.Rows(); ++r) {
    const int type = g.Text(r, "Satir_Tipi").toInt();
    const QString code = g.Text(r, "Satir_Kodu");
    SCOPED_TRACE(g.Text(r, "Yazilacak").toStdString());
    if (type == kRowGroup) {
      EXPECT_EQ(Row_Level(code), 1);
      groups_seen.insert(code);
    }
    if (type == kRowSingleAccount || type == kRowAccountRange) {
      // Every line positive: the absolute value of the balance, added into its group.
      EXPECT_EQ(Options(g, r), "1010");
      ASSERT_TRUE(groups_seen.contains(code.section('.', 0, 0)));
    }
    if (type == kRowSingleAccount) {
      // A main account: the ledger finds its lines through their main account.
      EXPECT_TRUE(QRegularExpression(R"(^\d{3}$)").match(g.Text(r, "MHesap_KodBas")).hasMatch());
      accounts[code.section('.', 0, 0)] << g.Text(r, "MHesap_KodBas");
    }
    if (type == kRowFormula) {
      // Only groups already computed above the formula.
      for (const QString& token : g.Text(r, "Formul").split(QRegularExpression("[-+*/()]")))
        EXPECT_TRUE(groups_seen.contains(token)) << token.toStdString();
    }
  }
  const std::map<QString, QStringList> expected = {
      {"A", {"600", "601", "602"}}, {"B", {"610", "611", "612"}},        {"D", {"620", "621", "622", "623"}},
      {"E", {"630", "631", "632"}}, {"H", {"660", "661"}},               {"I", {"671", "679"}},
      {"J", {"680", "681", "689"}}, {"K", {"691"}}};
  EXPECT_EQ(accounts, expected);

  // The ranges hold their accounts with sub-accounts, and start below a real account code (a
  // range row's own account would otherwise enter its group a second time).
  const std::map<QString, std::pair<QStringList, QStringList>> ranges = {
      {"F.1", {{"640", "642", "646.01", "649", "649.99.001"}, {"639.99", "653"}}},
      {"G.1", {{"653", "654.01", "656", "659", "659.01.001"}, {"649.99", "660"}}}};
  for (const auto& [code, codes] : ranges) {
    int r = g.Find_Row("Satir_Kodu", code);
    ASSERT_GT(r, 0) << code.toStdString();
    const QString from = g.Text(r, "MHesap_KodBas"), to = g.Text(r, "MHesap_KodBit");
    EXPECT_EQ(from.size(), 2);
    for (const QString& in : codes.first) EXPECT_TRUE(from <= in && in <= to) << in.toStdString();
    for (const QString& out : codes.second) EXPECT_FALSE(from <= out && out <= to) << out.toStdString();
  }

  // Result lines by hand: sales 1000, deductions 100, cost 500, expenses 200, other income 50,
  // other expenses 30, finance 20, extraordinary 10 and 5, tax 40.
  const std::map<QString, double> groups = {{"A", 1000}, {"B", 100}, {"D", 500}, {"E", 200}, {"F", 50},
                                            {"G", 30},   {"H", 20},  {"I", 10},  {"J", 5},   {"K", 40}};
  const std::map<QString, double> results = {{"C", 900},  {"R1", 400}, {"R2", 200},
                                             {"R3", 200}, {"R4", 205}, {"R5", 165}};
  for (const auto& [code, value] : results) {
    int r = g.Find_Row("Satir_Kodu", code);
    ASSERT_GT(r, 0) << code.toStdString();
    EXPECT_EQ(g.Text(r, "Satir_Tipi").toInt(), kRowFormula);
    EXPECT_DOUBLE_EQ(Evaluate(g.Text(r, "Formul"), groups), value) << code.toStdString();
  }
  EXPECT_EQ(g.Text(g.Rows() - 1, "Satir_Kodu"), "R5");
}

TEST(StandardDefinition, BalanceSheet) {
  TableDefinition def = Standard(kKindBalanceSheet);
  for (int p : kPlacements) Expect_Well_Formed(def.Grid(p));
  EXPECT_EQ(Types(def.FisGrd),
            (QSet<int>{kRowGroup, kRowSingleAccount, kRowSubtotal, kRowGrandTotal, kRowAmount}));
  EXPECT_EQ(Types(def.PasifGrd), (QSet<int>{kRowGroup, kRowSingleAccount, kRowSubtotal, kRowGrandTotal}));
  EXPECT_EQ(Types(def.DipNotGrd), QSet<int>{kRowFootnote});

  const QString sides[] = {"12", "345"};  // account classes on the active and passive side
  for (int p : {kPlaceMain, kPlacePassive}) {
    const KeyedGrid& g = def.Grid(p);
    int grand_totals = 0, accounts = 0;
    for (int r = 1; r < g.Rows(); ++r) {
      const int type = g.Text(r, "Satir_Tipi").toInt();
      SCOPED_TRACE(g.Text(r, "Yazilacak").toStdString());
      if (type == kRowGrandTotal) ++grand_totals;
      if (type == kRowSubtotal || type == kRowGrandTotal) {
        EXPECT_EQ(g.Text(r, "Satir_Kodu"), "");
      }
      if (type != kRowSingleAccount) continue;
      ++accounts;
      // Totals take single-account rows only, so the side has no ranges; a contra account
      // "(-)" shows minus its balance so that groups and totals deduct it.
      const QString account = g.Text(r, "MHesap_KodBas");
      EXPECT_TRUE(QRegularExpression(R"(^\d{3}$)").match(account).hasMatch());
      EXPECT_TRUE(sides[p - 1].contains(account.at(0)));
      EXPECT_EQ(Options(g, r), g.Text(r, "Satir_Adi").contains("(-)") ? "1020" : "1010");
    }
    EXPECT_EQ(grand_totals, 1);
    EXPECT_GT(accounts, 10);
  }
  // Fixed amounts are typed by the user: the standard leaves them empty (stored as Null).
  int memo = def.FisGrd.Find_Row("Satir_Tipi", "9");
  ASSERT_GT(memo, 0);
  EXPECT_EQ(def.FisGrd.Text(memo, "Tutar"), "");
  EXPECT_EQ(def.FisGrd.Text(memo, "Hesaplama_Tipi"), "0");
  EXPECT_GT(def.DipNotGrd.Rows(), 3);
}

TEST(StandardDefinition, BothFilesSaveAndLoadBack) {
  TestSuite ts;
  ts.Connect();
  for (int kind : {kKindIncomeStatement, kKindBalanceSheet}) {
    TableDefinition def = Standard(kind);
    def.add_flag = true;
    def.code = "STD";
    def.name = "Standart";
    ASSERT_TRUE(Save_Table(ts.state, def)) << ts.messages.Texts().join("\n").toStdString();
    TableDefinition loaded;
    loaded.table_id = def.table_id;
    Open_Rows(ts.state, loaded);
    Load_Rows(ts.state, loaded);
    for (int p : kPlacements) {
      const KeyedGrid &a = def.Grid(p), &b = loaded.Grid(p);
      ASSERT_EQ(a.Rows(), b.Rows());
      for (int r = 1; r < a.Rows(); ++r)
        for (const QString& key : a.Keys()) {
          if (key != "Satir_No" && key != "Rapor_Yeri" && key != "Satir_ID") {
            EXPECT_EQ(a.Text(r, key), b.Text(r, key)) << key.toStdString() << " row " << r;
          }
        }
    }
  }
  EXPECT_TRUE(ts.messages.entries.empty());
}

TEST(StandardDefinition, DemoCompaniesGetBothStatements) {
  QTemporaryDir dir;
  DemoOptions options;
  options.suite_folder = dir.path();
  options.program_folder = MALITABLO_PROGRAM_DIR;
  Create_Demo_Suite(options);
  const TableDefinition income = Standard(kKindIncomeStatement);
  const TableDefinition balance = Standard(kKindBalanceSheet);
  const int income_rows = income.FisGrd.Rows() - 1;
  const int balance_rows = balance.FisGrd.Rows() + balance.PasifGrd.Rows() + balance.DipNotGrd.Rows() - 3;

  for (const char* company : {kDemoCompany, kDemoCompany2}) {
    SCOPED_TRACE(company);
    Connection db;
    db.Open(Demo_Data_Folder(dir.path()), company, "sa", "", false);
    auto value = [&](const QString& sql) {
      QueryResult r = db.Execute(sql);
      return r.rows.empty() ? QVariant() : r.rows[0][0];
    };
    const QString count =
        "SELECT COUNT(*) FROM MUHASEBEMALITABLOHAREKET h JOIN MUHASEBEMALITABLOKART k ON "
        "k.Rapor_ID = h.Rapor_ID WHERE k.Rapor_Kodu = '%1' AND k.Rapor_Tipi = %2 AND k.Rapor_Adi = '%3'";
    EXPECT_EQ(value(count.arg("GT").arg(2).arg("Gelir Tablosu")).toInt(), income_rows);
    EXPECT_EQ(value(count.arg("BL").arg(1).arg("Bilanço")).toInt(), balance_rows);

    // The income statement by hand on the demo ledger: each line the absolute balance of its
    // accounts, groups their sum, results by formula; the net result is the ledger's profit.
    std::map<QString, double> groups;
    const KeyedGrid& g = income.FisGrd;
    for (int r = 1; r < g.Rows(); ++r) {
      const int type = g.Text(r, "Satir_Tipi").toInt();
      double balance = 0;
      if (type == kRowSingleAccount)
        balance = value("SELECT SUM(f.BTutar - f.ATutar) FROM MUHFISHAR f JOIN MUHKART m ON "
                        "m.MHesap_ID = f.Ana_Hesap_ID WHERE m.MHesap_Kod = '" +
                        g.Text(r, "MHesap_KodBas") + "'")
                      .toDouble();
      else if (type == kRowAccountRange)
        balance = value("SELECT SUM(BTutar - ATutar) FROM MUHFISHAR WHERE MHesap_Kod >= '" +
                        g.Text(r, "MHesap_KodBas") + "' AND MHesap_Kod <= '" + g.Text(r, "MHesap_KodBit") + "'")
                      .toDouble();
      else
        continue;
      groups[g.Text(r, "Satir_Kodu").section('.', 0, 0)] += std::abs(balance);
    }
    const double profit =
        -value("SELECT SUM(BTutar - ATutar) FROM MUHFISHAR WHERE MHesap_Kod LIKE '6%'").toDouble();
    ASSERT_NE(profit, 0);
    for (const auto& [code, amount] : groups) EXPECT_GE(amount, 0) << code.toStdString();
    const int net = g.Find_Row("Satir_Kodu", "R5");
    EXPECT_NEAR(Evaluate(g.Text(net, "Formul"), groups), profit, 0.005);
  }
}
