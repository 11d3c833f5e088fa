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
# A statement run: the whole income statement as text, then as JSON for the figures.
"$cli" run "MALITABLO_DEMO|$data|1|sa|æ" --set "Tablo Kodu=GT" --set "Rapor Başlangıç Ayı=Ocak" \
  --set "Rapor Bitiş Ayı=Aralık" >"$work/out" 2>"$work/err" || fail "run: $(cat "$work/err")"
grep -q "^C. NET SATIŞLAR  *[0-9.]*,[0-9][0-9]$" "$work/out" || fail "net sales line: $(cat "$work/out")"
grep -q "^DÖNEM NET KÂRI VEYA ZARARI" "$work/out" || fail "net profit line"
"$cli" run "MALITABLO_DEMO|$data|1|sa|æ" --set "Tablo Kodu=GT" --format json --out "$work/gt.json" \
  2>"$work/err" || fail "json run: $(cat "$work/err")"
python3 - "$work/gt.json" <<'PY' || fail "json rows"
import json, sys
rows = json.load(open(sys.argv[1]))
assert len(rows) == 39, len(rows)
keys = {"Rapor_Yeri", "Satir_No", "Satir_Tipi", "Satir_Kodu", "Satir_Seviyesi", "Satir_Adi", "BTutar", "ATutar", "Bakiye"}
assert all(set(r) == keys for r in rows)
net = {r["Satir_Kodu"]: r["Bakiye"] for r in rows}
assert isinstance(net["C"], float) and net["C"] > 0
PY
"$cli" run "MALITABLO_DEMO|$data|1|sa|æ" --set "Tablo Kodu=GT" --format csv --out "$work/gt.csv" 2>/dev/null || fail "csv run"
[ "$(head -n1 "$work/gt.csv" | tr -d '\r')" = "Rapor_Yeri,Satir_No,Satir_Tipi,Satir_Kodu,Satir_Seviyesi,Satir_Adi,BTutar,ATutar,Bakiye" ] || fail "csv header"
[ "$(wc -l < "$work/gt.csv")" -eq 40 ] || fail "csv rows"
# The printed statement's files: written where asked, or as Temp.* in the program folder.
for format in pdf html txt xlsx; do
  "$cli" run "MALITABLO_DEMO|$data|1|sa|æ" --set "Tablo Kodu=GT" --format $format --out "$work/gt.$format" \
    2>"$work/err" || fail "$format run: $(cat "$work/err")"
  [ -s "$work/gt.$format" ] || fail "$format file empty"
done
pdftotext "$work/gt.pdf" - | grep -q "SATIR ADI" || fail "pdf text"
grep -q "SATIR ADI" "$work/gt.html" || fail "html text"
unzip -p "$work/gt.xlsx" xl/worksheets/sheet1.xml | grep -q "<v>" || fail "xlsx numbers"
net=$(python3 -c "import json; print(next(r['Satir_Adi'] for r in json.load(open('$work/gt.json')) if r['Satir_Kodu'] == 'C'))")
iconv -f cp1254 -t utf-8 "$work/gt.txt" | grep -qF "$net" || fail "txt row: $net"
rm -f "$program_dir/Temp.xlsx"
"$cli" run "MALITABLO_DEMO|$data|1|sa|æ" --set "Tablo Kodu=GT" --format xlsx 2>/dev/null || fail "xlsx default"
[ -s "$program_dir/Temp.xlsx" ] || fail "Temp.xlsx not in the program folder"
# An unknown caption is an error that names it; a wrong date stops the run.
"$cli" run "MALITABLO_DEMO|$data|1|sa|æ" --set "Yok Böyle=1" >/dev/null 2>"$work/err" && fail "unknown caption but exit 0"
grep -q "Yok Böyle" "$work/err" || fail "unknown caption not named"
"$cli" run "MALITABLO_DEMO|$data|1|sa|æ" --set "Seviye=a..b" >/dev/null 2>"$work/err" && fail "bad level but exit 0"
echo "programs: all passed"
