#!/usr/bin/env bash
# The longer check of the Debian package, as root on Debian 12: builds it, runs lintian,
# appstreamcli and desktop-file-validate on it, installs it on this machine with apt, starts
# the program through its menu entry on a virtual display as a normal user whose "登録" must
# land in ~/.config/pelkorin and be read at the next start, then removes the package and checks
# that none of its files is left. Refuses to run when pelkorin is already installed.
# With --fresh-root the install, the user's run and the removal happen instead in a new
# Debian 12 root made by mmdebstrap (downloads a minimal system), which holds none of the build
# packages: apt must find every dependency from the package alone.
set -euo pipefail
if [ "${1:-}" = as-user ]; then
  # Runs inside xvfb-run as the test user. $2: where to put screenshots (may be empty).
  shots=${2:-}
  config=$HOME/.config/pelkorin/Pelkorin.ini
  program_folder_before=$(ls -A /usr/lib/pelkorin)
  # A menu starts the entry's command without a file: its field code goes.
  exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/pelkorin.desktop | sed 's/ %[fFuU]//')
  wait_window() { # name → window id
    local w=
    for _ in $(seq 200); do
      w=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1) || true
      [ -n "$w" ] && { echo "$w"; return 0; }
      sleep 0.1
    done
    echo "no window named $1" >&2
    return 1
  }
  shot() { [ -z "$shots" ] || import -window root "$shots/$1.png"; }
  [ ! -e "$config" ] || { echo "$config exists before the first start" >&2; exit 1; }
  # A new user without settings starts in the pictures folder, not in the program's folder.
  mkdir -p "$HOME/Pictures"
  # The menu entry's command, found on PATH as a menu would.
  $exec_line > /tmp/pelkorin-check-1.log 2>&1 &
  pid=$!
  main=$(wait_window Pelkorin)
  sleep 1
  # The folder list makes the folder it shows the program's current folder.
  started_in=$(readlink "/proc/$pid/cwd")
  [ "$started_in" = "$HOME/Pictures" ] || { echo "started in $started_in, not $HOME/Pictures" >&2; exit 1; }
  echo "first start in: $started_in"
  xdotool windowfocus --sync "$main"
  xdotool key alt+t
  sleep 0.5
  xdotool key o
  option=$(wait_window Option)
  sleep 0.5
  shot i21-package-options
  xdotool mousemove --window "$option" 389 226 click 1   # 登録
  for _ in $(seq 50); do [ -f "$config" ] && break; sleep 0.1; done
  sleep 0.5
  kill "$pid"; wait "$pid" 2>/dev/null || true
  [ -f "$config" ] || { echo "登録 did not write $config" >&2; cat /tmp/pelkorin-check-1.log >&2; exit 1; }
  [ "$(head -n 1 "$config")" = $'Pelkorin Ver0.9\r' ] || { echo "$config has no marker" >&2; exit 1; }
  [ "$(tr -cd '\n' < "$config" | wc -c)" = 25 ] || { echo "$config does not hold 25 lines" >&2; exit 1; }
  [ "$(ls -A /usr/lib/pelkorin)" = "$program_folder_before" ] ||
    { echo "something was written beside the program" >&2; exit 1; }
  echo "saved: $config ($(stat -c %s "$config") bytes)"

  # The next start reads the user's file.
  inotifywait -t 30 -e open "$config" > /tmp/pelkorin-check-watch.out 2> /tmp/pelkorin-check-watch.err &
  watch=$!
  for _ in $(seq 50); do grep -q 'Watches established' /tmp/pelkorin-check-watch.err 2>/dev/null && break; sleep 0.1; done
  $exec_line > /tmp/pelkorin-check-2.log 2>&1 &
  pid=$!
  wait "$watch" || { echo "the next start did not read $config" >&2; kill "$pid"; exit 1; }
  wait_window Pelkorin > /dev/null
  sleep 1
  shot i21-package-second-start
  kill "$pid"; wait "$pid" 2>/dev/null || true
  echo "read at the next start: $config"
  exit 0
fi

if [ "${1:-}" = left-check ]; then
  # $2: the package's file list from dpkg -L, read after apt remove.
  left=0
  while IFS= read -r path; do
    [ -d "$path" ] && [ ! -L "$path" ] && continue
    if [ -e "$path" ] || [ -L "$path" ]; then echo "left behind: $path" >&2; left=1; fi
  done < "$2"
  for folder in /usr/lib/pelkorin /usr/share/doc/pelkorin; do
    [ ! -e "$folder" ] || { echo "left behind: $folder" >&2; left=1; }
  done
  [ "$left" = 0 ] || exit 1
  echo "removed: no file of the package is left ($(wc -l < "$2") entries checked)"
  exit 0
fi

