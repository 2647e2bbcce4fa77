#!/usr/bin/env bash
# Runs every test suite of Talvessa on a Debian machine, installing what is missing first:
#   native        the portable core and routines, with GCC
#   native-asan   the same under AddressSanitizer and UndefinedBehaviorSanitizer
#   mingw         the Windows program and its tests, run through Wine on a virtual display
#   fuzz          each fuzzer for a bounded time (clang, libFuzzer)
# Ends with one line over all suites: "N passed, N failed".
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

"$root/tools/setup.sh" || { echo "setup failed"; echo "0 passed, 1 failed"; exit 1; }

jobs=$(nproc)
passed=0
failed=0
log_dir="$root/build/test-logs"
mkdir -p "$log_dir"

# count_ctest LOG: adds the counts of ctest's summary line to the totals (a missing summary counts
# as one failure).
count_ctest() {
  local line total failures
  line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -n 1)
  if [ -z "$line" ]; then
    failed=$((failed + 1))
    return
  fi
  failures=$(sed -E 's/.* ([0-9]+) tests? failed out of.*/\1/' <<<"$line")
  total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
  passed=$((passed + total - failures))
  failed=$((failed + failures))
}

# build PRESET: configure and build; a failure counts as one failed suite.
build() {
  if cmake --preset "$1" >"$log_dir/$1-configure.log" 2>&1 &&
     cmake --build --preset "$1" -j "$jobs" >"$log_dir/$1-build.log" 2>&1; then
    return 0
  fi
  echo "== $1: build failed (see $log_dir/$1-*.log)"
  tail -n 40 "$log_dir/$1-configure.log" "$log_dir/$1-build.log" 2>/dev/null
  failed=$((failed + 1))
  return 1
}

run_ctest() {
  local preset=$1
  shift
  echo "== $preset"
  ctest --preset "$preset" "$@" 2>&1 | tee "$log_dir/$preset-ctest.log" | grep -E '(\*\*\*|tests passed|Failed|Timeout)' | tail -n 60
  count_ctest "$log_dir/$preset-ctest.log"
}

for preset in native native-asan; do
  build "$preset" && run_ctest "$preset" -j "$jobs"
done

if build mingw; then
  session="$root/build/mingw/wine-session"
  trap '"$root/tools/wine-session.sh" stop "$session"' EXIT
  if "$root/tools/wine-session.sh" start "$session" "$root/build/mingw/tools/keepalive.exe" >/dev/null; then
    # shellcheck disable=SC1091
    . "$session/env"
    export TALVESSA_WINE_SESSION="$session"
    run_ctest mingw
  else
    echo "== mingw: the Wine session did not start"
    failed=$((failed + 1))
  fi
  "$root/tools/wine-session.sh" stop "$session"
  trap - EXIT
fi

if [ -x "$root/tools/fuzz.sh" ]; then
  echo "== fuzz"
  if "$root/tools/fuzz.sh" "${TALVESSA_FUZZ_SECONDS:-60}" >"$log_dir/fuzz.log" 2>&1; then
    passed=$((passed + 1))
  else
    tail -n 40 "$log_dir/fuzz.log"
    failed=$((failed + 1))
  fi
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
