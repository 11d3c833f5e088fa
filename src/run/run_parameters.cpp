#include "run/run_parameters.h"

#include <QDate>
#include <QDateTime>
#include <optional>

#include "process/app_state.h"
#include "db/query.h"
#include "db/sql_text.h"
#include "run/filter_conditions.h"

namespace {

const QString kFirstMonth = QString::fromUtf8("Rapor Başlangıç Ayı");
const QString kLastMonth = QString::fromUtf8("Rapor Bitiş Ayı");
const QString kOpening = QString::fromUtf8("Açılış");
const QString kNextJanuary = QString::fromUtf8("Ocak ");  // with its trailing blank

QString Sql_Date(const QDate& date) { return date.toString("MM/dd/yyyy"); }

std::optional<QDate> Field_Date(const QVariant& value) {
  if (value.typeId() == QMetaType::QDate || value.typeId() == QMetaType::QDateTime)
    return value.toDate();
  const QDate date = QDate::fromString(value.toString().left(10), Qt::ISODate);
  if (date.isValid()) return date;
  return std::nullopt;
}

// The opening voucher's date: nothing when the ledger has no opening voucher (MIN over no
// line still returns one row, so a NULL minimum is told apart by counting); an empty date
// when opening vouchers exist but carry no date.
std::optional<std::optional<QDate>> Opening_Date(AppState& state) {
  Recordset& rs = state.Rs_Shared;
  Open_Recordset(state.Db(), rs,
                 QString::fromUtf8(
                     "SELECT MIN(Tarih) AS Tarih FROM MUHFISHAR WHERE Islem_Tipi='Açılış Fişi'"));
  if (!rs.Is_Open() || rs.Record_Count() == 0) return std::nullopt;
  rs.Move_First();
  if (!rs.Is_Null("Tarih")) {
    std::optional<QDate> date = Field_Date(rs.Field("Tarih"));
    rs.Close();
    return date;
  }
  Open_Recordset(state.Db(), rs,
                 QString::fromUtf8("SELECT COUNT(*) AS Adet FROM MUHFISHAR WHERE "
                                   "Islem_Tipi='Açılış Fişi'"));
  const bool any = rs.Is_Open() && !rs.Eof() && rs.Number("Adet") > 0;
  rs.Close();
  if (!any) return std::nullopt;
  return std::optional<QDate>();
}

// The ledger's month number for a month name, two digits; `fallback` when the ledger has no
// line in that month.
QString Month_Number(AppState& state, const QString& month, const QString& fallback) {
  Recordset& rs = state.Rs_Shared;
  Open_Recordset(state.Db(), rs,
                 "SELECT MIN(Tarih)AS Tarih ,Ay_Index  FROM MUHFISHAR WHERE AY='" +
                     Sql_Quote_Value(month) + "'" + " GROUP BY Ay_Index");
  if (!rs.Is_Open() || rs.Record_Count() == 0) return fallback;
  rs.Move_First();
  const QString number =
      QString::number(static_cast<int>(rs.Number("Ay_Index"))).rightJustified(2, '0');
  rs.Close();
  return number;
}

std::optional<QString> First_Month_Date(AppState& state, const QString& month, int year) {
  if (month == kOpening) {
    auto opening = Opening_Date(state);
    if (!opening) return std::nullopt;
    return Sql_Date(opening->value_or(state.Fiscal_Year_Start));
  }
  if (month == kNextJanuary) return "01/01/" + QString::number(year + 1);
  return Month_Number(state, month, "01") + "/01/" + QString::number(year);
}

std::optional<QString> Last_Month_Date(AppState& state, const QString& month, int year) {
  if (month == kOpening) {
    auto opening = Opening_Date(state);
    if (!opening || !*opening) return std::nullopt;
    return Sql_Date(**opening);
  }
  if (month == kNextJanuary) return "01/01/" + QString::number(year + 1);
  const QString m = Month_Number(state, month, "12");
  return m + "/" + Month_Last_Day(m, year) + "/" + QString::number(year);
}

void Add_Level_Bound(AppState& state, const QString& caption, const QString& value,
                     const char* op) {
  if (value.isEmpty()) return;
  if (!Is_Sql_Number(value)) {
    state.Error_Text = Not_A_Number_Text(caption, value);
    return;
  }
  state.Date_Filter_Sql +=
      QString(" AND MUHASEBEMALITABLOHAREKET.Satir_Seviyesi") + op + value;
}

}  // namespace

