// The period ledger: the run's voucher lines summed once per main account and account code (read
// here, or summed from a reading by day, or from another database's ledger with its main
// accounts matched to the statement's by code), and the statement's rows read once per table; every
// question of the calculation is then answered from these with the rules of the per-row statements:
// a row takes the lines whose main account is the account coded as its MHesap_KodBas; a code prefix
// matches as LIKE does (ASCII letters without case); codes and ranges compare byte by byte; rows
// without lines in the period do not come back.
#include <algorithm>
#include <map>
#include <unordered_map>

#include "calc/natural_side.h"
#include "calc/row_sums.h"
#include "db/query.h"
#include "db/recordset.h"
#include "model/financial_table.h"

namespace {

// Lines of one main account and one account code.
struct LedgerEntry {
  QByteArray code;  // MHesap_Kod as bytes; entries without a code are only found by account
  QString code_text;
  LineSums sums;
};

// A statement row with the ids of the accounts coded as its MHesap_KodBas.
struct IndexedRow {
  qint64 satir_id = 0;
  double place = 0;
  bool has_place = false;
  int kind = 0;
  bool has_code = false;
  QString raw_code;        // Satir_Kodu as stored
  QByteArray code_bytes;   // the same as bytes, the order of the statements' ORDER BY
  QByteArray folded;       // with ASCII letters lowered, for the prefix match
  QString code, from, to;  // Satir_Kodu, MHesap_KodBas and MHesap_KodBit trimmed
  QVariant calc_type, balance_type, character;
  int listing = 0;
  std::vector<qint64> account_ids;
};

class PeriodLedger : public RowSums {
 public:
  PeriodLedger(const DbSession& db, std::vector<LedgerGroup> groups, bool with_accounts)
      : db_(db), with_accounts_(with_accounts) {
    entries_.reserve(groups.size());
    for (LedgerGroup& group : groups) {
      LedgerEntry e;
      e.sums = group.sums;
      if (group.code) {
        e.code_text = std::move(*group.code);
        e.code = e.code_text.toUtf8();
      }
      entries_.push_back(std::move(e));
      if (group.account) by_account_[*group.account].push_back(entries_.size() - 1);
      if (group.code) by_code_.push_back(entries_.size() - 1);
    }
    std::sort(by_code_.begin(), by_code_.end(),
              [this](size_t a, size_t b) { return entries_[a].code < entries_[b].code; });
  }

  std::vector<SummedRow> Rows_Under(const RowRef& ref) override {
    std::vector<SummedRow> rows;
    for (const IndexedRow* row : Under_Prefix(ref)) {
      SummedRow summed = Row_Fields(*row);
      if (row->kind != kRowAccountRange) Add_Account_Lines(summed, *row);
      rows.push_back(std::move(summed));
    }
    return rows;
  }

  std::vector<TakenAccount> Period_Accounts() const override {
    std::vector<TakenAccount> accounts;
    for (size_t i : by_code_)
      Add_Taken_Account(accounts, {entries_[i].code_text, entries_[i].sums});
    return accounts;
  }

  std::optional<SummedRow> Own_Range(const RowRef& place, const QString& from, const QString& to,
                                     qint64 satir_id, const QString& code) override {
    if (to.isEmpty()) return std::nullopt;
    const QByteArray asked_from = from.toUtf8(), asked_end = Range_End(to).toUtf8();
    const TableRows& table = Table(place.report);
    std::vector<size_t> candidates;  // range rows, in key order
    if (satir_id != 0) {
      const auto at =
          std::lower_bound(table.by_id.begin(), table.by_id.end(), satir_id,
                           [](const IndexedRow& row, qint64 id) { return row.satir_id < id; });
      if (at != table.by_id.end() && at->satir_id == satir_id)
        candidates.push_back(at - table.by_id.begin());
    } else if (const auto found = table.ranges_by_code.find(code);
               found != table.ranges_by_code.end()) {
      candidates = found->second;
    }
    for (size_t i : candidates) {
      const IndexedRow& row = table.by_id[i];
      if (row.kind != kRowAccountRange || !In_Place(row, place)) continue;
      if (satir_id == 0 && row.from != from) continue;
      if (row.to.isEmpty()) continue;
      SummedRow summed = Row_Fields(row);
      Add_Code_Range(summed, std::max(asked_from, row.from.toUtf8()),
                     std::min(asked_end, Range_End(row.to).toUtf8()));
      if (summed.sums.lines > 0) return summed;
    }
    return std::nullopt;
  }

