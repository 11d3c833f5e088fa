#!/usr/bin/env bash
# The command line opening a company: the regional question on a fresh registry, the company's
# settings, and the refusals (no right, no database, too few fields) with their messages. A name
# that is a path is refused by the connection itself: database_names_test.cpp.
source "$(dirname "$0")/demo_suite.sh"

# Regional settings are wrong on a fresh registry: without --yes the question is refused.
"$cli" company "$company" >"$work/out" 2>"$work/err" && fail "ran without consent"
grep -q "Sistemin Ayarlanması Gerekiyor" "$work/err" || fail "no regional question: $(cat "$work/err")"
# With --yes the settings are written and the company opens.
"$cli" company "$company" --yes >"$work/out" 2>"$work/err" || fail "company not opened: $(cat "$work/err")"
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
echo "start-up: all passed"
