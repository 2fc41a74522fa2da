#!/usr/bin/env bash
# Installs what the builds and tests need, and only what is missing. Safe to run again.
set -euo pipefail

packages=(
  cmake make g++ libgtest-dev libbenchmark-dev clang libclang-rt-14-dev
  g++-mingw-w64-i686 binutils-mingw-w64-i686
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  wine wine32:i386 wine64
  xvfb xauth x11-apps imagemagick fonts-wine python3
  nsis mingw-w64-tools libwine-dev
)

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: everything is installed"
  exit 0
fi

echo "setup: installing ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386
fi
as_root apt-get update
as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
