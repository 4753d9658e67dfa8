#!/usr/bin/env bash
# Builds the Debian package in a build folder of its own (the programs only, no
# tests), compiled with Debian's hardening flags; checks what it holds and has
# lintian judge it; then installs it with apt as a user would, runs the
# installed tool and removes it.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-deb}

# What Debian's own packages are built with: fortified functions, a stack
# protector, read-only relocations bound at start-up. The package is stripped,
# so no debugging information is compiled; assertions are off as in the
# tested build.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
export DEB_CFLAGS_MAINT_STRIP=-g DEB_CXXFLAGS_MAINT_STRIP=-g DEB_CPPFLAGS_MAINT_APPEND=-DNDEBUG
cppflags=$(dpkg-buildflags --get CPPFLAGS)
ldflags=$(dpkg-buildflags --get LDFLAGS)
# Installed under /usr, the private library goes to /usr/lib/<multiarch>/inkmark.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=None -DCMAKE_INSTALL_PREFIX=/usr -DINKMARK_TESTS=OFF -DINKMARK_BENCH=OFF \
  -DCMAKE_C_FLAGS="$(dpkg-buildflags --get CFLAGS) $cppflags" \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $cppflags" \
  -DCMAKE_EXE_LINKER_FLAGS="$ldflags" -DCMAKE_SHARED_LINKER_FLAGS="$ldflags" \
  -DCMAKE_MODULE_LINKER_FLAGS="$ldflags" >/dev/null
cmake --build "$build"

rm -f "$build"/inkmark_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/inkmark_*.deb)
contents=$(dpkg-deb -c "$deb")
paths=(usr/bin/InkmarkTool usr/bin/InkmarkEdit usr/bin/inkmark usr/bin/inkmark-vprinter
  "usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/inkmark/libQrvStmApi.so" usr/share/inkmark/printers/DT500.DEF
  usr/share/applications/com.quorvel.InkmarkTool.desktop
  usr/share/applications/com.quorvel.InkmarkEdit.desktop
  usr/share/metainfo/com.quorvel.InkmarkTool.metainfo.xml
  usr/share/mime/packages/inkmark-logo.xml
  usr/share/icons/hicolor/scalable/mimetypes/application-x-inkmark-logo.svg
  usr/share/doc/inkmark/copyright usr/share/doc/inkmark/changelog.Debian.gz
  usr/share/lintian/overrides/inkmark
  usr/share/bash-completion/completions/inkmark usr/share/inkmark/translations/inkmark_ja.qm)
for page in inkmark InkmarkTool InkmarkEdit inkmark-vprinter; do
  paths+=("usr/share/man/man1/$page.1.gz")
done
for name in apps/com.quorvel.InkmarkTool apps/com.quorvel.InkmarkEdit \
  mimetypes/application-x-inkmark-logo; do
  paths+=("usr/share/icons/hicolor/scalable/$name.svg")
  for size in 16 32 48 64 128 256; do
    paths+=("usr/share/icons/hicolor/${size}x$size/$name.png")
  done
done
for path in "${paths[@]}"; do
  grep -q " \./$path\$" <<<"$contents" || { echo "package lacks $path" >&2; exit 1; }
done

# The changelog's latest entry is this package.
version=$(dpkg-deb -f "$deb" Version)
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
head=$(gzip -dc "$unpacked/usr/share/doc/inkmark/changelog.Debian.gz" | head -n 1)
[[ $head == "inkmark ($version) "* ]] || {
  echo "changelog starts with '$head', not with version $version" >&2
  exit 1
}
rm -rf "$unpacked"
dpkg-deb -f "$deb" Depends

# lintian's every error and warning fails the package.
if ! report=$(lintian --fail-on error,warning "$deb" 2>&1) || grep -qE '^[EW]: ' <<<"$report"; then
  echo "$report" >&2
  echo "lintian finds fault with $(basename "$deb")" >&2
  exit 1
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "./$deb" >/dev/null
trap '$sudo env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq inkmark >/dev/null' EXIT
settings=$(mktemp -d)
INKMARK_SETTINGS_DIR=$settings /usr/bin/inkmark printers | grep -q '^DT-500/510'
# The status-monitor library is found where the package put it: the driver
# route gets past loading it and fails only for want of a spooler queue.
out=$(INKMARK_SETTINGS_DIR=$settings /usr/bin/inkmark --printer DT-200/210 \
  --port "Corlane Printer Driver" keys 2>&1) && { echo "keys succeeded without a queue" >&2; exit 1; }
case $out in *"not installed"*) echo "installed library not found: $out" >&2; exit 1 ;; esac
rm -rf "$settings"
[ "$(/usr/bin/inkmark --version)" = "inkmark ${version%-*}" ] || {
  echo "installed inkmark reports another version than ${version%-*}" >&2
  exit 1
}
echo "package $(basename "$deb") installs, runs and is lintian-clean"