 private:
  struct TableRows {
    std::vector<IndexedRow> by_id;  // ordered by Satir_ID
    std::vector<size_t> by_folded;  // indexes into by_id, ordered by the folded code
    std::map<QString, std::vector<size_t>> ranges_by_code;  // range rows by trimmed code
  };

  const TableRows& Table(const QString& report) {
    auto found = tables_.find(report);
    if (found != tables_.end()) return found->second;
    TableRows& table = tables_[report];
    Recordset rs;
    Open_Recordset(db_, rs,
                   "SELECT H.Satir_ID, H.Rapor_Yeri, H.Satir_Tipi, H.Satir_Kodu, "
                   "H.Hesaplama_Tipi, H.Bakiye_Tipi, H.Hesap_Karakteri, H.Ters_Bakiye, "
                   "H.MHesap_KodBas, "
                   "H.MHesap_KodBit, MUHKART.MHesap_ID FROM MUHASEBEMALITABLOHAREKET H LEFT JOIN "
                   "MUHKART ON(H.MHesap_KodBas=MUHKART.MHesap_Kod) WHERE H.Rapor_ID=" +
                       report + " ORDER BY H.Satir_ID");
    for (; !rs.Eof(); rs.Move_Next()) {
      const qint64 id = rs.Field("Satir_ID").toLongLong();
      if (table.by_id.empty() || table.by_id.back().satir_id != id) {
        IndexedRow row;
        row.satir_id = id;
        row.has_place = !rs.Is_Null("Rapor_Yeri");
        row.place = rs.Number("Rapor_Yeri");
        row.kind = Code_Number(rs.Field("Satir_Tipi"));
        if (!rs.Is_Null("Satir_Kodu")) {
          row.has_code = true;
          row.raw_code = rs.Text("Satir_Kodu");
          row.code_bytes = row.raw_code.toUtf8();
          row.folded = row.code_bytes.toLower();
          row.code = row.raw_code.trimmed();
        }
        row.calc_type = rs.Field("Hesaplama_Tipi");
        row.balance_type = rs.Field("Bakiye_Tipi");
        row.character = rs.Field("Hesap_Karakteri");
        row.listing = Code_Number(rs.Field("Ters_Bakiye"));
        row.from = rs.Text("MHesap_KodBas").trimmed();
        row.to = rs.Text("MHesap_KodBit").trimmed();
        table.by_id.push_back(std::move(row));
      }
      if (!rs.Is_Null("MHesap_ID"))
        table.by_id.back().account_ids.push_back(rs.Field("MHesap_ID").toLongLong());
    }
    for (size_t i = 0; i < table.by_id.size(); ++i) {
      const IndexedRow& row = table.by_id[i];
      if (row.has_code) table.by_folded.push_back(i);
      if (row.kind == kRowAccountRange) table.ranges_by_code[row.code].push_back(i);
    }
    std::sort(table.by_folded.begin(), table.by_folded.end(), [&table](size_t a, size_t b) {
      return table.by_id[a].folded < table.by_id[b].folded;
    });
    return table;
  }

  static bool In_Place(const IndexedRow& row, const RowRef& ref) {
    return row.has_place && row.place == ref.place.toDouble();
  }

  // The rows of the table and place whose code begins with the row's code, in code order.
  std::vector<const IndexedRow*> Under_Prefix(const RowRef& ref) {
    const TableRows& table = Table(ref.report);
    const QByteArray prefix = ref.code.toUtf8().toLower();
    auto first = std::lower_bound(table.by_folded.begin(), table.by_folded.end(), prefix,
                                  [&table](size_t i, const QByteArray& p) {
                                    return table.by_id[i].folded < p;
                                  });
    std::vector<const IndexedRow*> rows;
    for (auto it = first; it != table.by_folded.end(); ++it) {
      const IndexedRow& row = table.by_id[*it];
      if (!row.folded.startsWith(prefix)) break;
      if (In_Place(row, ref)) rows.push_back(&row);
    }
    std::stable_sort(rows.begin(), rows.end(), [](const IndexedRow* a, const IndexedRow* b) {
      return a->code_bytes < b->code_bytes;
    });
    return rows;
  }

