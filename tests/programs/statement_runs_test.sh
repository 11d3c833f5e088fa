#!/usr/bin/env bash
# Statement runs from the command line: the listings' fields, the comparisons, and the run
# parameters it refuses.
source "$(dirname "$0")/demo_suite.sh"
accept_regional_settings

# The listings' fields (their rows against the ledger: statement_formats_test.cpp).
"$cli" run "$company" --set "Tablo Kodu=GT" --format json --out "$work/gt.json" \
  2>"$work/err" || fail "json run: $(cat "$work/err")"
python3 - "$work/gt.json" <<'PY' || fail "json fields"
import json, sys
keys = {"Rapor_Yeri", "Satir_No", "Satir_Tipi", "Satir_Kodu", "Satir_Seviyesi", "Satir_Adi", "BTutar", "ATutar", "Bakiye"}
assert all(set(r) == keys for r in json.load(open(sys.argv[1])))
PY
"$cli" run "$company" --set "Tablo Kodu=GT" --format csv --out "$work/gt.csv" 2>/dev/null || fail "csv run"
[ "$(head -n1 "$work/gt.csv" | tr -d '\r')" = "Rapor_Yeri,Satir_No,Satir_Tipi,Satir_Kodu,Satir_Seviyesi,Satir_Adi,BTutar,ATutar,Bakiye" ] || fail "csv header"
# Months side by side: every row keeps the period's figures and adds each month, then the total.
"$cli" run "$company" --set "Tablo Kodu=GT" --set "Karşılaştırma=Aylar" --format json \
  --out "$work/months.json" 2>"$work/err" || fail "months run: $(cat "$work/err")"
python3 - "$work/months.json" <<'PY' || fail "months json"
import json, sys
rows = json.load(open(sys.argv[1]))
assert len(rows) == 54, len(rows)
for r in rows:
    columns = r["columns"]
    assert [c["title"] for c in columns][::11] == ["Ocak", "Aralık"] and columns[-1]["title"] == "Toplam"
    assert (columns[0]["from"], columns[0]["to"]) == ("2026-01-01", "2026-01-31"), columns[0]
    assert (columns[1]["from"], columns[1]["to"]) == ("2026-02-01", "2026-02-28"), columns[1]
    assert all(columns[-1][k] == r[k] for k in ("BTutar", "ATutar", "Bakiye")), r
PY
"$cli" run "$company" --set "Tablo Kodu=GT" --set "Karşılaştırma=Önceki Dönem" >"$work/out" \
  2>"$work/err" || fail "previous period run: $(cat "$work/err")"
grep -q "^Önceki dönem verisi yok$" "$work/out" && fail "note with the year before's database"
grep -q "Cari Dönem  *Önceki Dönem  *Fark  *Değişim %$" "$work/out" || fail "column titles"
"$cli" run "$company" --set "Tablo Kodu=GT" --set "Karşılaştırma=Çeyrekler" --format csv \
  --out "$work/q.csv" 2>/dev/null || fail "quarters csv"
head -n1 "$work/q.csv" | grep -q ",1. Çeyrek BTutar,1. Çeyrek ATutar,1. Çeyrek Bakiye,.*,Toplam Bakiye" || fail "quarters csv header"
"$cli" run "$company" --set "Karşılaştırma=Yıllar" >/dev/null 2>&1 && fail "unknown comparison but exit 0"
# An unknown caption is an error that names it; a wrong level stops the run.
"$cli" run "$company" --set "Yok Böyle=1" >/dev/null 2>"$work/err" && fail "unknown caption but exit 0"
grep -q "Yok Böyle" "$work/err" || fail "unknown caption not named"
"$cli" run "$company" --set "Seviye=a..b" >/dev/null 2>"$work/err" && fail "bad level but exit 0"
# The balance sheet by a code in lower case, to June from the opening: both sides, dated.
"$cli" run "$company" --set "Tablo Türü=Bilanço" --set "Tablo Kodu=bl" --set "Rapor Bitiş Ayı=Haziran" \
  >"$work/bl.txt" 2>"$work/err" || fail "balance sheet: $(cat "$work/err")"
