// A small computed statement as report rows, shared by the report layout and export tests:
// a group, account rows, a subtotal, formulas of each sign, a zero row and a grand total, on
// the main side and in the footnotes.
#pragma once

#include <QString>

#include "report/report_data.h"
#include "report/statement.h"

inline ReportRows Statement_Columns() {
  return ReportRows(
      {"Rapor_Yeri", "Satir_Adi", "Bakiye", "BTutar", "ATutar", "Satir_Tipi", "Satir_Seviyesi"});
}

inline void Add_Statement_Row(ReportRows& rows, int yeri, const QString& adi, double bakiye,
                              int tipi, int seviye) {
  rows.Add_Row({yeri, adi, bakiye, 0.0, 0.0, tipi, seviye});
}

inline ReportRows Sample_Statement() {
  ReportRows rows = Statement_Columns();
  Add_Statement_Row(rows, 1, "A. BRÜT SATIŞLAR", 1250000.5, 1, 2);
  Add_Statement_Row(rows, 1, "Yurt İçi Satışlar", 1000000.25, 2, 3);
  Add_Statement_Row(rows, 1, "Yurt Dışı Satışlar", 250000.25, 3, 3);
  Add_Statement_Row(rows, 1, "Diğer Gelirler", 0, 2, 3);
  Add_Statement_Row(rows, 1, "Satış Toplamı", 1250000.5, 4, 3);
  Add_Statement_Row(rows, 1, "Brüt Satış Kârı", 987.654, 11, 3);
  Add_Statement_Row(rows, 1, "Faaliyet Zararı", -45.5, 11, 3);
  Add_Statement_Row(rows, 1, "DÖNEM NET KÂRI", 942.15, 5, 2);
  Add_Statement_Row(rows, 3, "Şüpheli alacaklar dipnotu", 12.5, 10, 3);
  return rows;
}

// The statement of `rows` under a heading, amounts in `amount_format`.
inline Statement Statement_Of(const ReportDataSource& rows, const QString& company,
                              const QString& title, const QString& period = {},
                              const QString& amount_format = "#,##0.00") {
  Statement statement;
  statement.heading.company = company;
  statement.heading.title = title;
  statement.heading.period = period;
  statement.rows = Statement_Rows(rows);
  statement.style.amount_format = amount_format;
  return statement;
}