QString Month_Last_Day(const QString& month, int year) {
  const int m = month.toInt();
  switch (m) {
    case 4: case 6: case 9: case 11:
      return "30";
    case 2:
      return QDate::isValid(year, 2, 29) ? "29" : "28";
    default:
      return "31";
  }
}

void Build_Report_Sql(AppState& state, KeyedGrid& grid) {
  state.Report_Sql = state.Base_Sql;
  state.Sql_Has_Where = state.Base_Sql.toUpper().contains("WHERE");
  for (int row = 1; row < grid.Rows(); ++row) {
    if (grid.Text(row, "FiltreLbl").isEmpty()) break;
    if (!Text_As_Boolean(grid.Text(row, "Girsin"))) continue;
    const QString type = grid.Text(row, "Tip");
    const QString alan = grid.Text(row, "Alan");
    const QString ayirac = grid.Text(row, "Ayirac");
    QString& sql = state.Report_Sql;
    if (type == "GR")
      sql = AddRangeCondition(state, sql, grid, row, alan, ayirac);
    else if (type == "TR")
      sql = AddDateRangeCondition(state, sql, grid, row, alan);
    else if (type == "TK")
      sql = AddEqualCondition(state, sql, grid, row, alan, ayirac);
    else if (type == "OZ")
      sql = AddFlagCondition(state, sql, grid, row, alan);
    else if (type == "BTR")
      sql = AddDateUpToCondition(state, sql, grid, row, alan);
    else if (type == "CS")
      sql += BuildMultipleChoiceCondition(state, grid, row, alan, ayirac);
  }
}

void Build_Date_Filter(AppState& state, const KeyedGrid& grid) {
  const int year = state.Fiscal_Year_Start.year();
  state.Date_Filter_Sql = " AND MUHFISHAR.Yil='" + QString::number(year) + "'";
  state.Print_Footnotes = true;
  state.Row_Lines = false;
  for (int row = 1; row < grid.Rows(); ++row) {
    const QString caption = grid.Text(row, "FiltreLbl");
    if (caption.isEmpty()) break;
    const QString start = grid.Text(row, "Baslangic");
    if (caption == kFirstMonth) {
      if (start.isEmpty()) continue;
      if (auto date = First_Month_Date(state, start, year))
        state.Date_Filter_Sql += " AND MUHFISHAR.Tarih>='" + *date + "'";
    } else if (caption == kLastMonth) {
      if (start.isEmpty()) continue;
      if (auto date = Last_Month_Date(state, start, year))
        state.Date_Filter_Sql += " AND MUHFISHAR.Tarih<='" + *date + "'";
    } else if (caption == "Seviye") {
      Add_Level_Bound(state, caption, start, ">=");
      Add_Level_Bound(state, caption, grid.Text(row, "Bitis"), "<=");
    } else if (caption == QString::fromUtf8("Dipnot Basılsın Mı?")) {
      state.Print_Footnotes = start != QString::fromUtf8("Hayır");
    } else if (caption == QString::fromUtf8("Satır Çizgisi Ekle")) {
      state.Row_Lines = start == "Evet";
    }
    // "Hareket Görmüşler" is applied by the run after the calculation.
  }
}

void Parametreleri_Hazirla(AppState& state, KeyedGrid& grid) {
  Build_Report_Sql(state, grid);
  Build_Date_Filter(state, grid);
}

void Isyeri_Filtresi(AppState& state, const KeyedGrid& grid) {
  state.Workplace_Name.clear();
  Recordset& rs = state.Rs_Shared;
  Open_Recordset(state.Db(), rs, "SELECT * FROM ISYERITANIM ");
  if (!rs.Is_Open() || rs.Record_Count() < 2) return;
  for (int row = 1; row < grid.Rows(); ++row) {
    const QString caption = grid.Text(row, "FiltreLbl");
    const QString value = grid.Text(row, "Baslangic");
    if (value == "Hepsi") continue;
    QString column;
    if (caption == QString::fromUtf8("İşyeri Kodu"))
      column = "Isyeri_Kodu";
    else if (caption == QString::fromUtf8("İşyeri Adı"))
      column = "Isyeri_Adi";
    else
      continue;
    Open_Recordset(state.Db(), rs,
                   "SELECT * FROM ISYERITANIM WHERE " + column + "='" + Sql_Quote_Value(value) +
                       "' ");
    if (rs.Is_Open() && !rs.Eof()) state.Workplace_Name = rs.Text("Isyeri_Adi");
  }
  rs.Close();
}
