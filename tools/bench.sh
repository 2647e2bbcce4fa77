#!/usr/bin/env bash
# Footprint figures of Talvessa, printed (nothing fails on a figure; docs/footprint.md keeps a run):
#   the exe's size and imports, formatClockText natively, one tick in-process under Wine,
#   start-up and resident memory beside the floor (tools/floor_window.cpp: one window and a 1 s
#   timer), and CPU and wake-ups over 60 s idle.
#
#   tools/bench.sh [BUILD_PREFIX]    builds in PREFIX-native and PREFIX-mingw, runs a Wine session
#                                    in PREFIX-wine (default PREFIX: build/bench)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
prefix=${1:-$root/build/bench}
case "$prefix" in /*) ;; *) prefix=$PWD/$prefix ;; esac
native=$prefix-native
mingw=$prefix-mingw
session=$prefix-wine
rounds=${TALVESSA_BENCH_ROUNDS:-7}
idle_seconds=60
cd "$root"
"$root/tools/setup.sh"

echo "== build"
cmake --preset native -B "$native" >/dev/null
cmake --build "$native" --target talvessa_bench -j 2 >/dev/null
cmake --preset mingw -B "$mingw" >/dev/null
cmake --build "$mingw" --target Talvessa tick_bench floor_window keepalive -j 2 >/dev/null
exe=$mingw/app/Talvessa.exe
floor=$mingw/tools/floor_window.exe
echo "commit $(git rev-parse --short HEAD)$(git diff --quiet HEAD -- . || echo ' (with local changes)'), $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"

echo "== exe"
echo "Talvessa.exe $(stat -c %s "$exe") bytes (target at most 204800)"
x86_64-w64-mingw32-objdump -h "$exe" | grep -E '^ +[0-9]+ \.' | while read -r _ name size _; do
  printf '  %-8s %7d bytes\n' "$name" "$((16#$size))"
done
imports=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\tDLL Name: //p')

echo "== formatClockText natively (Google Benchmark)"
"$native/bench/talvessa_bench" --benchmark_repetitions=3 --benchmark_report_aggregates_only=true \
  2>/dev/null | grep -E '^formatClockText'

"$root/tools/wine-session.sh" start "$session" "$mingw/tools/keepalive.exe" >/dev/null
trap '"$root/tools/wine-session.sh" stop "$session"' EXIT
# shellcheck disable=SC1091
. "$session/env"
system32=$WINEPREFIX/drive_c/windows/system32
echo "imports (each must be a DLL of Windows itself):"
for dll in $imports; do
  if [ -n "$(find "$system32" -maxdepth 1 -iname "$dll" -print -quit)" ]; then where=system; else where="NOT A SYSTEM DLL"; fi
  echo "  $dll: $where"
done

echo "== one tick in-process under Wine"
(cd "$session" && wine "$mingw/bench/tick_bench.exe" "${TALVESSA_BENCH_TICKS:-20000}")

# The clock shows green text, the floor a green face, so the probe knows each is painted.
docs=$WINEPREFIX/drive_c/users/$(id -un)/Documents
printf '[conf]\r\ncolor=65280\r\n' >"$docs/Talvessa.ini"
green=0x00FF00

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

echo "== start-up: process start to first painted window, median of $rounds (alternating)"
: >"$session/startup-clock" && : >"$session/startup-floor"
# Each start follows a quiet pause: a process stopped a moment before delays the next start by
# about a second under Wine (its desktop and tray tidy up after it), whichever program comes next.
for _ in $(seq "$rounds"); do
  sleep 4
  python3 "$root/tools/first_paint.py" "$green" wine "$exe" >>"$session/startup-clock"
  sleep 4
  python3 "$root/tools/first_paint.py" "$green" wine "$floor" "$green" >>"$session/startup-floor"
done
clock_start=$(median <"$session/startup-clock")
floor_start=$(median <"$session/startup-floor")
echo "clock $clock_start s, floor $floor_start s, ratio $(awk -v a="$clock_start" -v b="$floor_start" 'BEGIN { printf "%.2f", a / b }') (target at most 1.10)"
echo "  clock runs: $(tr '\n' ' ' <"$session/startup-clock")"
echo "  floor runs: $(tr '\n' ' ' <"$session/startup-floor")"

echo "== resident memory after 10 s, side by side in one run"
wine "$exe" >/dev/null 2>&1 &
clock_pid=$!
wine "$floor" >/dev/null 2>&1 &
floor_pid=$!
trap 'kill $clock_pid $floor_pid 2>/dev/null || true; "$root/tools/wine-session.sh" stop "$session"' EXIT
sleep 10
status() { awk -v k="$2:" '$1 == k { print $2 }' "/proc/$1/status"; }
pss() { awk '$1 == "Pss:" { print $2 }' "/proc/$1/smaps_rollup"; }
printf '  %-6s %9s %11s %8s\n' "" VmRSS_KiB RssAnon_KiB Pss_KiB
for who in clock floor; do
  pid=${who}_pid
  printf '  %-6s %9s %11s %8s\n' "$who" "$(status "${!pid}" VmRSS)" "$(status "${!pid}" RssAnon)" "$(pss "${!pid}")"
done
echo "ratio VmRSS $(awk -v a="$(status $clock_pid VmRSS)" -v b="$(status $floor_pid VmRSS)" 'BEGIN { printf "%.2f", a / b }') (target at most 1.10)," \
  "RssAnon $(awk -v a="$(status $clock_pid RssAnon)" -v b="$(status $floor_pid RssAnon)" 'BEGIN { printf "%.2f", a / b }')"

echo "== idle over $idle_seconds s: CPU and wake-ups (voluntary + involuntary context switches, all threads)"
cpu_ticks() { sed 's/^.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }
switches() { cat /proc/"$1"/task/*/status | awk '/ctxt_switches/ { n += $2 } END { print n }'; }
for who in clock floor; do
  pid=${who}_pid
  eval "${who}_cpu0=$(cpu_ticks "${!pid}") ${who}_sw0=$(switches "${!pid}")"
done
sleep "$idle_seconds"
hz=$(getconf CLK_TCK)
for who in clock floor; do
  pid=${who}_pid
  cpu0=${who}_cpu0
  sw0=${who}_sw0
  awk -v who="$who" -v t="$(( $(cpu_ticks "${!pid}") - ${!cpu0} ))" -v hz="$hz" \
      -v s="$(( $(switches "${!pid}") - ${!sw0} ))" -v secs="$idle_seconds" \
      'BEGIN { printf "  %-6s CPU %.2f s (%.3f%%), %.2f wake-ups/s\n", who, t / hz, 100 * t / hz / secs, s / secs }'
done
