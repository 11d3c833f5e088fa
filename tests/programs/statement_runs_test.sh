#!/usr/bin/env bash
# Statement runs from the command line: the income statement as text, JSON and CSV, and the
# run parameters it refuses.
source "$(dirname "$0")/demo_suite.sh"
accept_regional_settings

# The whole income statement as text, then as JSON for the figures.
"$cli" run "$company" --set "Tablo Kodu=GT" --set "Rapor Başlangıç Ayı=Ocak" \
  --set "Rapor Bitiş Ayı=Aralık" >"$work/out" 2>"$work/err" || fail "run: $(cat "$work/err")"
grep -q "^C. NET SATIŞLAR  *[0-9.]*,[0-9][0-9]$" "$work/out" || fail "net sales line: $(cat "$work/out")"
grep -q "^DÖNEM NET KÂRI VEYA ZARARI" "$work/out" || fail "net profit line"
"$cli" run "$company" --set "Tablo Kodu=GT" --format json --out "$work/gt.json" \
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
"$cli" run "$company" --set "Tablo Kodu=GT" --format csv --out "$work/gt.csv" 2>/dev/null || fail "csv run"
[ "$(head -n1 "$work/gt.csv" | tr -d '\r')" = "Rapor_Yeri,Satir_No,Satir_Tipi,Satir_Kodu,Satir_Seviyesi,Satir_Adi,BTutar,ATutar,Bakiye" ] || fail "csv header"
[ "$(wc -l < "$work/gt.csv")" -eq 40 ] || fail "csv rows"
# An unknown caption is an error that names it; a wrong level stops the run.
"$cli" run "$company" --set "Yok Böyle=1" >/dev/null 2>"$work/err" && fail "unknown caption but exit 0"
grep -q "Yok Böyle" "$work/err" || fail "unknown caption not named"
"$cli" run "$company" --set "Seviye=a..b" >/dev/null 2>"$work/err" && fail "bad level but exit 0"
echo "statement runs: all passed"
