#!/usr/bin/env bash
# Starts the real program on a virtual X display (xcb platform), waits for its main window and
# closes it through its menu, as a user would: a missing platform plugin, library or font
# set-up on a fresh machine fails here.
# Usage: smoke_test.sh <pelkorin executable> [<help page>]
set -euo pipefail
if [ -z "${PELKORIN_SMOKE_DISPLAY:-}" ]; then
  for tool in xvfb-run xauth xdotool; do
    command -v "$tool" >/dev/null || { echo "$tool missing (xvfb, xauth, xdotool)" >&2; exit 1; }
  done
  export PELKORIN_SMOKE_DISPLAY=1
  exec xvfb-run -a -s '-screen 0 1280x1024x24' bash "$0" "$@"
fi
program=$1
tmp=$(mktemp -d)
pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT
# A program folder of its own, without a settings file, so the window opens at its defaults.
cp "$program" "$tmp/pelkorin"
[ -n "${2:-}" ] && cp "$2" "$tmp/"
# A virtual display that is not quite up yet under a loaded machine gets a second try; any
# other failure to start shows at once.
window=
for attempt in 1 2; do
  QT_QPA_PLATFORM=xcb "$tmp/pelkorin" > "$tmp/program.out" 2>&1 &
  pid=$!
  for _ in $(seq 200); do
    window=$(xdotool search --onlyvisible --name '^Pelkorin$' 2>/dev/null | head -n 1) || true
    [ -n "$window" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  [ -n "$window" ] && break
  grep -q "could not connect to display" "$tmp/program.out" || break
  wait "$pid" 2>/dev/null || true
  pid=
  sleep 1
done
if [ -z "$window" ]; then
  echo "no Pelkorin window appeared within 20 s" >&2
  cat "$tmp/program.out" >&2
  exit 1
fi
echo "window $window: $(xwininfo -id "$window" | grep -E 'Width|Height' | tr -s ' \n' ' ')"
# ﾌｧｲﾙ(&F) → 終了(&X). There is no window manager to give the window the keyboard.
xdotool windowfocus --sync "$window"
sleep 0.3
xdotool key alt+f
sleep 0.3
xdotool key x
for _ in $(seq 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  echo "the window did not close through ﾌｧｲﾙ(&F) 終了(&X)" >&2
  exit 1
fi
status=0
wait "$pid" || status=$?
pid=
[ "$status" = 0 ] || { echo "the program ended with status $status" >&2; cat "$tmp/program.out" >&2; exit 1; }
echo "smoke ok"
