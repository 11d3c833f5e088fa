#include "run/filter_conditions.h"

#include <QDate>
#include <QRegularExpression>

#include "db/sql_text.h"
#include "run/blank_trim.h"

namespace {

const QString kWrongDate = QString::fromUtf8("Lütfen tarihi doğru giriniz");
const QString kWrongYear = QString::fromUtf8("Lütfen seneyi doğru giriniz");

// The quote a row's values are written in: none for "1" (bare numbers), else a single quote.
QString Quote_Char(const QString& ayirac) { return ayirac == "1" ? QString() : QString("'"); }

// The value as SQL text in `quote`; false (with the build's error) for a bare non-number.
bool Sql_Value(StatementBuild& build, const QString& quote, const KeyedGrid& grid, int row,
               const QString& value, QString& out) {
  if (!quote.isEmpty()) {
    out = quote + Sql_Quote_Value(value) + quote;
    return true;
  }
  if (!Is_Sql_Number(value)) {
    build.error = Not_A_Number_Text(grid.Text(row, "FiltreLbl"), value);
    return false;
  }
  out = value;
  return true;
}

QString Place_Condition(StatementBuild& build, const QString& sql, const JoinInsertPosition& at,
                        const QString& condition) {
  if (at.mode == 2) return sql.left(at.position) + " AND " + condition + sql.mid(at.position);
  if (!build.has_where) {
    build.has_where = true;
    return sql + " WHERE " + condition;
  }
  return sql + " AND " + condition;
}

QString Place_Condition(StatementBuild& build, const QString& sql, const QString& alan,
                        const QString& condition) {
  return Place_Condition(build, sql, FindJoinInsertPosition(sql, alan), condition);
}

// A year as typed: two digits are 20yy, none the current year.
QString Full_Year(const QString& year) {
  if (year.size() == 2) return "20" + year;
  if (year.isEmpty()) return QString::number(QDate::currentDate().year());
  return year;
}

// day.month.year read by position; the SQL date 'yyyy/mm/dd' needs a four-digit year.
struct DateParts {
  QString day, month, year;
};
DateParts Date_Parts(const QString& text) {
  return {text.mid(0, 2), text.mid(3, 2), text.mid(6, 4)};
}

}  // namespace

JoinInsertPosition FindJoinInsertPosition(const QString& sql, const QString& alan) {
  const qsizetype dot = alan.indexOf('.');
  if (dot < 0) return {};
  const qsizetype join = Index_Outside_Quotes(sql, "JOIN " + alan.left(dot) + " ON");
  if (join < 0) return {};
  const qsizetype open = Index_Outside_Quotes(sql, "(", join);
  if (open < 0) return {};
  // Parentheses inside quoted values are text, not structure.
  int depth = 1;
  bool quoted = false;
  for (qsizetype i = open + 1; i < sql.size(); ++i) {
    if (sql[i] == u'\'') {
      quoted = !quoted;
    } else if (!quoted && sql[i] == u'(') {
      ++depth;
    } else if (!quoted && sql[i] == u')' && --depth == 0) {
      return {2, i};
    }
  }
  return {2, sql.size()};
}

QString AddRangeCondition(StatementBuild& build, const QString& sql, KeyedGrid& grid, int row,
                          const QString& alan, const QString& ayirac) {
  const QString quote = Quote_Char(ayirac);
  if (quote.isEmpty()) ClearNonNumericValues(grid, row);
  QString out = sql;
  QString value;
  const QString start = grid.Text(row, "Baslangic");
  if (!start.isEmpty()) {
    if (!Sql_Value(build, quote, grid, row, start, value)) return out;
    out = Place_Condition(build, out, alan, alan + " >=" + value);
  }
  const QString end = grid.Text(row, "Bitis");
  if (!end.isEmpty()) {
    if (!Sql_Value(build, quote, grid, row, end, value)) return out;
    const JoinInsertPosition at = FindJoinInsertPosition(out, alan);
    out = Place_Condition(build, out, at, alan + (at.mode == 2 ? " <=" : "<=") + value);
  }
  return out;
}

QString AddEqualCondition(StatementBuild& build, const QString& sql, KeyedGrid& grid, int row,
                          const QString& alan, const QString& ayirac) {
  const QString start = grid.Text(row, "Baslangic");
  if (start.isEmpty() || start == "Farketmez" || start == "Hepsi") return sql;
  const QString quote = Quote_Char(ayirac);
  if (quote.isEmpty()) ClearNonNumericValues(grid, row);
  const QString cleared = grid.Text(row, "Baslangic");
  QString value;
  if (cleared.isEmpty() || !Sql_Value(build, quote, grid, row, cleared, value)) return sql;
  return Place_Condition(build, sql, alan, alan + "=" + value);
}

