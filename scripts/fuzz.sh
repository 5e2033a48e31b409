#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) and runs
# each for FUZZ_SECONDS seconds, starting from its seed corpus. New inputs go to build-fuzz/corpus/<target>;
# a failing input is kept as build-fuzz/crash-<target>-*. Prints the executions of each target.
set -eu
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-60}
out=build-fuzz
cmake -S fuzz -B "$out" -G Ninja -DCMAKE_CXX_COMPILER=${FUZZ_CXX:-clang++-14} -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$out"
status=0
summary=""
for seeds in fuzz/corpus/*/; do
  name=$(basename "$seeds")
  work="$out/corpus/$name"
  mkdir -p "$work"
  log="$out/$name.log"
  if ! "$out/fuzz_$name" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$out/crash-$name-" \
      "$work" "$seeds" >"$log" 2>&1; then
    status=1
    echo "== $name: FAILED (see $log)"
  fi
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
  summary+=$(printf '%-20s %12s executions in %ss\n' "$name" "$runs" "$seconds")$'\n'
done
printf '%s' "$summary"
exit $status
