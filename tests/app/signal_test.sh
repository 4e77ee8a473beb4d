#!/usr/bin/env bash
# The window under Xvfb, ended by a signal while a box is open: zir starts on a copy of the demo
# layout with no card on any port, so start-up stops in the box that says no card was found.
# SIGTERM, then SIGINT in a second run, must end the program in order within 2 s, status 0.
# Usage: signal_test.sh ZIR_BINARY DEMO_DIR
set -euo pipefail
zir=$(realpath "$1")
demo=$2
work=$(mktemp -d)
xvfb_pid=""
zir_pid=""
cleanup() {
  [ -n "$zir_pid" ] && kill -KILL "$zir_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "signal test: $*" >&2; exit 1; }

. "$(dirname "$0")/xvfb.sh"
start_xvfb "$work" || fail "Xvfb did not start"
cp -r "$demo"/. "$work"/
for n in 1 2 3 4 5 6; do export "ZIR_COM$n=$work/absent"; done
export ASAN_OPTIONS=detect_leaks=0

for signal in TERM INT; do
  (cd "$work" && exec "$zir") &
  zir_pid=$!
  box=""
  for _ in $(seq 150); do
    box=$(xdotool search --onlyvisible --name '^ZIR - ' 2>/dev/null | head -1 || true)
    [ -n "$box" ] && break
    kill -0 "$zir_pid" 2>/dev/null || fail "zir ended before its start-up box"
    sleep 0.1
  done
  [ -n "$box" ] || fail "no start-up box"
  kill -"$signal" "$zir_pid"
  status=""
  for _ in $(seq 20); do
    if ! kill -0 "$zir_pid" 2>/dev/null; then
      set +e
      wait "$zir_pid"
      status=$?
      set -e
      break
    fi
    sleep 0.1
  done
  [ -n "$status" ] || fail "SIG$signal with the start-up box open: zir still runs after 2 s"
  zir_pid=""
  [ "$status" -eq 0 ] || fail "SIG$signal with the start-up box open: exit status $status"
done
echo "signal test: ok"
