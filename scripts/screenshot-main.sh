#!/usr/bin/env bash
# Starts InkmarkTool under a virtual X server, loads a generated picture into
# the main window by typing its path into the source field, and saves a
# screenshot of the screen. With --key-entry it then opens "Register to
# printer..." with Alt+R, so that the key-entry window shows over the main
# window with its underlined K; with --preview it opens the Preview window
# (Alt+P), its size and ink-rate line under the picture; with --progress it
# chooses 2400 baud and starts a test print (Alt+T) on COM1, where the virtual
# printer reads at that line's pace, and shows the progress dialog. The
# window's own icon is stamped into the top left corner (a bare X server draws
# no title bars).
# Needs: xvfb (xvfb-run), imagemagick (import, convert) and xdotool.
# The windows follow LANG as the program does: LANG=ja_JP.UTF-8 shows them in
# Japanese, in the proportional Japanese font where one is installed.
# Usage: scripts/screenshot-main.sh [build folder] [output.png]
#          [--empty|--key-entry|--preview|--progress]
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/screenshot-common.sh
build="${1:-build}"
out="${2:-main-window.png}"
program="$(screenshot_program "$build" InkmarkTool)"
vprinter="$(screenshot_program "$build" inkmark-vprinter)"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# A picture with both inks in it: a dark band, a red band and a light band.
# The test print of --progress needs more than the pseudo-terminal holds.
size=240x140
[ "${3:-}" = "--progress" ] && size=480x420
convert -size "$size" xc:white \
  -fill black -draw "rectangle 10,10 110,60" \
  -fill red -draw "circle 170,50 170,15" \
  -fill "#808080" -draw "rectangle 10,80 230,130" \
  -fill black -pointsize 28 -draw "text 40,120 'Inkmark'" \
  BMP3:"$work/logo.bmp"

cat > "$work/session.sh" <<INNER
set -euo pipefail
# COM1 is the virtual printer, reading no faster than 2400 baud.
export XDG_CONFIG_HOME="$work/config"
mkdir -p "$work/config/Quorvel/devices"
"$vprinter" --pty "$work/config/Quorvel/devices/com1" --rate 240 --quiet &
printer=\$!
INKMARK_SETTINGS_DIR="$work/settings" "$program" &
pid=\$!
for _ in \$(seq 50); do
  win=\$(xdotool search --name "Quorvel Inkmark Tool" 2>/dev/null | head -1) && [ -n "\$win" ] && break
  sleep 0.2
done
sleep 1
if [ "\${1:-}" != "--empty" ]; then
  # The source field sits at the top, right of the "Source File" label.
  eval "\$(xdotool getwindowgeometry --shell "\$win")"
  xdotool mousemove \$((X + WIDTH * 60 / 100)) \$((Y + 12)) click 1
  xdotool type --delay 5 "$work/logo.bmp"
  sleep 2
fi
if [ "\${1:-}" = "--key-entry" ]; then
  xdotool key alt+r
  sleep 1
fi
if [ "\${1:-}" = "--preview" ]; then
  xdotool key alt+p
  sleep 1
fi
if [ "\${1:-}" = "--progress" ]; then
  xdotool key alt+a Home
  sleep 0.5
  xdotool key alt+t
  sleep 3
fi
import -window root "$out"
# The icon the program gives its window, as a window manager would show it.
if xprop -id "\$win" -notype 32c _NET_WM_ICON >"$work/icon.txt" 2>/dev/null &&
    grep -q "=" "$work/icon.txt"; then
  python3 - "$work/icon.txt" "$work/icon.ppm" <<'PY'
import re, sys
values = [int(v) for v in re.findall(r"-?\d+", open(sys.argv[1]).read().split("=", 1)[1])]
w, h = values[0], values[1]
pixels = values[2:2 + w * h]
with open(sys.argv[2], "wb") as f:
    f.write(b"P6 %d %d 255\n" % (w, h))
    for p in pixels:
        p &= 0xFFFFFFFF
        a = p >> 24
        rgb = [(p >> s) & 0xFF for s in (16, 8, 0)]
        f.write(bytes(c * a // 255 + 255 - a for c in rgb))
PY
  convert "$out" "$work/icon.ppm" -geometry +4+4 -composite "$out"
fi
kill \$pid \$printer
INNER
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash "$work/session.sh" "${3:-}"
echo "saved $out"
