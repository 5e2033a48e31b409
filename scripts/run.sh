#!/usr/bin/env bash
# Starts the instrument simulator and the console with the simulator's address filled in (one click on
# Connect). Without a display the console runs under Xvfb, connects by itself, saves a picture of every
# shown page into the build folder and exits.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${VARNOK_BUILD_DIR:-$ROOT/build}"
BIN="$BUILD/bin"
PORT="${VARNOK_SIM_PORT:-5020}"

for program in varnok-sim varnok-omblet; do
  if [[ ! -x "$BIN/$program" ]]; then
    echo "run.sh: $BIN/$program is missing; build first (make build)" >&2
    exit 1
  fi
done

listening() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }

# The first free port from PORT on.
for _ in $(seq 1 50); do
  listening "$PORT" || break
  PORT=$((PORT + 1))
done

"$BIN/varnok-sim" --tcp-port "$PORT" &
SIM_PID=$!
stop_sim() { kill "$SIM_PID" 2>/dev/null || true; wait "$SIM_PID" 2>/dev/null || true; }
trap stop_sim EXIT

for _ in $(seq 1 50); do
  listening "$PORT" && break
  if ! kill -0 "$SIM_PID" 2>/dev/null; then
    echo "run.sh: the simulator did not start" >&2
    exit 1
  fi
  sleep 0.1
done
echo "Simulator listening on 127.0.0.1:$PORT (pid $SIM_PID)"

ADDRESS="127.0.0.1:$PORT"
if [[ -n "${DISPLAY:-}" ]]; then
  echo "Starting the console; press Connect to reach the simulator at $ADDRESS"
  "$BIN/varnok-omblet" --address "$ADDRESS"
else
  SHOTS="$BUILD/screenshots"
  rm -rf "$SHOTS"
  echo "No display: running the console under Xvfb, connecting to $ADDRESS and saving the pages"
  timeout 120 xvfb-run -a -s "-screen 0 1280x800x24" \
    "$BIN/varnok-omblet" --address "$ADDRESS" --connect --screenshots "$SHOTS"
  echo "The page pictures are in $SHOTS:"
  ls -1 "$SHOTS"
fi
