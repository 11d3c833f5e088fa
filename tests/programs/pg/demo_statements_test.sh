#!/usr/bin/env bash
# The demo suite made twice, as SQLite files and on PostgreSQL (malitablo-demo --server), and the
# income statement and the balance sheet run on both from the command line: every row and every
# amount must be the same to the cent, for the whole year, for part of it and for the second
# company. Needs the cluster of scripts/test (MALITABLO_TEST_PG).
source "$(dirname "$0")/pg_database.sh"

"$program_dir/malitablo-demo" "$work/lite" >/dev/null 2>"$work/err" || fail "SQLite demo: $(cat "$work/err")"
# A password in the server name is used, never printed nor written into sys.inf.
"$program_dir/malitablo-demo" "$work/pg" --server "$server password=gizli-parola" >"$work/out" 2>&1 ||
  fail "PostgreSQL demo: $(cat "$work/out")"
grep -l "gizli-parola" "$work/out" "$work/pg/sys.inf" && fail "the password is printed or stored"
[ "$(head -n1 "$work/pg/sys.inf" | cut -d';' -f1)" = "$server" ] || fail "sys.inf does not name the server"
schemas=$(psql -qAt "$cluster dbname=$database" -c \
  "SELECT string_agg(nspname, ',' ORDER BY nspname) FROM pg_namespace WHERE nspname LIKE 'malitablo%' OR nspname = 'defination_db'")
[ "$schemas" = "defination_db,malitablo_demo,malitablo_demo2,malitablo_demo_2025" ] || fail "schemas: $schemas"
lite=$(head -n1 "$work/lite/sys.inf" | cut -d';' -f1)
cli=$program_dir/malitablo-cli
"$cli" company "MALITABLO_DEMO|$lite|1|sa|æ" --yes >/dev/null 2>"$work/err" ||
  fail "regional settings: $(cat "$work/err")"

runs=0
# Runs one statement on both engines and compares the CSV listings.
same() {
  local company=$1 name=$2
  shift 2
  "$cli" run "$company|$lite|1|sa|æ" "$@" --format csv --out "$work/$name.lite.csv" 2>"$work/err" ||
    fail "$name on SQLite: $(cat "$work/err")"
  "$cli" run "$company|$server|1|sa|æ" "$@" --format csv --out "$work/$name.pg.csv" 2>"$work/err" ||
    fail "$name on PostgreSQL: $(cat "$work/err")"
  [ "$(wc -l <"$work/$name.lite.csv")" -gt 10 ] || fail "$name: too few rows"
  # Amounts have the company's decimals: the second company's have none.
  tr -d '\r' <"$work/$name.lite.csv" | grep -qE ',-?[1-9][0-9]*(\.[0-9]+)?$' || fail "$name: no amounts"
  diff "$work/$name.lite.csv" "$work/$name.pg.csv" >"$work/diff" ||
    fail "$name differs between the engines: $(head -n 20 "$work/diff")"
  runs=$((runs + 1))
}
same MALITABLO_DEMO gt_year --set "Tablo Kodu=GT" --set "Rapor Başlangıç Ayı=Ocak" --set "Rapor Bitiş Ayı=Aralık"
same MALITABLO_DEMO gt_spring --set "Tablo Kodu=GT" --set "Rapor Başlangıç Ayı=Mart" --set "Rapor Bitiş Ayı=Mayıs"
same MALITABLO_DEMO bl_year --set "Tablo Türü=Bilanço" --set "Tablo Kodu=BL" --set "Rapor Bitiş Ayı=Aralık"
same MALITABLO_DEMO bl_june --set "Tablo Türü=Bilanço" --set "Tablo Kodu=BL" --set "Rapor Bitiş Ayı=Haziran"
same MALITABLO_DEMO2 gt_second --set "Tablo Kodu=GT"
same MALITABLO_DEMO2 bl_second --set "Tablo Türü=Bilanço" --set "Tablo Kodu=BL"
echo "demo statements: $runs runs, the same on SQLite and PostgreSQL"
