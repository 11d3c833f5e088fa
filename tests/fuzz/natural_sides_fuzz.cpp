// The natural-sides reader and the code-range rule on any bytes. The table keeps at most one
// side per line, a main account's range of itself has that account's side, and a code lies in
// a range exactly when it is between the bounds compared as text or begins with the upper bound.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include "calc/natural_side.h"
#include "db/suite_text.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString text =
      Decode_Suite_Text(QByteArray(reinterpret_cast<const char*>(data), static_cast<int>(size)));
  const NaturalSides sides = NaturalSides::Read(text);
  const QStringList lines = text.split('\n');
  FUZZ_CHECK(sides.Size() <= lines.size(), text);
  for (const QString& line : lines) {
    const QString code = line.trimmed().split(';').first().trimmed();
    if (code.size() == 3) FUZZ_CHECK(sides.Of_Range(code, code) == sides.Of_Account(code), text);
  }
  // The first three lines as a code and a range's bounds.
  if (lines.size() >= 3) {
    const QString &code = lines[0], &from = lines[1], &to = lines[2];
    const bool expected = from <= code && (code <= to || (!to.isEmpty() && code.startsWith(to)));
    FUZZ_CHECK(In_Code_Range(code, from, to) == expected, text);
  }
  return 0;
}
