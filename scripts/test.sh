#!/usr/bin/env bash
# Sets up the machine, builds both builds and runs every test.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/setup.sh

echo "== native build and unit tests"
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug
cmake --build build/native -j"$(nproc)"
(cd build/native && ctest --output-on-failure -j"$(nproc)")

echo "== native unit tests with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DCORVANE_SANITIZE=ON
cmake --build build/asan -j"$(nproc)" --target corvane_unit_tests corvane_help
(cd build/asan && ctest --output-on-failure -j"$(nproc)")

echo "== fuzzing the PE readers for a bounded time"
bash scripts/fuzz.sh 60

echo "== Windows builds and tests under Wine"
for wine_build in $(bash scripts/build-win32.sh); do
  echo "== tests of $wine_build"
  (cd "$wine_build" && ctest --output-on-failure)
done
