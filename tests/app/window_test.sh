#!/usr/bin/env bash
# The window under Xvfb: start zir on a copy of the demo layout with emulated cards in front of
# its virtual layout on COM1, choose a menu entry from the keyboard, switch screens with keys,
# click, drive a train from the keyboard, take a screenshot, quit from the menu. Checks the exit
# status, that the screenshot is not blank, that the run wrote no error log, that the card
# received the train's speed and the train's detection moved on to the next canton, that the
# last frame it received switched every speed, output and LED off, that panel 1 (no blinking
# block) shows exactly the pixels zir-sim renders for it, and that config_tco.txt is whole
# after "Quitter".
# Usage: window_test.sh ZIR_BINARY DEMO_DIR ZIR_CARDS_BINARY ZIR_SIM_BINARY
set -euo pipefail
zir=$(realpath "$1")
demo=$2
zir_cards=$(realpath "$3")
zir_sim=$(realpath "$4")
work=$(mktemp -d)
xvfb_pid=""
zir_pid=""
cards_pid=""
cleanup() {
  [ -n "$cards_pid" ] && kill "$cards_pid" 2>/dev/null || true
  [ -n "$zir_pid" ] && kill "$zir_pid" 2>/dev/null || true
  stop_xvfb
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "window test: $*" >&2; exit 1; }

cp -r "$demo"/. "$work"/
rm -f "$work/Train_ZIR_log.txt"

. "$(dirname "$0")/xvfb.sh"
start_xvfb "$work" || fail "Xvfb did not start"

# The demo's cards answer on a pseudo-terminal that COM1 points at; the other ports are absent.
mkfifo "$work/cards.in"
"$zir_cards" --layout "$work" --link "$work/com1" < "$work/cards.in" >> "$work/cards.out" 2>&1 &
cards_pid=$!
exec 4> "$work/cards.in"
for _ in $(seq 50); do [ -e "$work/com1" ] && break; sleep 0.1; done
[ -e "$work/com1" ] || fail "zir-cards did not start"
export ZIR_COM1="$work/com1"
for n in 2 3 4 5 6; do export "ZIR_COM$n=$work/absent"; done

# The last command frame card 0 received, as its bytes in hex, one per word.
last_frame() {
  : > "$work/cards.out"
  echo "frame 0" >&4
  for _ in $(seq 50); do grep -q . "$work/cards.out" && break; sleep 0.05; done
  sed -n 's/^FRAME 0: //p' "$work/cards.out" | tail -n 1
}
# Bytes FIRST..LAST (0-based) of a frame, concatenated.
frame_bytes() { echo "$1" | cut -d' ' -f$(($2 + 1))-$(($3 + 1)) | tr -d ' '; }

# GTK keeps its own allocations until exit: only our code's leaks matter, and the unit tests
# look for those.
export ASAN_OPTIONS=detect_leaks=0
(cd "$work" && exec "$zir") &
zir_pid=$!

# Start-up says in a box that no card was found: wait_for_window answers it.
wait_for_window

# Panel 1 in the window against zir-sim's render of it: the drawing area starts under the menu
# bar, at the first row that is the panel's top grid line (colour 35) with the background
# (colour 19) under it.
keys 1
sleep 0.5
import -window "$window" "$work/panel1.png"
mkdir "$work/sim"
cp "$demo"/config.txt "$demo"/config_tco.txt "$work/sim/"
printf 'key 1\ntick 2\nrender %s\n' "$work/sim1.png" | "$zir_sim" --dir "$work/sim" > /dev/null
column=$(convert "$work/panel1.png" -crop 1x120+5+0 +repage txt:- | sed -n 's/^0,\([0-9]*\): .*#\([0-9A-F]\{6\}\).*/\1 \2/p')
top=""
previous=""
while read -r y colour; do
  if [ "$previous" = "DCDCDC" ] && [ "$colour" = "D4D0C8" ]; then top=$((y - 1)); break; fi
  previous=$colour
