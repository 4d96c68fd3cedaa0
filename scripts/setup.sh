#!/usr/bin/env bash
# Installs what the builds and tests need on Debian 12, as root.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends \
  cmake ninja-build g++ make googletest libgtest-dev libbenchmark-dev \
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686 >/dev/null
