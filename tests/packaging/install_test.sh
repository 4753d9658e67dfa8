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

# Desktop entries, AppStream data and manual pages.
desktop-file-validate "$prefix"/share/applications/*.desktop
appstreamcli validate --no-net "$prefix"/share/metainfo/*.xml >/dev/null
for page in "$prefix"/share/man/man1/*.1.gz; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$page: $warnings"
done
bash -n "$prefix/share/bash-completion/completions/inkmark"
echo "installed tree works"
