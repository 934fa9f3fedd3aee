#!/usr/bin/env bash
# Builds and runs the benchmarks under bench/ and fails when one misses its target, printing
# every ratio. A benchmark with a target reports the user counters "ratio" (its time over a
# baseline measured in the same run) and "target" (the largest ratio allowed); every such
# pair is compared, so a new benchmark needs nothing here. Arguments go to each benchmark
# program, for example
#   bash tools/bench-check.sh --benchmark_filter=Versus --benchmark_repetitions=3
# (with repetitions the medians are compared). Not part of tools/test.sh: the runs take
# minutes and want a quiet machine.
set -euo pipefail
cd "$(dirname "$0")/.."
programs=()
for source in bench/*_bench.cpp; do
  programs+=("$(basename "$source" .cpp)")
done
[ -f build/CMakeCache.txt ] || bash tools/setup.sh
cmake --build build -j"${JOBS:-2}" --target "${programs[@]}"

export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
results=build/bench-check
mkdir -p "$results"
status=0
checked=0
lines=()
for program in "${programs[@]}"; do
  json="$results/$program.json"
  rm -f "$json"
  echo "== $program"
  if ! "build/$program" --benchmark_out="$json" --benchmark_out_format=json "$@"; then
    echo "$program failed"
    status=1
    continue
  fi
  [ -s "$json" ] || continue
  while read -r name ratio target verdict; do
    lines+=("$(printf '%-56s ratio %8s  target %6s  %s' "$name" \
                      "$(LC_ALL=C printf '%.3f' "$ratio" 2>/dev/null || echo "$ratio")" \
                      "$(LC_ALL=C printf '%g' "$target" 2>/dev/null || echo "$target")" "$verdict")")
    checked=$((checked + 1))
    [ "$verdict" = ok ] || status=1
  done < <(cmake -DRESULTS="$json" -P tools/bench-ratios.cmake 2>&1)
done

echo
echo "== ratios (each at most its target)"
for line in "${lines[@]+"${lines[@]}"}"; do
  echo "$line"
done
[ "$checked" -gt 0 ] || echo "no benchmark reported a ratio"
[ "$status" -eq 0 ] && echo "benchmarks: every ratio within its target"
exit "$status"
