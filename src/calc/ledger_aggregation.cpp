#include "calc/ledger_aggregation.h"

#include <cmath>
#include <set>
#include <tuple>

#include "process/app_state.h"
#include "calc/formula.h"
#include "db/query.h"
#include "db/sql_text.h"

namespace {

const QString kRow = "MUHASEBEMALITABLOHAREKET";
// The three ledger sums every aggregating query returns.
const QString kSums =
    "SUM(MUHFISHAR.BTutar) as Borc, SUM(MUHFISHAR.ATutar) as Alacak ,SUM(MUHFISHAR.BTutar-MUHFISHAR.ATutar)AS Bakiye";

// Codes are compared as numbers: a stored 1 equals the text "1".
int Code(const Recordset& rs, const QString& column) {
  return static_cast<int>(std::lround(rs.Text(column).trimmed().toDouble()));
}

// A number written bare into SQL must be a number (never an arbitrary text).
QString Bare(const Recordset& rs, const QString& column) {
  QString text = rs.Text(column).trimmed();
  if (!Is_Sql_Number(text))
    throw DbError{kErrStatement, "Satırın " + column + " değeri sayı değil: \"" + text + "\""};
  return text;
}

QString Quoted_Trim(const Recordset& rs, const QString& column) {
  return Sql_Quote_Value(rs.Text(column).trimmed());
}

struct Totals {
  double debit = 0, credit = 0, amount = 0;
  void Clear() { *this = Totals{}; }
};

// Writes a row's three computed columns and commits them at once.
void Write_Amounts(Recordset& out, double debit, double credit, double amount) {
  out.Set_Field("BTutar", debit);
  out.Set_Field("ATutar", credit);
  out.Set_Field("Bakiye", amount);
  out.Update_Batch();
}

// Adds (1) or subtracts (2) a row's value by the amount rule; other types leave it alone.
void Apply_Calculation_Type(double& amount, const Recordset& rs) {
  int calc_type = Code(rs, "Hesaplama_Tipi");
  if (calc_type != 1 && calc_type != 2) return;
  if (rs.Is_Null("Bakiye")) return;
  QVariant value = Amount_By_Rule(Code(rs, "Bakiye_Tipi"), Code(rs, "Hesap_Karakteri"), rs.Field("Borc"),
                                  rs.Field("Alacak"), rs.Field("Bakiye"));
  if (value.isNull()) return;
  amount += calc_type == 1 ? value.toDouble() : -value.toDouble();
}

class Calculation {
 public:
  explicit Calculation(AppState& s) : s_(s) {}
  void Run();

 private:
  void Group_Row();
  void Single_Account_Row();
  void Range_Row();
  void Total_Row(Totals& totals);
  void Formula_Row();
  void Progress(int value, int maximum);
  QString Range_Query(const QString& from, const QString& to) const;
  // The joins from the rows under the current row's code prefix to their main accounts' lines.
  QString Prefix_Rows_With_Lines() const;
  // Opens the row to write into Rs_Calc3, by code within the current row's table and place, or
  // by the current row's key; false when it is not there.
  bool Open_Row_By_Code(const QString& code);
  bool Open_Row_By_Id();
  QString Place() const { return Bare(s_.Rs_Shared, "Rapor_Yeri"); }
  QString Report() const { return Bare(s_.Rs_Shared, "Rapor_ID"); }

