// The read-only check of a master file's base statement on any text, read as a statement and
// as a PostgreSQL plan: a second statement, a comment, a data-modifying or row-locking plan
// node, or a call of a function outside the allowed ones is never let through.
#include <QString>

#include "db/sql_text.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString text = Fuzz_Text(data, size);

  // As a statement: what follows a statement outside its quotes makes it two.
  if (text.count('\'') % 2 == 0) {
    for (const char* tail : {"; DELETE FROM MUHFISHAR", " -- x", " /* x */"})
      FUZZ_CHECK(!Is_Single_Select(text + QString::fromLatin1(tail)), text + tail);
  }
  if (Is_Single_Select(text)) {
    const QString head = text.trimmed().left(6).toUpper();
    FUZZ_CHECK(head.startsWith("SELECT") || head.startsWith("WITH"), text);
  }

  // As a plan: a writing node or a foreign call anywhere refuses it, whatever surrounds them.
  const bool reads_only = Plan_Reads_Only(text);
  for (const char* writing :
       {"\n\"Node Type\": \"ModifyTable\"", "\n{\"Node Type\":\"LockRows\"}", "\n  ->  Delete on t",
        " lo_import('/etc/passwd'::text)", " public.sum(x)", " \\\"pg_read_file\\\"(x)"})
    FUZZ_CHECK(!Plan_Reads_Only(text + QString::fromLatin1(writing)), text + writing);
  // An allowed call after a blank changes nothing.
  FUZZ_CHECK(Plan_Reads_Only(text + " sum(x) pg_catalog.upper(y)") == reads_only, text);
  for (const QString& name : Plan_Functions(text)) FUZZ_CHECK(name == name.toLower(), name);
  return 0;
}
