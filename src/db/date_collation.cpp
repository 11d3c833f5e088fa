#include "db/date_collation.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// Reads up to `max` digits at text[pos]; returns the count read.
int Read_Digits(const char* text, int length, int pos, int max, int* value) {
  int n = 0;
  *value = 0;
  while (pos + n < length && n < max && std::isdigit(static_cast<unsigned char>(text[pos + n]))) {
    *value = *value * 10 + (text[pos + n] - '0');
    ++n;
  }
  return n;
}

std::string Iso(int year, int month, int day, const char* rest, int rest_length) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", year, month, day);
  return std::string(buffer) + std::string(rest, rest_length);
}

// 'YYYY-MM-DD' followed by anything: already in ISO form.
bool Starts_Iso(const char* t, int length) {
  auto digit = [t](int i) { return t[i] >= '0' && t[i] <= '9'; };
  return length >= 10 && digit(0) && digit(1) && digit(2) && digit(3) && t[4] == '-' && digit(5) &&
         digit(6) && t[7] == '-' && digit(8) && digit(9);
}

int Compare(void*, int la, const void* a, int lb, const void* b) {
  // Two stored ISO dates compare as they are, without a copy.
  if (Starts_Iso(static_cast<const char*>(a), la) && Starts_Iso(static_cast<const char*>(b), lb)) {
    int c = std::memcmp(a, b, std::min(la, lb));
    if (c != 0) return c;
    return la < lb ? -1 : la > lb ? 1 : 0;
  }
  std::string ka = Iso_Date_Key(static_cast<const char*>(a), la);
  std::string kb = Iso_Date_Key(static_cast<const char*>(b), lb);
  int c = std::memcmp(ka.data(), kb.data(), std::min(ka.size(), kb.size()));
  if (c != 0) return c;
  return ka.size() < kb.size() ? -1 : ka.size() > kb.size() ? 1 : 0;
}

}  // namespace

std::string Iso_Date_Key(const char* text, int length) {
  int a, b, c;
  int n1 = Read_Digits(text, length, 0, 4, &a);
  if (n1 == 0 || n1 >= length || (text[n1] != '/' && text[n1] != '-' && text[n1] != '.'))
    return std::string(text, length);
  char sep = text[n1];
  int n2 = Read_Digits(text, length, n1 + 1, 2, &b);
  int p = n1 + 1 + n2;
  if (n2 == 0 || p >= length || text[p] != sep) return std::string(text, length);
  int n3 = Read_Digits(text, length, p + 1, 4, &c);
  if (n3 == 0) return std::string(text, length);
  int end = p + 1 + n3;
  if (n1 == 4) return Iso(a, b, c, text + end, length - end);  // YYYY/MM/DD, YYYY-MM-DD
  if (n3 == 4 && sep == '.') return Iso(c, b, a, text + end, length - end);  // DD.MM.YYYY
  if (n3 == 4) return Iso(c, a, b, text + end, length - end);                // MM/DD/YYYY
  return std::string(text, length);
}

QString Iso_Date_Literal(const QString& text) {
  if (text.size() < 8 || text.size() > 10) return {};
  for (QChar c : text)
    if (c != '/' && (c < '0' || c > '9')) return {};
  const QByteArray bytes = text.toLatin1();
  const char* t = bytes.constData();
  const int length = static_cast<int>(bytes.size());
  int a, b, c;
  const int n1 = Read_Digits(t, length, 0, 4, &a);
  if (n1 == 0 || n1 >= length || t[n1] != '/') return {};
  const int n2 = Read_Digits(t, length, n1 + 1, 2, &b);
  const int p = n1 + 1 + n2;
  if (n2 == 0 || p >= length || t[p] != '/') return {};
  const int n3 = Read_Digits(t, length, p + 1, 4, &c);
  if (p + 1 + n3 != length) return {};
  int year, month, day;
  if (n1 == 4 && n3 <= 2) {
    year = a, month = b, day = c;  // YYYY/MM/DD
  } else if (n1 <= 2 && n3 == 4) {
    year = c, month = a, day = b;  // MM/DD/YYYY
  } else {
    return {};
  }
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  if (year < 1 || month < 1 || month > 12 || day < 1 ||
      day > kDays[month - 1] + (month == 2 && leap ? 1 : 0))
    return {};
  return QString::fromStdString(Iso(year, month, day, "", 0));
}

void Register_Date_Collation(sqlite3* db) {
  sqlite3_create_collation(db, "MTDATE", SQLITE_UTF8, nullptr, Compare);
}