  AppState& s_;
  Totals subtotal_;
  Totals grand_total_;
};

void Calculation::Run() {
  Recordset& rows = s_.Rs_Shared;
  Progress(0, -1);
  Open_Recordset(s_.Db(), rows, s_.Report_Sql);
  if (rows.Eof()) return;
  const int maximum = rows.Record_Count();
  int value = 0;
  for (; !rows.Eof(); rows.Move_Next()) {
    switch (Code(rows, "Satir_Tipi")) {
      case 1: Group_Row(); break;
      case 2: Single_Account_Row(); break;
      case 3: Range_Row(); break;
      case 4: Total_Row(subtotal_); break;
      case 5: Total_Row(grand_total_); break;
      case 11: Formula_Row(); break;
      default: break;  // fixed amounts, footnotes and page layout rows keep what they have
    }
    Progress(++value, maximum);
  }
}

void Calculation::Progress(int value, int maximum) {
  if (!s_.Progress) return;
  ProgressReport report;
  report.value = value;
  report.maximum = maximum;
  if (maximum > 0) {
    double p = value * 100.0 / maximum;
    report.percent_text = QString::number(p, 'g', 15) + "%";
    report.highlight = std::nearbyint(p) >= 47;
  }
  s_.Progress(report);
}

QString Calculation::Range_Query(const QString& from, const QString& to) const {
  return "SELECT " + kRow + ".Satir_ID, " + kRow + ".Satir_Tipi, " + kRow + ".Satir_Kodu, " + kRow +
         ".Hesaplama_Tipi, " + kRow + ".Bakiye_Tipi, " + kRow + ".Hesap_Karakteri,  " + kRow +
         ".MHesap_KodBas, " + kSums + " FROM " + kRow + " " +
         "  LEFT JOIN MUHFISHAR ON( " + kRow + ".MHesap_KodBas<=MUHFISHAR.MHesap_Kod AND " + kRow +
         ".MHesap_KodBit >=MUHFISHAR.MHesap_Kod) WHERE  MUHFISHAR.MHesap_Kod>='" + from + "'" +
         "AND MUHFISHAR.MHesap_Kod<='" + to + "'" + " AND " + kRow + ".Rapor_Yeri=" + Place() +
         " AND " + kRow + ".Rapor_ID=" + Report() + " AND " + kRow + ".Satir_Tipi=3 " +
         s_.Date_Filter_Sql + " GROUP BY " + kRow + ".Satir_ID, " + kRow + ".Satir_Tipi, " + kRow +
         ".Satir_Kodu, " + kRow + ".Hesaplama_Tipi, " + kRow + ".Bakiye_Tipi, " + kRow +
         ".Hesap_Karakteri," + " " + kRow + ".MHesap_KodBas ";
}

QString Calculation::Prefix_Rows_With_Lines() const {
  return "LEFT JOIN MUHKART ON(" + kRow + ".MHesap_KodBas=MUHKART.MHesap_Kod) LEFT JOIN MUHFISHAR "
         "ON(MUHKART.MHesap_ID=MUHFISHAR.Ana_Hesap_ID)  WHERE  " + kRow + ".Satir_Kodu LIKE '" +
         Quoted_Trim(s_.Rs_Shared, "Satir_Kodu") + "%'" + " AND " + kRow + ".Rapor_Yeri=" + Place() +
         " AND " + kRow + ".Rapor_ID=" + Report();
}

bool Calculation::Open_Row_By_Code(const QString& code) {
  Open_Update_Recordset(s_.Db(), s_.Rs_Calc3,
                        "SELECT * FROM " + kRow + " WHERE  Satir_Kodu = '" + code + "'" +
                            " AND Rapor_Yeri=" + Place() + " AND Rapor_ID=" + Report());
  return !s_.Rs_Calc3.Eof();
}

bool Calculation::Open_Row_By_Id() {
  Open_Update_Recordset(s_.Db(), s_.Rs_Calc3,
                        "SELECT * FROM " + kRow + " WHERE Satir_ID=" + Bare(s_.Rs_Shared, "Satir_ID"));
  return !s_.Rs_Calc3.Eof();
}

void Calculation::Group_Row() {
  Totals group;
  const QString joins = " FROM " + kRow + " " + Prefix_Rows_With_Lines();

  // Rows under the group's prefix, the group itself included.
  Open_Recordset(s_.Db(), s_.Rs_Calc1,
                 "SELECT " + kRow + ".Satir_Kodu, " + kRow + ".Hesaplama_Tipi, " + kRow +
                     ".Bakiye_Tipi, " + kRow + ".Hesap_Karakteri, " + kSums + " " + joins + s_.Date_Filter_Sql + "  GROUP BY " + kRow + ".Satir_Kodu, " +
                     kRow + ".Hesaplama_Tipi, " + kRow + ".Bakiye_Tipi, " + kRow +
                     ".Hesap_Karakteri ORDER BY  " + kRow + ".Satir_Kodu");
  for (Recordset& rs = s_.Rs_Calc1; !rs.Eof(); rs.Move_Next()) {
    if (!rs.Is_Null("Borc")) group.debit += rs.Number("Borc");
    if (!rs.Is_Null("Alacak")) group.credit += rs.Number("Alacak");
    Apply_Calculation_Type(group.amount, rs);
  }

  // Range rows under the group: each one counted once.
  Open_Recordset(s_.Db(), s_.Rs_Calc1,
                 "SELECT " + kRow + ".Satir_Kodu, " + kRow + ".MHesap_KodBas," + kRow +
                     ".MHesap_KodBit," + kRow + ".Hesaplama_Tipi, " + kRow + ".Bakiye_Tipi, " +
                     kRow + ".Hesap_Karakteri " + joins + "  AND " + kRow +
                     ".Satir_Tipi=3 ORDER BY " + kRow + ".Satir_Kodu");
  std::set<std::tuple<QString, QString, QString>> seen;
  for (Recordset& listed = s_.Rs_Calc1; !listed.Eof(); listed.Move_Next()) {
    auto key = std::make_tuple(listed.Text("Satir_Kodu"), listed.Text("MHesap_KodBas"),
                               listed.Text("MHesap_KodBit"));
    if (!seen.insert(key).second) continue;
    Open_Recordset(s_.Db(), s_.Rs_Calc2,
                   Range_Query(Quoted_Trim(listed, "MHesap_KodBas"), Quoted_Trim(listed, "MHesap_KodBit")));
    Recordset& sums = s_.Rs_Calc2;
    if (sums.Eof()) continue;
    if (!sums.Is_Null("Borc")) group.debit += sums.Number("Borc");
    if (!sums.Is_Null("Alacak")) group.credit += sums.Number("Alacak");
    for (; !sums.Eof(); sums.Move_Next()) Apply_Calculation_Type(group.amount, sums);
  }

  if (Open_Row_By_Code(Quoted_Trim(s_.Rs_Shared, "Satir_Kodu")))
    Write_Amounts(s_.Rs_Calc3, group.debit, group.credit, group.amount);
}

void Calculation::Single_Account_Row() {
  Open_Recordset(s_.Db(), s_.Rs_Calc1,
                 "SELECT " + kRow + ".Satir_ID, " + kRow + ".Satir_Kodu, " + kRow +
                     ".Hesaplama_Tipi, " + kRow + ".Bakiye_Tipi, " + kRow + ".Hesap_Karakteri,  " +
                     kRow + ".MHesap_KodBas, " + kSums + " FROM " + kRow + " " + " " +
                     Prefix_Rows_With_Lines() + s_.Date_Filter_Sql + " GROUP BY " + kRow + ".Satir_ID, " + kRow +
                     ".Satir_Kodu, " + kRow + ".Hesaplama_Tipi, " + kRow + ".Bakiye_Tipi, " + kRow +
                     ".Hesap_Karakteri," + " " + kRow + ".MHesap_KodBas ");
  Recordset& sums = s_.Rs_Calc1;
  if (sums.Eof()) {
    // No voucher line in the period: the row itself gets zeros.
    if (Open_Row_By_Code(Quoted_Trim(s_.Rs_Shared, "Satir_Kodu"))) Write_Amounts(s_.Rs_Calc3, 0, 0, 0);
    return;
  }
  for (; !sums.Eof(); sums.Move_Next()) {
    if (!Open_Row_By_Code(Quoted_Trim(sums, "Satir_Kodu"))) continue;
    double debit = 0, credit = 0;
    if (!sums.Is_Null("Borc")) {
      debit = sums.Number("Borc");
      subtotal_.debit += debit;
      grand_total_.debit += debit;
    }
    if (!sums.Is_Null("Alacak")) {
      credit = sums.Number("Alacak");
      subtotal_.credit += credit;
      grand_total_.credit += credit;
    }
    QVariant value = Amount_By_Rule(Code(sums, "Bakiye_Tipi"), Code(sums, "Hesap_Karakteri"),
                                    sums.Field("Borc"), sums.Field("Alacak"), sums.Field("Bakiye"));
    if (!value.isNull()) {
      subtotal_.amount += value.toDouble();
      grand_total_.amount += value.toDouble();
    }
    Write_Amounts(s_.Rs_Calc3, debit, credit, value.isNull() ? 0.0 : value.toDouble());
  }
}

void Calculation::Range_Row() {
  Open_Recordset(s_.Db(), s_.Rs_Calc2,
                 Range_Query(Quoted_Trim(s_.Rs_Shared, "MHesap_KodBas"),
                             Quoted_Trim(s_.Rs_Shared, "MHesap_KodBit")));
  if (!Open_Row_By_Id()) return;
  const Recordset& sums = s_.Rs_Calc2;
  double debit = 0, credit = 0, amount = 0;
  if (!sums.Eof()) {
    debit = sums.Number("Borc");
    credit = sums.Number("Alacak");
    QVariant value = Amount_By_Rule(0, Code(sums, "Hesap_Karakteri"), sums.Field("Borc"),
                                    sums.Field("Alacak"), sums.Field("Bakiye"));
    amount = value.isNull() ? 0.0 : value.toDouble();
  }
  Write_Amounts(s_.Rs_Calc3, debit, credit, amount);
}

void Calculation::Total_Row(Totals& totals) {
  if (!Open_Row_By_Id()) return;
  Write_Amounts(s_.Rs_Calc3, totals.debit, totals.credit, totals.amount);
  totals.Clear();
}

void Calculation::Formula_Row() {
  const Recordset& row = s_.Rs_Shared;
  const QString id = Bare(row, "Satir_ID");
  Open_Recordset(s_.Db(), s_.Rs_Calc2,
                 "SELECT * FROM " + kRow + " WHERE Satir_ID=" + id + " AND Rapor_ID=" +
                     Bare(row, "Rapor_ID"));
  Recordset& formula_rows = s_.Rs_Calc2;
  if (formula_rows.Eof()) return;
  double value = 0;
  for (; !formula_rows.Eof(); formula_rows.Move_Next()) {
    QString substituted;
    QString formula = formula_rows.Text("Formul");
    if (!formula.isEmpty())
      substituted = Formulu_Yerlestir(s_, formula, "SELECT * FROM " + kRow + " ",
                                      formula_rows.Field("Rapor_ID").toInt());
    value = substituted.isEmpty() ? 0.0 : Formul_Al(substituted);
  }
  Open_Update_Recordset(s_.Db(), s_.Rs_Calc3,
                        "SELECT * FROM " + kRow + " WHERE Satir_ID=" + id + " AND Satir_Kodu='" +
                            Quoted_Trim(row, "Satir_Kodu") + "'");
  Recordset& out = s_.Rs_Calc3;
  if (out.Eof()) return;
  out.Set_Field("Bakiye", value);
  out.Update_Batch();
}

}  // namespace

QVariant Amount_By_Rule(int balance_type, int character, const QVariant& debit,
                        const QVariant& credit, const QVariant& balance) {
  if (balance_type == 1) return debit.isNull() ? QVariant() : QVariant(debit.toDouble());
  if (balance_type == 2) return credit.isNull() ? QVariant() : QVariant(credit.toDouble());
  if (balance.isNull()) return {};
  double b = balance.toDouble();
  if (character == 1) return std::fabs(b);
  if (character == 2) return -std::fabs(b);
  return b;
}

void Tablo_Hesapla(AppState& state) { Calculation(state).Run(); }
