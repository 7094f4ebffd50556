#!/usr/bin/env bash
# Builds the fuzz targets, seeds them and runs each for SECONDS seconds
# (default 30), or for N executions, on one core, keeping each target's
# corpus in build/fuzz/corpus/<target>. Exits non-zero when any target
# finds a crash, a leak or a broken check; the input is left in
# build/fuzz/findings. Without TARGETs it runs all five.
#   tests/fuzz/run_fuzz.sh                    # the short run of the test command
#   tests/fuzz/run_fuzz.sh 43200              # twelve hours each
#   tests/fuzz/run_fuzz.sh --runs 10000000 picture text
set -uo pipefail
cd "$(dirname "$0")/../.." || exit 1
limit=(-max_total_time=30) what="30 s"
if [ "${1:-}" = "--runs" ]; then
  limit=(-runs="${2:?--runs needs a count}") what="${2} runs"
  shift 2
elif [ $# -gt 0 ]; then
  limit=(-max_total_time="$1") what="$1 s"
  shift
fi
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(picture text month_dialog holiday cal_tool)
build=build/fuzz
cmake -S tests/fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang >/dev/null || exit 1
cmake --build "$build" || exit 1
rm -rf "$build/seeds" && tests/fuzz/make_seeds.sh "$build/seeds" || exit 1
mkdir -p "$build/findings"

failed=0
for target in "${targets[@]}"; do
  mkdir -p "$build/corpus/$target"
  log="$build/$target.log"
  # Every holiday lookup of a month build reads the whole section: inputs
  # of a kilobyte (some sixty entries) explore as much as longer ones, at
  # twice the speed.
  extra=()
  [ "$target" = holiday ] && extra=(-max_len=1024)
  "$build/${target}_fuzz" "${limit[@]}" "${extra[@]}" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$build/findings/${target}-" "$build/corpus/$target" "$build/seeds/$target" >"$log" 2>&1
  status=$?
  runs=$(grep -E '^stat::number_of_executed_units' "$log" | awk '{print $2}')
  if [ "$status" -ne 0 ]; then
    failed=$((failed + 1))
    echo "${target}_fuzz: FINDING after ${runs:-?} executions (exit $status), see $log"
    grep -E 'ERROR|SUMMARY|Test unit written' "$log" | head -5
  else
    rate=$(grep -E '^#[0-9]+.*DONE' "$log" | tail -1 | sed -E 's/.*exec\/s: ([0-9]+).*/\1/')
    echo "${target}_fuzz: ${runs:-?} executions (${what}, ${rate:-?} a second), no finding"
  fi
done
[ "$failed" -eq 0 ]
