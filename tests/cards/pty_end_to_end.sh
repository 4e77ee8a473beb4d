#!/usr/bin/env bash
# End to end over a real pseudo-terminal: zir-cards answers as cards 0 and 2 behind the link
# that ZIR_COM1 names, zir-sim --real-ports finds them through the POSIX port code, inputs
# flow in, outputs flow out, a dropped answer is recovered within the tick, and the shutdown
# leaves every speed, output and LED off in the last frames, also after a script error.
set -u
cards=$1
sim=$2
work=$(mktemp -d)
pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "pty end to end: $*"
  echo "--- zir-sim:"; cat "$work/sim.out" 2>/dev/null
  echo "--- zir-cards:"; cat "$work/cards.out" 2>/dev/null
  exit 1
}

mkfifo "$work/in"
"$cards" --cards 0,2 --link "$work/tty" < "$work/in" > "$work/cards.out" &
pid=$!
exec 3> "$work/in"
for _ in $(seq 100); do [ -L "$work/tty" ] && break; sleep 0.05; done
[ -L "$work/tty" ] || fail "no link from zir-cards"

echo "det 2 4 1" >&3
echo "in 0 50 1" >&3
echo "can 2 1 120" >&3
echo "drop 0 1" >&3
touch "$work/config.txt"
cat > "$work/script.zs" <<'SCRIPT'
expect port.com 1
expect card.0.linked 1
expect card.1.linked 0
expect card.2.linked 1
expect card.3.linked 0
tick
expect port.errors 1
expect det_204 1
expect in_50 1
expect can_201 120
set out_203 1
set led_200 1
set out_241 1
tick 2
expect card.0.linked 1
SCRIPT
sleep 0.1  # the emulator has read its commands
ZIR_COM1="$work/tty" "$sim" --dir "$work" --real-ports "$work/script.zs" > "$work/sim.out" ||
  fail "zir-sim failed"
grep -q '^BOX' "$work/sim.out" && fail "unexpected box"

zeros16=$(printf ' 00%.0s' $(seq 16))
off2="FRAME 2: 21 08${zeros16} ff ff$(printf ' 00%.0s' $(seq 14)) ff ff ff ff ff ff"
off0="FRAME 0: 01 08${zeros16} ff ff 00 00 00"
# The last frame zir-cards saw for card C starts with TEXT.
last_frame_is() {
  echo "frame $1" >&3
  sleep 0.2
  grep "^FRAME $1:" "$work/cards.out" | tail -n 1 | grep -q "^$2"
}
last_frame_is 2 "$off2" || fail "card 2 was not switched off"
last_frame_is 0 "$off0" || fail "card 0 was not switched off"

# A script error (a mistyped command) still shuts down before exit status 2.
cat > "$work/typo.zs" <<'SCRIPT'
set out_203 1
tick
tikc
SCRIPT
ZIR_COM1="$work/tty" "$sim" --dir "$work" --real-ports "$work/typo.zs" > "$work/sim.out" 2>&1
status=$?
[ "$status" = 2 ] || fail "a script error gave status $status, not 2"
last_frame_is 2 "$off2" || fail "card 2 kept its outputs after a script error"

echo "quit" >&3
exec 3>&-
wait "$pid"
pid=
exit 0
