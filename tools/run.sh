#!/usr/bin/env bash
# Sets up, builds the program alone (not the tests) and starts it; arguments go to the program
# (a folder to open).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh pelkorin
exec ./build/pelkorin "$@"
