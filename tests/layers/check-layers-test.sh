#!/usr/bin/env bash
# The layer check on small trees of its own: a clean tree passes; each kind of fault is named and fails it.
#   check-layers-test.sh CHECK_LAYERS_PY
set -u
check="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failed=0
tree() {  # tree NAME PATH=INCLUDES... : a tree whose files include the given names
  local root="$work/$1"; shift
  for entry in "$@"; do
    local path="${entry%%=*}" includes="${entry#*=}"
    mkdir -p "$root/$(dirname "$path")"
    : >"$root/$path"
    for i in $includes; do echo "#include \"$i\"" >>"$root/$path"; done
  done
}
expect() {  # expect NAME STATUS TEXT: the check of tree NAME exits with STATUS and prints TEXT
  local out status
  out="$(python3 "$check" "$work/$1" 2>&1)"; status=$?
  if [ "$status" != "$2" ] || ! grep -qF -- "$3" <<<"$out"; then
    echo "FAILED: $1: wanted exit $2 and \"$3\", got exit $status:"; echo "$out"; failed=1
  fi
}
tree clean src/link/Frame.h= src/core/Text.h= src/config/Page.cpp="config/Page.h core/Text.h link/Frame.h" \
  src/config/Page.h= src/app/Shell.cpp="config/Page.h" tests/config/PageTest.cpp="config/Page.h tests/support/Fake.h" \
  tests/support/Fake.h=
expect clean 0 "layers: ok"
tree bare src/config/Page.cpp="Page.h" src/config/Page.h=
expect bare 1 'bare include "Page.h"'
tree sideways src/config/Page.cpp="monitor/Chart.h" src/monitor/Chart.h=
expect sideways 1 "src/config includes src/monitor: only lower layers may be included"
tree upwards src/link/Frame.cpp="app/Shell.h" src/app/Shell.h=
expect upwards 1 "src/link includes src/app: only lower layers may be included"
tree cycle src/config/A.cpp="monitor/B.h" src/monitor/B.h= src/monitor/B.cpp="config/A.h" src/config/A.h=
expect cycle 1 "folder cycle: config -> monitor -> config"
tree missing src/config/A.cpp="config/Gone.h"
expect missing 1 'include "config/Gone.h" is not in the tree'
tree product src/config/A.cpp="tests/support/Fake.h" tests/support/Fake.h=
expect product 1 "product code includes tests/support/Fake.h"
# A library that includes another's header without linking it, in a small CMake project of its own.
tree linked src/link/Frame.h= src/link/Frame.cpp="link/Frame.h" src/config/Page.cpp="link/Frame.h"
cat >"$work/linked/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.25)
project(layers_fixture CXX)
add_library(fixture_link STATIC src/link/Frame.cpp)
add_library(fixture_config STATIC src/config/Page.cpp)
target_include_directories(fixture_config PRIVATE src)
CMAKE
cmake -S "$work/linked" -B "$work/linked-build" -G Ninja >/dev/null 2>&1 || { echo "FAILED: the fixture project"; failed=1; }
out="$(python3 "$check" "$work/linked" "$work/linked-build" 2>&1)"; status=$?
if [ "$status" != 1 ] || ! grep -qF "target fixture_config: src/config/Page.cpp includes src/link/Frame.h but does not link fixture_link" <<<"$out"; then
  echo "FAILED: linked: wanted the missing link named, got exit $status:"; echo "$out"; failed=1
fi
echo 'target_link_libraries(fixture_config PRIVATE fixture_link)' >>"$work/linked/CMakeLists.txt"
cmake "$work/linked-build" >/dev/null 2>&1
out="$(python3 "$check" "$work/linked" "$work/linked-build" 2>&1)" || { echo "FAILED: linked after linking:"; echo "$out"; failed=1; }
[ "$failed" = 0 ] && echo "every case as expected"
exit "$failed"
