#!/usr/bin/env bash
# Two users at once on PostgreSQL: runs of one statement for two periods, started together in
# pairs, each print their own period's statement. Needs the cluster of scripts/test.
set -u
program_dir=$1
fail() { echo "FAIL: $*"; exit 1; }
[ -n "${MALITABLO_TEST_PG:-}" ] || fail "MALITABLO_TEST_PG is not set (scripts/test starts a PostgreSQL cluster and sets it)"
work=$(mktemp -d)
cluster=${MALITABLO_TEST_PG#pg:}
database=malitablo_pairs_$$_$RANDOM
cleanup() {
  psql -q "$cluster dbname=postgres" -c "DROP DATABASE IF EXISTS $database WITH (FORCE)" >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT
export MALITABLO_REGISTRY=$work/registry.ini
psql -q "$cluster dbname=postgres" -c "CREATE DATABASE $database" >/dev/null 2>"$work/err" ||
  fail "test database: $(cat "$work/err")"
server="pg:$cluster dbname=$database"
"$program_dir/malitablo-demo" "$work/pg" --server "$server" >/dev/null 2>"$work/err" ||
  fail "PostgreSQL demo: $(cat "$work/err")"
cli=$program_dir/malitablo-cli
company="MALITABLO_DEMO|$server|1|sa|æ"
"$cli" company "$company" --yes >/dev/null 2>"$work/err" || fail "regional settings: $(cat "$work/err")"

run() {
  "$cli" run "$company" --set "Tablo Kodu=GT" --set "Rapor Bitiş Ayı=$1" --format csv
}
run Şubat >"$work/february" 2>"$work/err" || fail "february: $(cat "$work/err")"
run Aralık >"$work/year" 2>"$work/err" || fail "year: $(cat "$work/err")"
cmp -s "$work/february" "$work/year" && fail "the two periods print the same statement"
for pair in $(seq 1 10); do
  run Şubat >"$work/february.$pair" 2>"$work/err.f$pair" &
  first=$!
  run Aralık >"$work/year.$pair" 2>"$work/err.y$pair" &
  second=$!
  wait $first || fail "pair $pair, february: $(cat "$work/err.f$pair")"
  wait $second || fail "pair $pair, year: $(cat "$work/err.y$pair")"
  cmp -s "$work/february.$pair" "$work/february" || fail "pair $pair: february mixed"
  cmp -s "$work/year.$pair" "$work/year" || fail "pair $pair: year mixed"
done
echo "concurrent runs on PostgreSQL: all passed"
