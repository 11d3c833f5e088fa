#!/usr/bin/env bash
# The audit commands: check of the demo income statement (nothing left out) and of a copy without
# one account row (that account, exit 1); explain of a row, of one of its accounts, and the codes
# it refuses. What the check finds is checked in audit_demo_test.cpp.
source "$(dirname "$0")/demo_suite.sh"
accept_regional_settings
db=$data/MALITABLO_DEMO.sqlite

"$cli" check "$company" --set "Tablo Kodu=GT" >"$work/out" 2>"$work/err" ||
  fail "check of GT: $(cat "$work/out" "$work/err")"
"$cli" check "$company" --set "Tablo Türü=Bilanço" --set "Tablo Kodu=BL" >"$work/bl-out" 2>"$work/err" ||
  fail "check of BL: $(cat "$work/bl-out" "$work/err")"
grep -q "Dışarıda kalan hesap (6 ile başlayanlar) : 0, iki kez sayılan hesap : 0" "$work/out" ||
  fail "GT summary: $(cat "$work/out")"

# A copy of GT without its row of foreign sales (account 601).
python3 - "$db" <<'PY' || fail "copy of GT"
import sqlite3, sys
db = sqlite3.connect(sys.argv[1])
db.execute("INSERT INTO MUHASEBEMALITABLOKART (Rapor_Kodu, Rapor_Adi, Rapor_Tipi) "
           "SELECT 'GTK', 'Gelir Tablosu Kopyası', Rapor_Tipi FROM MUHASEBEMALITABLOKART "
           "WHERE Rapor_Kodu='GT'")
new, old = [db.execute("SELECT Rapor_ID FROM MUHASEBEMALITABLOKART WHERE Rapor_Kodu=?", (c,)).fetchone()[0]
            for c in ("GTK", "GT")]
columns = ("Rapor_Yeri, Satir_No, Satir_Tipi, Satir_Kodu, Satir_Adi, Satir_Seviyesi, "
           "Hesaplama_Tipi, Bakiye_Tipi, Hesap_Karakteri, Ters_Bakiye, MHesap_KodBas, "
           "MHesap_KodBit, Formul")
db.execute(f"INSERT INTO MUHASEBEMALITABLOHAREKET (Rapor_ID, {columns}) "
           f"SELECT ?, {columns} FROM MUHASEBEMALITABLOHAREKET WHERE Rapor_ID=?", (new, old))
deleted = db.execute("DELETE FROM MUHASEBEMALITABLOHAREKET WHERE Rapor_ID=? AND Satir_Tipi=2 "
                     "AND MHesap_KodBas='601'", (new,)).rowcount
assert deleted == 1, deleted
db.commit()
PY
"$cli" check "$company" --set "Tablo Kodu=GTK" --format csv >"$work/out" 2>"$work/err" &&
  fail "check without the 601 row: exit 0"
python3 - "$work/out" <<'PY' || fail "left out: $(cat "$work/out")"
import csv, sys
rows = list(csv.DictReader(open(sys.argv[1], encoding="utf-8")))
assert [(r["Durum"], r["Hesap_Kodu"]) for r in rows] == [("Eksik", "601")], rows
assert float(rows[0]["Alacak"]) > 0, rows
PY

# explain: a group's rows, one account's voucher lines, and what it refuses.
"$cli" explain "$company" --set "Tablo Kodu=GT" --row A >"$work/out" 2>"$work/err" ||
  fail "explain A: $(cat "$work/err")"
grep -q "^  600.01 " "$work/out" || fail "explain A lists no account: $(cat "$work/out")"
"$cli" explain "$company" --set "Tablo Kodu=GT" --row A.1 --account 600.01 --format csv \
  >"$work/out" 2>"$work/err" || fail "explain 600.01: $(cat "$work/err")"
[ "$(head -n1 "$work/out" | tr -d '\r')" = "Tarih,Fis_No,Islem_Tipi,Aciklama,Borc,Alacak,Bakiye" ] ||
  fail "voucher lines header: $(head -n1 "$work/out")"
# The lines are listed as they are read: as many as the heading counts and the ledger holds, the
# running balance ending on the ledger's own sum, every text line as wide as the rule over it.
"$cli" explain "$company" --set "Tablo Kodu=GT" --row A.1 --account 600.01 --format json \
  >"$work/json" 2>"$work/err" || fail "explain 600.01 json: $(cat "$work/err")"
"$cli" explain "$company" --set "Tablo Kodu=GT" --row A.1 --account 600.01 \
  >"$work/text" 2>"$work/err" || fail "explain 600.01 text: $(cat "$work/err")"
