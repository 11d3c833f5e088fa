// The standard definition reader on any bytes: rows go into the three grids, each grid keeps
// its columns, and the computed column is the code and the name of its row.
#include <QByteArray>
#include <QString>

#include "db/suite_text.h"
#include "fuzz_check.h"
#include "model/financial_table.h"
#include "model/standard_definition.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString text =
      Decode_Suite_Text(QByteArray(reinterpret_cast<const char*>(data), static_cast<int>(size)));
  DefinitionGrids grids;
  const DefinitionGrids empty;
  Read_Standard_Definition(text, grids);
  int rows = 0;
  for (int placement : {kPlaceMain, kPlacePassive, kPlaceFootnote}) {
    const KeyedGrid& grid = grids.Grid(placement);
    FUZZ_CHECK(grid.Keys() == empty.Grid(placement).Keys(), text);
    for (int row = 1; row < grid.Rows(); ++row) {
      FUZZ_CHECK(grid.Text(row, "Yazilacak") ==
                     Display_Text(grid.Text(row, "Satir_Kodu"), grid.Text(row, "Satir_Adi")),
                 text);
    }
    rows += grid.Rows() - 1;
  }
  // At most one row per line.
  FUZZ_CHECK(rows <= text.count('\n') + 1, text);
  return 0;
}
