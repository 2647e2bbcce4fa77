#!/usr/bin/env bash
# Builds the libFuzzer programs (preset fuzz, in build/fuzz) and runs each one for SECONDS
# (default 60) on a scratch copy of its corpus in fuzz/corpus/<name>, so the committed corpus
# stays as it is. Prints one line per fuzzer: runs, executions per second, coverage and corpus.
# Exits non-zero when a fuzzer fails; its line names the input that shows the fault.
#   tools/fuzz.sh [SECONDS [NAME...]]
# With NAMEs (ini_profile, clock_text, ...) only those fuzzers run.
set -uo pipefail

seconds=${1:-60}
shift $(( $# > 0 ? 1 : 0 ))
names=("$@")
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/tools/setup.sh" || { echo "fuzz: setup failed"; exit 1; }

build_log="$root/build/fuzz-build.log"
mkdir -p "$root/build"
if ! { cmake --preset fuzz && cmake --build --preset fuzz -j 2; } >"$build_log" 2>&1; then
    tail -n 40 "$build_log"
    echo "fuzz: build failed (see $build_log)"
    exit 1
fi

# Logs, the grown corpora and any crashing inputs stay here after the run.
mkdir -p "$root/build/fuzz/runs"
scratch=$(mktemp -d "$root/build/fuzz/runs/$(date +%Y%m%d-%H%M%S).XXXX")

failed=0
count=0
for program in "$root"/build/fuzz/fuzz/fuzz_*; do
    [ -x "$program" ] || continue
    name=${program##*/fuzz_}
    [ ${#names[@]} -eq 0 ] || [[ " ${names[*]} " == *" $name "* ]] || continue
    count=$((count + 1))
    work="$scratch/$name"
    mkdir -p "$work/corpus" "$work/artifacts"
    if [ -d "fuzz/corpus/$name" ]; then
        cp -R "fuzz/corpus/$name/." "$work/corpus/"
    fi
    options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
             -artifact_prefix="$work/artifacts/")
    [ -f "fuzz/$name.dict" ] && options+=(-dict="fuzz/$name.dict")
    log="$work/log.txt"
    "$program" "${options[@]}" "$work/corpus" >"$log" 2>&1
    status=$?

    runs=$(sed -nE 's/^stat::number_of_executed_units: *([0-9]+).*/\1/p' "$log")
    speed=$(sed -nE 's/^stat::average_exec_per_sec: *([0-9]+).*/\1/p' "$log")
    coverage=$(grep -E '^#[0-9]+' "$log" | grep -oE 'cov: [0-9]+ ft: [0-9]+ corp: [0-9]+/[0-9]+[a-zA-Z]*' | tail -n 1)
    if [ "$status" -eq 0 ]; then
        printf '%-16s ok      %s runs, %s exec/s, %s\n' "$name" "${runs:-?}" "${speed:-?}" "${coverage:-?}"
    else
        failed=$((failed + 1))
        input=$(sed -nE 's/.*Test unit written to (.*)$/\1/p' "$log" | tail -n 1)
        printf '%-16s FAILED  exit %s, %s runs; input: %s; log: %s\n' "$name" "$status" \
            "${runs:-?}" "${input:-none written}" "$log"
        grep -E 'ERROR|runtime error|SUMMARY|^ +#[0-9]+ ' "$log" | head -n 20
    fi
done

if [ "$count" -eq 0 ]; then
    echo "fuzz: no fuzzer to run${names[*]:+ named ${names[*]}} in build/fuzz/fuzz"
    exit 1
fi
echo "fuzz: $count fuzzers for ${seconds}s each, $failed failed (logs in $scratch)"
[ "$failed" -eq 0 ]