  static SummedRow Row_Fields(const IndexedRow& row) {
    SummedRow summed;
    summed.satir_id = row.satir_id;
    summed.code = row.code;
    summed.calc_type = row.calc_type;
    summed.balance_type = row.balance_type;
    summed.character = row.character;
    summed.type = row.kind;
    summed.listing = row.listing;
    summed.from = row.from;
    summed.to = row.to;
    return summed;
  }

  // The lines of the row's account: a main account's through its id(s), any other account's
  // by its code and the codes under it.
  void Add_Account_Lines(SummedRow& summed, const IndexedRow& row) const {
    if (row.from.isEmpty()) return;
    if (!Is_Main_Account_Code(row.from)) {
      const QByteArray code = row.from.toUtf8();
      Add_Code_Range(summed, code, code + '\x01');  // the code itself
      Add_Code_Range(summed, code + '.', code + '/');
      return;
    }
    for (qint64 id : row.account_ids) {
      auto found = by_account_.find(id);
      if (found == by_account_.end()) continue;
      for (size_t i : found->second) Add_Entry(summed, entries_[i]);
    }
  }

  // The entries whose code lies in from..end (end left out).
  void Add_Code_Range(SummedRow& summed, const QByteArray& from, const QByteArray& end) const {
    if (end <= from) return;
    auto first =
        std::lower_bound(by_code_.begin(), by_code_.end(), from,
                         [this](size_t i, const QByteArray& c) { return entries_[i].code < c; });
    for (auto it = first; it != by_code_.end() && entries_[*it].code < end; ++it)
      Add_Entry(summed, entries_[*it]);
  }

  void Add_Entry(SummedRow& summed, const LedgerEntry& e) const {
    summed.sums += e.sums;
    if (with_accounts_) Add_Taken_Account(summed.accounts, {e.code_text, e.sums});
  }

  const DbSession& db_;
  const bool with_accounts_;
  std::vector<LedgerEntry> entries_;
  std::unordered_map<qint64, std::vector<size_t>> by_account_;
  std::vector<size_t> by_code_;  // entries with a code, ordered by code
  std::map<QString, TableRows> tables_;
};

std::optional<qint64> Main_Account_Id(qint64 id, const AccountIds* accounts) {
  if (!accounts) return id;
  const auto found = accounts->find(id);
  if (found == accounts->end()) return std::nullopt;
  return found->second;
}

// A line's day as the period conditions compare it: a date, or the ISO text of one (a time of
// day after it belongs to that day).
std::optional<QDate> Day_Of(const QVariant& value) {
  if (value.metaType().id() == QMetaType::QDate) return value.toDate();
  if (value.metaType().id() == QMetaType::QDateTime) return value.toDateTime().date();
  const QDate day = QDate::fromString(value.toString().left(10), "yyyy-MM-dd");
  if (!day.isValid()) return std::nullopt;
  return day;
}

}  // namespace

AccountIds Main_Account_Ids(const DbSession& ledger, const DbSession& db) {
  std::map<QString, qint64> by_code;
  Recordset rs;
  Open_Recordset(db, rs, "SELECT MHesap_ID, MHesap_Kod FROM MUHKART ORDER BY MHesap_ID");
  for (; !rs.Eof(); rs.Move_Next())
    by_code.try_emplace(rs.Text("MHesap_Kod"), rs.Field("MHesap_ID").toLongLong());
  AccountIds ids;
  Open_Recordset(ledger, rs, "SELECT MHesap_ID, MHesap_Kod FROM MUHKART");
  for (; !rs.Eof(); rs.Move_Next()) {
    const auto found = by_code.find(rs.Text("MHesap_Kod"));
    if (found != by_code.end()) ids[rs.Field("MHesap_ID").toLongLong()] = found->second;
  }
  return ids;
}

