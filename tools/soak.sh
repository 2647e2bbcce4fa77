#!/usr/bin/env bash
# Runs the real clock under Wine on a virtual display for MINUTES minutes and samples its
# resident memory once a minute, from outside the process (/proc of the Wine process).
#
#   tools/soak.sh EXE MINUTES [SESSION_DIR]
#
# Prints one line per sample: minutes since start, VmRSS and RssAnon in KiB, the process's
# user+system CPU seconds so far, and its thread count. The session (Xvfb, Wine prefix) is
# started in SESSION_DIR (default build/soak-wine) and stopped at the end.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
exe=$(cd "$(dirname "${1:?path of Talvessa.exe}")" && pwd)/$(basename "$1")
minutes=${2:?minutes}
session=${3:-$root/build/soak-wine}
keepalive=${TALVESSA_KEEPALIVE:-$(dirname "$exe")/../tools/keepalive.exe}

"$root/tools/wine-session.sh" start "$session" "$keepalive" >/dev/null
trap '"$root/tools/wine-session.sh" stop "$session"' EXIT
# shellcheck disable=SC1091
. "$session/env"

wine "$exe" >"$session/soak-exe.log" 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; "$root/tools/wine-session.sh" stop "$session"' EXIT

field() { awk -v k="$1:" '$1 == k { print $2 }' "/proc/$pid/status"; }
cpu_seconds() {
  # Fields 14 and 15 of /proc/PID/stat (after the command in parentheses): utime, stime in ticks.
  local ticks
  ticks=$(sed 's/^.*) //' "/proc/$pid/stat" | awk '{ print $12 + $13 }')
  awk -v t="$ticks" -v hz="$(getconf CLK_TCK)" 'BEGIN { printf "%.2f", t / hz }'
}

echo "# $(basename "$exe") ($(stat -c %s "$exe") bytes) under $(wine --version), $(date -u +%Y-%m-%dT%H:%MZ)"
echo "# minute  VmRSS_KiB  RssAnon_KiB  cpu_s  threads"
start=$(date +%s)
for minute in $(seq 0 "$minutes"); do
  # Sample at whole minutes since start; the first at 0 s after a short settling pause.
  if [ "$minute" -eq 0 ]; then sleep 5; else sleep $((start + minute * 60 - $(date +%s))); fi
  if ! kill -0 "$pid" 2>/dev/null; then
    echo "# the clock ended before minute $minute"
    exit 1
  fi
  printf '%6d  %9s  %11s  %5s  %7s\n' "$minute" "$(field VmRSS)" "$(field RssAnon)" \
    "$(cpu_seconds)" "$(field Threads)"
done
