#!/usr/bin/env bash
# Fuzzes the PE import reader and the version-resource reader with libFuzzer (clang) under
# AddressSanitizer and UndefinedBehaviorSanitizer, for a bounded time.
#   fuzz.sh [SECONDS]   (default 60)
# Seeds: Wine's own PE32 and PE32+ DLLs. Exits non-zero when a crash or leak is found; the
# input that caused it is left in build/fuzz/.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
seconds=${1:-60}
out=build/fuzz
mkdir -p "$out/corpus"

clang++ -std=c++17 -O1 -g -I. -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  tests/fuzz/pe_reader_fuzzer.cpp catalogue/pe_imports.cpp catalogue/version_resource.cpp \
  -o "$out/pe_reader_fuzzer"

# A few small real DLLs of each kind, so that the fuzzer starts from valid headers.
for dir in /usr/lib/i386-linux-gnu/wine/i386-windows /usr/lib/x86_64-linux-gnu/wine/x86_64-windows; do
  [ -d "$dir" ] || continue
  find "$dir" -name '*.dll' -size -40k | sort | head -n 40 | while read -r dll; do
    cp -n "$dll" "$out/corpus/$(basename "$(dirname "$dll")")-$(basename "$dll")"
  done
done

cd "$out"
./pe_reader_fuzzer -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 \
  -print_final_stats=1 corpus 2>&1 | tee fuzz.log | grep -E 'stat::|ERROR|SUMMARY|Done' || true
if grep -q -E 'ERROR: (AddressSanitizer|libFuzzer|LeakSanitizer)|runtime error' fuzz.log; then
  echo "fuzz: found a fault; see build/fuzz/fuzz.log and build/fuzz/crash-*" >&2
  exit 1
fi
echo "fuzz: no fault in ${seconds} s"
