#!/usr/bin/env bash
# Runs the benchmarks: natively over the in-memory seams, then on the real registry under Wine.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/setup.sh
cmake -S . -B build/native-release -DCMAKE_BUILD_TYPE=Release
cmake --build build/native-release -j"$(nproc)" --target corvane_scan_benchmark corvane_comparison_timing
build/native-release/bench/corvane_scan_benchmark "$@"
build/native-release/bench/corvane_comparison_timing
wine_build=$(bash scripts/build-win32.sh | sed -n 1p)
scripts/wine-run "$wine_build/bench/corvane_wine_scan_timing.exe" 20000
scripts/wine-run "$wine_build/bench/corvane_wine_details_timing.exe"
scripts/wine-run "$wine_build/bench/corvane_wine_missing_timing.exe"
scripts/wine-run "$wine_build/corvane_comparison_timing.exe"
scripts/wine-run "$wine_build/bench/corvane_wine_removal_timing.exe" 20000
