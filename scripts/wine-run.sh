#!/usr/bin/env bash
# Runs one Windows program under wine inside the Windows build's own wine prefix, bounded in time.
#   wine-run.sh PROGRAM.exe [ARGS...]
# WINEPREFIX defaults to build-windows/wine-prefix beside this script. The prefix is made on first
# use and reused; its wine server and services are started apart from the program, with no
# standard streams, so that they never hold the caller's pipes open after the program ends.
# VARNOK_WINE_TIMEOUT bounds the run (seconds, default 60). `wineserver -k` stops it all.
set -u
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
export WINEPREFIX="${WINEPREFIX:-$here/../build-windows/wine-prefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"  # no Mono or Gecko prompts
mkdir -p "$WINEPREFIX"
( flock 9
  if ! wineserver -k0 2>/dev/null; then
    # One server for the whole run of tests (stopped by `wineserver -k` at the end).
    # Neither may keep the lock's descriptor: the server outlives this script and would hold the lock.
    wineserver -p </dev/null >/dev/null 2>&1 9>&-
    timeout 300 wine wineboot </dev/null >/dev/null 2>&1 9>&-
  fi
) 9>"$WINEPREFIX/.boot-lock"
exec timeout --kill-after=5 "${VARNOK_WINE_TIMEOUT:-60}" wine "$@"
