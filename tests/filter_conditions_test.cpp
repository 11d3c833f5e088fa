// The condition builders: the scenario files of tests/cases/filters (rows, base statement,
// expected statement) run through the statement pass, the cell texts read as yes, no and dates
// (tests/cases/filter_values), and the pieces with rules of their own.
#include <gtest/gtest.h>

#include <QDate>

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

FilterCase Read_Case(const std::string& file) {
  FilterCase c;
  for (const CaseLine& line : Read_Case_File(file)) {
    const QString& key = line.key;
    const QString& value = line.text;
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
      ADD_FAILURE() << "unknown key: " << line.Where();
    }
  }
  return c;
}

using FilterScenarios = CaseFileTest;

TEST_P(FilterScenarios, BuildTheExpectedStatement) {
  const FilterCase c = Read_Case(GetParam());
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

INSTANTIATE_TEST_SUITE_P(filters, FilterScenarios, testing::ValuesIn(Case_Files("filters")),
                         Case_File_Name);

using FilterValues = CaseFileTest;

TEST_P(FilterValues, ReadAsYesOrNo) {
  KeyedGrid grid = Make_Filter_Grid();
  const int row = grid.Add_Row();
  for (const CaseLine& c : Read_Case_File(GetParam())) {
    SCOPED_TRACE(c.Where());
    ASSERT_EQ(c.fields.size(), 2);
    const QString& text = c.fields[0];
    grid.Set_Text(row, "Baslangic", text);
    bool got = false;
    if (c.key == "RowAsBoolean") {
      got = RowAsBoolean(grid, row);
    } else if (c.key == "Text_As_Boolean") {
      got = Text_As_Boolean(text);
    } else if (c.key == "Is_Valid_Date_Text") {
      got = Is_Valid_Date_Text(text);
    } else {
      FAIL() << "unknown key";
    }
    EXPECT_EQ(got, c.fields[1] == "yes");
  }
}

INSTANTIATE_TEST_SUITE_P(filter_values, FilterValues,
                         testing::ValuesIn(Case_Files("filter_values")), Case_File_Name);

}  // namespace

// The scenarios cover every kind of filter row.
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
