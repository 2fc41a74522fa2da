#!/usr/bin/env bash
# The scan and GUI figures at 5,000 and 20,000 synthetic classes: console scan against the
# plain scan it replaced (time, identical output, registry calls per class, file finds per
# distinct path), the GUI's start-up list, tab switches and peak memory.
#   bench/scale.sh [CLASSES...]        (default: 5000 20000)
# CORVANE_BENCH_BUILD names an existing Windows build folder to use as it is.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
build=${CORVANE_BENCH_BUILD:-}
if [ -z "$build" ]; then
  bash scripts/setup.sh >&2
  build=$(bash scripts/build-win32.sh | sed -n 1p)
fi
cmake --build "$build" -j"$(nproc)" --target corvane corvane-cli corvane_baseline_list \
  corvane_scale_timing corvane_scan_calls >&2
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(5000 20000)

for classes in "${sizes[@]}"; do
  prefix=$PWD/build/bench-prefix-$classes
  export CORVANE_WINEPREFIX=$prefix
  work=$(mktemp -d)
  python3 bench/make_synthetic_classes.py "$classes" "$work/classes.reg" "$work/files.txt"
  # A fresh prefix for each size, so the figures never mix registries.
  rm -rf "$prefix" "$prefix.lock"
  scripts/wine-run "$build/corvane-cli.exe" list >/dev/null 2>&1 || true
  while read -r file; do
    mkdir -p "$prefix/drive_c/$(dirname "$file")"
    : >"$prefix/drive_c/$file"
  done <"$work/files.txt"
  # The loader is picked by the program named here; regedit itself is the prefix's own.
  CORVANE_WINE_PROGRAM=$build/corvane-cli.exe scripts/wine-run regedit /s \
    "Z:$(echo "$work/classes.reg" | tr / '\\')"
  total=$(scripts/wine-run "$build/bench/corvane_baseline_list.exe" | wc -l)
  echo "== $classes synthetic classes ($total records listed, prefix classes included)"

  # Registry calls through the registry seam and file finds, per class, before and now.
  scripts/wine-run "$build/bench/corvane_scan_calls.exe"
  # The timings run inside Wine's own desktop, as a user's windows would: on a bare X display
  # every hidden window waits seconds for a window manager that is not there.
  repo=$PWD
  (cd "$work" && "$repo/scripts/wine-run" explorer /desktop=bench,1024x768 \
      "$repo/$build/bench/corvane_scale_timing.exe" \
      "Z:$(echo "$repo/$build" | tr / '\\')" 3)
  rm -rf "$work"
done
