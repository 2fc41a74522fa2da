#!/usr/bin/env bash
# Sets up the machine, builds Corvane and runs it under Wine in the build's own prefix:
# lists every COM class registered there.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/setup.sh
bash scripts/build-win32.sh
scripts/wine-run build/win32/corvane-cli.exe list
