#!/usr/bin/env bash
# Installs what the project needs (only what is missing), builds it, and then
# starts the program (run) or runs every test (test).
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake ninja-build g++ clang libclang-rt-dev pkg-config
  qt6-base-dev qt6-svg-dev libcups2-dev libjpeg62-turbo-dev libpng-dev libgif-dev libsqlite3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation2 fonts-dejavu-core fonts-dejavu-extra fonts-ipafont-gothic cups cups-client cups-bsd xvfb xauth
  desktop-file-utils appstream man-db qt6-l10n-tools qt6-translations-l10n dpkg-dev lintian
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build

case "${1:-run}" in
  run)
    shift || true
    # A newcomer without a printer gets the virtual printer behind COM1, and a
    # throwaway settings folder that leaves the user's own settings alone.
    # What the virtual printer prints, and its NV memory, outlive the run.
    demo=$(mktemp -d)
    kept="${XDG_DATA_HOME:-$HOME/.local/share}/inkmark/demo"
    trap 'kill "$vprinter" 2>/dev/null; wait "$vprinter" 2>/dev/null; rm -rf "$demo";
      echo "What the virtual printer printed is in $kept/printed"' EXIT
    link="$demo/config/Quorvel/devices/com1"
    mkdir -p "$(dirname "$link")" "$kept/printed"
    build/bin/inkmark-vprinter --pty "$link" --nv "$kept/nv.bin" --out "$kept/printed" --quiet &
    vprinter=$!
    for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
    echo "Virtual printer on COM1; what it prints goes to $kept/printed"
    XDG_CONFIG_HOME="$demo/config" INKMARK_SETTINGS_DIR="$demo/settings" \
      build/bin/InkmarkTool "$@"
    ;;
  test)
    ctest --test-dir build --output-on-failure -j2 --timeout 300
    ;;
  *)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
