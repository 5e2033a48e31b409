#!/usr/bin/env bash
# Runs every benchmark of the build and prints its figures. The machine should be otherwise idle.
set -eu
cd "$(dirname "$0")/.."
bin=${VARNOK_BUILD_DIR:-build}/bin
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
for bench in link_bench monitor_bench calibration_bench config_bench bench_startup responsiveness_bench; do
  if [ -x "$bin/$bench" ]; then
    echo "== $bench"
    "$bin/$bench"
  else
    echo "== $bench: not built" >&2
  fi
done
