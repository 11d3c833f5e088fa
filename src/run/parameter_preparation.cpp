#include "run/parameter_preparation.h"

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>
#include <optional>
#include <vector>

#include "db/db_error.h"
#include "db/query.h"
#include "db/recordset.h"
#include "db/sql_text.h"
#include "model/financial_table.h"
#include "process/app_state.h"
#include "run/blank_trim.h"
#include "run/filter_conditions.h"
#include "ui_common/turkish_text.h"

namespace {

// A look-up whose statement failed has shown its messages; the run stops there rather than
// going on with a guess.
void Require_Open(const Recordset& rs) {
  if (!rs.Is_Open()) throw DbError{kErrObjectClosed, QString::fromUtf8("Sorgu çalıştırılamadı.")};
}

const QString kFirstMonth = QString::fromUtf8("Rapor Başlangıç Ayı");
const QString kLastMonth = QString::fromUtf8("Rapor Bitiş Ayı");
const QString kOpening = QString::fromUtf8("Açılış");
const QString kNextJanuary = QString::fromUtf8("Ocak ");  // with its trailing blank
const QString kTableKind = QString::fromUtf8("Tablo Türü");
const QString kClosingVouchers = QString::fromUtf8("Kapanış Fişi");

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
std::optional<std::optional<QDate>> Opening_Date(const DbSession& db) {
  Recordset rs;
  Open_Recordset(db, rs, Opening_Date_Sql());
  Require_Open(rs);
  if (rs.Record_Count() == 0) return std::nullopt;
  rs.Move_First();
  if (!rs.Is_Null("Tarih")) return Field_Date(rs.Field("Tarih"));
  Open_Recordset(db, rs,
                 QString::fromUtf8("SELECT COUNT(*) AS Adet FROM MUHFISHAR WHERE "
                                   "Islem_Tipi='Açılış Fişi'"));
  Require_Open(rs);
  const bool any = !rs.Eof() && rs.Number("Adet") > 0;
  if (!any) return std::nullopt;
  return std::optional<QDate>();
}

// The ledger's month number for a month name; `fallback` when the ledger has no line in that
// month.
int Month_Number(const DbSession& db, const QString& month, int fallback) {
  Recordset rs;
  Open_Recordset(db, rs, Month_Number_Sql(month));
  Require_Open(rs);
  if (rs.Record_Count() == 0) return fallback;
  rs.Move_First();
  return static_cast<int>(rs.Number("Ay_Index"));
}

std::optional<QDate> First_Day(const DbSession& db, const QString& month, int year,
                               const QDate& fiscal_year_start) {
  if (month == kOpening) {
    auto opening = Opening_Date(db);
    if (!opening) return std::nullopt;
    return opening->value_or(fiscal_year_start);
  }
  if (month == kNextJanuary) return QDate(year + 1, 1, 1);
  return QDate(year, Month_Number(db, month, 1), 1);
}

std::optional<QDate> Last_Day(const DbSession& db, const QString& month, int year) {
  if (month == kOpening) {
    auto opening = Opening_Date(db);
    if (!opening || !*opening) return std::nullopt;
    return **opening;
  }
  if (month == kNextJanuary) return QDate(year + 1, 1, 1);
  const int m = Month_Number(db, month, 12);
  const QString number = QString::number(m).rightJustified(2, '0');
  return QDate(year, m, Month_Last_Day(number, year).toInt());
}

// A level bound as typed; a value that is not a number is refused with its message.
QString Level_Bound(const QString& caption, const QString& value, QString& error) {
  if (value.isEmpty() || Is_Sql_Number(value)) return value;
  error = Not_A_Number_Text(caption, value);
  return {};
}

}  // namespace

// The first of the month's numbers in order (Null before every number, as the month's groups
// came in order): the first entry of the month in the index, not every line of the month read.
QString Month_Number_Sql(const QString& month) {
  return "SELECT TOP 1 Ay_Index FROM MUHFISHAR WHERE AY='" + Sql_Quote_Value(month) +
         "' ORDER BY Ay_Index";
}

// MIN over the index's second column after an equal first: the first entry past the Nulls.
QString Opening_Date_Sql() {
  return QString::fromUtf8(
      "SELECT MIN(Tarih) AS Tarih FROM MUHFISHAR WHERE Islem_Tipi='Açılış Fişi'");
}

StatementQuery Build_Report_Sql(const QString& base_sql, KeyedGrid& grid) {
  StatementBuild build;
  QString sql = base_sql;
  build.has_where = Index_Outside_Quotes(base_sql, "WHERE", 0, Qt::CaseInsensitive) >= 0;
  for (int row = 1; row < grid.Rows(); ++row) {
    if (grid.Text(row, "FiltreLbl").isEmpty()) break;
    if (!Text_As_Boolean(grid.Text(row, "Girsin"))) continue;
    const QString type = grid.Text(row, "Tip");
    const QString alan = grid.Text(row, "Alan");
    const QString ayirac = grid.Text(row, "Ayirac");
    if (type == "GR")
      sql = AddRangeCondition(build, sql, grid, row, alan, ayirac);
    else if (type == "TR")
      sql = AddDateRangeCondition(build, sql, grid, row, alan);
    else if (type == "TK")
      sql = AddEqualCondition(build, sql, grid, row, alan, ayirac);
    else if (type == "OZ")
      sql = AddFlagCondition(build, sql, grid, row, alan);
    else if (type == "BTR")
      sql = AddDateUpToCondition(build, sql, grid, row, alan);
    else if (type == "CS")
      sql += BuildMultipleChoiceCondition(build, grid, row, alan, ayirac);
  }
  return {sql, build.has_where, build.error};
}

