#include "calc/row_sums.h"

#include <cmath>

#include "db/recordset.h"

const char* const kLedgerSums =
    "SUM(MUHFISHAR.BTutar) as Borc, SUM(MUHFISHAR.ATutar) as Alacak "
    ",SUM(ISNULL(MUHFISHAR.BTutar,0)-ISNULL(MUHFISHAR.ATutar,0))AS Bakiye, COUNT(*) AS Adet";

int Code_Number(const QVariant& value) {
  return static_cast<int>(std::lround(value.toString().trimmed().toDouble()));
}

LineSums Line_Sums(const Recordset& rs, long long lines) {
  auto sum = [&rs](const char* column) -> std::optional<double> {
    if (rs.Is_Null(column)) return std::nullopt;
    return rs.Number(column);
  };
  return {sum("Borc"), sum("Alacak"), sum("Bakiye"), lines};
}
