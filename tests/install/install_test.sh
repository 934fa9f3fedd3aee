#!/usr/bin/env bash
# Installs the build into a temporary prefix, checks that every file is where it belongs, and
# starts the installed program through its bin/ link on the offscreen platform: the settings
# file beside the installed executable names a start folder, and the program must open it.
# Usage: install_test.sh <build folder>
set -euo pipefail
build=$(cd "$1" && pwd)
command -v inotifywait >/dev/null || { echo "inotifywait missing (inotify-tools)" >&2; exit 1; }
tmp=$(mktemp -d)
pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT
prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null

fail=0
expect_file() { [ -f "$prefix/$1" ] || { echo "not installed: $1" >&2; fail=1; }; }
expect_file lib/pelkorin/pelkorin
expect_file lib/pelkorin/Pelkorin.html
expect_file lib/pelkorin/pelkorin.svg
expect_file share/applications/pelkorin.desktop
expect_file share/icons/hicolor/scalable/apps/pelkorin.svg
for n in 16 32 48 128 256; do expect_file "share/icons/hicolor/${n}x${n}/apps/pelkorin.png"; done
[ -x "$prefix/lib/pelkorin/pelkorin" ] || { echo "program not executable" >&2; fail=1; }
# A relative link, so the installed tree can be moved or packaged with DESTDIR.
[ "$(readlink "$prefix/bin/pelkorin")" = ../lib/pelkorin/pelkorin ] ||
  { echo "bin/pelkorin is not the link ../lib/pelkorin/pelkorin" >&2; fail=1; }
desktop-file-validate "$prefix/share/applications/pelkorin.desktop" || fail=1
[ "$fail" = 0 ] || exit 1

# Start-up options: marker, start folder on line 2, numbers where numbers are parsed. The
# reader goes by line number only, so plain headers do.
start=$tmp/start-folder
mkdir -p "$start"
: > "$start/IMG_0001.JPG"
{
  printf 'Pelkorin Ver0.9\r\n[start]\r\n%s\r\n' "$start"
  for i in $(seq 3 24); do
    case $i in
      10) printf '3\r\n' ;; 20 | 22) printf '0\r\n' ;; 24) printf '1\r\n' ;;
      *) if [ $((i % 2)) = 1 ]; then printf '[h%s]\r\n' "$i"; else printf 'off\r\n'; fi ;;
    esac
  done
} > "$prefix/lib/pelkorin/Pelkorin.ini"

# Watch the start folder first; the program opens it only if it read that settings file,
# which it finds only if it took lib/pelkorin (not bin/) as its program folder.
inotifywait -t 30 -e open "$start" > "$tmp/watch.out" 2> "$tmp/watch.err" &
watch=$!
for _ in $(seq 50); do
  grep -q 'Watches established' "$tmp/watch.err" 2>/dev/null && break
  sleep 0.1
done
(cd / && exec env QT_QPA_PLATFORM=offscreen "$prefix/bin/pelkorin") > "$tmp/program.out" 2>&1 &
pid=$!
if wait "$watch"; then
  opened=yes
else
  opened=no
fi
if ! kill -0 "$pid" 2>/dev/null; then
  echo "the installed program ended early:" >&2
  cat "$tmp/program.out" >&2
  exit 1
fi
if [ "$opened" != yes ]; then
  echo "the installed program did not open the start folder of $prefix/lib/pelkorin/Pelkorin.ini" >&2
  cat "$tmp/watch.err" "$tmp/program.out" >&2
  exit 1
fi
echo "install ok: $(cat "$tmp/watch.out")"
