#!/usr/bin/env bash
# The main job: build the plug-in, the substitute host and its sample data,
# then play the bundled tour (weltor demo) on a fresh copy of that data.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset release >/dev/null
cmake --build --preset release --target weltor_bundle >/dev/null
./build/release/weltor demo
