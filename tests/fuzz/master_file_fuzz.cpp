// The master file reader on any bytes: read whole, or refused with one of its two messages;
// a grid of ten columns either way.
#include <QByteArray>
#include <QString>

#include "db/suite_text.h"
#include "fuzz_check.h"
#include "run/master_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString text =
      Decode_Suite_Text(QByteArray(reinterpret_cast<const char*>(data), static_cast<int>(size)));
  QString base_sql, group_sql;
  KeyedGrid grid = Make_Filter_Grid();
  const QString message = ReadMasterText(text, base_sql, group_sql, grid);
  FUZZ_CHECK(message.isEmpty() || message == Master_Base_Sql_Error() ||
                 message == Master_Filter_Error(),
             message);
  FUZZ_CHECK(grid.Cols() == Filter_Column_Keys().size(), text);
  if (message.isEmpty()) {
    // The statements are their lines joined; each filter line was one row.
    FUZZ_CHECK(!base_sql.contains('\n') && !base_sql.contains('\r'), base_sql);
    FUZZ_CHECK(!group_sql.contains('\n') && !group_sql.contains('\r'), group_sql);
    FUZZ_CHECK(grid.Rows() - 1 <= text.count('\n') + text.count('\r'), text);
  }
  return 0;
}
