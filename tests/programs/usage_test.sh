#!/usr/bin/env bash
# The programs' help and usage: --help on stdout with exit 0, a wrong option on stderr with exit
# 2; a demo suite that cannot be written is an error that names the place.
set -u
program_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export MALITABLO_REGISTRY=$work/registry.ini
fail() { echo "FAIL: $*"; exit 1; }
cli=$program_dir/malitablo-cli
demo=$program_dir/malitablo-demo

"$cli" --help >"$work/out" 2>"$work/err" || fail "--help exit $?"
[ -s "$work/err" ] && fail "--help wrote to stderr: $(cat "$work/err")"
for text in "malitablo-cli company" "malitablo-cli run" "--set" "--format" "--out" "--yes" \
  "pdf, html, txt, xlsx" "registry.ini"; do
  grep -qF -- "$text" "$work/out" || fail "--help does not name $text"
done
"$cli" run "X|y|1|sa|æ" -h >"$work/out2" 2>/dev/null || fail "-h exit $?"
cmp -s "$work/out" "$work/out2" || fail "-h differs from --help"
"$cli" --bogus >"$work/out" 2>"$work/err"
[ $? = 2 ] || fail "a wrong option did not exit 2"
[ -s "$work/out" ] && fail "usage went to stdout"
grep -q "^Kullanım:" "$work/err" || fail "no usage on stderr"
grep -q "Komutlar" "$work/err" && fail "the whole help on a wrong option"

"$demo" --help >"$work/out" 2>&1 || fail "demo --help exit $?"
grep -qF "malitablo-demo ~/demo" "$work/out" || fail "demo --help has no example"
"$demo" --bogus >/dev/null 2>"$work/err"
[ $? = 2 ] || fail "demo: a wrong option did not exit 2"

# A suite folder that cannot be made, and a sys.inf that cannot be written, are errors.
"$demo" /proc/malitablo-suite >/dev/null 2>"$work/err" && fail "a demo into /proc succeeded"
grep -q "Yazılamıyor: /proc/malitablo-suite" "$work/err" || fail "folder not named: $(cat "$work/err")"
mkdir -p "$work/suite/sys.inf"
"$demo" "$work/suite" >/dev/null 2>"$work/err" && fail "a demo without its sys.inf succeeded"
grep -q "Yazılamıyor: $work/suite/sys.inf" "$work/err" || fail "sys.inf not named: $(cat "$work/err")"
echo "usage: all passed"
