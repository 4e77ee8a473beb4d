#!/usr/bin/env bash
# Runs one scenario: tests/scenarios/NAME.zs through zir-sim in a fresh copy of
# tests/scenarios/NAME/ (when it exists). With NAME.expected, the whole standard output must
# equal it. A first line "# exit N" gives the expected exit status (default 0); a line
# "# args ..." among the first three gives zir-sim more options (such as --cards 0,2).
set -u
sim=$1
script=$2
name=$(basename "$script" .zs)
here=$(dirname "$script")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
[ -d "$here/$name" ] && cp -r "$here/$name/." "$work/"
want_status=0
first=$(head -n 1 "$script")
[[ $first =~ ^#\ exit\ ([0-9]+) ]] && want_status=${BASH_REMATCH[1]}
read -r -a args <<< "$(head -n 3 "$script" | sed -n 's/^# args //p')"
"$sim" --dir "$work" "${args[@]}" "$script" > "$work/.stdout"
status=$?
cat "$work/.stdout"
if [ "$status" != "$want_status" ]; then
  echo "scenario $name: exit status $status, expected $want_status"
  exit 1
fi
if [ -f "$here/$name.expected" ] && ! diff -u "$here/$name.expected" "$work/.stdout"; then
  echo "scenario $name: output differs from $name.expected"
  exit 1
fi
exit 0
