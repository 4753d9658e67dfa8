#!/usr/bin/env bash
# The command-line tool runs without a display and builds on the layers below
# the windows: nothing in src/cli includes a header of windows/, and the link
# line Ninja was given for `inkmark` names no window library.
set -euo pipefail
src=$1 build=$2 program=$3
fail() { echo "FAIL: $*" >&2; exit 1; }

if hits=$(grep -rn '#include "windows/' "$src/src/cli"); then
  fail "src/cli includes the window code:"$'\n'"$hits"
fi

[ -f "$build/build.ninja" ] || fail "no build.ninja in $build to read the link line from"
target=$(realpath --relative-to="$build" "$program")
# The edge that links the program, then its LINK_LIBRARIES line.
link=$(awk -v out="build $target:" '
  index($0, out) == 1 { inside = 1; next }
  inside && /^build / { exit }
  inside && /^  LINK_LIBRARIES = / { print; exit }' "$build/build.ninja")
[ -n "$link" ] || fail "no link line for $target in build.ninja"
case $link in
  *libinkmark_windows*) fail "inkmark links the window code: $link" ;;
esac
