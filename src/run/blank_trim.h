// Trimming as the suite's texts are trimmed: blanks only, not tabs or line breaks.
#pragma once

#include <QString>

inline QString Trim_Blanks(const QString& text) {
  qsizetype start = 0;
  qsizetype end = text.size();
  while (start < end && text.at(start) == ' ') ++start;
  while (end > start && text.at(end - 1) == ' ') --end;
  return text.mid(start, end - start);
}