int Table_Kind(const KeyedGrid& grid) {
  const int row = grid.Find_Row("FiltreLbl", kTableKind);
  return row > 0 && grid.Text(row, "Baslangic") == Statement_Kind(kKindBalanceSheet).choice
             ? kKindBalanceSheet
             : kKindIncomeStatement;
}

QString Base_Sql_For_Kind(const QString& base_sql, int kind) {
  QString sql = base_sql;
  static const QRegularExpression condition(R"((MUHASEBEMALITABLOKART\.Rapor_Tipi\s*=\s*)\d+)");
  sql.replace(condition, "\\1" + QString::number(kind));
  return sql;
}

QString Match_Table_Names(const DbSession& db, int kind, KeyedGrid& grid) {
  struct Header {
    QString code, name;
    int kind;
  };
  std::vector<Header> headers;
  bool read = false;
  auto same = [](const QString& a, const QString& b) {
    return Upper_TR(Trim_Blanks(a)) == Upper_TR(Trim_Blanks(b));
  };
  const struct {
    const char* caption;
    QString Header::*field;
    const char* sentence;  // %1 the value, %2 the kind's name
  } columns[] = {{"Tablo Kodu", &Header::code, "\"%1\" kodlu bir %2 bulunamadı."},
                 {"Tablo Adı", &Header::name, "\"%1\" adlı bir %2 bulunamadı."}};
  for (const auto& column : columns) {
    const int row = grid.Find_Row("FiltreLbl", QString::fromUtf8(column.caption));
    if (row <= 0 || !Text_As_Boolean(grid.Text(row, "Girsin"))) continue;
    const QString typed = grid.Text(row, "Baslangic");
    if (typed.isEmpty() || typed == "Hepsi" || typed == "Farketmez") continue;
    if (!read) {
      Recordset rs;
      Open_Recordset(db, rs, "SELECT Rapor_Kodu, Rapor_Adi, Rapor_Tipi FROM MUHASEBEMALITABLOKART");
      Require_Open(rs);
      for (; !rs.Eof(); rs.Move_Next())
        headers.push_back({rs.Text("Rapor_Kodu"), rs.Text("Rapor_Adi"),
                           static_cast<int>(rs.Number("Rapor_Tipi"))});
      read = true;
    }
    const Header* other = nullptr;
    bool found = false;
    for (const Header& h : headers) {
      if (!same(h.*column.field, typed)) continue;
      if (h.kind == kind) {
        grid.Set_Text(row, "Baslangic", h.*column.field);
        found = true;
        break;
      }
      other = &h;
    }
    if (found) continue;
    QString message = QString::fromUtf8(column.sentence).arg(typed, Statement_Kind(kind).name);
    if (other)
      message += QString::fromUtf8(" Bu bir %1; \"Tablo Türü\" satırında \"%2\" seçiniz.")
                     .arg(Statement_Kind(other->kind).name, Statement_Kind(other->kind).choice);
    return message;
  }
  return {};
}

