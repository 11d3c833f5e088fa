// Standard definition files: the reader's rules, the two shipped files (code page, levels,
// options, every account of the official layouts), and the demo companies that store both. The
// income statement's rows, options and ranges are checked through its amounts on the demo ledger by
// the demo runs in statement_run_test.cpp.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>

#include "calc/natural_side.h"
#include "db/suite_text.h"
#include "demo/demo_suite.h"
#include "model/standard_definition.h"
#include "model/table_definition.h"
#include "support/test_suite.h"

namespace {

TableDefinition Standard(int kind, const QString& program_folder = MALITABLO_PROGRAM_DIR) {
  RecordingMessages messages;
  AppState state(messages);
  state.Program_Folder = program_folder;
  TableDefinition def;
  def.kind = QString::number(kind);
  Load_Standard_Definition(state, kind, def);
  EXPECT_TRUE(messages.entries.empty()) << messages.Texts().join("\n").toStdString();
  return def;
}

// The four option codes of a row: Hesaplama_Tipi, Bakiye_Tipi, Hesap_Karakteri, Ters_Bakiye.
QString Options(const KeyedGrid& g, int r) {
  return g.Text(r, "Hesaplama_Tipi") + g.Text(r, "Bakiye_Tipi") + g.Text(r, "Hesap_Karakteri") +
         g.Text(r, "Ters_Bakiye");
}

}  // namespace

TEST(StandardDefinition, FieldsPlacementsAndTheEndLine) {
  TableDefinition def;
  Read_Standard_Definition(
      "1;1;A;Assets;1;1;\r\n"
      "2;11;B;Sum;1;1;1;0;0;0;;;;;A+A.1;ignored after the last field\r\n"
      "3;1;P;Liabilities;1;2;1;0;0;0;;;;1500;\r\n"
      "4;9;P.1;Too many;2;2;0;0;0;0;;;;75;extra;\r\n"
      "5;10;;Note;1;3;\r\n"
      "<END> \r\n"
      "<end>\r\n"
      "6;1;Z;Never read;1;3;\r\n",
      def);
  ASSERT_EQ(def.FisGrd.Rows(), 3);
  EXPECT_EQ(def.FisGrd.Text(1, "Yazilacak"), "AAssets");
  EXPECT_EQ(def.FisGrd.Text(2, "Formul"), "A+A.1");
  EXPECT_EQ(def.FisGrd.Text(2, "Satir_No"), "2");
  ASSERT_EQ(def.PasifGrd.Rows(), 3);
  EXPECT_EQ(def.PasifGrd.Text(1, "Tutar"), "1500");
  EXPECT_EQ(def.PasifGrd.Text(2, "Yazilacak"), "P.1Too many");  // fields past Tutar dropped
  // "<END> " with a blank is a row without fields; "<end>" ends the file.
  ASSERT_EQ(def.DipNotGrd.Rows(), 3);
  EXPECT_EQ(def.DipNotGrd.Text(1, "Yazilacak"), "Note");
  EXPECT_EQ(def.DipNotGrd.Text(2, "Satir_Tipi"), "");

  // A placement that is neither 2 nor 3 keeps the grid in use; the file may end without "<END>".
  TableDefinition odd;
  Read_Standard_Definition("1;1;A;a;1;2;\n2;1;B;b;1;1;\n3;1;C;c;1;7;", odd);
  EXPECT_EQ(odd.FisGrd.Rows(), 1);
  EXPECT_EQ(odd.PasifGrd.Rows(), 4);

  // Kinds without a file load nothing; a missing file is reported.
  RecordingMessages messages;
  AppState state(messages);
  state.Program_Folder = QDir::tempPath() + "/malitablo-no-such-folder";
  TableDefinition other;
  EXPECT_FALSE(Load_Standard_Definition(state, 3, other));
  EXPECT_TRUE(messages.entries.empty());
  EXPECT_FALSE(Load_Standard_Definition(state, 1, other));
  EXPECT_EQ(messages.entries.size(), 1u);
}