LedgerDays::LedgerDays(const DbSession& ledger, const QString& ledger_condition) {
  using Key = std::pair<std::optional<qint64>, std::optional<QString>>;
  std::map<Key, size_t> group_of;
  auto sum = [](const QVariant& v) -> std::optional<double> {
    if (v.isNull()) return std::nullopt;
    return v.toDouble();
  };
  // Read row by row, in the order of the ledger's index by main account and code (the year is
  // one), so that a period of many lines takes no more memory than its days.
  const bool read = Read_Each_Row(
      ledger,
      QString("SELECT MUHFISHAR.Ana_Hesap_ID, MUHFISHAR.MHesap_Kod, MUHFISHAR.Tarih, ") +
          kLedgerSums + " FROM MUHFISHAR WHERE 1=1" + ledger_condition +
          " GROUP BY MUHFISHAR.Ana_Hesap_ID, MUHFISHAR.MHesap_Kod, MUHFISHAR.Yil, "
          "MUHFISHAR.Tarih",
      [&](const std::vector<QVariant>& v) {
        Key key;
        if (!v[0].isNull()) key.first = v[0].toLongLong();
        if (!v[1].isNull()) key.second = v[1].toString();
        size_t group = groups_.size();
        if (!groups_.empty() && groups_.back().account == key.first &&
            groups_.back().code == key.second) {
          group = groups_.size() - 1;
        } else if (const auto [at, fresh] = group_of.try_emplace(key, group); !fresh) {
          group = at->second;
        } else {
          groups_.push_back({key.first, key.second, {}});
        }
        Day day{group, std::nullopt, {sum(v[3]), sum(v[4]), sum(v[5]), v[6].toLongLong()}};
        if (!v[2].isNull()) {
          const std::optional<QDate> d = Day_Of(v[2]);
          if (d)
            day.day = d->toJulianDay();
          else
            readable_ = false;
        }
        days_.push_back(std::move(day));
      });
  if (!read) readable_ = false;
}

std::vector<LedgerGroup> LedgerDays::Groups(const std::optional<QDate>& first,
                                            const std::optional<QDate>& last) const {
  std::vector<LedgerGroup> groups = groups_;
  for (const Day& d : days_) {
    if ((first || last) && !d.day) continue;
    if (first && *d.day < first->toJulianDay()) continue;
    if (last && *d.day > last->toJulianDay()) continue;
    groups[d.group].sums += d.sums;
  }
  // A group without a line in the period is not one of its groups.
  std::erase_if(groups, [](const LedgerGroup& g) { return g.sums.lines == 0; });
  return groups;
}

std::vector<LedgerGroup> Read_Ledger_Groups(const DbSession& ledger,
                                            const QString& ledger_condition,
                                            const AccountIds* accounts) {
  Recordset rs;
  Open_Recordset(ledger, rs,
                 QString("SELECT MUHFISHAR.Ana_Hesap_ID, MUHFISHAR.MHesap_Kod, ") + kLedgerSums +
                     " FROM MUHFISHAR WHERE 1=1" + ledger_condition +
                     " GROUP BY MUHFISHAR.Ana_Hesap_ID, MUHFISHAR.MHesap_Kod");
  std::vector<LedgerGroup> groups;
  groups.reserve(rs.Record_Count());
  for (; !rs.Eof(); rs.Move_Next()) {
    LedgerGroup group;
    group.sums = Line_Sums(rs, rs.Field("Adet").toLongLong());
    const QVariant code = rs.Field("MHesap_Kod");
    if (!code.isNull()) group.code = code.toString();
    const QVariant id = rs.Field("Ana_Hesap_ID");
    if (!id.isNull()) group.account = Main_Account_Id(id.toLongLong(), accounts);
    groups.push_back(std::move(group));
  }
  return groups;
}

std::unique_ptr<RowSums> Row_Sums_From_Period_Ledger(const DbSession& db,
                                                     const QString& ledger_condition,
                                                     bool with_accounts) {
  return std::make_unique<PeriodLedger>(db, Read_Ledger_Groups(db, ledger_condition),
                                        with_accounts);
}

std::unique_ptr<RowSums> Row_Sums_From_Groups(const DbSession& db, std::vector<LedgerGroup> groups,
                                              bool with_accounts) {
  return std::make_unique<PeriodLedger>(db, std::move(groups), with_accounts);
}
