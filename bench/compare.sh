#!/bin/sh
# Runs, interleaved, our end-to-end paper raster of a 4000 x 3000 photograph
# (JPEG, quality 90, 2x2 chroma subsampling), the bare decode of the same file
# by djpeg, and ImageMagick reducing and dithering it to two inks; five times
# each. Prints the medians, the ratios and our peak resident memory.
#
#   bench/compare.sh [path/to/inkmark] [photo.jpg]
#
# Needs djpeg (libjpeg-turbo-progs), ImageMagick's convert and GNU time.
set -eu

INKMARK=${1:-build/bin/inkmark}
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
PHOTO=${2:-$WORK/photo.jpg}
RUNS=5

if [ ! -f "$PHOTO" ]; then
  convert -size 4000x3000 -seed 7 plasma:fractal -blur 0x1 -quality 90 \
    -sampling-factor 2x2 "$PHOTO"
fi
convert -size 2x1 xc:black xc:red +append "$WORK/palette.png" 2>/dev/null ||
  convert xc:black xc:red +append "$WORK/palette.png"

# Seconds of wall time of one run of the command.
seconds() {
  start=$(date +%s.%N)
  "$@" >/dev/null 2>&1
  end=$(date +%s.%N)
  echo "$end - $start" | bc -l
}

median() {
  sort -g | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'
}

: >"$WORK/ours"
: >"$WORK/djpeg"
: >"$WORK/magick"
i=0
while [ $i -lt $RUNS ]; do
  seconds "$INKMARK" raster --fit --grade fine "$PHOTO" -o "$WORK/ours.bmp" >>"$WORK/ours"
  seconds djpeg -ppm -outfile /dev/null "$PHOTO" >>"$WORK/djpeg"
  seconds convert "$PHOTO" -resize 576x -dither FloydSteinberg -remap "$WORK/palette.png" \
    "$WORK/magick.bmp" >>"$WORK/magick"
  i=$((i + 1))
done

ours=$(median <"$WORK/ours")
djpeg=$(median <"$WORK/djpeg")
magick=$(median <"$WORK/magick")
/usr/bin/time -f %M -o "$WORK/rss" "$INKMARK" raster --fit --grade fine "$PHOTO" \
  -o "$WORK/ours.bmp" >/dev/null 2>&1
rss=$(cat "$WORK/rss")

printf 'medians of %d runs (s): inkmark %.3f  djpeg %.3f  convert %.3f\n' \
  $RUNS "$ours" "$djpeg" "$magick"
printf 'inkmark / djpeg: %.2f   inkmark / convert: %.3f\n' \
  "$(echo "$ours / $djpeg" | bc -l)" "$(echo "$ours / $magick" | bc -l)"
printf 'inkmark peak resident memory: %d kB\n' "$rss"

# Peak memory of the worst cases: a 1 KB run-length file claiming 8192 x 8192
# pixels (only its end marker: a black picture) and a 64 Mi-pixel JPEG, each
# previewed at its own size (cut at the paper's edge) and fitted to the paper.
printf 'BM' >"$WORK/claimed.rle"
python3 - "$WORK/claimed.rle" <<'PY'
import struct, sys
pal = b''.join(bytes([i, i, i, 0]) for i in range(256))
off = 14 + 40 + len(pal)
hdr = struct.pack('<IHHI', off + 2, 0, 0, off) + \
    struct.pack('<IiiHHIIiiII', 40, 8192, 8192, 1, 8, 1, 2, 0, 0, 256, 0)
with open(sys.argv[1], 'ab') as f:
    f.write(hdr + pal + b'\x00\x01')
PY
convert -size 8192x8192 gradient:red-blue -quality 90 -sampling-factor 2x2 "$WORK/huge.jpg"
for source in claimed.rle huge.jpg; do
  for fit in "" --fit; do
    /usr/bin/time -f '%e %M' -o "$WORK/m" "$INKMARK" preview $fit "$WORK/$source" >/dev/null 2>&1
    printf 'preview %-8s %-12s %6.2f s  %7d kB peak\n' "$fit" "$source" $(cat "$WORK/m")
  done
done
