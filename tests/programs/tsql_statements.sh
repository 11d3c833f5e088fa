#!/usr/bin/env bash
# The SQL Server road meets a T-SQL parser: every statement the programs send in the suite's
# dialect (the one SQL Server receives as it stands) is collected from the SQL trace and parsed
# as T-SQL by tsql_parse.py. The statements come from the command line on the demo (company,
# both statements with periods, levels and options, check, explain) and from the logic tests of
# the login, the choice lists and the definition saves (TESTS, the second argument).
#   tsql_statements.sh PROGRAM_DIR TESTS
source "$(dirname "$0")/demo_suite.sh"
tests=${2:?the logic tests binary}
accept_regional_settings
export MALITABLO_TRACE_SQL=1
trace=$work/trace
: >"$trace"
traced() {
  "$@" >/dev/null 2>>"$trace" || fail "$*: $(tail -n 3 "$trace")"
}
traced "$cli" company "$company"
traced "$cli" run "$company" --set "Tablo Kodu=GT" --set "Rapor Başlangıç Ayı=Şubat" \
  --set "Rapor Bitiş Ayı=Kasım" --set "Hareket Görmüşler=Evet" --format csv
traced "$cli" run "$company" --set "Tablo Kodu=GT" --set "Seviye=1..2" \
  --set "Dipnot Basılsın Mı?=Hayır" --set "İşyeri Kodu=Hepsi"
traced "$cli" run "$company" --set "Tablo Türü=Bilanço" --set "Tablo Kodu=BL" --format json
traced "$cli" check "$company" --set "Tablo Kodu=GT"
traced "$cli" explain "$company" --set "Tablo Kodu=GT" --row A
traced "$cli" explain "$company" --set "Tablo Kodu=GT" --row A.1 --account 600.01
MALITABLO_TEST_ENGINE= traced "$tests" \
  --gtest_filter='TableDefinition.*:LoginCheck.*:LoginCompany.*:LoginDemo.*:ChoiceLists.*'
# A statement is a trace line and the blank-led lines after it (a master file's statement
# spans lines); statements only the embedded engine is sent, and the tests' own tables, aside.
awk '
  /^\[ *[0-9.]+ ms\] / { if (s != "") print s; s = $0; sub(/^\[ *[0-9.]+ ms\] /, "", s); next }
  /^[ \t]/ && s != "" { s = s " " $0; next }
  { if (s != "") print s; s = "" }
  END { if (s != "") print s }
' "$trace" | grep -E '^[[:space:]]*(SELECT|INSERT|UPDATE|DELETE|WITH)\b' >"$work/statements"
[ -s "$work/statements" ] || fail "no statement traced"
/usr/bin/python3 "$(dirname "$0")/tsql_parse.py" <"$work/statements" || fail "statements that are not T-SQL"
