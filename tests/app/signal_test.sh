#!/usr/bin/env bash
# The window under Xvfb, ended by a signal while a box is open; each time the program must end
# in order within 2 s, status 0:
# - zir starts on a copy of the demo layout with no card on any port, so start-up stops in the
#   box that says no card was found: SIGTERM, then SIGINT in a second run;
# - with an emulated card that goes silent while the window runs, the tick asks in a Yes/No box
#   whether to restore the link: SIGTERM.
# Usage: signal_test.sh ZIR_BINARY DEMO_DIR ZIR_CARDS_BINARY
set -euo pipefail
zir=$(realpath "$1")
demo=$2
zir_cards=$(realpath "$3")
work=$(mktemp -d)
xvfb_pid=""
zir_pid=""
cards_pid=""
cleanup() {
  [ -n "$zir_pid" ] && kill -KILL "$zir_pid" 2>/dev/null || true
  [ -n "$cards_pid" ] && kill "$cards_pid" 2>/dev/null || true
  stop_xvfb
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "signal test: $*" >&2; exit 1; }

. "$(dirname "$0")/xvfb.sh"
start_xvfb "$work" || fail "Xvfb did not start"
cp -r "$demo"/. "$work"/
for n in 1 2 3 4 5 6; do export "ZIR_COM$n=$work/absent"; done
export ASAN_OPTIONS=detect_leaks=0

# Waits for a box of zir, then sends the signal and checks the end.
signal_in_box() {
  local signal=$1 what=$2 box="" status=""
  for _ in $(seq 150); do
    box=$(visible '^ZIR - ')
    [ -n "$box" ] && break
    kill -0 "$zir_pid" 2>/dev/null || fail "zir ended before $what"
    sleep 0.1
  done
  [ -n "$box" ] || fail "no box: $what"
  kill -"$signal" "$zir_pid"
  wait_for_exit "$zir_pid" 20
  status=$exit_status
  [ -n "$status" ] || fail "SIG$signal with $what open: zir still runs after 2 s"
  zir_pid=""
  [ "$status" -eq 0 ] || fail "SIG$signal with $what open: exit status $status"
}

for signal in TERM INT; do
  (cd "$work" && exec "$zir") &
  zir_pid=$!
  signal_in_box "$signal" "the start-up box"
done

# Card 0 answers on COM1 until it is told to fall silent.
mkfifo "$work/cards.in"
"$zir_cards" --cards 0 --link "$work/com1" < "$work/cards.in" > "$work/cards.out" 2>&1 &
cards_pid=$!
exec 4> "$work/cards.in"
for _ in $(seq 50); do [ -e "$work/com1" ] && break; sleep 0.1; done
[ -e "$work/com1" ] || fail "zir-cards did not start"
export ZIR_COM1="$work/com1"
(cd "$work" && exec "$zir") &
zir_pid=$!
wait_for_window
echo "silent 0" >&4
signal_in_box TERM "the Yes/No box of a lost card"
echo "quit" >&4
echo "signal test: ok"
