#!/usr/bin/env bash
# Sets up, builds and starts Pelkorin.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
cp -f doc/Pelkorin.html build/ 2>/dev/null || true
exec ./build/pelkorin
