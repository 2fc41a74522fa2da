#!/usr/bin/env bash
# Cross-builds both products, the 32-bit build (build/win32) and the 64-bit build
# (build/win64), with their console tools and Windows tests, and prints the build folders whose
# programs this machine can run under Wine, one a line.
#
# The 64-bit build always runs (in a 64-bit prefix, where the two registry views meet). Some
# machines cannot run 32-bit code at all (their kernel refuses i386 programs, so 32-bit Wine
# cannot start); there the 32-bit build is only compiled.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

jobs=$(nproc)
cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
  -DCMAKE_BUILD_TYPE=Release >&2
cmake --build build/win32 -j"$jobs" >&2
cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release >&2
cmake --build build/win64 -j"$jobs" >&2
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo build/win32
else
  echo "build-win32: this machine cannot run 32-bit programs; the 32-bit build is only compiled" >&2
fi
echo build/win64