for side in AKTİFLER PASİFLER DİPNOTLAR; do grep -q "^$side$" "$work/bl.txt" || fail "$side missing"; done
grep -q "^30.06.2026 tarihli (Açılış dahil)$" "$work/bl.txt" || fail "no date heading"
# Runs that would print nothing say why and end non-zero.
refused() {
  "$cli" run "$company" "$@" >"$work/out" 2>"$work/err" && fail "exit 0 for $*"
  [ -s "$work/out" ] && fail "output for $*"
  grep -q "$expected" "$work/err" || fail "no reason for $*: $(cat "$work/err")"
}
expected='"YOK" kodlu bir gelir tablosu bulunamadı.' refused --set "Tablo Kodu=YOK"
expected='Seçilen seviyelerde (8..9) tabloda satır yok.' refused --set "Tablo Kodu=gt" --set "Seviye=8..9"
# Filter values outside a row's choices are refused with the choices and exit 2; a choice is
# found whatever its Turkish letter case.
for set in "Rapor Bitiş Ayı=Şubatt" "Rapor Bitiş Ayı=2" "Hareket Görmüşler=Belki" "Tablo Türü=Nakit"; do
  "$cli" run "$company" --set "Tablo Kodu=GT" --set "$set" >"$work/out" 2>"$work/err"
  status=$?
  [ "$status" = 2 ] || fail "$set: exit $status"
  [ -s "$work/out" ] && fail "$set: output"
  grep -q "geçerli bir değer değil" "$work/err" || fail "$set: no refusal: $(cat "$work/err")"
done
grep -q "Gelir Tablosu, Bilanço" "$work/err" || fail "the kinds not listed: $(cat "$work/err")"
"$cli" run "$company" --set "Tablo Kodu=GT" --set "Rapor Bitiş Ayı=Aralık" --set "Rapor Başlangıç Ayı=Şubat" \
  >"$work/upper" 2>"$work/err" || fail "Şubat: $(cat "$work/err")"
"$cli" run "$company" --set "Tablo Kodu=GT" --set "Rapor Bitiş Ayı=ARALIK" --set "Rapor Başlangıç Ayı=şubat" \
  >"$work/lower" 2>"$work/err" || fail "şubat: $(cat "$work/err")"
cmp -s "$work/upper" "$work/lower" || fail "months in other letter cases print otherwise"
"$cli" run "$company" --set "Tablo Kodu=GT" >"$work/year" 2>/dev/null || fail "whole year"
cmp -s "$work/upper" "$work/year" && fail "February to December prints the whole year"
# A period without a single ledger line says so rather than print blank amounts: here the lines
# of a workplace that has none this year.
python3 - "$data/MALITABLO_DEMO.sqlite" <<'PY' || fail "workplace 02 not emptied"
import sqlite3, sys
db = sqlite3.connect(sys.argv[1])
assert db.execute("UPDATE MUHFISHAR SET Isyeri_Kodu='01' WHERE Isyeri_Kodu='02'").rowcount
db.commit()
PY
expected='Seçilen dönemde (01.01.2026 - 31.12.2026) Ankara Şube işyerinin hiç fiş satırı yok.' \
  refused --set "Tablo Kodu=GT" --set "İşyeri Kodu=02"
# Every write is checked: a full standard output, a registry that cannot be written.
"$cli" company "$company" >/dev/full 2>"$work/err" && fail "company to a full device exit 0"
"$cli" --help >/dev/full 2>/dev/null && fail "--help to a full device exit 0"
mkdir "$work/folder"
MALITABLO_REGISTRY=$work/folder "$cli" company "$company" --yes >/dev/null 2>"$work/err" &&
  fail "a registry that is a folder, exit 0"
grep -q "$work/folder" "$work/err" || fail "the registry is not named: $(cat "$work/err")"
echo "statement runs: all passed"
