#!/usr/bin/env bash
# Starts InkmarkEdit under a virtual X server on a logo document with a text
# and an image, and saves a screenshot of the screen.
# Needs: xvfb (xvfb-run), imagemagick (import, convert) and xdotool.
# Usage: scripts/screenshot-editor.sh [build folder] [output.png]
# Under a Japanese locale (LANG=ja_JP.UTF-8, as the editor reads it) the
# editor speaks Japanese, and its dialogs are found by their Japanese titles.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/screenshot-common.sh
build="${1:-build}"
out="$(realpath -m "${2:-editor-window.png}")"
program="$(screenshot_program "$build" InkmarkEdit)"

locale="${LC_ALL:-${LC_MESSAGES:-${LANG:-}}}"
if [[ "$locale" == ja* ]]; then
  add_image="画像の追加" add_text="文字の追加" save_logo="ロゴの保存" words="インクマーク珈琲"
  char_set="xdotool key Tab Down"  # Japanese (Shift-JIS), next after Western
else
  add_image="Add image" add_text="Add text" save_logo="Save logo" words="Inkmark Coffee"
  char_set=":"
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# A picture with both inks: a black square and a red disc.
convert -size 120x90 xc:white \
  -fill black -draw "rectangle 8,8 60,60" \
  -fill red -draw "circle 88,50 88,20" \
  BMP3:"$work/mark.bmp"

# Make the document the way a user does: start on a blank page, insert the
# picture and a text through the editor's own commands, and save it.
doc="$work/shop logo.QLF"
cat > "$work/session.sh" <<INNER
set -euo pipefail
# Finds the newest window whose title holds \$1 and gives it the keyboard (there
# is no window manager). Titles are compared here: xdotool's own name search
# misses titles in Japanese.
find_window() {
  for _ in \$(seq 50); do
    for w in \$(xdotool search --onlyvisible --name . 2>/dev/null | tac); do
      case "\$(xdotool getwindowname "\$w")" in
        *"\$1"*)
          xdotool windowfocus --sync "\$w"
          return 0
          ;;
      esac
    done
    sleep 0.2
  done
  echo "no window \$1" >&2
  return 1
}
"$program" -w384 -sub &
pid=\$!
find_window "InkmarkEdit"
win=\$w
sleep 1
# Insert > Image...: the file dialog takes the path typed into its name field.
xdotool key ctrl+shift+i
find_window "$add_image"
sleep 0.5
xdotool type --delay 5 "$work/mark.bmp"
xdotool key Return
sleep 1
# Insert > Text...
xdotool windowfocus --sync \$win
xdotool key ctrl+t
find_window "$add_text"
sleep 0.5
xdotool key ctrl+a
# xdotool reads the text in the locale's encoding; C.UTF-8 is always there.
LC_ALL=C.UTF-8 xdotool type --delay 80 "$words"
$char_set
xdotool key Return
sleep 1
# Move the text beside the picture: arrow keys on the canvas move the selection.
xdotool windowfocus --sync \$win
for _ in \$(seq 13); do xdotool key shift+Right; done
for _ in \$(seq 4); do xdotool key shift+Down; done
sleep 1
import -window root "$out"
# Save under the name it will keep, then close.
xdotool windowfocus --sync \$win
xdotool key ctrl+s
find_window "$save_logo"
sleep 0.5
xdotool type --delay 5 "$doc"
xdotool key Return
sleep 1
kill \$pid
wait \$pid || true
INNER
xvfb-run -a -s "-screen 0 1024x700x24 -dpi 96" bash "$work/session.sh"
[ -s "$doc" ] && echo "the editor saved $(stat -c %s "$doc") bytes"
echo "saved $out"
