#!/usr/bin/env bash
# The install rules, installed into a temporary root: the suite folder under /opt with the
# programs and data files in Rapor/, the commands on the PATH as links that resolve to them (so a
# command finds its data files and sys.inf), the desktop entry, icon and manual page; a demo made
# and a statement run through the installed commands.
set -u
program_dir=$1
build_dir=$(cd "$program_dir/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export MALITABLO_REGISTRY=$work/registry.ini
fail() { echo "FAIL: $*"; exit 1; }
root=$work/root

DESTDIR=$root cmake --install "$build_dir" >"$work/install.log" 2>&1 || fail "install: $(cat "$work/install.log")"
rapor=$root/opt/malitablo/Rapor
for f in MaliTablo malitablo-cli malitablo-demo; do [ -x "$rapor/$f" ] || fail "$f not installed"; done
[ -f "$rapor/Master.mtr" ] || fail "Master.mtr not installed"
for f in "$program_dir/Muhasebe Parametre"/*; do
  cmp -s "$f" "$rapor/Muhasebe Parametre/$(basename "$f")" || fail "$(basename "$f") not installed"
done
[ "$(readlink "$root/usr/bin/malitablo")" = /opt/malitablo/Rapor/MaliTablo ] || fail "malitablo link"
[ "$(readlink "$root/usr/bin/malitablo-cli")" = /opt/malitablo/Rapor/malitablo-cli ] || fail "cli link"
[ "$(readlink "$root/usr/bin/malitablo-demo")" = /opt/malitablo/Rapor/malitablo-demo ] || fail "demo link"
grep -qx "Exec=malitablo" "$root/usr/share/applications/malitablo.desktop" || fail "desktop entry"
grep -qx "Icon=malitablo" "$root/usr/share/applications/malitablo.desktop" || fail "desktop icon"
[ -s "$root/usr/share/icons/hicolor/scalable/apps/malitablo.svg" ] || fail "icon not installed"
[ -s "$root/usr/share/man/man1/malitablo-cli.1" ] || fail "manual page not installed"
# Every option the command line takes is in the manual page.
for option in company run set format out yes help; do
  grep -q -- "$option" "$root/usr/share/man/man1/malitablo-cli.1" || fail "manual page lacks $option"
done

# Commands through links of their own (the installed links point into /, not into this root):
# the programs follow the link to their folder and find their data files there.
mkdir "$work/bin"
ln -s "$rapor/malitablo-demo" "$work/bin/malitablo-demo"
ln -s "$rapor/malitablo-cli" "$work/bin/malitablo-cli"
sleep 1; touch "$work/installed"
chmod -R a-w "$root/opt"
"$work/bin/malitablo-demo" "$work/demo" >/dev/null 2>"$work/err" || fail "demo: $(cat "$work/err")"
"$work/bin/malitablo-cli" run "MALITABLO_DEMO|$work/demo/Veri|1|sa|æ" --set "Tablo Kodu=GT" --yes \
  >"$work/gt.txt" 2>"$work/err" || fail "run: $(cat "$work/err")"
grep -q "^DÖNEM NET KÂRI VEYA ZARARI" "$work/gt.txt" || fail "no income statement: $(cat "$work/gt.txt")"
"$work/bin/malitablo-cli" run "MALITABLO_DEMO|$work/demo/Veri|1|sa|æ" --set "Tablo Kodu=GT" \
  --format txt >/dev/null 2>"$work/err" || fail "txt: $(cat "$work/err")"
[ -s "$work/GT 01.2026-12.2026.txt" ] || fail "text file not beside the registry: $(cat "$work/err")"
chmod -R u+w "$root/opt"
extra=$(cd "$root/opt/malitablo" && find . -newer "$work/installed")
[ -z "$extra" ] || fail "written into the installed suite: $extra"
echo "install: all passed"
