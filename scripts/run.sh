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
  # Three sets of pictures, each of a fresh window at its default size of 970 x 640 (a settings file
  # of its own, removed afterwards): the desktop's own look, Fusion with a dark palette, and every
  # size doubled (QT_SCALE_FACTOR=2, on a screen large enough for it).
  SHOTS="$BUILD/screenshots"
  rm -rf "$SHOTS"
  echo "No display: running the console under Xvfb, connecting to $ADDRESS and saving the pages"
  take_pictures() {  # folder, screen, then extra options
    local folder="$1" screen="$2"
    shift 2
    rm -f "$BIN/run-pictures.INI"
    timeout 120 xvfb-run -a -s "-screen 0 ${screen}x24" \
      "$BIN/varnok-omblet" run-pictures.INI --address "$ADDRESS" --connect --screenshots "$folder" "$@"
    rm -f "$BIN/run-pictures.INI"
  }
  take_pictures "$SHOTS" 1280x800
  take_pictures "$SHOTS/dark" 1280x800 --dark-palette
  QT_SCALE_FACTOR=2 take_pictures "$SHOTS/scale2" 2560x1600
  echo "The page pictures are in $SHOTS (dark palette in dark/, scale 2 in scale2/):"
  ls -1R "$SHOTS"
fi
