#!/usr/bin/env bash
# The window under Xvfb: start zir on a copy of the demo layout, choose a menu entry from the
# keyboard, switch screens with keys, click, take a screenshot, quit from the menu. Checks the
# exit status, that the screenshot is not blank and that the run wrote no error log.
# Usage: window_test.sh ZIR_BINARY DEMO_DIR
set -euo pipefail
zir=$(realpath "$1")
demo=$2
work=$(mktemp -d)
xvfb_pid=""
zir_pid=""
cleanup() {
  [ -n "$zir_pid" ] && kill "$zir_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "window test: $*" >&2; exit 1; }

cp -r "$demo"/. "$work"/
rm -f "$work/Train_ZIR_log.txt"

# Xvfb picks a free display itself and writes its number once it is ready, so that two test
# runs on one machine never share a display.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/.display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/.display" ] && break; sleep 0.05; done
[ -s "$work/.display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n 1 "$work/.display")"
rm -f "$work/.display"

# GTK keeps its own allocations until exit: only our code's leaks matter, and the unit tests
# look for those.
export ASAN_OPTIONS=detect_leaks=0
(cd "$work" && exec "$zir") &
zir_pid=$!

# Without a card on the link, start-up says so in a box: it is answered with Enter.
window=""
for _ in $(seq 150); do
  box=$(xdotool search --onlyvisible --name '^ZIR - ' 2>/dev/null | head -1 || true)
  if [ -n "$box" ]; then
    xdotool windowfocus "$box" 2>/dev/null || true
    xdotool key Return 2>/dev/null || true
  fi
  window=$(xdotool search --onlyvisible --name '^ZIR$' 2>/dev/null | head -1 || true)
  [ -n "$window" ] && break
  kill -0 "$zir_pid" 2>/dev/null || fail "zir ended before its window appeared"
  sleep 0.1
done
[ -n "$window" ] || fail "no window"
sleep 0.5
# No window manager runs here: give the window the keyboard ourselves.
xdotool windowfocus "$window" 2>/dev/null || true
sleep 0.3

keys() { xdotool key --delay 150 "$@" 2>/dev/null; sleep 0.3; }
# Menu bar from the keyboard: F10 opens " Fichiers ", Right walks to "   [Trains -> Cantons] ".
keys F10 Right Right Right Right Right Return
keys 8 equal 2 9
# A right press on the clock list turns its page; ESC goes back to panel 2.
xdotool mousemove --window "$window" 400 300 click 3 2>/dev/null
sleep 0.3
keys Escape parenright
sleep 0.5
import -window root "$work/shot.png"
colours=$(convert "$work/shot.png" -format %k info:)
[ "$colours" -ge 4 ] || fail "blank screenshot ($colours colours)"

# Quit from the menu: F10, then Up selects the last entry of " Fichiers ", "Quitter".
keys F10 Up Return
status=""
for _ in $(seq 100); do
  if ! kill -0 "$zir_pid" 2>/dev/null; then
    set +e
    wait "$zir_pid"
    status=$?
    set -e
    break
  fi
  sleep 0.1
done
zir_pid=""
[ -n "$status" ] || fail "zir did not quit"
[ "$status" -eq 0 ] || fail "exit status $status"
if [ -s "$work/Train_ZIR_log.txt" ]; then
  cat "$work/Train_ZIR_log.txt" >&2
  fail "the run logged errors"
fi
[ -z "${ZIR_WINDOW_SHOT:-}" ] || cp "$work/shot.png" "$ZIR_WINDOW_SHOT"
echo "window test: ok"
