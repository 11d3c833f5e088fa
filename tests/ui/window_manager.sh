#!/usr/bin/env bash
# Runs the window tests' WindowManager cases on a virtual screen of their own (Xvfb) with a
# real window manager (openbox), which places the windows, frames them and reads their hints.
set -euo pipefail
tests=$1
for tool in Xvfb openbox xprop; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/install-deps)"; exit 1; }
done
work=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb ${wm:-} 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(cat "$work/display")"
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
# openbox is managing once it names itself on the root window.
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
  sleep 0.05
done
QT_QPA_PLATFORM=xcb "$tests" --gtest_filter='WindowManager.*' --gtest_brief=1