RunParameters Parametreleri_Hazirla(const AppState& state, const KeyedGrid& typed,
                                    FilterCompletions* completions) {
  // The builders complete the values they read on this copy.
  KeyedGrid grid = typed;
  RunParameters p;
  const DbSession db = state.Db();
  p.kind = Table_Kind(grid);
  const QString unknown_table = Match_Table_Names(db, p.kind, grid);
  StatementQuery query = Build_Report_Sql(Base_Sql_For_Kind(state.Base_Sql, p.kind), grid);
  p.statement_sql = query.sql;
  p.statement_has_where = query.has_where;
  p.error = unknown_table.isEmpty() ? query.error : unknown_table;

  const int year = state.Fiscal_Year_Start.year();
  p.period.year = year;
  p.closing_vouchers = p.kind == kKindBalanceSheet;
  p.natural_sides = Load_Natural_Sides(state.Program_Folder);
  for (int row = 1; row < grid.Rows(); ++row) {
    const QString caption = grid.Text(row, "FiltreLbl");
    if (caption.isEmpty()) break;
    const QString start = grid.Text(row, "Baslangic");
    if (caption == kFirstMonth) {
      if (!start.isEmpty())
        p.period.first_day = First_Day(db, start, year, state.Fiscal_Year_Start);
    } else if (caption == kLastMonth) {
      if (!start.isEmpty()) p.period.last_day = Last_Day(db, start, year);
    } else if (caption == "Seviye") {
      p.levels.from = Level_Bound(caption, start, p.error);
      p.levels.to = Level_Bound(caption, grid.Text(row, "Bitis"), p.error);
    } else if (caption == QString::fromUtf8("Dipnot Basılsın Mı?")) {
      p.print_footnotes = start != QString::fromUtf8("Hayır");
    } else if (caption == QString::fromUtf8("Satır Çizgisi Ekle")) {
      p.row_lines = start == "Evet";
    } else if (caption == QString::fromUtf8("Karşılaştırma")) {
      p.comparison = start == QString::fromUtf8("Önceki Dönem") ? Comparison::PreviousYear
                     : start == "Aylar"                         ? Comparison::Months
                     : start == QString::fromUtf8("Çeyrekler")  ? Comparison::Quarters
                                                                : Comparison::None;
    } else if (caption == kClosingVouchers && !start.isEmpty()) {
      p.closing_vouchers = start == QString::fromUtf8("Dahil");
    }
  }
  // "Hareket Görmüşler" is applied by the run after the calculation.
  for (int row = 1; row < grid.Rows(); ++row)
    if (grid.Text(row, "FiltreLbl") == QString::fromUtf8("Hareket Görmüşler"))
      p.moved_only = grid.Text(row, "Baslangic");
  // Leaving out closing vouchers that the ledger does not hold would only cost every ledger
  // query its covering index.
  // The previous year's column takes the same condition, perhaps over another database's
  // ledger, so a run beside it keeps the condition.
  if (!p.closing_vouchers && p.comparison != Comparison::PreviousYear &&
      !Ledger_Has_Closing_Vouchers(db, year))
    p.closing_vouchers = true;
  const ChosenWorkplace workplace = Chosen_Workplace(db, grid);
  const bool restricted = !workplace.code.isEmpty() && Ledger_Has_Workplace(db);
  if (restricted) p.workplace_code = workplace.code;
  p.workplace_name = Workplace_Heading(workplace.name, restricted);
  if (completions) {
    completions->clear();
    for (int row = 1; row < grid.Rows(); ++row)
      for (const char* key : {"Baslangic", "Bitis"})
        if (grid.Text(row, key) != typed.Text(row, key))
          completions->push_back({row, QString::fromLatin1(key), grid.Text(row, key)});
  }
  return p;
}

void Apply_Completions(KeyedGrid& grid, const FilterCompletions& completions) {
  for (const FilterCompletion& c : completions) grid.Set_Text(c.row, c.key, c.text);
}

bool Ledger_Has_Line(const DbSession& db, const QString& condition) {
  Recordset rs;
  Open_Recordset(db, rs, "SELECT TOP 1 MUHFISHAR.Yil FROM MUHFISHAR WHERE 1=1" + condition);
  Require_Open(rs);
  return !rs.Eof();
}

bool Ledger_Has_Year(const DbSession& db, int year) {
  return Ledger_Has_Line(db, " AND MUHFISHAR.Yil='" + QString::number(year) + "'");
}

bool Ledger_Has_Closing_Vouchers(const DbSession& db, int year) {
  return Ledger_Has_Line(db, QString::fromUtf8(" AND MUHFISHAR.Islem_Tipi='Kapanış Fişi' AND "
                                               "MUHFISHAR.Yil='") +
                                 QString::number(year) + "'");
}

bool Ledger_Has_Workplace(const DbSession& db) {
  Recordset rs;
  Open_Recordset(db, rs, "SELECT * FROM MUHFISHAR WHERE 1=0");
  Require_Open(rs);
  return rs.Has_Field("Isyeri_Kodu");
}

ChosenWorkplace Chosen_Workplace(const DbSession& db, const KeyedGrid& grid) {
  auto column_of = [](const QString& caption) -> QString {
    if (caption == QString::fromUtf8("İşyeri Kodu")) return "Isyeri_Kodu";
    if (caption == QString::fromUtf8("İşyeri Adı")) return "Isyeri_Adi";
    return {};
  };
  auto chosen_in = [&](int row) {
    const QString value = grid.Text(row, "Baslangic");
    return !column_of(grid.Text(row, "FiltreLbl")).isEmpty() && !value.isEmpty() &&
           value != "Hepsi";
  };
  ChosenWorkplace chosen;
  bool any = false;
  for (int row = 1; row < grid.Rows(); ++row) any = any || chosen_in(row);
  if (!any) return chosen;
  Recordset rs;
  Open_Recordset(db, rs, "SELECT * FROM ISYERITANIM ");
  Require_Open(rs);
  if (rs.Record_Count() < 2) return chosen;
  for (int row = 1; row < grid.Rows(); ++row) {
    if (!chosen_in(row)) continue;
    const QString column = column_of(grid.Text(row, "FiltreLbl"));
    const QString value = grid.Text(row, "Baslangic");
    Open_Recordset(db, rs,
                   "SELECT * FROM ISYERITANIM WHERE " + column + "='" + Sql_Quote_Value(value) +
                       "' ");
    Require_Open(rs);
    if (!rs.Eof()) chosen = {rs.Text("Isyeri_Kodu").trimmed(), rs.Text("Isyeri_Adi")};
  }
  return chosen;
}
