// The condition builders: the scenario files of tests/cases/filters (rows, base statement,
// expected statement) run through the statement pass, and the pieces with rules of their own.
#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QFile>

#include "process/app_state.h"
#include "run/filter_conditions.h"
#include "run/master_file.h"
#include "run/parameter_preparation.h"
#include "support/case_file.h"

namespace {

struct FilterCase {
  QString base, sql, error;
  std::optional<bool> where;
  std::vector<std::vector<std::pair<QString, QString>>> rows;
  std::vector<std::tuple<int, QString, QString>> cells;
};

QString With_Year(QString text) {
  return text.replace("{YEAR}", QString::number(QDate::currentDate().year()));
}

FilterCase Read_Case(const QString& path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
  FilterCase c;
  for (const QString& line : QString::fromUtf8(file.readAll()).split('\n')) {
    if (line.isEmpty() || line.startsWith('#')) continue;
    const qsizetype colon = line.indexOf(':');
    const QString key = line.left(colon);
    QString value = line.mid(colon + 1);
    if (value.startsWith(' ')) value.remove(0, 1);
    if (key == "base") {
      c.base = value;
    } else if (key == "sql") {
      c.sql = With_Year(value);
    } else if (key == "where") {
      c.where = value == "true";
    } else if (key == "error") {
      c.error = value;
    } else if (key == "row") {
      std::vector<std::pair<QString, QString>> row;
      for (const QString& pair : value.split(';')) {
        if (!pair.trimmed().isEmpty())
          row.emplace_back(pair.section('=', 0, 0).trimmed(), With_Year(pair.section('=', 1)));
      }
      c.rows.push_back(row);
    } else if (key == "cell") {
      const QString where = value.section('=', 0, 0);
      c.cells.emplace_back(where.section(' ', 0, 0).toInt(), where.section(' ', 1),
                           With_Year(value.section('=', 1)));
    } else {
      ADD_FAILURE() << "unknown line in " << path.toStdString() << ": " << line.toStdString();
    }
  }
  return c;
}

}  // namespace

TEST(FilterConditions, Scenarios) {
  const QDir dir(QString(MALITABLO_TEST_CASES) + "/filters");
  const QStringList files = dir.entryList({"*.case"}, QDir::Files, QDir::Name);
  ASSERT_GE(files.size(), 10);
  for (const QString& name : files) {
    SCOPED_TRACE(name.toStdString());
    const FilterCase c = Read_Case(dir.filePath(name));
    KeyedGrid grid = Make_Filter_Grid();
    for (const auto& cells : c.rows) {
      const int row = grid.Add_Row();
      grid.Set_Text(row, "Girsin", "True");
      for (const auto& [key, value] : cells) grid.Set_Text(row, key, value);
    }
    const StatementQuery query = Build_Report_Sql(c.base, grid);
    EXPECT_EQ(query.sql.toStdString(), c.sql.toStdString());
    EXPECT_EQ(query.error.toStdString(), c.error.toStdString());
    if (c.where) {
      EXPECT_EQ(query.has_where, *c.where);
    }
    for (const auto& [row, key, value] : c.cells)
      EXPECT_EQ(grid.Text(row, key).toStdString(), value.toStdString()) << key.toStdString();
  }
}

TEST(FilterConditions, JoinInsertPosition) {
  const QString sql = "SELECT * FROM A INNER JOIN K ON (A.ID=K.ID AND (K.T IN (1,2))) WHERE x";
  JoinInsertPosition at = FindJoinInsertPosition(sql, "K.Kod");
  EXPECT_EQ(at.mode, 2);
  EXPECT_EQ(sql.mid(at.position), ") WHERE x");
  EXPECT_EQ(FindJoinInsertPosition(sql, "Kod").mode, 1);  // no table
  EXPECT_EQ(FindJoinInsertPosition("SELECT * FROM A JOIN K ON A.ID=K.ID", "K.Kod").mode, 1);
  // An ON clause that is never closed ends at the end of the statement.
  at = FindJoinInsertPosition("SELECT * FROM A JOIN K ON (A.ID=K.ID", "K.Kod");
  EXPECT_EQ(at.mode, 2);
  EXPECT_EQ(at.position, 36);
}

TEST(FilterConditions, RowsAsBooleanAndDates) {
  KeyedGrid grid = Make_Filter_Grid();
  const int row = grid.Add_Row();
  for (const QStringList& c : Case_Rows("filters/values.txt")) {
    ASSERT_EQ(c.size(), 3) << c.join('|').toStdString();
    grid.Set_Text(row, "Baslangic", c[1]);
    const bool got = c[0] == "RowAsBoolean"      ? RowAsBoolean(grid, row)
                     : c[0] == "Text_As_Boolean" ? Text_As_Boolean(c[1])
                                                 : Is_Valid_Date_Text(c[1]);
    EXPECT_EQ(got, c[2] == "yes") << c.join('|').toStdString();
  }
}
