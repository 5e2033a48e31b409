#!/usr/bin/env bash
# Runs one Windows program under wine inside the Windows build's own wine prefix, bounded in time.
#   wine-run.sh PROGRAM.exe [ARGS...]
# WINEPREFIX defaults to build-windows/wine-prefix beside this script; the prefix is made on first
# use (about 10 s) and reused afterwards. VARNOK_WINE_TIMEOUT bounds the run (seconds, default 60).
set -u
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
export WINEPREFIX="${WINEPREFIX:-$here/../build-windows/wine-prefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"  # no Mono or Gecko prompts
mkdir -p "$WINEPREFIX"
exec timeout --kill-after=5 "${VARNOK_WINE_TIMEOUT:-60}" wine "$@"
