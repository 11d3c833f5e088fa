#!/usr/bin/env bash
# Two users at once on PostgreSQL: runs of one statement for two periods, started together in
# pairs, each print their own period's statement; a run held by a slow reader. Needs the
# PostgreSQL cluster of the tests.
source "$(dirname "$0")/pg_database.sh"
source "$(dirname "$0")/../concurrent_pairs.sh"
"$program_dir/malitablo-demo" "$work/pg" --server "$server" >/dev/null 2>"$work/err" ||
  fail "PostgreSQL demo: $(cat "$work/err")"
cli=$program_dir/malitablo-cli
company="MALITABLO_DEMO|$server|1|sa|æ"
"$cli" company "$company" --yes >/dev/null 2>"$work/err" || fail "regional settings: $(cat "$work/err")"
Check_Pairs "$company"
# A run whose listing waits for its reader (a pipe nobody opens yet) holds its statement: a
# second run completes or is refused with the message within the lock wait, never waits on.
mkfifo "$work/slow"
"$cli" run "$company" --set "Tablo Kodu=GT" --out "$work/slow" >/dev/null 2>&1 &
first=$!
sleep 2
start=$SECONDS
"$cli" run "$company" --set "Tablo Kodu=GT" >/dev/null 2>"$work/err"
status=$?
waited=$((SECONDS - start))
timeout 30 cat "$work/slow" >/dev/null
wait "$first" || fail "the slow run failed"
[ "$waited" -le 8 ] || fail "the second run waited ${waited} s"
[ "$status" = 0 ] || grep -q "başka bir çalıştırma" "$work/err" ||
  fail "second run: exit $status, $(cat "$work/err")"
echo "concurrent runs on PostgreSQL: all passed"
