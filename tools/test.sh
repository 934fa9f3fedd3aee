#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite on the offscreen Qt platform.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j"$(nproc)"
bash tools/sanitize.sh
bash tools/fuzz.sh
