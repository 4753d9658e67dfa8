#!/usr/bin/env bash
# Every program answers --version with the project's version, and the two
# windowed programs answer --help with their command line, all without a
# window system: under a platform that does not exist, a program that made its
# application object first would abort instead.
set -euo pipefail
bin=$1 version=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
unset DISPLAY WAYLAND_DISPLAY
export QT_QPA_PLATFORM=no-such-platform INKMARK_SETTINGS_DIR=/nonexistent

# Output and exit status of one run; nothing on standard error is allowed.
run() {
  local rc=0 err
  err=$(mktemp)
  out=$("$@" 2>"$err") || rc=$?
  [ ! -s "$err" ] || fail "$* wrote to standard error: $(cat "$err")"
  rm -f "$err"
  [ "$rc" -eq 0 ] || fail "$* ended with $rc"
}

for program in InkmarkTool InkmarkEdit inkmark inkmark-vprinter; do
  run "$bin/$program" --version
  [ "$out" = "$program $version" ] || fail "$program --version printed '$out'"
done
# Asked among other options, the version still wins over starting.
run "$bin/InkmarkTool" -pnDT500/510 --version
[ "$out" = "InkmarkTool $version" ] || fail "InkmarkTool -pn... --version printed '$out'"
run "$bin/inkmark" printers --version
[ "$out" = "inkmark $version" ] || fail "inkmark printers --version printed '$out'"

run "$bin/InkmarkTool" --help
for option in -pn -pw -pf -ps -pr -cp -cb -cc -cf --help --version; do
  grep -q -- "^ *$option" <<<"$out" || fail "InkmarkTool --help does not list $option"
done
run "$bin/InkmarkEdit" --help
for option in -w -f -sub --help --version; do
  grep -q -- "^ *$option" <<<"$out" || fail "InkmarkEdit --help does not list $option"
done
grep -q '^usage: InkmarkEdit \[DOCUMENT\]' <<<"$out" || fail "InkmarkEdit --help has no usage line"

# An answer that cannot be written is a failure, not a success.
for program in InkmarkTool InkmarkEdit inkmark inkmark-vprinter; do
  "$bin/$program" --version >/dev/full 2>/dev/null && fail "$program --version succeeded on a full disk"
done

# Only the whole words ask: a near miss is refused by the editor as before.
QT_QPA_PLATFORM=offscreen "$bin/InkmarkEdit" --versions >/dev/null 2>&1 && rc=0 || rc=$?
[ "$rc" -eq 2 ] || fail "InkmarkEdit --versions ended with $rc, not as a usage error"
echo "programs answer --version and --help"
