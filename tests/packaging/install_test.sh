#!/usr/bin/env bash
# Installs the build into a temporary prefix and runs the installed programs
# from there: printer files, the editor and the status-monitor library must be
# found in the installed places, and the desktop files must validate.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
export INKMARK_SETTINGS_DIR=$prefix/settings QT_QPA_PLATFORM=offscreen

# Printer files come from share/inkmark/printers: every model is listed.
models=$("$prefix/bin/inkmark" printers | grep -c '^DT-') || true
[ "$models" -eq 5 ] || fail "installed inkmark lists $models models, not 5"

# Translations come from share/inkmark/translations.
# The whole help is read first: grep -q stops at its first match, and the
# program would be ended by a closed pipe while still writing.
help=$(LANG=ja_JP.UTF-8 "$prefix/bin/inkmark" --help)
grep -q '使い方' <<<"$help" || fail "no Japanese help when installed"

# The library is loaded from the private library folder: the driver route gets
# past loading it, and fails only for want of a spooler queue.
out=$("$prefix/bin/inkmark" --printer DT-200/210 --port "Corlane Printer Driver" keys 2>&1) && fail "keys succeeded without a queue"
case $out in *"not installed"*) fail "status-monitor library not found: $out" ;; esac

# The editor starts from the menu without arguments and with a document, as
# its desktop entry starts it.
document=$(cd "$(dirname "$0")/../../fuzz/corpus/fuzz_document" && pwd)/mixed.qlf
for args in "" "$document"; do
  rc=0; timeout 3 "$prefix/bin/InkmarkEdit" $args >/dev/null 2>&1 || rc=$?
  [ "$rc" -eq 124 ] || fail "InkmarkEdit $args ended with $rc instead of running"
done

# Icons: each name the desktop entries and the document type give is
# installed as drawn and at every size menus look for, each PNG as large as
# its folder says. A window is matched to its entry by its class, which is
# the program's own name.
icons=$prefix/share/icons/hicolor
for entry in "$prefix"/share/applications/*.desktop; do
  program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
  [ "$(sed -n 's/^StartupWMClass=//p' "$entry")" = "$program" ] ||
    fail "$entry: StartupWMClass is not $program"
done
names=$(sed -n 's/^Icon=/apps\//p' "$prefix"/share/applications/*.desktop)
names+=" $(sed -n 's/.*<icon name="\([^"]*\)".*/mimetypes\/\1/p' "$prefix"/share/mime/packages/*.xml)"
for name in $names; do
  [ -f "$icons/scalable/$name.svg" ] || fail "no scalable icon $name"
  for size in 16 32 48 64 128 256; do
    png=$icons/${size}x$size/$name.png
    [ -f "$png" ] || fail "no icon $png"
    dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3 * 256 + $4 "x" $7 * 256 + $8}')
    [ "$dims" = "${size}x$size" ] || fail "$png is $dims"
  done
done

# Desktop entries, AppStream data and manual pages.
desktop-file-validate "$prefix"/share/applications/*.desktop
appstreamcli validate --no-net "$prefix"/share/metainfo/*.xml >/dev/null
for page in "$prefix"/share/man/man1/*.1.gz; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$page: $warnings"
done
bash -n "$prefix/share/bash-completion/completions/inkmark"
echo "installed tree works"
