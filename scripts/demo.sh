#!/usr/bin/env bash
# The main job: build the plug-in and the substitute host, then play the
# demo session on a fresh copy of the sample data.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset release >/dev/null
cmake --build --preset release --target weltor kamoria >/dev/null
data="$(mktemp -d "${TMPDIR:-/tmp}/kamoria-demo.XXXXXX")"
trap 'rm -rf "$data"' EXIT
if [ -d demo/data ]; then cp -R demo/data/. "$data/"; fi
./build/release/weltor --data "$data" demo/session.txt
