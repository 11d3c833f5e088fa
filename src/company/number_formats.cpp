#include "company/number_formats.h"

QString Number_Format(int decimals) {
  QString format = "#,##0";
  if (decimals >= 1) format += "." + QString(decimals, '0');
  return format;
}

int Format_Decimals(const QString& format) {
  int dot = format.indexOf('.');
  return dot < 0 ? 0 : static_cast<int>(format.size() - dot - 1);
}
