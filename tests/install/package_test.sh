#!/usr/bin/env bash
# Builds the Debian package from the build folder and checks what it holds: exactly the files
# of an installed Pelkorin under /usr, owned by root with plain modes, the program stripped,
# the library dependencies worked out from the program (no development packages), and
# desktop entry and software-centre data the validators accept.
# Usage: package_test.sh <build folder> <package version>
set -euo pipefail
build=$(cd "$1" && pwd)
version=$2
for tool in cpack dpkg-deb dpkg-shlibdeps readelf desktop-file-validate appstreamcli; do
  command -v "$tool" >/dev/null || { echo "$tool missing" >&2; exit 1; }
done
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
arch=$(dpkg --print-architecture)
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/out" > "$tmp/cpack.log" 2>&1 ||
  { cat "$tmp/cpack.log" >&2; exit 1; }
deb=$tmp/out/pelkorin_${version}_${arch}.deb
[ -f "$deb" ] || { echo "no $(basename "$deb"); made:" >&2; ls "$tmp/out" >&2; exit 1; }

fail=0
# Every entry: mode, owner, path (links with their target).
dpkg-deb -c "$deb" | awk '{ $3 = $4 = $5 = ""; print }' | sed 's/   */ /g' > "$tmp/contents"
expected=(
  "-rwxr-xr-x root/root ./usr/lib/pelkorin/pelkorin"
  "-rw-r--r-- root/root ./usr/lib/pelkorin/Pelkorin.html"
  "-rw-r--r-- root/root ./usr/lib/pelkorin/pelkorin.svg"
  "lrwxrwxrwx root/root ./usr/bin/pelkorin -> ../lib/pelkorin/pelkorin"
  "-rw-r--r-- root/root ./usr/share/applications/pelkorin.desktop"
  "-rw-r--r-- root/root ./usr/share/metainfo/org.example.pelkorin.metainfo.xml"
  "-rw-r--r-- root/root ./usr/share/doc/pelkorin/copyright"
  "-rw-r--r-- root/root ./usr/share/doc/pelkorin/changelog.Debian.gz"
  "-rw-r--r-- root/root ./usr/share/man/man1/pelkorin.1.gz"
  "-rw-r--r-- root/root ./usr/share/lintian/overrides/pelkorin"
  "-rw-r--r-- root/root ./usr/share/icons/hicolor/scalable/apps/pelkorin.svg"
)
for n in 16 32 48 128 256; do
  expected+=("-rw-r--r-- root/root ./usr/share/icons/hicolor/${n}x${n}/apps/pelkorin.png")
done
grep -v '^d' "$tmp/contents" | sort > "$tmp/files"
printf '%s\n' "${expected[@]}" | sort > "$tmp/expected"
diff -u "$tmp/expected" "$tmp/files" >&2 || { echo "the package's files differ (- expected, + found)" >&2; fail=1; }
grep '^d' "$tmp/contents" | grep -v '^drwxr-xr-x root/root ' >&2 &&
  { echo "folders above are not drwxr-xr-x root/root" >&2; fail=1; }

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = pelkorin ] || { echo "Package: $(field Package)" >&2; fail=1; }
[ "$(field Version)" = "$version" ] || { echo "Version: $(field Version)" >&2; fail=1; }
[ "$(field Architecture)" = "$arch" ] || { echo "Architecture: $(field Architecture)" >&2; fail=1; }
depends=$(field Depends)
for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libjpeg62-turbo xdg-utils \
           qt6-translations-l10n; do
  [[ ", $depends," == *", $lib "* || ", $depends," == *", $lib,"* ]] ||
    { echo "Depends lacks $lib: $depends" >&2; fail=1; }
done
[[ ", $(field Recommends)," == *", qt6-wayland,"* ]] ||
  { echo "Recommends lacks qt6-wayland: $(field Recommends)" >&2; fail=1; }
[[ "$depends" != *-dev* ]] || { echo "Depends names a development package: $depends" >&2; fail=1; }

dpkg-deb -x "$deb" "$tmp/root"
if readelf -S "$tmp/root/usr/lib/pelkorin/pelkorin" | grep -qE '\.(symtab|debug_info|comment)'; then
  echo "the program is not stripped" >&2; fail=1
fi
out=$(desktop-file-validate "$tmp/root/usr/share/applications/pelkorin.desktop" 2>&1) ||
  true
[ -z "$out" ] || { echo "$out" >&2; fail=1; }
appstreamcli validate --no-net --no-color \
  "$tmp/root/usr/share/metainfo/org.example.pelkorin.metainfo.xml" > "$tmp/appstream.log" 2>&1 ||
  { cat "$tmp/appstream.log" >&2; fail=1; }
gzip -t "$tmp/root/usr/share/doc/pelkorin/changelog.Debian.gz" || fail=1
zcat "$tmp/root/usr/share/doc/pelkorin/changelog.Debian.gz" | head -1 | grep -qF "pelkorin ($version)" ||
  { echo "the changelog does not start with version $version" >&2; fail=1; }
[ "$fail" = 0 ] || exit 1
echo "package ok: $(basename "$deb"); Depends: $depends"
