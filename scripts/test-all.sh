#!/usr/bin/env bash
# Configures, builds and tests every preset that must pass, in turn, and stops
# at the first failure. Usage: scripts/test-all.sh [PRESET...]
set -uo pipefail
cd "$(dirname "$0")/.."

presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(debug sanitize fuzz windows)
jobs=${KAMORIA_JOBS:-2}
summary=()
passed=0
failed=0
skipped_all=0
started=$SECONDS
ctest_log=$(mktemp)
trap 'rm -f "$ctest_log"' EXIT

report() {
  echo
  echo "=== summary ($((SECONDS - started)) s)"
  printf '  %s\n' "${summary[@]}"
  echo "$passed passed, $failed failed, $skipped_all skipped"
}

# Adds up ctest's count of one preset: "N% tests passed, F tests failed out of T".
count() {
  local line total failures skips
  line=$(grep -E 'tests failed out of [0-9]+' "$ctest_log" | tail -1)
  [ -n "$line" ] || return 0
  failures=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
  total=$(sed -E 's/.* tests failed out of ([0-9]+).*/\1/' <<<"$line")
  skips=$(grep -c '(Skipped)$' "$ctest_log" || true)
  failed=$((failed + failures))
  skipped_all=$((skipped_all + skips))
  passed=$((passed + total - failures - skips))
}

for preset in "${presets[@]}"; do
  preset_started=$SECONDS
  for step in configure build test; do
    echo
    echo "=== $preset: $step"
    case $step in
      configure) cmake --preset "$preset" ;;
      build) cmake --build --preset "$preset" -j "$jobs" ;;
      test) ctest --preset "$preset" | tee "$ctest_log"; (exit "${PIPESTATUS[0]}") ;;
    esac
    status=$?
    [ "$step" != test ] || count
    if [ $status -ne 0 ]; then
      summary+=("$preset: $step FAILED (exit $status) after $((SECONDS - preset_started)) s")
      report
      exit 1
    fi
  done
  # Skips hide nothing silently: a preset whose tests could not run says so.
  note=""
  skipped=$(grep -c '(Skipped)$' "$ctest_log")
  [ "$skipped" -eq 0 ] || note=", $skipped tests skipped"
  summary+=("$preset: ok in $((SECONDS - preset_started)) s$note")
done
report
