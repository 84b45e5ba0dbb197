#!/usr/bin/env bash
# Times `vemtra-svc list --all` with 300 extra services in a Wine session of
# its own, against
#   (a) list_baseline: the same platform calls in the same order, no library;
#   (b) list_fewest:   the same records with the fewest calls, one manager;
# and one QueryState against one bare open-query-close (query_bench).
# Prints ratios and the time per listed service; no absolute thresholds.
#   bench/run_list_bench.sh [BUILD_DIR]     (default: build/win64)
# VEMTRA_BENCH_ROUNDS sets the number of timed runs of each program (7).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/win64}" && pwd)
rounds=${VEMTRA_BENCH_ROUNDS:-7}
count=300

svc=$build/src/platform/win32/vemtra-svc.exe
baseline=$build/bench/list_baseline.exe
fewest=$build/bench/list_fewest.exe
query=$build/bench/query_bench.exe
services=$build/bench/bench_services.exe
testsvc='Z:'$(printf '%s' "$build/tests/bin/vemtra-testsvc.exe" | tr / '\\')
for program in "$svc" "$baseline" "$fewest" "$query" "$services"; do
  [ -f "$program" ] || { echo "missing $program: build the preset first" >&2; exit 1; }
done

session=$build/bench/wine-session
work=$(mktemp -d)
export VEMTRA_WINE_SESSION=$session
run() { "$root/tools/wine-run" "$@"; }

cleanup() {
  run "$services" delete "$count" >/dev/null 2>&1 || true
  "$root/tools/wine-session" stop "$session"
  rm -rf "$work"
}
"$root/tools/wine-session" start "$session"
trap cleanup EXIT

run "$services" create "$count" "\"$testsvc\""

# The three programs must print the same table: the same records were read.
run "$svc" list --all >"$work/cli.txt"
run "$baseline" >"$work/baseline.txt"
run "$fewest" >"$work/fewest.txt"
cmp "$work/cli.txt" "$work/baseline.txt" || { echo "the baseline lists something else" >&2; exit 1; }
cmp "$work/cli.txt" "$work/fewest.txt" || { echo "list_fewest lists something else" >&2; exit 1; }
listed=$(wc -l <"$work/cli.txt")
listed=$((listed - 2))  # header and total

# Seconds for one run of a program, its output thrown away.
seconds() {
  local start end
  start=$(date +%s.%N)
  run "$@" >/dev/null
  end=$(date +%s.%N)
  awk -v a="$start" -v b="$end" 'BEGIN { print b - a }'
}
# calc EXPRESSION: floating-point arithmetic on the shell's variables
calc() { awk "BEGIN { print $1 }"; }
median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
fastest() { sort -g | head -n 1; }

: >"$work/cli.times"
: >"$work/baseline.times"
: >"$work/fewest.times"
for _ in $(seq "$rounds"); do  # interleaved, so drift hits all three alike
  seconds "$svc" list --all >>"$work/cli.times"
  seconds "$baseline" >>"$work/baseline.times"
  seconds "$fewest" >>"$work/fewest.times"
done
# The median run, and the fastest (the one least disturbed by the rest of
# the machine).
report() {
  local cli base few
  cli=$($1 <"$work/cli.times")
  base=$($1 <"$work/baseline.times")
  few=$($1 <"$work/fewest.times")
  printf '%s runs:\n' "$1"
  printf '  vemtra-svc list --all / same calls without the library: %.2fx\n' "$(calc "$cli / $base")"
  printf '  vemtra-svc list --all / fewest calls, one manager:      %.2fx\n' "$(calc "$cli / $few")"
  printf '  time per listed service: vemtra-svc %.2f ms, baseline %.2f ms, fewest calls %.2f ms\n' \
    "$(calc "$cli * 1000 / $listed")" "$(calc "$base * 1000 / $listed")" "$(calc "$few * 1000 / $listed")"
}
printf 'services listed: %d (%d created for the benchmark), %d runs of each program\n' "$listed" "$count" "$rounds"
report median
report fastest
run "$query" VemtraBench000 50 9
