#!/usr/bin/env bash
# The desktop entry made by the build passes desktop-file-validate and carries the project's
# version and the keys the menu needs.
# Usage: desktop_entry_test.sh <configured pelkorin.desktop> <project version>
set -euo pipefail
entry=$1 version=$2
command -v desktop-file-validate >/dev/null || { echo "desktop-file-validate missing (desktop-file-utils)" >&2; exit 1; }
# desktop-file-validate exits 0 on hints too; any output at all is treated as a failure.
out=$(desktop-file-validate "$entry" 2>&1)
[ -z "$out" ] || { echo "$out" >&2; exit 1; }
for line in "Type=Application" "Name=Pelkorin" "Exec=pelkorin" "Icon=pelkorin" \
            "X-Pelkorin-Version=$version"; do
  grep -qxF "$line" "$entry" || { echo "missing line: $line" >&2; exit 1; }
done
for key in "Name[ja]" "Comment" "Comment[ja]" "Categories"; do
  grep -q "^${key//[/\\[}=." "$entry" || { echo "missing key: $key" >&2; exit 1; }
done
echo "desktop entry ok"
