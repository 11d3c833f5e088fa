#include "db/sql_text.h"

#include <QRegularExpression>

QString Sql_Quote_Value(const QString& value) { return QString(value).replace("'", "''"); }

bool Is_Sql_Number(const QString& value) {
  static const QRegularExpression number(R"(^\s*[-+]?(\d+(\.\d*)?|\.\d+)\s*$)");
  return number.match(value).hasMatch();
}
