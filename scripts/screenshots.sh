#!/usr/bin/env bash
# Saves screenshots of the main window and of each dialog to build/screenshots/, for people to
# look at (they are never compared). Builds first.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
wine_build=$(bash scripts/build-win32.sh | sed -n 1p)
out=build/screenshots
bash scripts/shoot.sh "$out/corvane.png" 25 "$wine_build/corvane.exe"
for dialog in options message timed unregistered progress about details compare news update-offline \
    bulk-removal removal-progress restore; do
  bash scripts/shoot.sh "$out/$dialog.png" 8 "$wine_build/tests/gui/corvane_gallery.exe" "$dialog"
done
