#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, and only those that are missing.
# As root it runs apt-get; otherwise it prints the exact command to run.
set -eu
packages=(
  cmake ninja-build g++ pkg-config
  libasio-dev            # sockets and serial ports (header-only)
  qt6-base-dev qt6-charts-dev qt6-svg-dev libqt6opengl6-dev libqt6svg6-dev libgl-dev
  qt6-multimedia-dev     # the error tone
  libgtest-dev libgmock-dev libbenchmark-dev
  libfast-float-dev      # the number reader the calibration benchmark measures against
  libmodbus-dev          # reference peer for the link benchmark
  xvfb xauth imagemagick x11-utils  # headless windows and screenshots
  socat procps
  python3 clang-format   # the layer check and the code format check
  g++-mingw-w64-x86-64-posix googletest wine wine64  # the Windows build and its tests under wine
  clang-14 libclang-rt-14-dev  # the fuzz targets (make fuzz)
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -eq 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
else
  echo "Missing packages. Run:" >&2
  echo "  sudo apt-get update && sudo apt-get install -y --no-install-recommends ${missing[*]}" >&2
  exit 1
fi
