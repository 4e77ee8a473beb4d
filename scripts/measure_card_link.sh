#!/usr/bin/env bash
# Measures the card link against zir-cards --wire-time: the time one tick takes with 1 and 4
# cards (the exchange alone, ticks run back to back) and the CPU zir-sim uses meanwhile.
#   scripts/measure_card_link.sh BUILD_DIR [TICKS]
set -eu
build=$1
ticks=${2:-200}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
touch "$work/config.txt"
run() {  # cards ticks -> "wall user sys"
  mkfifo "$work/in"
  "$build/src/tools/cards/zir-cards" --cards "$1" --wire-time --link "$work/tty" \
    < "$work/in" > /dev/null &
  exec 3> "$work/in"
  for _ in $(seq 100); do [ -L "$work/tty" ] && break; sleep 0.05; done
  echo "tick $2" > "$work/s.zs"
  ZIR_COM1="$work/tty" /usr/bin/time -f "%e %U %S" -o "$work/time" \
    "$build/src/zir-sim" --dir "$work" --real-ports "$work/s.zs" > /dev/null
  echo quit >&3
  exec 3>&-
  wait
  rm "$work/in"
  cat "$work/time"
}
for cards in 0 0,1,2,3; do
  read -r w1 _ _ < <(run "$cards" 1)
  read -r wn user sys < <(run "$cards" $((ticks + 1)))
  awk -v c="$cards" -v w1="$w1" -v wn="$wn" -v u="$user" -v s="$sys" -v t="$ticks" 'BEGIN {
    printf "cards %s: %.2f ms a tick, CPU %.2f %% of one core\n", c, (wn - w1) * 1000 / t,
      (u + s) * 100 / wn }'
done