python3 - "$db" "$work/json" "$work/text" <<'PY' || fail "voucher lines of 600.01"
import json, sqlite3, sys
n, net = sqlite3.connect(sys.argv[1]).execute(
    "SELECT COUNT(*), SUM(COALESCE(BTutar,0)-COALESCE(ATutar,0)) FROM MUHFISHAR "
    "WHERE MHesap_Kod='600.01' AND Yil='2026' "
    "AND (Islem_Tipi IS NULL OR Islem_Tipi<>'Kapanış Fişi')").fetchone()
doc = json.load(open(sys.argv[2], encoding="utf-8"))
rows = doc["satirlar"]
assert n > 50 and f"Satır sayısı : {n}" in doc["aciklama"], (n, doc["aciklama"])
assert len(rows) == n + 1 and rows[-1]["Tarih"] == "TOPLAM", rows[-1]
assert abs(rows[-1]["Bakiye"] - net) < 0.005 and abs(rows[-2]["Bakiye"] - net) < 0.005, net
text = open(sys.argv[3], encoding="utf-8").read().splitlines()
rule = next(i for i, line in enumerate(text) if line.startswith("---"))
body = text[rule + 3:]
assert len(body) == n + 1 and body[-1].startswith("TOPLAM"), body[-1]
assert {len(line) for line in body} == {len(text[rule])}, "columns not aligned"
PY
# A column's lines: the previous period's account lines are the year before's own database's.
"$cli" explain "$company" --set "Tablo Kodu=GT" --set "Karşılaştırma=Önceki Dönem" --row A.1 \
  --column "Önceki Dönem" --account 600.01 --format json >"$work/json" 2>"$work/err" ||
  fail "explain previous period: $(cat "$work/err")"
python3 - "$data/MALITABLO_DEMO_2025.sqlite" "$work/json" <<'PY' || fail "previous period lines"
import json, sqlite3, sys
n, net = sqlite3.connect(sys.argv[1]).execute(
    "SELECT COUNT(*), SUM(BTutar-ATutar) FROM MUHFISHAR WHERE MHesap_Kod='600.01' "
    "AND Islem_Tipi<>'Kapanış Fişi'").fetchone()
rows = json.load(open(sys.argv[2], encoding="utf-8"))["satirlar"]
assert n > 50 and len(rows) == n + 1 and abs(rows[-1]["Bakiye"] - net) < 0.005, (n, rows[-1])
PY
"$cli" explain "$company" --set "Tablo Kodu=GT" --row A --column Mart >/dev/null 2>"$work/err" &&
  fail "a column the run has not: exit 0"
grep -q '"Mart"' "$work/err" || fail "unknown column not named"
"$cli" explain "$company" --set "Tablo Kodu=GT" --row YOK >/dev/null 2>"$work/err" &&
  fail "unknown row: exit 0"
grep -q '"YOK"' "$work/err" || fail "unknown row not named"
"$cli" explain "$company" --set "Tablo Kodu=GT" --row A.1 --account 601 >/dev/null 2>"$work/err" &&
  fail "account of another row: exit 0"
"$cli" explain "$company" --set "Tablo Kodu=GT" >/dev/null 2>&1
[ $? -eq 2 ] || fail "explain without --row is not a usage error"
"$cli" check "$company" --set "Tablo Kodu=GT" --format pdf >/dev/null 2>&1
[ $? -eq 2 ] || fail "check to pdf is not a usage error"
# A line of the year whose date the engine cannot compare falls in no period: the check says so.
python3 - "$db" <<'PY' || fail "text date"
import sqlite3, sys
db = sqlite3.connect(sys.argv[1])
db.execute("INSERT INTO MUHFISHAR (Tarih, Yil, AY, Ay_Index, Islem_Tipi, MHesap_Kod, Ana_Hesap_ID, "
           "BTutar, ATutar) SELECT '31.03.2026', '2026', 'Mart', 3, 'Mahsup Fişi', MHesap_Kod, "
           "Ana_Hesap_ID, 0, 5 FROM MUHFISHAR WHERE MHesap_Kod='600.01' LIMIT 1")
db.commit()
PY
"$cli" check "$company" --set "Tablo Kodu=GT" --format json >"$work/out" 2>"$work/err" &&
  fail "check with a text date: exit 0"
python3 -c 'import json,sys; n=json.load(open(sys.argv[1]))["notlar"]; assert any("31.03.2026" in x for x in n), n' \
  "$work/out" || fail "text date not reported: $(cat "$work/out")"
echo "audit commands: all passed"
