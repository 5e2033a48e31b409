#!/usr/bin/env bash
# varnok-cmd.exe under wine against the Linux simulator, over TCP and over a pseudo-terminal reached
# as COM7, once for every fault form the simulator offers. Each case runs the Linux varnok-cmd the
# same way: the Windows program must send the very same bytes, end with the same exit code and
# print the same result line. A few cases also have fixed expectations of their own.
#   wine-cmd-link.sh LINUX_VARNOK_SIM VARNOK_CMD_EXE WINE_RUN
set -u
sim="$1"; cmd_exe="$2"; wine_run="$3"
linux_cmd="$(dirname "$sim")/varnok-cmd"
for f in "$sim" "$linux_cmd" "$cmd_exe" "$wine_run"; do
  [ -x "$f" ] || [ -f "$f" ] || { echo "missing: $f (build the Linux programs first)"; exit 1; }
done
export WINEPREFIX="${WINEPREFIX:-$(dirname "$cmd_exe")/../wine-prefix}"
work="$(mktemp -d)"
sim_pid=""
stop_sim() { [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null; sim_pid=""; }
trap 'stop_sim; rm -rf "$work"' EXIT
mkdir -p "$WINEPREFIX/dosdevices"
com_link="$WINEPREFIX/dosdevices/com7"

# Starts the simulator with the given fault (or none); sets tcp_port and pty.
start_sim() {
  stop_sim
  local args=(--tcp-port 0 --serial-link "$com_link")
  [ "$1" != none ] && args+=(--fault "$1")
  "$sim" "${args[@]}" >"$work/sim.out" 2>&1 &
  sim_pid=$!
  for _ in $(seq 100); do grep -q '^Serial link:' "$work/sim.out" && break; sleep 0.05; done
  tcp_port="$(sed -n 's/^TCP port: //p' "$work/sim.out")"
  pty="$(sed -n 's/^Serial: //p' "$work/sim.out")"
  [ -n "$tcp_port" ] && [ -n "$pty" ] || { echo "the simulator did not start: $(cat "$work/sim.out")"; exit 1; }
}

# run NAME PROGRAM... : stdout, stderr and exit code into $work/NAME.{out,err,rc}
run() {
  local name="$1"; shift
  timeout 60 "$@" >"$work/$name.out" 2>"$work/$name.err"
  echo $? >"$work/$name.rc"
  sed -i 's/\r$//' "$work/$name.out" "$work/$name.err"  # Windows text output ends lines in CR LF
}
# The bytes of each request, one line each, from the wire trace that -v writes ("... > 08 80 88 |...| < ...").
sent() { perl -ne 'print "$1\n" if / > ((?:[0-9A-F]{2} )+)\|/' "$work/$1.err" "$work/$1.out"; }

passed=0; failed=0
check() {  # check DESCRIPTION CONDITION...
  local what="$1"; shift
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $what"; fi
}
same_file() { cmp -s <("${@:3}" "$1") <("${@:3}" "$2"); }

# transport fault command...; "COM" cases use COM7 under wine and the pseudo-terminal on Linux.
cases=(
  "tcp none code 141"
  "tcp none text status"
  "tcp none code 132 00003C00"
  "tcp noreply code 141"
  "tcp late-id code 141"
  "tcp exception code 141"
  "tcp split code 132 00003C00"
  "tcp short:5 code 141"
  "tcp close code 141"
  "tcp refuse:141:5 code 141"
  "tcp banner text status"
  "tcp stale:3 code 141"
  "tcp stale:4 code 141"
  "tcp stale-exception code 141"
  "tcp short:9 code 141"
  "tcp short:10 code 141"
  "tcp split:3:300 code 132 00003C00"
  "tcp delay:300 code 141"
  "tcp stopread code 141"
  "tcp reset code 141"
  "tcp lenbyte:16 text sim text 300"
  "com none code 141"
  "com none text status"
  "com none code 132 00003C00"
  "com noreply code 141"
  "com split code 132 00003C00"
  "com short:4 code 141"
  "com refuse:141:5 code 141"
  "com nak code 141"
  "com badcheck code 141"
  "com bodycut code 141"
  "com textcut text status"
  "com banner text status"
  "com split:3:200 code 132 00003C00"
  "com delay:300 code 141"
  "com ackbyte:65 code 141"
  "com hangup code 141"
)
for c in "${cases[@]}"; do
  read -r transport fault command <<<"$c"
  start_sim "$fault"
  lin_addr="127.0.0.1:$tcp_port"; [ "$transport" = com ] && lin_addr="$pty"
  # shellcheck disable=SC2086
  run lin "$linux_cmd" -v "$lin_addr" $command
  start_sim "$fault"  # a fresh instrument, so both see the same transaction numbers
  win_addr="127.0.0.1:$tcp_port"; [ "$transport" = com ] && win_addr=COM7
  # shellcheck disable=SC2086
  run win "$wine_run" "$cmd_exe" -v "$win_addr" $command
  check "$c: exit code $(cat "$work/win.rc") (Linux $(cat "$work/lin.rc"))" cmp -s "$work/lin.rc" "$work/win.rc"
  check "$c: result line: $(head -1 "$work/win.out") (Linux $(head -1 "$work/lin.out"))" \
    [ "$(head -1 "$work/lin.out")" = "$(head -1 "$work/win.out")" ]
  check "$c: the bytes sent" cmp -s <(sent lin) <(sent win)
  check "$c: a request on the wire" [ -n "$(sent win)" ]
  if ! cmp -s <(sent lin) <(sent win); then diff <(sent lin) <(sent win) | head -5; fi
  case "$c" in
    "tcp none code 141"|"com none code 141"|"tcp late-id code 141"|"tcp split code 132 00003C00"|"com split code 132 00003C00"|\
    "tcp stale:3 code 141"|"tcp split:3:300 code 132 00003C00"|"tcp delay:300 code 141"|"com split:3:200 code 132 00003C00"|\
    "com delay:300 code 141")
      check "$c: succeeds" [ "$(cat "$work/win.rc")" = 0 ] ;;
    "tcp noreply code 141"|"com noreply code 141"|"tcp close code 141"|"com nak code 141"|"com textcut text status"|\
    "tcp stale:4 code 141"|"tcp stopread code 141"|"tcp reset code 141"|"com ackbyte:65 code 141"|"com hangup code 141")
      check "$c: fails" [ "$(cat "$work/win.rc")" = 1 ] ;;
  esac
