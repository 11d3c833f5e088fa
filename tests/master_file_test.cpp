// The master file: reading its statements and filter lines, the damaged files, and the file
// shipped beside the program, run against a company database.
#include <gtest/gtest.h>

#include <QFile>

#include "db/query.h"
#include "db/recordset.h"
#include "db/suite_text.h"
#include "process/program_end.h"
#include "run/filter_conditions.h"
#include "run/master_file.h"
#include "run/parameter_preparation.h"
#include "support/test_suite.h"

namespace {

void Write(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

QString Read(const QString& text, QString& base, KeyedGrid& grid) {
  QString group;
  return ReadMasterText(text, base, group, grid);
}

}  // namespace

TEST(MasterFile, ReadsStatementsAndFilterLines) {
  TestSuite suite;
  const QString text = QString::fromUtf8(
      "<TEMELSQL>\r\nSELECT *\r\nFROM T \r\nWHERE 1=1\r\n<GROUPSQL>\r\nGROUP\r\nBY X\r\n"
      "<FILTRE>\r\n  Tablo Kodu;A;B;  \r\n\r\nİşyeri Adı;Hepsi;;;ISYERITANIM.Isyeri_Adi;Hepsi|Merkez;BL;"
      "False;x,y;x,;\r\n<END>\r\nignored line without fields\r\n");
  const QString path = suite.state.Program_Folder + "/Master.mtr";
  Write(path, Encode_Windows1254(text));
  KeyedGrid grid = Make_Filter_Grid();
  EXPECT_EQ(ReadMasterFile(suite.state, grid), "");
  // Lines are joined as they stand: a line without its own blank runs into the next.
  EXPECT_EQ(suite.state.Base_Sql, "SELECT *FROM T WHERE 1=1");
  EXPECT_EQ(suite.state.Group_Sql, "GROUPBY X");
  ASSERT_EQ(grid.Rows(), 4);
  EXPECT_EQ(grid.Text(0, "Baslangic"), QString::fromUtf8("Başlangıç Değeri"));
  EXPECT_EQ(grid.Text(1, "FiltreLbl"), "Tablo Kodu");
  EXPECT_EQ(grid.Text(1, "Bitis"), "B");
  for (int col = 3; col < grid.Cols(); ++col) EXPECT_EQ(grid.Text(1, col), "");
  EXPECT_EQ(grid.Text(2, "FiltreLbl"), "");  // a blank line is an empty row
  EXPECT_EQ(grid.Text(3, "FiltreLbl"), QString::fromUtf8("İşyeri Adı"));  // read as Windows-1254
  EXPECT_EQ(grid.Text(3, "Secenek"), "Hepsi|Merkez");
  EXPECT_EQ(grid.Text(3, "CoktanSecmeSecim"), "x,");

  // The same file in UTF-8 reads the same.
  Write(path, text.toUtf8());
  KeyedGrid utf8 = Make_Filter_Grid();
  EXPECT_EQ(ReadMasterFile(suite.state, utf8), "");
  EXPECT_EQ(utf8.Text(3, "FiltreLbl"), QString::fromUtf8("İşyeri Adı"));
}

TEST(MasterFile, DamagedFiles) {
  QString base;
  KeyedGrid grid = Make_Filter_Grid();
  // A wrong first line is reported after the whole file has been read.
  EXPECT_EQ(Read("<TEMEL>\nS\n<GROUPSQL>\n<FILTRE>\nA;\n<END>\n", base, grid),
            Master_Base_Sql_Error());
  EXPECT_EQ(base, "S");
  EXPECT_EQ(grid.Rows(), 2);

  // Eleven fields, a field without its ";", a lower-case marker: the row is taken out and
  // reading stops there.
  for (const char* bad : {"1;2;3;4;5;6;7;8;9;10;11;", "A;B", "<end>"}) {
    KeyedGrid g = Make_Filter_Grid();
    const QString text =
        QString("<TEMELSQL>\n<GROUPSQL>\n<FILTRE>\nok;\n") + bad + "\nlater;\n<END>\n";
    EXPECT_EQ(Read(text, base, g), Master_Filter_Error()) << bad;
    EXPECT_EQ(g.Rows(), 2) << bad;
  }
  KeyedGrid ten = Make_Filter_Grid();
  EXPECT_TRUE(Filtreye_Ekle(ten, "1;2;3;4;5;6;7;8;9;10;"));
  EXPECT_EQ(ten.Text(1, "CoktanSecmeSecim"), "10");

  // A text that ends before "<END>", in any section.
  for (const char* cut : {"", "<TEMELSQL>\nS", "<TEMELSQL>\n<GROUPSQL>\n",
                          "<TEMELSQL>\n<GROUPSQL>\n<FILTRE>\nA;\n"}) {
    KeyedGrid g = Make_Filter_Grid();
    EXPECT_EQ(Read(cut, base, g), Master_Filter_Error()) << cut;
  }

  // A missing file: its message with the critical icon, then the program ends.
  TestSuite suite;
  KeyedGrid g = Make_Filter_Grid();
  EXPECT_EQ(ReadMasterFile(suite.state, g), Master_Filter_Error());
  EXPECT_THROW(Load_Master_File(suite.state, g), ProgramEnd);
  ASSERT_EQ(suite.messages.entries.size(), 1u);
  EXPECT_EQ(suite.messages.entries[0].kind, MessageKind::Critical);
  EXPECT_EQ(suite.messages.entries[0].text, Master_Filter_Error());
}

TEST(MasterFile, ShippedFileSelectsTheChosenStatementInSaveOrder) {
  TestSuite suite;
  KeyedGrid grid = Make_Filter_Grid();
  const QString shipped = QString(MALITABLO_PROGRAM_DIR) + "/Master.mtr";
  QFile file(shipped);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.readAll().contains("Ba\xfelang\xfd\xe7"));  // shipped in Windows-1254
  // The runs on the demo suite use its captions and month lists.
  ASSERT_EQ(ReadMasterFile(suite.state, grid, shipped), "");

