// The per-row statements over the ledger, as the calculation has always sent them.
#include "calc/row_sums.h"
#include "db/query.h"
#include "db/recordset.h"
#include "db/sql_text.h"
#include "model/financial_table.h"

namespace {

const QString kRow = "MUHASEBEMALITABLOHAREKET";
// The three ledger sums every aggregating query returns.
const QString kSums =
    "SUM(MUHFISHAR.BTutar) as Borc, SUM(MUHFISHAR.ATutar) as Alacak ,SUM(MUHFISHAR.BTutar-MUHFISHAR.ATutar)AS Bakiye";

// A result row of an aggregating query; it came back, so it had lines.
SummedRow Summed(const Recordset& rs) {
  SummedRow row;
  if (rs.Has_Field("Satir_ID")) row.satir_id = rs.Field("Satir_ID").toLongLong();
  row.code = rs.Text("Satir_Kodu").trimmed();
  row.calc_type = rs.Field("Hesaplama_Tipi");
  row.balance_type = rs.Field("Bakiye_Tipi");
  row.character = rs.Field("Hesap_Karakteri");
  row.sums = Line_Sums(rs, 1);
  return row;
}

class RowSumsByQuery : public RowSums {
 public:
  RowSumsByQuery(const DbSession& db, const QString& ledger_condition)
      : db_(db), ledger_condition_(ledger_condition) {}

  std::vector<SummedRow> Group_Contributions(const RowRef& group) override {
    Open_Recordset(db_, rs_,
                   "SELECT " + kRow + ".Satir_Kodu, " + kRow + ".Hesaplama_Tipi, " + kRow +
                       ".Bakiye_Tipi, " + kRow + ".Hesap_Karakteri, " + kSums + " " + Joins(group) +
                       ledger_condition_ + "  GROUP BY " + kRow + ".Satir_Kodu, " + kRow +
                       ".Hesaplama_Tipi, " + kRow + ".Bakiye_Tipi, " + kRow +
                       ".Hesap_Karakteri ORDER BY  " + kRow + ".Satir_Kodu");
    return All_Summed();
  }

  std::vector<ListedRange> Ranges_Under(const RowRef& group) override {
    Open_Recordset(db_, rs_,
                   "SELECT " + kRow + ".Satir_Kodu, " + kRow + ".MHesap_KodBas," + kRow +
                       ".MHesap_KodBit," + kRow + ".Hesaplama_Tipi, " + kRow + ".Bakiye_Tipi, " +
                       kRow + ".Hesap_Karakteri " + Joins(group) + "  AND " + kRow +
                       ".Satir_Tipi=" + QString::number(kRowAccountRange) + " ORDER BY " + kRow +
                       ".Satir_Kodu");
    std::vector<ListedRange> ranges;
    for (; !rs_.Eof(); rs_.Move_Next())
      ranges.push_back({rs_.Text("Satir_Kodu").trimmed(), rs_.Text("MHesap_KodBas").trimmed(),
                        rs_.Text("MHesap_KodBit").trimmed()});
    return ranges;
  }

  std::vector<SummedRow> Prefix_Rows(const RowRef& row) override {
    Open_Recordset(db_, rs_,
                   "SELECT " + kRow + ".Satir_ID, " + kRow + ".Satir_Kodu, " + kRow +
                       ".Hesaplama_Tipi, " + kRow + ".Bakiye_Tipi, " + kRow +
                       ".Hesap_Karakteri,  " + kRow + ".MHesap_KodBas, " + kSums + " FROM " + kRow +
                       " " + " " + Prefix_Rows_With_Lines(row) + ledger_condition_ + " GROUP BY " +
                       kRow + ".Satir_ID, " + kRow + ".Satir_Kodu, " + kRow + ".Hesaplama_Tipi, " +
                       kRow + ".Bakiye_Tipi, " + kRow + ".Hesap_Karakteri," + " " + kRow +
                       ".MHesap_KodBas ");
    return All_Summed();
  }

  // The range query returns one row for every range row of the place that overlaps the range
  // asked for; the asking row's own is picked by its key or by its code and start code.
  std::optional<SummedRow> Own_Range(const RowRef& place, const QString& from, const QString& to,
                                     qint64 satir_id, const QString& code) override {
    Open_Recordset(db_, rs_, Range_Query(place, from, to));
    for (; !rs_.Eof(); rs_.Move_Next()) {
      const bool own = satir_id != 0 ? rs_.Field("Satir_ID").toLongLong() == satir_id
                                     : rs_.Text("Satir_Kodu").trimmed() == code &&
                                           rs_.Text("MHesap_KodBas").trimmed() == from;
      if (own) return Summed(rs_);
    }
    return std::nullopt;
  }

 private:
  // The joins from the rows under a row's code prefix to their main accounts' lines.
  static QString Prefix_Rows_With_Lines(const RowRef& row) {
    return "LEFT JOIN MUHKART ON(" + kRow +
           ".MHesap_KodBas=MUHKART.MHesap_Kod) LEFT JOIN MUHFISHAR "
           "ON(MUHKART.MHesap_ID=MUHFISHAR.Ana_Hesap_ID)  WHERE  " +
           Like_Prefix_Condition(kRow + ".Satir_Kodu", row.code) + " AND " + kRow +
           ".Rapor_Yeri=" + row.place + " AND " + kRow + ".Rapor_ID=" + row.report;
  }
  static QString Joins(const RowRef& group) {
    return " FROM " + kRow + " " + Prefix_Rows_With_Lines(group);
  }

  QString Range_Query(const RowRef& place, const QString& from, const QString& to) const {
    const QString quoted_from = Sql_Quote_Value(from), quoted_to = Sql_Quote_Value(to);
    return "SELECT " + kRow + ".Satir_ID, " + kRow + ".Satir_Tipi, " + kRow + ".Satir_Kodu, " +
           kRow + ".Hesaplama_Tipi, " + kRow + ".Bakiye_Tipi, " + kRow + ".Hesap_Karakteri,  " +
           kRow + ".MHesap_KodBas, " + kSums + " FROM " + kRow + " " +
           "  LEFT JOIN MUHFISHAR ON( " + kRow + ".MHesap_KodBas<=MUHFISHAR.MHesap_Kod AND " +
           kRow + ".MHesap_KodBit >=MUHFISHAR.MHesap_Kod) WHERE  MUHFISHAR.MHesap_Kod>='" +
           quoted_from + "'" + "AND MUHFISHAR.MHesap_Kod<='" + quoted_to + "'" + " AND " + kRow +
           ".Rapor_Yeri=" + place.place + " AND " + kRow + ".Rapor_ID=" + place.report + " AND " +
           kRow + ".Satir_Tipi=" + QString::number(kRowAccountRange) + " " + ledger_condition_ +
           " GROUP BY " + kRow + ".Satir_ID, " + kRow + ".Satir_Tipi, " + kRow + ".Satir_Kodu, " +
           kRow + ".Hesaplama_Tipi, " + kRow + ".Bakiye_Tipi, " + kRow + ".Hesap_Karakteri," + " " +
           kRow + ".MHesap_KodBas ";
  }

  std::vector<SummedRow> All_Summed() {
    std::vector<SummedRow> rows;
    for (; !rs_.Eof(); rs_.Move_Next()) rows.push_back(Summed(rs_));
    return rows;
  }

  const DbSession& db_;
  const QString ledger_condition_;
  Recordset rs_;
};

}  // namespace

std::unique_ptr<RowSums> Row_Sums_By_Query(const DbSession& db, const QString& ledger_condition) {
  return std::make_unique<RowSumsByQuery>(db, ledger_condition);
}