done
stop_sim
# Fixed expectations: the clock is 7 bytes, a refusal is its one byte, a value block is 240 bytes.
start_sim none
run w1 "$wine_run" "$cmd_exe" COM7 code 141
check "clock over COM7: $(head -1 "$work/w1.out")" [ "$(head -1 "$work/w1.out")" = "result: 7" ]
run w2 "$wine_run" "$cmd_exe" "127.0.0.1:$tcp_port" code 132 00003C00
check "value block over TCP: $(head -1 "$work/w2.out")" [ "$(head -1 "$work/w2.out")" = "result: 240" ]
run w3 "$wine_run" "$cmd_exe" -v COM7 code 141
check "the serial model query frame on the wire" grep -q '^08 80 88' <(sent w3)
check "the clock frame on the wire" grep -q '^08 8D 85' <(sent w3)
run w4 "$wine_run" "$cmd_exe" COM9 code 141
check "a COM port that does not exist fails: $(cat "$work/w4.err")" [ "$(cat "$work/w4.rc")" = 1 ]

# The link figures: N whole runs (start, connect, model query, one exchange) per transport.
n="${VARNOK_WINE_LINK_RUNS:-10}"
for t in tcp com; do
  addr="127.0.0.1:$tcp_port"; [ $t = com ] && addr=COM7
  start=$(date +%s%N); ok=0
  for _ in $(seq "$n"); do "$wine_run" "$cmd_exe" "$addr" code 141 >/dev/null 2>&1 && ok=$((ok + 1)); done
  ms=$(( ($(date +%s%N) - start) / 1000000 ))
  echo "link figure $t: $ok of $n runs of varnok-cmd.exe code 141 in $ms ms ($((ms / n)) ms a run)"
  check "$t: every timed run succeeded" [ "$ok" = "$n" ]
done
echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
