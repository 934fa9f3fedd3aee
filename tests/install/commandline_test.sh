#!/usr/bin/env bash
# The answers of the command line come without a display: no X, no Wayland, no Qt platform set.
# Usage: commandline_test.sh <pelkorin executable> <project version>
set -euo pipefail
program=$1 version=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0
# arguments | exit status | standard output (a pattern; "=" first: exactly that text)
cases=(
  "--version|0|=Pelkorin $version"
  "-v|0|=Pelkorin $version"
  "--help|0|Usage: pelkorin \[options\] \[folder\]"
  "-h|0|folder +The folder to open at start"
  "--no-such-option|1|="
  "one two|1|="
)
for c in "${cases[@]}"; do
  IFS='|' read -r args status expected <<< "$c"
  got=0
  # shellcheck disable=SC2086 # the arguments are meant to split
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" $args > "$tmp/out" 2> "$tmp/err" || got=$?
  if [ "$got" != "$status" ]; then
    echo "pelkorin $args: exit status $got, expected $status" >&2; cat "$tmp/err" >&2; fail=1
  fi
  if [ "${expected:0:1}" = "=" ]; then
    want=${expected:1}
    if [ -n "$want" ]; then printf '%s\n' "$want" > "$tmp/want"; else : > "$tmp/want"; fi
    cmp -s "$tmp/want" "$tmp/out" || { echo "pelkorin $args printed:" >&2; cat "$tmp/out" >&2; fail=1; }
  else
    grep -qE "$expected" "$tmp/out" || { echo "pelkorin $args printed no '$expected':" >&2; cat "$tmp/out" >&2; fail=1; }
  fi
  # Help and version say nothing else; a mistake is told on standard error.
  if [ "$status" = 0 ]; then [ ! -s "$tmp/err" ] || { cat "$tmp/err" >&2; fail=1; }
  else [ -s "$tmp/err" ] || { echo "pelkorin $args: no message on standard error" >&2; fail=1; }; fi
done
[ "$fail" = 0 ] || exit 1
echo "command line ok"
