#!/bin/sh
# Builds the release preset and runs the stock lookup benchmark. The sample
# data (about 2.2 GB for 100 warehouses of 20,000 items) is written once into
# build/release/bench-data and reused; remove that directory to free the space.
# Each case runs five times and the medians are compared; extra arguments go
# to the benchmark (e.g. --benchmark_filter=/2000/).
set -e
cd "$(dirname "$0")/.."
cmake --preset release >/dev/null
cmake --build --preset release -j2
exec build/release/bench/kamoria_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true "$@"
