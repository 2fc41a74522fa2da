#!/usr/bin/env bash
# scripts/package.sh run twice over the same programs gives byte-identical zips and sums; a zip
# holds the release's files in sorted order, each dated the fixed release time.
#   package_test.sh SOURCE BUILD
set -euo pipefail
source_dir=$1 build=$(cd "$2" && pwd)
work=$build/package-test
rm -rf "$work"
trap 'rm -rf "$work"' EXIT

bash "$source_dir/scripts/package.sh" --programs "$build" --out "$work/first" 2>/dev/null
# A later run, with the programs' files touched meanwhile, as a rebuild would leave them.
touch "$build/corvane.exe"
sleep 2
bash "$source_dir/scripts/package.sh" --programs "$build" --out "$work/second" 2>/dev/null

version=$(cat "$build/version.txt")
zip=$(cd "$work/first" && ls corvane-"$version"-win*.zip)
cmp "$work/first/$zip" "$work/second/$zip"
cmp "$work/first/SHA256SUMS" "$work/second/SHA256SUMS"
(cd "$work/first" && sha256sum -c --quiet SHA256SUMS)
test "$(wc -l <"$work/first/SHA256SUMS")" = 2

python3 - "$work/first/$zip" "$build" <<'PY'
import sys, zipfile
archive, build = zipfile.ZipFile(sys.argv[1]), sys.argv[2]
names = [entry.filename for entry in archive.infolist()]
expected = ["corvane-cli.exe", "corvane.exe", "vantic.gif", "vantic.hlp"]
assert names == expected, names
assert len({entry.date_time for entry in archive.infolist()}) == 1
for name in names:
    assert archive.read(name) == open(build + "/" + name, "rb").read(), name
PY
echo "two runs gave the same $zip and SHA256SUMS"
