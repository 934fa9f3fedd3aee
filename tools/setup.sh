#!/usr/bin/env bash
# Installs the Debian packages Pelkorin needs (only those missing) and builds it into build/:
# everything, or only the targets named as arguments (tools/setup.sh pelkorin).
set -euo pipefail
cd "$(dirname "$0")/.."
packages=(cmake g++ make pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev libjpeg62-turbo-dev
          libexiv2-dev libheif-dev libgtest-dev libbenchmark-dev fonts-ipafont-gothic
          libheif-examples libimage-exiftool-perl exiv2
          clang libclang-rt-14-dev
          xvfb xauth xdotool x11-utils desktop-file-utils inotify-tools
          dpkg-dev file appstream xdg-utils qt6-translations-l10n
          exfat-fuse fusefat exfatprogs dosfstools)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# Warnings are errors here and in CI; CMAKE_LAUNCHER=ccache (if installed) speeds up rebuilds.
# No debug information: nothing here reads it, and it is a good part of the compile and link
# time (BUILD_TYPE=RelWithDebInfo brings it back for a debugger). -O2 as with it: GCC 12's -O3
# warns falsely about string copies in the tests.
cmake -S . -B build -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-Release}" -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
      -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
      ${CMAKE_LAUNCHER:+-DCMAKE_CXX_COMPILER_LAUNCHER=$CMAKE_LAUNCHER} >/dev/null
cmake --build build -j"$(nproc)" ${1:+--target "$@"}
