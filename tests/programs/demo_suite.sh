# Sourced by the programs' end-to-end tests: a temporary folder with a registry of its own and
# a demo suite made by malitablo-demo, removed when the test ends.
#
#   program_dir  the folder of the built programs (the test's first argument)
#   work         the temporary folder
#   data         the suite's data folder, read from its sys.inf
#   cli          malitablo-cli
#   company      the command line that opens the demo company as user 1
#   fail MESSAGE ends the test with "FAIL: MESSAGE"
set -u
program_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export MALITABLO_REGISTRY=$work/registry.ini
fail() { echo "FAIL: $*"; exit 1; }

"$program_dir/malitablo-demo" "$work/suite" >/dev/null 2>&1 || fail "demo suite not made"
[ -f "$work/suite/sys.inf" ] || fail "sys.inf missing"
data=$(head -n1 "$work/suite/sys.inf" | cut -d';' -f1)
[ -f "$data/MALITABLO_DEMO.sqlite" ] || fail "company database missing"

cli=$program_dir/malitablo-cli
company="MALITABLO_DEMO|$data|1|sa|æ"

# A fresh registry has wrong regional settings: accept the question once, so that later runs
# go straight to the company.
accept_regional_settings() {
  "$cli" company "$company" --yes >/dev/null 2>"$work/err" || fail "regional settings: $(cat "$work/err")"
}
