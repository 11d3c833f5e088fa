// Report rows in memory and their filling from the recordset layer.
#include "report/report_data.h"

#include "db/query.h"
#include "db/recordset.h"
#include "process/app_state.h"

void ReportRows::Add_Row(std::vector<QVariant> values) {
  values.resize(static_cast<size_t>(columns_.size()));
  rows_.push_back(std::move(values));
}

QVariant ReportRows::Value(int row, const QString& column) const {
  if (row < 0 || row >= Row_Count()) return {};
  for (qsizetype i = 0; i < columns_.size(); ++i) {
    if (columns_.at(i).compare(column, Qt::CaseInsensitive) == 0) {
      return rows_[static_cast<size_t>(row)][static_cast<size_t>(i)];
    }
  }
  return {};
}

ReportRows Report_Rows(Recordset& rs) {
  if (!rs.Is_Open()) return {};
  ReportRows rows(rs.Field_Names());
  if (rs.Record_Count() == 0) return rows;
  for (rs.Move_First(); !rs.Eof(); rs.Move_Next()) {
    std::vector<QVariant> values;
    for (const QString& name : rows.Columns()) values.push_back(rs.Field(name));
    rows.Add_Row(std::move(values));
  }
  return rows;
}

ReportRows Report_Rows(AppState& state, const QString& sql) {
  Recordset rs;
  Open_Recordset(state.Db(), rs, sql);
  return Report_Rows(rs);
}
