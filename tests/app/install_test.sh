#!/usr/bin/env bash
# Installs the build into a temporary prefix as a user's `make install PREFIX=...` does, then
# checks what a desktop needs (programs, a valid desktop entry, the icon, the demo) and runs the
# installed zir-sim on the installed demo.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
work=$(mktemp -d)
trap 'rm -rf "$prefix" "$work"' EXIT
fail() { echo "install test: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" > /dev/null
for program in zir-sim zir-cards zir-remote; do
  [ -x "$prefix/bin/$program" ] || fail "bin/$program is not installed"
done
entry=$prefix/share/applications/zir.desktop
[ -f "$entry" ] || fail "no desktop entry"
if command -v desktop-file-validate > /dev/null; then desktop-file-validate "$entry"; fi
[ -f "$prefix/share/icons/hicolor/scalable/apps/zir.svg" ] || fail "no icon"
demo=$prefix/share/zir/examples/demo
[ -f "$demo/config.txt" ] || fail "no demo layout"

cp -r "$demo/." "$work/"
out=$(printf 'tick 5\nget tick\n' | "$prefix/bin/zir-sim" --dir "$work")
grep -qx "tick = 5" <<< "$out" || fail "the installed zir-sim did not run the demo: $out"

if [ -x "$prefix/bin/zir" ]; then
  "$prefix/bin/zir" --version | grep -q "^zir [0-9]" || fail "zir --version"
  "$prefix/bin/zir" --help | grep -q "Utilisation : zir \[DOSSIER\]" || fail "zir --help"
  if "$prefix/bin/zir" --nonsense 2> /dev/null; then fail "zir accepted an unknown option"; fi
fi
echo "install test: passed"
