// The per-row statements over the ledger: every row's definition read by its own statement and
// every row's lines summed by another, so the database itself adds each question's lines.
#include <algorithm>

#include "calc/natural_side.h"
#include "calc/row_sums.h"
#include "db/query.h"
#include "db/recordset.h"
#include "db/sql_text.h"
#include "model/financial_table.h"

namespace {

const QString kRow = "MUHASEBEMALITABLOHAREKET";
const QString kColumns =
    "Satir_ID, Satir_Tipi, Satir_Kodu, Hesaplama_Tipi, Bakiye_Tipi, "
    "Hesap_Karakteri, Ters_Bakiye, MHesap_KodBas, MHesap_KodBit";

// A definition row as a row to sum, without lines yet.
SummedRow Definition(const Recordset& rs) {
  SummedRow row;
  row.satir_id = rs.Field("Satir_ID").toLongLong();
  row.type = Code_Number(rs.Field("Satir_Tipi"));
  row.code = rs.Text("Satir_Kodu").trimmed();
  row.calc_type = rs.Field("Hesaplama_Tipi");
  row.balance_type = rs.Field("Bakiye_Tipi");
  row.character = rs.Field("Hesap_Karakteri");
  row.listing = Code_Number(rs.Field("Ters_Bakiye"));
  row.from = rs.Text("MHesap_KodBas").trimmed();
  row.to = rs.Text("MHesap_KodBit").trimmed();
  return row;
}

QString Quoted(const QString& text) { return "'" + Sql_Quote_Value(text) + "'"; }

class RowSumsByQuery : public RowSums {
 public:
  RowSumsByQuery(const DbSession& db, const QString& ledger_condition)
      : db_(db), ledger_condition_(ledger_condition) {}

  std::vector<SummedRow> Rows_Under(const RowRef& ref) override {
    Open_Recordset(db_, rs_,
                   "SELECT " + kColumns + " FROM " + kRow + " WHERE " +
                       Like_Prefix_Condition("Satir_Kodu", ref.code) + " AND Rapor_Yeri=" +
                       ref.place + " AND Rapor_ID=" + ref.report + " ORDER BY Satir_ID");
    std::vector<SummedRow> rows;
    for (; !rs_.Eof(); rs_.Move_Next()) rows.push_back(Definition(rs_));
    // In code order, compared as text; rows of one code in key order.
    std::stable_sort(rows.begin(), rows.end(), [](const SummedRow& a, const SummedRow& b) {
      return a.code.toUtf8() < b.code.toUtf8();
    });
    for (SummedRow& row : rows)
      if (row.type != kRowAccountRange) row.sums = Account_Sums(row.from);
    return rows;
  }

  std::optional<SummedRow> Own_Range(const RowRef& place, const QString& from, const QString& to,
                                     qint64 satir_id, const QString& code) override {
    if (to.isEmpty()) return std::nullopt;
    Open_Recordset(db_, rs_,
                   "SELECT " + kColumns + " FROM " + kRow + " WHERE Rapor_Yeri=" + place.place +
                       " AND Rapor_ID=" + place.report +
                       " AND Satir_Tipi=" + QString::number(kRowAccountRange) +
                       (satir_id != 0 ? " AND Satir_ID=" + QString::number(satir_id) : QString()) +
                       " ORDER BY Satir_ID");
    std::vector<SummedRow> candidates;
    for (; !rs_.Eof(); rs_.Move_Next()) {
      SummedRow row = Definition(rs_);
      if (satir_id == 0 && (row.code != code || row.from != from)) continue;
      if (!row.to.isEmpty()) candidates.push_back(std::move(row));
    }
    for (SummedRow& row : candidates) {
      const QByteArray low = std::max(from.toUtf8(), row.from.toUtf8());
      const QByteArray end = std::min(Range_End(to).toUtf8(), Range_End(row.to).toUtf8());
      if (end <= low) continue;
      row.sums = Sums("MUHFISHAR.MHesap_Kod>=" + Quoted(QString::fromUtf8(low)) +
                      " AND MUHFISHAR.MHesap_Kod<" + Quoted(QString::fromUtf8(end)));
      if (row.sums.lines > 0) return row;
    }
    return std::nullopt;
  }

 private:
  // The lines of an account: a main account's by the ledger's main-account id, any other
  // account's by the line's code, the code itself or the code followed by "." and more.
  LineSums Account_Sums(const QString& account) {
    if (account.isEmpty()) return {};
    if (Is_Main_Account_Code(account))
      return Sums(
          "MUHFISHAR.Ana_Hesap_ID IN (SELECT MUHKART.MHesap_ID FROM MUHKART WHERE "
          "MUHKART.MHesap_Kod=" +
          Quoted(account) + ")");
    return Sums("(MUHFISHAR.MHesap_Kod=" + Quoted(account) +
                " OR (MUHFISHAR.MHesap_Kod>=" + Quoted(account + ".") +
                " AND MUHFISHAR.MHesap_Kod<" + Quoted(account + "/") + "))");
  }

  LineSums Sums(const QString& condition) {
    Open_Recordset(db_, rs_,
                   QString("SELECT ") + kLedgerSums + " FROM MUHFISHAR WHERE " + condition +
                       ledger_condition_);
    if (rs_.Eof()) return {};
    return Line_Sums(rs_, rs_.Field("Adet").toLongLong());
  }

  const DbSession& db_;
  const QString ledger_condition_;
  Recordset rs_;
};

}  // namespace

std::unique_ptr<RowSums> Row_Sums_By_Query(const DbSession& db, const QString& ledger_condition) {
  return std::make_unique<RowSumsByQuery>(db, ledger_condition);
}
