#!/usr/bin/env bash
# Installs what the builds and tests need on a Debian 12 (bookworm) machine,
# as root: CMake, Ninja, GoogleTest, Google Benchmark, clang with libFuzzer,
# tmux (the interactive weltor's tests), the mingw-w64 i686 toolchain, and
# Wine with what it needs to run 32-bit programs here.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive

# The Windows tests are 32-bit programs run by Wine's 32-bit loader. This
# kernel refuses 32-bit Linux programs, so the loader runs through qemu-i386;
# bookworm's qemu 7.2 ignores MAP_FIXED_NOREPLACE, which Wine needs, so qemu
# comes from bookworm-backports, added next to the machine's own entry for the
# main archive.
backports=/etc/apt/sources.list.d/kamoria-bookworm-backports.sources
if [ ! -e "$backports" ]; then
  mirror=$(awk '/^URIs:/ { uris = $2 } /^Suites:/ && / bookworm( |$)/ { print uris; exit }' \
             /etc/apt/sources.list.d/*.sources 2>/dev/null || true)
  if [ -z "$mirror" ] && [ -e /etc/apt/sources.list ]; then
    mirror=$(awk '$1 == "deb" && $3 == "bookworm" { print $2; exit }' /etc/apt/sources.list)
  fi
  [ -n "$mirror" ] || { echo ".ci/run: no apt entry for bookworm to take the mirror from" >&2; exit 1; }
  cat >"$backports" <<EOF
Types: deb
URIs: $mirror
Suites: bookworm-backports
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
fi
dpkg --add-architecture i386

apt-get update
apt-get install -y cmake ninja-build g++ googletest libgtest-dev libbenchmark-dev \
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686 \
  clang libclang-rt-14-dev llvm tmux
# Wine without its desktop extras: the tests need no display, sound or fonts.
apt-get install -y --no-install-recommends wine wine64 wine32:i386
apt-get install -y --no-install-recommends -t bookworm-backports qemu-user-static

