// The join-insertion finder on any statement and field: the end of the statement, or the
// place of a ")" after the JOIN of the field's table.
#include <fuzzer/FuzzedDataProvider.h>

#include <QString>

#include "fuzz_check.h"
#include "run/filter_conditions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string field = input.ConsumeRandomLengthString(40);
  const std::string statement = input.ConsumeRemainingBytesAsString();
  const QString alan = QString::fromUtf8(field.data(), static_cast<qsizetype>(field.size()));
  const QString sql = QString::fromUtf8(statement.data(), static_cast<qsizetype>(statement.size()));

  const JoinInsertPosition at = FindJoinInsertPosition(sql, alan);
  const QString detail = alan + " in " + sql;
  FUZZ_CHECK(at.mode == 1 || at.mode == 2, detail);
  if (at.mode == 1) return 0;
  FUZZ_CHECK(alan.contains('.'), detail);
  const qsizetype join = sql.indexOf("JOIN " + alan.left(alan.indexOf('.')) + " ON");
  FUZZ_CHECK(join >= 0 && at.position > join && at.position <= sql.size(), detail);
  FUZZ_CHECK(at.position == sql.size() || sql[at.position] == ')', detail);
  return 0;
}
