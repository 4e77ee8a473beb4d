#!/bin/sh
# The layers in the tree: the foundation (core) and the subsystem folders never include the
# runtime, the window program or the tools; only those see every engine.
# Usage: layers.sh SRC_DIR
src=${1:?usage: layers.sh SRC_DIR}
status=0
for dir in core cards trains block turnouts moves clock logic panels; do
  [ -d "$src/$dir" ] || continue
  if grep -rnE '#include "(runtime|app|tools)/' "$src/$dir"; then
    echo "layers: $dir includes a layer above it (lines above)"
    status=1
  fi
done
if grep -rnE '#include "(app|tools)/' "$src/runtime"; then
  echo "layers: runtime includes the window program or a tool (lines above)"
  status=1
fi
exit $status
