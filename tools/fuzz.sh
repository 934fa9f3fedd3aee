#!/usr/bin/env bash
# Builds the libFuzzer targets under fuzz/ into build-fuzz/ and runs each from its seed
# corpus for FUZZ_SECONDS seconds (20 unless told): `FUZZ_SECONDS=300 bash tools/fuzz.sh`.
# New inputs found go to build-fuzz/corpus/, never into the committed seeds; a failing
# input is left in build-fuzz/ as crash-* and fails the script.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-20}"
# Line tables are all a crash report reads.
CXX=clang++ cmake -S fuzz -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -gline-tables-only -DNDEBUG" >/dev/null
cmake --build build-fuzz -j"${JOBS:-2}"

export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export ASAN_OPTIONS="detect_leaks=1"
export LSAN_OPTIONS="suppressions=$PWD/tools/lsan-qt.supp:print_suppressions=0"
export LC_ALL=C.UTF-8
root="$PWD"
targets=(settings_fuzz naming_fuzz texthelpers_fuzz sortkeys_fuzz jpeg_fuzz capturetime_fuzz undorecord_fuzz)
# One target per core at a time: each still gets its full time, the run takes less.
fuzz_one() {
  local target=$1 work="$root/build-fuzz/corpus/$1" log="$root/build-fuzz/$1.log"
  mkdir -p "$work"
  "$root/build-fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 \
      -artifact_prefix="$root/build-fuzz/$target-" "$work" "$root/fuzz/corpus/$target" \
      >"$log" 2>&1
}
jobs_at_once="${JOBS:-$(nproc)}"
declare -A pids=()
for target in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs_at_once" ]; do wait -n || true; done
  fuzz_one "$target" &
  pids[$target]=$!
done
status=0
for target in "${targets[@]}"; do
  log="$root/build-fuzz/$target.log"
  rc=0
  wait "${pids[$target]}" || rc=$?
  echo "== $target, ${seconds} s"
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec|new_units_added)|DONE' "$log" || true
  if [ "$rc" -ne 0 ]; then
    echo "$target failed (exit $rc); see $log"
    grep -E 'invariant failed|ERROR|SUMMARY|Test unit written' "$log" || true
    status=1
  fi
done
[ "$status" -eq 0 ] && echo "fuzzing: no failures"
exit "$status"