  // Two statements, rows saved out of order; the run picks one by its code.
  suite.Exec(
      "INSERT INTO MUHASEBEMALITABLOKART (Rapor_ID, Rapor_Kodu, Rapor_Adi, Rapor_Tipi) "
      "VALUES (1, 'GT', 'Gelir Tablosu', 2), (2, 'O''GT', 'Özet', 2), (3, 'B', 'Bilanço', 1)");
  suite.Exec(
      "INSERT INTO MUHASEBEMALITABLOHAREKET (Rapor_ID, Rapor_Yeri, Satir_No, Satir_Tipi, Satir_Kodu, "
      "Satir_Adi, Bakiye) VALUES (1, 3, 1, 10, 'D1', 'Dipnot', 0), (1, 1, 2, 2, 'A2', 'İkinci', 5), "
      "(1, 1, 1, 1, 'A1', 'Birinci', 0), (2, 1, 1, 1, 'X', 'Öbür', 1), (1, 2, 1, 2, 'P1', 'Pasif', 3), "
      "(3, 1, 1, 1, 'Y', 'Bilanço satırı', 1)");
  suite.Connect();
  auto codes = [&](const QString& sql) {
    QStringList out;
    Recordset rs;
    Open_Recordset(suite.state.Db(), rs, sql);
    for (; rs.Is_Open() && !rs.Eof(); rs.Move_Next()) out << rs.Text("Satir_Kodu");
    return out;
  };
  const int table = grid.Find_Row("FiltreLbl", "Tablo Kodu");
  grid.Set_Text(table, "Baslangic", "GT");
  QString sql = Build_Report_Sql(suite.state.Base_Sql, grid).sql;
  EXPECT_FALSE(sql.toUpper().contains("WHERE"));
  EXPECT_EQ(codes(sql), QStringList({"A1", "A2", "P1", "D1"}));
  grid.Set_Text(table, "Baslangic", "O'GT");
  EXPECT_EQ(codes(Build_Report_Sql(suite.state.Base_Sql, grid).sql), QStringList({"X"}));
  EXPECT_TRUE(suite.messages.entries.empty());
}
