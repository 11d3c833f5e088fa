#!/usr/bin/env bash
# The printed statement's files from the command line: PDF, HTML, text and workbook written
# where asked, or named after the statement and its period in the user's output folder beside
# the registry file, each saying where it went; a write that fails is reported. The HTML page and
# the workbook carry the chart.
source "$(dirname "$0")/demo_suite.sh"
accept_regional_settings

for format in pdf html txt xlsx; do
  "$cli" run "$company" --set "Tablo Kodu=GT" --format $format --out "$work/gt.$format" \
    2>"$work/err" || fail "$format run: $(cat "$work/err")"
  [ -s "$work/gt.$format" ] || fail "$format file empty"
done
pdftotext "$work/gt.pdf" - | grep -q "SATIR ADI" || fail "pdf text"
grep -q "SATIR ADI" "$work/gt.html" || fail "html text"
unzip -p "$work/gt.xlsx" xl/worksheets/sheet1.xml | grep -q "<v>" || fail "xlsx numbers"
# Months side by side in the workbook: a titled column per month then the total, numbers that
# add up across every row.
"$cli" run "$company" --set "Tablo Kodu=GT" --set "Karşılaştırma=Aylar" --format xlsx \
  --out "$work/months.xlsx" 2>"$work/err" || fail "months xlsx: $(cat "$work/err")"
python3 - "$work/months.xlsx" <<'PY' || fail "months xlsx columns"
import re, sys, zipfile
book = zipfile.ZipFile(sys.argv[1])
strings = re.findall(r"<t[^>]*>([^<]*)</t>", book.read("xl/sharedStrings.xml").decode())
sheet = book.read("xl/worksheets/sheet1.xml").decode()
rows = {}
for number, cells in re.findall(r'<row r="(\d+)"[^>]*>(.*?)</row>', sheet):
    for column, attributes, value in re.findall(r'<c r="([A-Z]+)\d+"([^>]*)><v>([^<]*)</v>', cells):
        text = 't="s"' in attributes
        rows.setdefault(int(number), {})[column] = strings[int(value)] if text else float(value)
titles = next(r for r in rows.values() if r.get("B") == "Ocak")
assert titles["M"] == "Aralık" and titles["N"] == "Toplam", titles
sums = [r for r in rows.values() if isinstance(r.get("N"), float)]
assert len(sums) > 20, len(sums)
for r in sums:
    months = sum(v for c, v in r.items() if c not in ("A", "N") and isinstance(v, float))
    assert abs(months - r["N"]) < 0.07, r
# The sheet "Grafik": each figure a formula naming the statement sheet's cell of its row (the
# same caption) and column, valued as that cell; a column chart of the 12 months over the
# level-1 rows (the total left out), and a line chart of the result rows over them.
assert 'name="Grafik"' in book.read("xl/workbook.xml").decode()
grafik = book.read("xl/worksheets/sheet2.xml").decode()
captions = dict(re.findall(r'<c r="A(\d+)"[^>]*t="s"[^>]*><v>(\d+)</v>', grafik))
cells = re.findall(r'<c r="([A-Z]+)(\d+)"[^>]*><f>\'[^\']+\'!\$([A-Z]+)\$(\d+)</f><v>([^<]*)</v>', grafik)
assert len(cells) > 12 * 5, len(cells)
for column, row, source_column, source_row, value in cells:
    assert source_column == column, (column, row, source_column)
    assert strings[int(captions[row])] == rows[int(source_row)]["A"].strip(), (row, source_row)
    assert abs(rows[int(source_row)][column] - float(value)) < 0.005, (column, row)
assert not any(c == "N" for c, _, _, _, _ in cells)  # no total
bar_rows = sorted(int(r) for c, r, _, _, _ in cells if c == "B")
last = next(r for r, after in zip(bar_rows, bar_rows[1:] + [0]) if after != r + 1)
bars = book.read("xl/charts/chart1.xml").decode()
assert "<c:barChart>" in bars
assert set(re.findall(r"<c:cat>.*?<c:f>([^<]+)</c:f>", bars, re.S)) == {"Grafik!$A$2:$A$%d" % last}
assert re.findall(r"<c:val>.*?<c:f>([^<]+)</c:f>", bars, re.S) == [
    "Grafik!$%s$2:$%s$%d" % (c, c, last) for c in "BCDEFGHIJKLM"]
