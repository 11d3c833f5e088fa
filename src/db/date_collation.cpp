#include "db/date_collation.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
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

int Compare(void*, int la, const void* a, int lb, const void* b) {
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

void Register_Date_Collation(sqlite3* db) {
  sqlite3_create_collation(db, "MTDATE", SQLITE_UTF8, nullptr, Compare);
}
