#!/usr/bin/env bash
# Fuzzes the PE import reader, the version-resource reader, the type library layout check and
# the backup file reader with libFuzzer (clang) under
# AddressSanitizer and UndefinedBehaviorSanitizer, for a bounded time.
#   fuzz.sh [SECONDS]   (default 60)
# Seeds: Wine's own PE32 and PE32+ DLLs, and crafted import tables of up to 256 KB
# (tests/fuzz/crafted_pe.py). Exits non-zero when a crash, a leak, or an input that takes
# memory out of proportion to its size is found (more than 32 MB in one allocation, or the
# process above 256 MB: the reader holds at most a few times an input of 256 KB, and a small
# ASan quarantine keeps freed memory from counting); the input is left in build/fuzz/.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
seconds=${1:-60}
out=build/fuzz
mkdir -p "$out/corpus"

clang++ -std=c++17 -O1 -g -I. -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  tests/fuzz/pe_reader_fuzzer.cpp catalogue/pe_imports.cpp catalogue/api_set_schema.cpp platform/text.cpp \
  catalogue/version_resource.cpp catalogue/type_library_layout.cpp \
  -o "$out/pe_reader_fuzzer"

# A few small real DLLs of each kind, so that the fuzzer starts from valid headers.
for dir in /usr/lib/i386-linux-gnu/wine/i386-windows /usr/lib/x86_64-linux-gnu/wine/x86_64-windows; do
  [ -d "$dir" ] || continue
  find "$dir" -name '*.dll' -size -40k | sort | head -n 40 | while read -r dll; do
    cp -n "$dll" "$out/corpus/$(basename "$(dirname "$dll")")-$(basename "$dll")"
  done
done
# A type library in the binary format the layout check reads, as widl writes it.
widl -I/usr/include/wine/wine/windows -L/usr/lib/x86_64-linux-gnu/wine/x86_64-windows -t \
  -o "$out/corpus/fixture_control.tlb" tests/fixtures/fixture_control.idl 2>/dev/null || true

# Thousands of descriptors naming long names: what a file built to take memory looks like.
python3 tests/fuzz/crafted_pe.py "$out/corpus" 131072

cd "$out"
ASAN_OPTIONS=quarantine_size_mb=16 \
  ./pe_reader_fuzzer -max_total_time="$seconds" -max_len=262144 -rss_limit_mb=256 \
  -malloc_limit_mb=32 \
  -print_final_stats=1 corpus 2>&1 | tee fuzz.log | grep -E 'stat::|ERROR|SUMMARY|Done' || true
if grep -q -E 'ERROR: (AddressSanitizer|libFuzzer|LeakSanitizer)|runtime error' fuzz.log; then
  echo "fuzz: found a fault; see build/fuzz/fuzz.log and build/fuzz/crash-*" >&2
  exit 1
fi

# The backup file reader, seeded with a file of every value form the writer makes.
cd - >/dev/null
clang++ -std=c++17 -O1 -g -I. -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  tests/fuzz/backup_reader_fuzzer.cpp catalogue/backup_reader.cpp catalogue/registry_backup.cpp \
  platform/text.cpp -o "$out/backup_reader_fuzzer"
mkdir -p "$out/backup_corpus"
python3 - "$out/backup_corpus/seed.reg" <<'PY'
import sys
text = ('Windows Registry Editor Version 5.00\r\n\r\n'
        '[HKEY_CLASSES_ROOT\\CLSID\\{A}]\r\n@="C:\\\\\u0416\\"x\\".dll"\r\n'
        '"n"=dword:0000ff01\r\n"b"=hex:00,ff\r\n"e"=hex(2):25,00,00,00\r\n"z"=hex(0):\r\n\r\n'
        '[HKEY_CLASSES_ROOT\\CLSID\\{A}\\Sub]\r\n\r\n')
open(sys.argv[1], 'wb').write(b'\xff\xfe' + text.encode('utf-16-le'))
PY
cd "$out"
ASAN_OPTIONS=quarantine_size_mb=16 \
  ./backup_reader_fuzzer -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=256 \
  -malloc_limit_mb=32 -print_final_stats=1 backup_corpus 2>&1 | tee backup_fuzz.log |
  grep -E 'stat::|ERROR|SUMMARY|Done' || true
if grep -q -E 'ERROR: (AddressSanitizer|libFuzzer|LeakSanitizer)|runtime error|deadly signal' backup_fuzz.log; then
  echo "fuzz: found a fault in the backup reader; see build/fuzz/backup_fuzz.log" >&2
  exit 1
fi
echo "fuzz: no fault in ${seconds} s"
