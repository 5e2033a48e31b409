#!/usr/bin/env bash
# Formats the code with .clang-format; with --check, only reports the files that do not follow it.
set -eu
cd "$(dirname "$0")/.."
format="$(command -v clang-format || command -v clang-format-14)"
files=$(git ls-files -co --exclude-standard 'src/*.cpp' 'src/*.h' 'tools/*.cpp' 'tools/*.h' 'tests/*.cpp' \
  'tests/*.h' 'bench/*.cpp' 'bench/*.h' 'fuzz/*.cpp' 'fuzz/*.h')
if [ "${1:-}" = --check ]; then
  "$format" --dry-run --Werror $files
  echo "$(echo "$files" | wc -l) files follow .clang-format"
else
  "$format" -i $files
fi
