#!/usr/bin/env bash
# Sets up the machine, builds Corvane and starts corvane.exe under Wine in the build's own
# prefix. With no X display it runs on a virtual screen and saves a screenshot of the main
# window to build/screenshots/corvane.png instead.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/setup.sh
wine_build=$(bash scripts/build-win32.sh | sed -n 1p)
if [ -n "${DISPLAY:-}" ]; then
  scripts/wine-run "$wine_build/corvane.exe"
else
  bash scripts/shoot.sh build/screenshots/corvane.png 25 "$wine_build/corvane.exe"
fi
