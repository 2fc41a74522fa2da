#!/usr/bin/env bash
# Cross-builds the Windows program, the console tool and the Windows tests, and prints the
# build folder whose programs this machine can run under Wine.
#
# The product is the 32-bit build (build/win32). Some machines cannot run 32-bit code at all
# (their kernel refuses i386 programs, so 32-bit Wine cannot start); there the same sources
# are also built as 64-bit (build/win64) and the tests run from that build under 64-bit Wine.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

jobs=$(nproc)
# Everything of the 32-bit build is built everywhere, so that it always compiles.
cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
  -DCMAKE_BUILD_TYPE=Release >&2
cmake --build build/win32 -j"$jobs" >&2
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo build/win32
else
  echo "build-win32: this machine cannot run 32-bit programs; testing a 64-bit build" >&2
  cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release >&2
  cmake --build build/win64 -j"$jobs" >&2
  echo build/win64
fi
