# Sourced by the end-to-end tests on PostgreSQL: a database of the test's own on the cluster of
# the tests (MALITABLO_TEST_PG), dropped with the temporary folder when the test ends.
#
#   program_dir  the folder of the built programs (the test's first argument)
#   work         the temporary folder (the registry file lives there)
#   cluster      the cluster's libpq connection text
#   server       the server name of the test's database ("pg:…")
#   fail MESSAGE ends the test with "FAIL: MESSAGE"
set -u
program_dir=$1
fail() { echo "FAIL: $*"; exit 1; }
# Without MALITABLO_TEST_PG, the cluster that CTest's set-up started (MALITABLO_TEST_PG_FILE).
if [ -z "${MALITABLO_TEST_PG:-}" ] && [ -f "${MALITABLO_TEST_PG_FILE:-}" ]; then
  source "$MALITABLO_TEST_PG_FILE"
fi
[ -n "${MALITABLO_TEST_PG:-}" ] || fail "MALITABLO_TEST_PG is not set (CTest's pg/cluster-start or scripts/test starts a PostgreSQL cluster)"
work=$(mktemp -d)
cluster=${MALITABLO_TEST_PG#pg:}
database=malitablo_test_$$_$RANDOM
cleanup() {
  psql -q "$cluster dbname=postgres" -c "DROP DATABASE IF EXISTS $database WITH (FORCE)" >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT
export MALITABLO_REGISTRY=$work/registry.ini
psql -q "$cluster dbname=postgres" -c "CREATE DATABASE $database" >/dev/null 2>"$work/err" ||
  fail "test database: $(cat "$work/err")"
server="pg:$cluster dbname=$database"
