#!/usr/bin/env bash
# The desktop entry made by the build passes desktop-file-validate and carries the project's
# version and the keys the menu needs, and file managers offer it for folders: it takes the one
# folder it is opened with as its argument.
# Usage: desktop_entry_test.sh <configured pelkorin.desktop> <project version>
set -euo pipefail
entry=$1 version=$2
for tool in desktop-file-validate update-desktop-database; do
  command -v "$tool" >/dev/null || { echo "$tool missing (desktop-file-utils)" >&2; exit 1; }
done
# desktop-file-validate exits 0 on hints too; any output at all is treated as a failure.
out=$(desktop-file-validate "$entry" 2>&1)
[ -z "$out" ] || { echo "$out" >&2; exit 1; }
for line in "Type=Application" "Name=Pelkorin" "Exec=pelkorin %f" "MimeType=inode/directory;" \
            "Icon=pelkorin" "X-Pelkorin-Version=$version"; do
  grep -qxF "$line" "$entry" || { echo "missing line: $line" >&2; exit 1; }
done
for key in "Name[ja]" "Comment" "Comment[ja]" "Categories"; do
  grep -q "^${key//[/\\[}=." "$entry" || { echo "missing key: $key" >&2; exit 1; }
done
# One Exec line, one MimeType line: a second would be a validator's error only in some versions.
for key in Exec MimeType; do
  [ "$(grep -c "^$key=" "$entry")" = 1 ] || { echo "not one $key line" >&2; exit 1; }
done
# File managers find the programs for folders through the menu's MIME cache.
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cp "$entry" "$tmp/pelkorin.desktop"
update-desktop-database "$tmp"
grep -qxF "inode/directory=pelkorin.desktop;" "$tmp/mimeinfo.cache" ||
  { echo "the MIME cache does not offer it for folders:" >&2; cat "$tmp/mimeinfo.cache" >&2; exit 1; }
echo "desktop entry ok"
