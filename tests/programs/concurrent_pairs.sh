# Sourced by the concurrency tests: Check_Pairs COMPANY runs the demo income statement for
# February and for the whole year, then ten pairs of the two started together, and fails when a
# run of a pair prints anything but its own period's statement. Needs cli, work and fail.
Check_Pairs() {
  local company=$1 pair first second
  run() {
    "$cli" run "$company" --set "Tablo Kodu=GT" --set "Rapor Bitiş Ayı=$1" --format csv
  }
  run Şubat >"$work/february" 2>"$work/err" || fail "february: $(cat "$work/err")"
  run Aralık >"$work/year" 2>"$work/err" || fail "year: $(cat "$work/err")"
  cmp -s "$work/february" "$work/year" && fail "the two periods print the same statement"
  for pair in $(seq 1 10); do
    run Şubat >"$work/february.$pair" 2>"$work/err.f$pair" &
    first=$!
    run Aralık >"$work/year.$pair" 2>"$work/err.y$pair" &
    second=$!
    wait $first || fail "pair $pair, february: $(cat "$work/err.f$pair")"
    wait $second || fail "pair $pair, year: $(cat "$work/err.y$pair")"
    cmp -s "$work/february.$pair" "$work/february" || fail "pair $pair: february mixed"
    cmp -s "$work/year.$pair" "$work/year" || fail "pair $pair: year mixed"
  done
}
