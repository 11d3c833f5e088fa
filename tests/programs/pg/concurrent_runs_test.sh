#!/usr/bin/env bash
# Two users at once on PostgreSQL: runs of one statement for two periods, started together in
# pairs, each print their own period's statement. Needs the cluster of scripts/test.
source "$(dirname "$0")/pg_database.sh"
source "$(dirname "$0")/../concurrent_pairs.sh"
"$program_dir/malitablo-demo" "$work/pg" --server "$server" >/dev/null 2>"$work/err" ||
  fail "PostgreSQL demo: $(cat "$work/err")"
cli=$program_dir/malitablo-cli
company="MALITABLO_DEMO|$server|1|sa|æ"
"$cli" company "$company" --yes >/dev/null 2>"$work/err" || fail "regional settings: $(cat "$work/err")"
Check_Pairs "$company"
echo "concurrent runs on PostgreSQL: all passed"