QString AddFlagCondition(StatementBuild& build, const QString& sql, KeyedGrid& grid, int row,
                         const QString& alan) {
  const QString start = grid.Text(row, "Baslangic");
  QString value;
  if (start == "Evet" || start == "Aktif")
    value = "1";
  else if (start == QString::fromUtf8("Hayır") || start == "Pasif")
    value = "0";
  else
    return sql;  // "Hepsi", and a value that names neither state
  return Place_Condition(build, sql, alan, alan + "=" + value);
}

QString AddDateRangeCondition(StatementBuild& build, const QString& sql, KeyedGrid& grid, int row,
                              const QString& alan) {
  QString out = sql;
  const struct {
    const char* key;
    const char* op;
  } bounds[] = {{"Baslangic", " >= '"}, {"Bitis", " <= '"}};
  for (const auto& bound : bounds) {
    const QString text = grid.Text(row, bound.key);
    if (text.isEmpty()) continue;
    if (!Is_Valid_Date_Text(text)) {
      build.error = kWrongDate;
      continue;
    }
    DateParts d = Date_Parts(text);
    if (d.year.size() < 4) {
      d.year = Full_Year(d.year);
      grid.Set_Text(row, QString::fromLatin1(bound.key), d.day + "/" + d.month + "/" + d.year);
    }
    out = Place_Condition(build, out, alan,
                          alan + bound.op + d.year + "/" + d.month + "/" + d.day + "'");
  }
  return out;
}

QString AddDateUpToCondition(StatementBuild& build, const QString& sql, KeyedGrid& grid, int row,
                             const QString& alan) {
  const QString text = grid.Text(row, "Baslangic");
  if (text.isEmpty()) return sql;
  if (!Is_Valid_Date_Text(text)) {
    build.error = kWrongDate;
    return sql;
  }
  DateParts d = Date_Parts(text);
  if (d.year.size() == 2) d.year = Full_Year(d.year);
  if (d.year.size() < 4) build.error = kWrongYear;
  return Place_Condition(build, sql, alan,
                         alan + " <= '" + d.year + "/" + d.month + "/" + d.day + "'");
}

QString BuildMultipleChoiceCondition(StatementBuild& build, KeyedGrid& grid, int row,
                                     const QString& alan, const QString& ayirac) {
  const QString start = grid.Text(row, "Baslangic");
  QString selection = grid.Text(row, "CoktanSecmeSecim");
  if (start == "Farketmez" || start == "Hepsi" || selection.isEmpty()) return {};
  const QString quote = Quote_Char(ayirac);
  QString condition;
  qsizetype position = 0;
  for (qsizetype comma; (comma = selection.indexOf(',', position)) >= 0; position = comma + 1) {
    QString item = selection.mid(position, comma - position);
    // "code  /  name" compares by its code alone, without the blanks around it.
    if (item.contains('/')) item = Trim_Blanks(item.left(item.indexOf('/')));
    QString value;
    if (!Sql_Value(build, quote, grid, row, item, value)) return {};
    condition += (condition.isEmpty() ? "(" : " OR ") + alan + "=" + value;
  }
  if (condition.isEmpty()) return {};
  condition += ")";
  if (build.has_where) return " AND " + condition;
  build.has_where = true;
  return " WHERE " + condition;
}

bool RowAsBoolean(const KeyedGrid& grid, int row) {
  const QString start = grid.Text(row, "Baslangic");
  return start == "Evet" || start == "Aktif" || start == QString::fromUtf8("Ayrı Sayfaya");
}

void ClearNonNumericValues(KeyedGrid& grid, int row) {
  for (const char* key : {"Baslangic", "Bitis"}) {
    const QString text = grid.Text(row, key);
    if (!text.isEmpty() && !Is_Sql_Number(text)) grid.Set_Text(row, QString::fromLatin1(key), {});
  }
}

bool Text_As_Boolean(const QString& text) {
  const QString t = text.trimmed();
  if (t.compare("True", Qt::CaseInsensitive) == 0) return true;
  if (t.compare("False", Qt::CaseInsensitive) == 0) return false;
  if (Is_Sql_Number(t)) return t.toDouble() != 0;
  return false;
}

bool Is_Valid_Date_Text(const QString& text) {
  static const QRegularExpression form(R"(^(\d\d)([./-])(\d\d)(?:\2(\d\d|\d{4})?)?$)");
  const QRegularExpressionMatch m = form.match(text);
  if (!m.hasMatch()) return false;
  const QString year_text = m.captured(4);
  int year = QDate::currentDate().year();
  if (year_text.size() == 4)
    year = year_text.toInt();
  else if (year_text.size() == 2)
    year = 2000 + year_text.toInt();
  return QDate(year, m.captured(3).toInt(), m.captured(1).toInt()).isValid();
}

QString Not_A_Number_Text(const QString& caption, const QString& value) {
  return QString::fromUtf8("\"%1\" filtresine yalnızca sayı girilebilir; \"%2\" bir sayı değil.")
      .arg(caption, value);
}
