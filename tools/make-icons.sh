#!/usr/bin/env bash
# Renders the program icon into the hicolor sizes under data/icons/hicolor/.
# Needs rsvg-convert (Debian librsvg2-bin). The 16-pixel icon comes from its own
# pixel-grid drawing, because the scalable one turns to mush at that size.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v rsvg-convert >/dev/null || { echo "rsvg-convert missing: apt-get install librsvg2-bin" >&2; exit 1; }
icons=data/icons
for n in 16 32 48 128 256; do
  src=$icons/pelkorin.svg
  [ "$n" = 16 ] && src=$icons/pelkorin-16.svg
  out=$icons/hicolor/${n}x${n}/apps/pelkorin.png
  mkdir -p "$(dirname "$out")"
  rsvg-convert --width "$n" --height "$n" --keep-aspect-ratio "$src" --output "$out"
  echo "$out"
done