lines = book.read("xl/charts/chart2.xml").decode()
assert "<c:lineChart>" in lines
values = re.findall(r"<c:val>.*?<c:f>([^<]+)</c:f>", lines, re.S)
assert values and all(re.fullmatch(r"Grafik!\$B\$(\d+):\$M\$\1", v) for v in values), values
PY
grep -q '<img alt="Grafik" src="data:image/svg+xml;base64,' "$work/gt.html" || fail "html chart"
# The text file (Windows-1254) holds the net sales row under the caption the JSON run gives.
"$cli" run "$company" --set "Tablo Kodu=GT" --format json --out "$work/gt.json" \
  2>"$work/err" || fail "json run: $(cat "$work/err")"
net=$(python3 -c "import json; print(next(r['Satir_Adi'] for r in json.load(open('$work/gt.json')) if r['Satir_Kodu'] == 'C'))")
iconv -f cp1254 -t utf-8 "$work/gt.txt" | grep -qF "$net" || fail "txt row: $net"
# Two statements' files in one folder do not overwrite each other.
"$cli" run "$company" --set "Tablo Kodu=GT" --set "Rapor Bitiş Ayı=Mart" --format xlsx \
  2>"$work/err" || fail "xlsx default"
grep -qxF "Dosya yazıldı: $work/GT 01.2026-03.2026.xlsx" "$work/err" \
  || fail "no word of where: $(cat "$work/err")"
"$cli" run "$company" --set "Tablo Türü=Bilanço" --set "Tablo Kodu=BL" --format xlsx \
  2>"$work/err" || fail "balance sheet xlsx"
grep -qxF "Dosya yazıldı: $work/BL 01.2026-12.2026.xlsx" "$work/err" \
  || fail "no word of where: $(cat "$work/err")"
unzip -p "$work/GT 01.2026-03.2026.xlsx" xl/sharedStrings.xml | grep -q "Gelir Tablosu" \
  || fail "income statement overwritten"
unzip -p "$work/BL 01.2026-12.2026.xlsx" xl/sharedStrings.xml | grep -q "AKTİFLER" \
  || fail "balance sheet not written"
! ls "$program_dir"/GT\ * "$program_dir"/BL\ * >/dev/null 2>&1 || fail "written into the program folder"
# A full disk: every format says so in Turkish and exits non-zero, and the run is rolled back:
# the stored figures stay those of the last whole run (the year's), though this run's period
# (January to March) gives other figures. A device node of the test's own stands in for
# /dev/full where one can be made, so that nothing outside the test is at stake.
full=/dev/full
mknod "$work/full" c 1 7 2>/dev/null && full=$work/full
stored() {
  python3 -c "import sqlite3; print(sqlite3.connect('$data/MALITABLO_DEMO.sqlite').execute(
    'SELECT group_concat(BTutar || \' \' || ATutar || \' \' || Bakiye) FROM MUHASEBEMALITABLOHAREKET').fetchone()[0])"
}
"$cli" run "$company" --set "Tablo Kodu=GT" --set "Rapor Bitiş Ayı=Mart" --format csv >/dev/null \
  || fail "march run"
march=$(stored)
"$cli" run "$company" --set "Tablo Kodu=GT" --format csv >/dev/null || fail "year run"
year=$(stored)
[ "$march" != "$year" ] || fail "march's figures equal the year's"
for format in text csv json pdf html txt xlsx; do
  "$cli" run "$company" --set "Tablo Kodu=GT" --set "Rapor Bitiş Ayı=Mart" --format $format \
    --out "$full" >/dev/null 2>"$work/err" && fail "$format to a full disk exited 0"
  grep -q "Dosya yazılamadı: $full" "$work/err" || fail "$format full-disk message: $(cat "$work/err")"
  [ -c "$full" ] || fail "$format replaced the device $full"
  [ "$(stored)" = "$year" ] || fail "$format to a full disk kept the run's figures"
done
# The listing on a full standard output too.
"$cli" run "$company" --set "Tablo Kodu=GT" >"$full" 2>"$work/err" && fail "full stdout exited 0"
grep -q "Çıktı yazılamadı" "$work/err" || fail "full stdout message: $(cat "$work/err")"
echo "output files: all passed"