TEST(StandardDefinition, ShippedFiles) {
  for (const char* file : {"TORVIKA.txt", "BILANCO.txt"}) {
    SCOPED_TRACE(file);
    QFile f(QDir(MALITABLO_PROGRAM_DIR).filePath(QString(kStandardDefinitionFolder) + "/" + file));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString as_utf8 = utf8(bytes);
    EXPECT_TRUE(utf8.hasError());  // Turkish letters as single Windows-1254 bytes
    const QString text = Decode_Windows1254(bytes);
    EXPECT_TRUE(text.contains("İ"));
    EXPECT_TRUE(text.endsWith("<END>\r\n"));
  }

  // Levels and display texts by the model's rules.
  const TableDefinition income = Standard(kKindIncomeStatement),
                        balance = Standard(kKindBalanceSheet);
  for (const TableDefinition* def : {&income, &balance})
    for (int p : kPlacements)
      for (int r = 1; r < def->Grid(p).Rows(); ++r) {
        const KeyedGrid& g = def->Grid(p);
        EXPECT_EQ(g.Text(r, "Satir_Seviyesi").toInt(), Row_Level(g.Text(r, "Satir_Kodu")));
        EXPECT_EQ(g.Text(r, "Yazilacak"),
                  Display_Text(g.Text(r, "Satir_Kodu"), g.Text(r, "Satir_Adi")));
      }

  // Both statements sign a line the same way: a line marked "(-)" takes minus its balance, so
  // that it prints with its minus sign and its group and totals deduct it; every other line
  // takes its balance as a positive amount. No code is the prefix of a sibling's (no "1.10"
  // beside "1.1"), so that a row never takes its sibling's accounts.
  for (const TableDefinition* def : {&income, &balance})
    for (int p : {kPlaceMain, kPlacePassive}) {
      const KeyedGrid& g = def->Grid(p);
      for (int r = 1; r < g.Rows(); ++r) {
        SCOPED_TRACE(g.Text(r, "Yazilacak").toStdString());
        const int type = g.Text(r, "Satir_Tipi").toInt();
        if (type != kRowSingleAccount && type != kRowAccountRange) continue;
        if (type == kRowAccountRange && g.Text(r, "MHesap_KodBas") == "600") {
          // The balance sheet's period result: income less expenses of every 6xx account.
          EXPECT_EQ(Options(g, r), "2000");
          continue;
        }
        if (g.Text(r, "Hesaplama_Tipi") == "0") continue;  // a memo line, outside the totals
        EXPECT_EQ(Options(g, r), g.Text(r, "Satir_Adi").endsWith("(-)") ? "1020" : "1010");
      }
      for (int r = 1; r < g.Rows(); ++r)
        for (int o = 1; o < g.Rows(); ++o) {
          const QString code = g.Text(r, "Satir_Kodu"), other = g.Text(o, "Satir_Kodu");
          if (code.isEmpty() || o == r || !other.startsWith(code) || other == code) continue;
          EXPECT_EQ(other.at(code.size()), '.')
              << code.toStdString() << " is a prefix of " << other.toStdString();
        }
    }
  // One total per class, on the class line: no subtotal repeats it; one grand total a side.
  for (int p : {kPlaceMain, kPlacePassive}) {
    int grand_totals = 0, subtotals = 0;
    for (int r = 1; r < balance.Grid(p).Rows(); ++r) {
      grand_totals += balance.Grid(p).Text(r, "Satir_Tipi").toInt() == kRowGrandTotal;
      subtotals += balance.Grid(p).Text(r, "Satir_Tipi").toInt() == kRowSubtotal;
    }
    EXPECT_EQ(grand_totals, 1);
    EXPECT_EQ(subtotals, 0);
  }
}

// Every main account of the official layouts has a line. The lists are the main accounts of the
// uniform chart of accounts that the detailed balance sheet and the detailed income statement of
// the general communiqué on the accounting system (Muhasebe Sistemi Uygulama Genel Tebliği,
// Sıra No 1, Resmî Gazete 26.12.1992 no. 21447 mükerrer, with the accounts its later
// communiqués added: 124, 224, 502, 503, 648, 658) place on a line: classes 1-2 on the assets
// side, 3-5 on the liabilities side, 6 in the income statement. 170-178 and 350-358 are one line
// each in the layout, and 690 and 692 only close the year.
TEST(StandardDefinition, EveryAccountOfTheOfficialLayoutsHasALine) {
  const char* assets =
      "100 101 102 103 108 110 111 112 118 119 120 121 122 124 126 127 128 129 131 132 133 135 "
      "136 137 138 139 150 151 152 153 157 158 159 170 171 172 173 174 175 176 177 178 179 180 "
      "181 190 191 192 193 195 196 197 198 199 220 221 222 224 226 229 231 232 233 235 236 237 "
      "239 240 241 242 243 244 245 246 247 248 249 250 251 252 253 254 255 256 257 258 259 260 "
      "261 262 263 264 267 268 269 271 272 277 278 279 280 281 291 292 293 294 295 297 298 299";
  const char* liabilities =
      "300 301 302 303 304 305 306 308 309 320 321 322 326 329 331 332 333 335 336 337 340 349 "
      "350 358 360 361 368 369 370 371 372 373 379 380 381 391 392 393 397 399 400 401 402 405 "
      "407 408 409 420 421 422 426 429 431 432 433 436 437 438 440 449 472 479 480 481 492 493 "
      "499 500 501 502 503 520 521 522 523 524 529 540 541 542 548 549 570 580 590 591";
  const char* income =
      "600 601 602 610 611 612 620 621 622 623 630 631 632 640 641 642 643 644 645 646 647 648 "
      "649 653 654 655 656 657 658 659 660 661 671 679 680 681 689 691";
  const TableDefinition balance = Standard(kKindBalanceSheet),
                        statement = Standard(kKindIncomeStatement);
  // The rows of a grid that take an account: its own single-account row, else a range over it.
  auto lines_of = [](const KeyedGrid& g, const QString& account, bool single_only) {
    int lines = 0;
    for (int r = 1; r < g.Rows(); ++r) {
      const int type = g.Text(r, "Satir_Tipi").toInt();
      const QString from = g.Text(r, "MHesap_KodBas"), to = g.Text(r, "MHesap_KodBit");
      if (type == kRowSingleAccount && from == account) ++lines;
      if (!single_only && type == kRowAccountRange && from <= account && account <= to &&
          from != "600")
        ++lines;
    }
    return lines;
  };
  for (const QString& a : QString(assets).split(' '))
    EXPECT_EQ(lines_of(balance.FisGrd, a, false), 1) << a.toStdString();
  for (const QString& a : QString(liabilities).split(' '))
    EXPECT_EQ(lines_of(balance.PasifGrd, a, false), 1) << a.toStdString();
  for (const QString& a : QString(income).split(' ')) {
    // Each account of "F" and "G" (and every other) on a line of its own.
    EXPECT_EQ(lines_of(statement.FisGrd, a, true), 1) << a.toStdString();
    EXPECT_EQ(lines_of(balance.PasifGrd, a, false), 0) << a.toStdString();
  }
  // No line takes an account the layouts leave unused (650-652 are not "G"'s).
  int ranges = 0;
  for (int r = 1; r < statement.FisGrd.Rows(); ++r)
    ranges += statement.FisGrd.Text(r, "Satir_Tipi").toInt() == kRowAccountRange;
  EXPECT_EQ(ranges, 0);
  for (const char* unused : {"650", "651", "652", "109", "125", "140"}) {
    EXPECT_EQ(lines_of(statement.FisGrd, unused, false), 0) << unused;
    EXPECT_EQ(lines_of(balance.FisGrd, unused, false), 0) << unused;
  }
}

