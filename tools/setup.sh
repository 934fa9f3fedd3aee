#!/usr/bin/env bash
# Installs the Debian packages Pelkorin needs (only those missing) and builds it into build/.
set -euo pipefail
cd "$(dirname "$0")/.."
packages=(cmake g++ make pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev libjpeg62-turbo-dev
          libexif-dev libgtest-dev libbenchmark-dev fonts-ipafont-gothic
          clang libclang-rt-14-dev
          xvfb xauth xdotool x11-utils desktop-file-utils inotify-tools)
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
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
      ${CMAKE_LAUNCHER:+-DCMAKE_CXX_COMPILER_LAUNCHER=$CMAKE_LAUNCHER} >/dev/null
cmake --build build -j"$(nproc)"
