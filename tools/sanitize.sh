#!/usr/bin/env bash
# Builds the test programs with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-asan/ and runs them; any report stops the run and fails the script.
set -euo pipefail
cd "$(dirname "$0")/.."
flags="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all"
# Line tables are all the reports read; full debug information would double the compile time.
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELKORIN_BUILD_BENCH=OFF \
      -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" \
      -DPELKORIN_BUILD_TESTS=ON -DCMAKE_COMPILE_WARNING_AS_ERROR=ON -DCMAKE_CXX_FLAGS="$flags" \
      -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build build-asan -j"${JOBS:-2}" --target pelkorin_core_tests pelkorin_ui_tests

export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:halt_on_error=1:exitcode=23"
export LSAN_OPTIONS="suppressions=$PWD/tools/lsan-qt.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
for t in pelkorin_core_tests pelkorin_ui_tests; do
  echo "== $t (address, undefined)"
  "build-asan/$t"
done
echo "sanitizers: no reports"