// The natural sides shipped beside the definitions: every main account of the chart on its
// side, contra accounts on the other one, the result accounts on either.
TEST(StandardDefinition, ShippedNaturalSides) {
  const auto sides = Load_Natural_Sides(MALITABLO_PROGRAM_DIR);
  EXPECT_GT(sides->Size(), 200);
  const std::map<QString, NaturalSide> expected =
      {{"100", NaturalSide::Debit},  {"103", NaturalSide::Credit}, {"257", NaturalSide::Credit},
       {"320", NaturalSide::Credit}, {"371", NaturalSide::Debit},  {"501", NaturalSide::Debit},
       {"580", NaturalSide::Debit},  {"590", NaturalSide::Credit}, {"591", NaturalSide::Debit},
       {"600", NaturalSide::Credit}, {"610", NaturalSide::Debit},  {"645", NaturalSide::Credit},
       {"659", NaturalSide::Debit},  {"690", NaturalSide::Either}, {"692", NaturalSide::Either},
       {"899", NaturalSide::Either}};
  for (const auto& [code, side] : expected)
    EXPECT_EQ(sides->Of_Account(code + ".01"), side) << code.toStdString();
  EXPECT_EQ(sides->Of_Range("64", "649"), NaturalSide::Credit);
  EXPECT_EQ(sides->Of_Range("653", "659.99"), NaturalSide::Debit);
  EXPECT_EQ(sides->Of_Range("600", "699"), NaturalSide::Either);
}

TEST(StandardDefinition, DemoCompaniesStoreBoth) {
  QTemporaryDir dir;
  DemoOptions options;
  options.suite_folder = dir.path();
  options.program_folder = MALITABLO_PROGRAM_DIR;
  Create_Demo_Suite(options);

  for (const char* company : {kDemoCompany, kDemoCompany2}) {
    SCOPED_TRACE(company);
    RecordingMessages messages;
    AppState state(messages);
    state.Db_Connection = std::make_shared<Connection>();
    state.Db_Connection->Open(Demo_Data_Folder(dir.path()), company, "sa", "", false);
    // Both standards, saved under their codes and names, load back unchanged.
    for (auto [kind, code, name] : {std::tuple{kKindIncomeStatement, "GT", "Gelir Tablosu"},
                                    std::tuple{kKindBalanceSheet, "BL", "Bilanço"}}) {
      TableDefinition loaded;
      const QueryResult id = state.Db_Connection->Execute(
          QString(
              "SELECT Rapor_ID FROM MUHASEBEMALITABLOKART WHERE Rapor_Kodu='%1' AND Rapor_Tipi=%2 AND "
              "Rapor_Adi='%3'")
              .arg(code)
              .arg(kind)
              .arg(name));
      ASSERT_EQ(id.rows.size(), 1u) << code;
      loaded.table_id = id.rows[0][0].toInt();
      Open_Rows(state, loaded);
      Load_Rows(state, loaded);
      const TableDefinition standard = Standard(kind);
      for (int p : kPlacements)
        for (int r = 0; r < std::max(standard.Grid(p).Rows(), loaded.Grid(p).Rows()); ++r)
          for (const char* key : {"Satir_Tipi", "Yazilacak", "Satir_Seviyesi", "Hesap_Karakteri",
                                  "MHesap_KodBit", "Formul"})
            EXPECT_EQ(loaded.Grid(p).Text(r, key), standard.Grid(p).Text(r, key))
                << code << " " << r << key;
    }
    EXPECT_TRUE(messages.entries.empty());
  }
}
