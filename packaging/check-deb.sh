#!/usr/bin/env bash
# Builds the Debian package from the build folder, checks what it holds, then
# installs it with apt as a user would, runs the installed tool and removes it.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
rm -f "$build"/inkmark_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/inkmark_*.deb)
contents=$(dpkg-deb -c "$deb")
for path in usr/bin/InkmarkTool usr/bin/InkmarkEdit usr/bin/inkmark usr/bin/inkmark-vprinter \
  usr/lib/inkmark/libQrvStmApi.so usr/share/inkmark/printers/DT500.DEF \
  usr/share/applications/com.quorvel.InkmarkTool.desktop \
  usr/share/applications/com.quorvel.InkmarkEdit.desktop \
  usr/share/metainfo/com.quorvel.InkmarkTool.metainfo.xml \
  usr/share/mime/packages/inkmark-logo.xml \
  usr/share/icons/hicolor/scalable/apps/com.quorvel.InkmarkTool.svg \
  usr/share/man/man1/inkmark.1 usr/share/bash-completion/completions/inkmark \
  usr/share/inkmark/translations/inkmark_ja.qm; do
  grep -q " \./$path\$" <<<"$contents" || { echo "package lacks $path" >&2; exit 1; }
done
dpkg-deb -f "$deb" Depends

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "./$deb" >/dev/null
trap '$sudo env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq inkmark >/dev/null' EXIT
settings=$(mktemp -d)
INKMARK_SETTINGS_DIR=$settings /usr/bin/inkmark printers | grep -q '^DT-500/510'
rm -rf "$settings"
echo "package $(basename "$deb") installs and runs"
