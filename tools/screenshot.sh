#!/usr/bin/env bash
# Makes docs/screenshot.png: the main window after a trial run over a folder of six small JPEG
# files, on a virtual X display. Needs a built build/pelkorin and the Debian packages xvfb,
# xauth, xdotool, x11-utils and imagemagick.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
if [ -z "${PELKORIN_SHOT_DISPLAY:-}" ]; then
  for tool in xvfb-run xdotool xwininfo import; do
    command -v "$tool" >/dev/null || { echo "$tool missing" >&2; exit 1; }
  done
  [ -x build/pelkorin ] || { echo "build/pelkorin missing: build first (bash tools/run.sh)" >&2; exit 1; }
  export PELKORIN_SHOT_DISPLAY=1
  exec xvfb-run -a -s '-screen 0 1024x768x24' bash "$0" "$@"
fi
# Debian's ImageMagick; a convert earlier on PATH may be something else.
convert=/usr/bin/convert
[ -x "$convert" ] || convert=convert

tmp=$(mktemp -d /tmp/pelkorin-demo.XXXXXX)
pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT

# The program reads Pelkorin.ini beside its executable, so it runs from a folder of its own.
mkdir -p "$tmp/program" "$tmp/Photos"
cp build/pelkorin data/Pelkorin.html "$tmp/program/"
colours=("#3070b0" "#c04830" "#50a040" "#d0a020" "#8050a0" "#309090")
for i in 1 2 3 4 5 6; do
  "$convert" -size 160x120 "gradient:${colours[$((i - 1))]}-#f0f0e0" -quality 85 \
             "$tmp/Photos/IMG_000$i.JPG"
done
# Start folder Photos; 文字列を変更, 桁を合わせる and 数字を連番に on, three digits from 1,
# extensions lower case with .jpeg as .jpg. Headers are not read back, so plain ones do.
values=([2]="$tmp/Photos" [4]=on [6]=on [8]=on [10]=3 [12]=on [14]=on [16]=off [18]=""
        [20]=0 [22]=0 [24]=1)
{
  printf 'Pelkorin Ver0.9\r\n'
  for i in $(seq 1 24); do
    if [ $((i % 2)) = 1 ]; then printf '[%s]\r\n' "$i"; else printf '%s\r\n' "${values[$i]}"; fi
  done
} > "$tmp/program/Pelkorin.ini"

QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 "$tmp/program/pelkorin" &
pid=$!
window=
for _ in $(seq 200); do
  window=$(xdotool search --onlyvisible --name '^Pelkorin$' 2>/dev/null | head -n 1) || true
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "no window" >&2; exit 1; }
sleep 1
xdotool windowfocus --sync "$window"
# The replacement text goes into ファイル名設定, at its place in the window's fixed layout.
xdotool mousemove --window "$window" 396 94 click 1
sleep 0.2
xdotool type --delay 50 "Kyoto_"
xdotool key alt+a   # 全選択(A)
sleep 0.3
xdotool key alt+p   # 仮実行(P)
sleep 1
xdotool key Return  # the closing message of the trial run
sleep 1
xdotool mousemove 900 700
sleep 0.3
eval "$(xwininfo -id "$window" | awk '/Absolute upper-left X/ {print "x=" $4}
                                      /Absolute upper-left Y/ {print "y=" $4}
                                      /Width:/ {print "w=" $2} /Height:/ {print "h=" $2}')"
mkdir -p "$root/docs"
import -window root -crop "${w}x${h}+${x}+${y}" +repage "$root/docs/screenshot.png"
echo "docs/screenshot.png: ${w}x${h}"
