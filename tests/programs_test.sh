#!/usr/bin/env bash
# The programs end to end: the demo maker writes a suite, the command line opens its company.
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
# Regional settings are wrong on a fresh registry: without --yes the question is refused.
"$cli" company "MALITABLO_DEMO|$data|1|sa|æ" >"$work/out" 2>"$work/err" && fail "ran without consent"
grep -q "Sistemin Ayarlanması Gerekiyor" "$work/err" || fail "no regional question: $(cat "$work/err")"
# With --yes the settings are written and the company opens.
"$cli" company "MALITABLO_DEMO|$data|1|sa|æ" --yes >"$work/out" 2>"$work/err" || fail "company not opened: $(cat "$work/err")"
grep -q "Şirket: Örnek Ticaret A.Ş." "$work/out" || fail "wrong company: $(cat "$work/out")"
grep -q "Tutar biçimi: #,##0.00" "$work/out" || fail "wrong format"
# Now the settings are right: no question any more.
"$cli" company "MALITABLO_DEMO2|$data|1|sa|æ" >"$work/out" 2>"$work/err" || fail "second company: $(cat "$work/err")"
grep -q "Tutar biçimi: #,##0$" "$work/out" || fail "second company format: $(cat "$work/out")"
# A user without the report right, a missing database, too few fields: non-zero with the message.
"$cli" company "MALITABLO_DEMO2|$data|2|sa|æ" >/dev/null 2>"$work/err" && fail "no right but exit 0"
grep -q "Bu Raporu Görmeye Yetkiniz Yoktur" "$work/err" || fail "no-right message"
"$cli" company "YOK|$data|1|sa|æ" >/dev/null 2>"$work/err" && fail "missing database but exit 0"
grep -q "Veri Tabanına Bağlanılamadı" "$work/err" || fail "connection message"
"$cli" company "MALITABLO_DEMO|$data|1|sa" >/dev/null 2>"$work/err" && fail "four fields but exit 0"
grep -q "Eksik Paremetre Kullanımı" "$work/err" || fail "missing-parameter message"
echo "programs: all passed"