fresh=
[ "${1:-}" = --fresh-root ] && fresh=yes
[ "$(id -u)" = 0 ] || { echo "run as root: it installs and removes the package" >&2; exit 1; }
cd "$(dirname "$0")/.."
root=$PWD
if dpkg-query -W -f='${Status}' pelkorin 2>/dev/null | grep -q 'install ok installed'; then
  echo "pelkorin is installed already; remove it first" >&2
  exit 1
fi
packages=(lintian appstream desktop-file-utils dpkg-dev file xvfb xauth xdotool inotify-tools)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
[ -f build/CMakeCache.txt ] || bash tools/setup.sh
cmake --build build -j2 > /dev/null

work=$(mktemp -d /tmp/pelkorin-package.XXXXXX)
made_user=
cleanup() {
  if dpkg-query -W -f='${Status}' pelkorin 2>/dev/null | grep -q 'install ok installed'; then
    DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq pelkorin > /dev/null || true
  fi
  [ -z "$made_user" ] || userdel -r "$user" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
chmod 755 "$work"
(cd build && cpack -G DEB -B "$work/out" > "$work/cpack.log" 2>&1) || { cat "$work/cpack.log" >&2; exit 1; }
deb=$(ls "$work"/out/pelkorin_*.deb)
chmod 644 "$deb"
echo "package: $(basename "$deb")"
dpkg-deb -f "$deb" Depends Recommends

fail=0
echo "== lintian"
lintian --display-info "$deb" || fail=1
dpkg-deb -x "$deb" "$work/root"
echo "== appstreamcli validate --no-net"
appstreamcli validate --no-net "$work"/root/usr/share/metainfo/*.metainfo.xml || fail=1
echo "== desktop-file-validate"
desktop-file-validate "$work/root/usr/share/applications/pelkorin.desktop" && echo "(no output: valid)" || fail=1
[ "$fail" = 0 ] || { echo "a validator reported errors" >&2; exit 1; }

install -m 755 "$0" "$work/check.sh"
user=pelkorin-check
as_user=(env -i HOME=/home/$user USER=$user PATH=/usr/local/bin:/usr/bin:/bin LANG=C.UTF-8
         QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24")
if [ -n "$fresh" ]; then
  command -v mmdebstrap > /dev/null ||
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends mmdebstrap
  echo "== in a fresh Debian 12 root: apt install, a normal user's run, apt remove"
  name=$(basename "$deb")
  mmdebstrap --variant=apt --include=xvfb,xauth,xdotool,inotify-tools,passwd bookworm \
    "$work/fresh.tar" http://deb.debian.org/debian \
    --customize-hook="copy-in $deb $work/check.sh /tmp" \
    --customize-hook="chroot \"\$1\" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq /tmp/$name" \
    --customize-hook='chroot "$1" dpkg -L pelkorin > "$1/tmp/files"' \
    --customize-hook="chroot \"\$1\" useradd -m $user" \
    --customize-hook="chroot \"\$1\" runuser -u $user -- env -i HOME=/home/$user USER=$user PATH=/usr/bin:/bin LANG=C.UTF-8 QT_QPA_PLATFORM=xcb xvfb-run -a -s '-screen 0 1280x1024x24' bash /tmp/check.sh as-user ''" \
    --customize-hook='chroot "$1" env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq pelkorin' \
    --customize-hook='chroot "$1" bash /tmp/check.sh left-check /tmp/files' \
    > "$work/mmdebstrap.log" 2>&1 || { tail -n 40 "$work/mmdebstrap.log" >&2; exit 1; }
  grep -E '^(saved|read at the next start|removed):' "$work/mmdebstrap.log"
  echo "package check ok"
  exit 0
fi

echo "== apt install"
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" > "$work/apt.log" 2>&1 ||
  { cat "$work/apt.log" >&2; exit 1; }
dpkg -L pelkorin > "$work/files"
[ "$(readlink -f /usr/bin/pelkorin)" = /usr/lib/pelkorin/pelkorin ] || { echo "/usr/bin/pelkorin is wrong" >&2; exit 1; }

echo "== as a normal user on a virtual display"
if ! id "$user" > /dev/null 2>&1; then
  useradd -m -s /bin/bash "$user"
  made_user=yes
fi
home=$(getent passwd "$user" | cut -d: -f6)
shots=
if command -v import > /dev/null; then
  shots=/tmp/shots
  mkdir -p "$shots"
  chmod 1777 "$shots"
fi
runuser -u "$user" -- "${as_user[@]}" bash "$work/check.sh" as-user "$shots"

echo "== apt remove"
DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq pelkorin > "$work/apt.log" 2>&1 ||
  { cat "$work/apt.log" >&2; exit 1; }
bash "$work/check.sh" left-check "$work/files"
echo "package check ok"
