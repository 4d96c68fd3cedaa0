#!/usr/bin/env bash
# Builds the fuzz preset and runs each fuzz target for SECONDS (default 600)
# over a working corpus that outlives the run, build/fuzz/corpus-work/<target>,
# started from the committed seeds in fuzz/corpus/<target>. Prints for each
# target the inputs run, the final coverage (libFuzzer's cov: edges and ft:
# features) and the corpus size; a crash or a broken promise leaves its input
# in build/fuzz/artifacts and makes the command fail.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]
# KAMORIA_FUZZ_JOBS=2 runs two targets at a time (default one).
# KAMORIA_FUZZ_COVERAGE=1 then replays the working corpora in a build with
# line coverage (preset fuzz-coverage) and prints the coverage of plugin/.
set -uo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-600}
[ $# -eq 0 ] || shift
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(options_fuzz stock_fuzz screens_fuzz form_fuzz)
jobs=${KAMORIA_FUZZ_JOBS:-1}

cmake --preset fuzz >/dev/null || exit 1
cmake --build --preset fuzz -j "${KAMORIA_JOBS:-2}" || exit 1

source=$PWD
root=$PWD/build/fuzz
mkdir -p "$root/logs" "$root/artifacts"

run() {
  local target=$1 work=$root/corpus-work/$1
  mkdir -p "$work" "$root/runs/$target"
  # The stock lookup writes its result file in the current directory: each
  # target has a directory of its own.
  (cd "$root/runs/$target" && "$root/fuzz/$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
     -artifact_prefix="$root/artifacts/$target-" "$work" "$source/fuzz/corpus/$target") \
    >"$root/logs/$target.log" 2>&1
}

summarise() {
  local target=$1 status=$2 log=$root/logs/$1.log line runs cov ft
  runs=$(sed -nE 's/^stat::number_of_executed_units: ([0-9]+)/\1/p' "$log" | tail -1)
  line=$(grep -E '^#[0-9]+.* cov: ' "$log" | tail -1)
  cov=$(sed -nE 's/.* cov: ([0-9]+).*/\1/p' <<<"$line")
  ft=$(sed -nE 's/.* ft: ([0-9]+).*/\1/p' <<<"$line")
  local verdict="clean"
  [ "$status" -eq 0 ] || verdict="FAILED (exit $status), see $log"
  printf '%-13s %s: %s inputs in %s s, cov %s, ft %s, corpus %s files\n' "$target" "$verdict" \
    "${runs:-?}" "$seconds" "${cov:-?}" "${ft:-?}" "$(find "$root/corpus-work/$target" -type f | wc -l)"
}

failed=0
summary=()
for ((i = 0; i < ${#targets[@]}; i += jobs)); do
  batch=("${targets[@]:i:jobs}")
  pids=()
  for target in "${batch[@]}"; do
    echo "=== $target: $seconds s, log in build/fuzz/logs/$target.log"
    run "$target" &
    pids+=($!)
  done
  for j in "${!batch[@]}"; do
    wait "${pids[$j]}"
    status=$?
    [ "$status" -eq 0 ] || failed=1
    summary+=("$(summarise "${batch[$j]}" "$status")")
  done
done
echo
printf '%s\n' "${summary[@]}"

if [ "${KAMORIA_FUZZ_COVERAGE:-0}" = 1 ]; then
  echo
  echo "=== line coverage of plugin/ over the working corpora"
  cmake --preset fuzz-coverage >/dev/null && cmake --build --preset fuzz-coverage -j "${KAMORIA_JOBS:-2}" >/dev/null ||
    exit 1
  covered=$PWD/build/fuzz-coverage
  rm -rf "$covered/profiles"
  mkdir -p "$covered/profiles"
  for target in "${targets[@]}"; do
    mkdir -p "$covered/runs/$target"
    (cd "$covered/runs/$target" &&
     LLVM_PROFILE_FILE="$covered/profiles/%m-%p.profraw" "$covered/fuzz/$target" -runs=0 \
       "$root/corpus-work/$target" "$source/fuzz/corpus/$target") >"$covered/replay-$target.log" 2>&1 ||
      echo "$target: the replay failed, see $covered/replay-$target.log"
  done
  llvm-profdata merge -o "$covered/fuzz.profdata" "$covered"/profiles/*.profraw &&
    llvm-cov report "$covered/kamoria.so" -instr-profile="$covered/fuzz.profdata" -show-region-summary=false \
      -show-branch-summary=false "$source/plugin"
fi
exit $failed