done <<< "$column"
[ -n "$top" ] || fail "panel 1 not found in the window"
convert "$work/panel1.png" -crop 800x700+0+"$top" +repage "$work/window1.png"
convert "$work/sim1.png" -crop 800x700+0+0 +repage "$work/render1.png"
differing=$(compare -metric AE "$work/window1.png" "$work/render1.png" null: 2>&1 || true)
[ "$differing" = "0" ] || fail "panel 1 differs from zir-sim's render in $differing pixels"
# Menu bar from the keyboard: F10 opens " Fichiers ", Right walks to "   [Trains -> Cantons] ".
keys F10 Right Right Right Right Right Return
keys 8 equal 2 9
# A right press on the clock list turns its page; ESC goes back to panel 2.
xdotool mousemove --window "$window" 400 300 click 3 2>/dev/null
sleep 0.3
keys Escape parenright
sleep 0.5
# Train 0 is driven by the keys of keyboard configuration 0 ('a' faster) on canton 0.
keys 0 a a
for _ in $(seq 100); do grep -q "train 0 entre dans le canton 1" "$work/cards.out" && break; sleep 0.1; done
grep -q "train 0 entre dans le canton 1" "$work/cards.out" || fail "the train did not reach canton 1"
# Cantons 0 and 1 (bytes 2, 3): the train stands across them.
speed=$(frame_bytes "$(last_frame)" 2 3)
[ -n "$speed" ] && [ "$speed" != "0000" ] || fail "the card did not receive the train's speed"
import -window root "$work/shot.png"
colours=$(convert "$work/shot.png" -format %k info:)
[ "$colours" -ge 4 ] || fail "blank screenshot ($colours colours)"

# Quit from the menu: F10, then Up selects the last entry of " Fichiers ", "Quitter".
keys F10 Up Return
wait_for_exit "$zir_pid" 100
status=$exit_status
zir_pid=""
[ -n "$status" ] || fail "zir did not quit"
[ "$status" -eq 0 ] || fail "exit status $status"
# Closing switched everything off: the speeds (bytes 2..17), outputs and lit LEDs (20..33).
frame=$(last_frame)
[ -n "$frame" ] || fail "no frame from the card"
[ "$(frame_bytes "$frame" 2 17)" = "$(printf '0%.0s' $(seq 32))" ] || fail "speeds left on: $frame"
[ "$(frame_bytes "$frame" 20 33)" = "$(printf '0%.0s' $(seq 28))" ] || fail "outputs left on: $frame"
# The panels were saved whole: eight panels, the render block and both position blocks, the
# demo's title cell, and no temporary file left.
tco="$work/config_tco.txt"
[ "$(head -n 1 "$tco")" = "[TCO_data]" ] || fail "config_tco.txt does not begin with [TCO_data]"
[ "$(grep -c '^tco=' "$tco")" = 8 ] || fail "config_tco.txt does not hold 8 panels"
[ "$(grep -c '^x=' "$tco")" = 6400 ] || fail "config_tco.txt does not hold 6400 cells"
grep -q '^\[SAUVEGARDE_POSITION_DES_AIGUILLAGES\]$' "$tco" || fail "no turnout positions"
[ "$(tail -n 1 "$tco")" = "[FIN]" ] || fail "config_tco.txt does not end with [FIN]"
grep -q 'string= "ZIR DEMO            "' "$tco" || fail "the demo's panel 0 was not kept"
ls "$work" | grep -q '^config_tco\.txt\.' && fail "a temporary file was left"
if [ -s "$work/Train_ZIR_log.txt" ]; then
  cat "$work/Train_ZIR_log.txt" >&2
  fail "the run logged errors"
fi
[ -z "${ZIR_WINDOW_SHOT:-}" ] || cp "$work/shot.png" "$ZIR_WINDOW_SHOT"
echo "window test: ok"
