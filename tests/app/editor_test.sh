#!/usr/bin/env bash
# The panel editor in the window under Xvfb: zir starts on a copy of the demo layout without
# cards, shows panel 1, "+" opens the editor, a click on the palette picks the straight track,
# a click on the panel places it in column 15, row 3, a second one in column 16 is taken back
# with Ctrl+Z, "Quitter" ends zir, and config_tco.txt holds the first cell in panel 1 and not
# the second.
# Usage: editor_test.sh ZIR_BINARY DEMO_DIR
set -euo pipefail
zir=$(realpath "$1")
demo=$2
work=$(mktemp -d)
xvfb_pid=""
zir_pid=""
cleanup() {
  [ -n "$zir_pid" ] && kill "$zir_pid" 2>/dev/null || true
  stop_xvfb
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "editor test: $*" >&2; exit 1; }

cp -r "$demo"/. "$work"/
rm -f "$work/Train_ZIR_log.txt"
for n in 1 2 3 4 5 6; do export "ZIR_COM$n=$work/absent"; done

. "$(dirname "$0")/xvfb.sh"
start_xvfb "$work" || fail "Xvfb did not start"

export ASAN_OPTIONS=detect_leaks=0
(cd "$work" && exec "$zir") &
zir_pid=$!

# Start-up says in a box that no card was found: wait_for_window answers it.
wait_for_window
click() {
  xdotool mousemove --window "$window" "$1" "$2" click 1 2>/dev/null
  sleep 0.3
}

# The drawing area starts under the menu bar, at the panel's top grid line (colour 35) with
# the background (colour 19) under it; panel 1 of the demo is empty.
keys 1
sleep 0.5
import -window "$window" "$work/panel1.png"
column=$(convert "$work/panel1.png" -crop 1x120+5+0 +repage txt:- | sed -n 's/^0,\([0-9]*\): .*#\([0-9A-F]\{6\}\).*/\1 \2/p')
top=""
previous=""
while read -r y colour; do
  if [ "$previous" = "DCDCDC" ] && [ "$colour" = "D4D0C8" ]; then top=$((y - 1)); break; fi
  previous=$colour
done <<< "$column"
[ -n "$top" ] || fail "panel 1 not found in the window"

keys plus
click 60 $((top + 60))    # palette column 1, row 1: straight track
click 615 $((top + 135))  # panel cell (15, 3)
click 655 $((top + 135))  # panel cell (16, 3), then taken back
keys ctrl+z

# Quit from the menu: F10, then Up selects the last entry of " Fichiers ", "Quitter".
keys F10 Up Return
wait_for_exit "$zir_pid" 100
status=$exit_status
zir_pid=""
[ -n "$status" ] || fail "zir did not quit"
[ "$status" -eq 0 ] || fail "exit status $status"
# A cell's line in panel 1 of the saved file.
saved() { awk -v cell="^x=$1 y=$2 " '/^tco=1$/ { p = 1 } /^tco=2$/ { p = 0 } p && $0 ~ cell' "$work/config_tco.txt"; }
cells=' data:    0    0   -1   -1   -1   -1   -1   -1   -1   -1   -1   -1   -1   -1   -1 string= "                    "'
[ "$(saved 15 03)" = "x=15 y=03$cells" ] || fail "panel 1, cell (15, 3) is '$(saved 15 03)'"
empty=' data:   -1   -1   -1   -1   -1   -1   -1   -1   -1   -1   -1   -1   -1   -1   -1 string= "                    "'
[ "$(saved 16 03)" = "x=16 y=03$empty" ] || fail "panel 1, cell (16, 3) is '$(saved 16 03)'"
echo "editor test: ok"
