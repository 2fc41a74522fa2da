#!/usr/bin/env bash
# Builds the release: for each Windows build, its installer and its portable zip, then the
# SHA-256 sums of what was made.
#   scripts/package.sh [--out DIR]                  builds build/win32 and build/win64 -> dist/
#   scripts/package.sh --programs DIR [--out DIR]   packages the programs already built in DIR
# Files: corvane-<version>-setup.exe and corvane-<version>-win32.zip from the 32-bit build,
# corvane-<version>-win64-setup.exe and corvane-<version>-win64.zip from the 64-bit build.
# The version is the one CMakeLists.txt sets (the build writes it to version.txt). Zips are
# reproducible: sorted entries dated SOURCE_DATE_EPOCH (default: the last commit's time).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

out=$root/dist
programs=()
while [ $# -gt 0 ]; do
  case $1 in
    --out) out=$2; shift 2 ;;
    --programs) programs+=("$(cd "$2" && pwd)"); shift 2 ;;
    *) echo "usage: package.sh [--programs DIR]... [--out DIR]" >&2; exit 2 ;;
  esac
done

command -v makensis >/dev/null || { echo "package: makensis is missing (scripts/setup.sh installs it)" >&2; exit 1; }
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 1767225600)
fi
export SOURCE_DATE_EPOCH

if [ ${#programs[@]} -eq 0 ]; then
  for bits in 32 64; do
    build=$root/build/win$bits
    toolchain=$root/cmake/mingw-$([ $bits = 32 ] && echo i686 || echo x86_64).cmake
    cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
      -DCMAKE_BUILD_TYPE=Release >&2
    cmake --build "$build" -j"$(nproc)" --target corvane corvane-cli corvane_help >&2
    programs+=("$build")
  done
fi

# 64 for a PE32+ program, 32 for a PE32 one.
bits_of() {
  local offset magic
  offset=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  magic=$(od -An -tx2 -j$((offset + 24)) -N2 "$1" | tr -d ' ')
  case $magic in 020b) echo 64 ;; 010b) echo 32 ;; *) echo "package: $1 is not a program" >&2; return 1 ;; esac
}

mkdir -p "$out"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
# The picture of the installer's first and last pages: the logo on the product's navy.
convert -size 164x314 gradient:'#000050-#1c3c8c' "$root/resources/logo.bmp" \
  -gravity north -geometry +0+48 -composite -type truecolor BMP3:"$stage/wizard.bmp"
# The installer keeps each file's time: all of them get the release's.
touch -d "@$SOURCE_DATE_EPOCH" "$stage/wizard.bmp"
made=()
for dir in "${programs[@]}"; do
  version=$(cat "$dir/version.txt")
  bits=$(bits_of "$dir/corvane.exe")
  # Four parts for the installer's own version resource.
  parts=$(echo "$version.0.0.0" | cut -d. -f1-4)
  if [ "$bits" = 32 ]; then
    setup=corvane-$version-setup.exe zip=corvane-$version-win32.zip
  else
    setup=corvane-$version-win64-setup.exe zip=corvane-$version-win64.zip
  fi

  files=$stage/win$bits
  rm -rf "$files"
  mkdir -p "$files"
  for file in corvane.exe corvane-cli.exe vantic.hlp vantic.gif; do
    [ -f "$dir/$file" ] || { echo "package: $dir/$file is missing" >&2; exit 1; }
    cp "$dir/$file" "$files/$file"
  done
  touch -d "@$SOURCE_DATE_EPOCH" "$files"/*

  echo "package: $setup" >&2
  makensis -V2 -NOCD -DVERSION="$version" -DVERSION_PARTS="$parts" -DBITS="$bits" \
    -DPROGRAMS="$files" -DSOURCE="$root" -DWIZARD="$stage/wizard.bmp" -DOUTFILE="$out/$setup" \
    "$root/installer/corvane.nsi" >&2
  echo "package: $zip" >&2
  python3 "$root/scripts/make_zip.py" "$out/$zip" "$files"
  made+=("$setup" "$zip")
done

(cd "$out" && printf '%s\n' "${made[@]}" | sort | xargs sha256sum > SHA256SUMS)
echo "package: $out" >&2
(cd "$out" && ls -l "${made[@]}" SHA256SUMS) >&2
