#!/usr/bin/env bash
# The fixtures whose DLLs only the loader's own rules find, through corvane-cli deps and
# missing, with LoadLibraryA in the same prefix as the judge of which servers really fail.
#   loader_fixtures_test.sh WINE_RUN CORVANE_CLI_EXE LOAD_ORACLE_EXE FIXTURE_DIR
set -u
run=$1 cli=$2 oracle=$3 dir=$4
fail=0
check() { if eval "$2"; then echo "ok   $1"; else echo "FAIL $1"; fail=1; fi; }
out=$(mktemp) err=$(mktemp)
win() { local path; path=$(cd "$(dirname "$1")" && pwd)/$(basename "$1"); echo "Z:${path//\//\\}"; }
reg() { CORVANE_WINE_PROGRAM=$cli "$run" reg "$@" >/dev/null 2>&1; }

apiset=$(win "$dir/corvane_fixture_apiset.dll")
sxs=$(win "$dir/corvane_fixture_sxs.dll")
private=$(win "$dir/corvane.fixture.private/corvane_fixture_private.dll")
delay=$(win "$dir/corvane_fixture_delay.dll")
broken=$(win "$dir/corvane_fixture_broken.dll")
needs64=$(win "$dir/bitness/corvane_fixture_needs64.dll")
only64=$(win "$dir/bitness/corvane_fixture_only64.dll")

deps() { "$run" "$cli" deps "$1" 2>"$err" | tr -d '\r'; }
has() { grep -qixF "$2" <<<"$1"; }

lines=$(deps "$apiset")
check "a contract is found at its host through the API set schema" \
  'has "$lines" "\"api-ms-win-core-synch-l1-2-0.dll\",\"C:\\windows\\system32\\kernelbase.dll\",\"API set\",\"\""'
lines=$(deps "$sxs")
check "a private assembly's DLL is found in the assembly's folder" \
  'has "$lines" "\"corvane_fixture_private.dll\",\"$private\",\"assembly\",\"\""'
lines=$(deps "$delay")
check "a delay-loaded DLL found nowhere is missing and marked delay" \
  'has "$lines" "\"corvane_fixture_absent.dll\",\"\",\"not found\",\"delay\""'
check "the ordinary import beside it is found" \
  'grep -qi "^\"kernel32.dll\",\"C:\\\\windows\\\\system32\\\\kernel32.dll\",\"search path\",\"\"$" <<<"$lines"'
check "the delay-loaded DLL comes after the ordinary ones" \
  '[ "$(tail -1 <<<"$lines" | cut -d, -f1)" = "\"corvane_fixture_absent.dll\"" ]'
lines=$(deps "$needs64")
check "a 32-bit server's DLL that exists only as a 64-bit file is of the wrong bitness" \
  'has "$lines" "\"corvane_fixture_only64.dll\",\"$only64\",\"wrong bitness\",\"\""'

# The servers registered for a while under classes of their own.
declare -A clsid=(
  [apiset]='{C3000000-0000-0000-0000-0000000021A1}' [sxs]='{C3000000-0000-0000-0000-0000000021A2}'
  [delay]='{C3000000-0000-0000-0000-0000000021A3}' [broken]='{C3000000-0000-0000-0000-0000000021A4}'
  [needs64]='{C3000000-0000-0000-0000-0000000021A5}')
declare -A server=([apiset]=$apiset [sxs]=$sxs [delay]=$delay [broken]=$broken [needs64]=$needs64)
cleanup() {
  for name in "${!clsid[@]}"; do reg delete "HKCR\\CLSID\\${clsid[$name]}" /f; done
  rm -f "$out" "$err"
}
trap cleanup EXIT
for name in "${!clsid[@]}"; do
  reg add "HKCR\\CLSID\\${clsid[$name]}\\InprocServer32" /ve /d "${server[$name]}" /f
  reg add "HKCR\\CLSID\\${clsid[$name]}\\ProgID" /ve /d "Corvane.Loader.$name" /f
done

"$run" "$cli" list 2>/dev/null | tr -d '\r' >"$out"
for name in "${!clsid[@]}"; do
  check "$name: its class is in the catalogue" 'grep -qF "\"${clsid[$name]}\"" "$out"'
done
"$run" "$cli" missing >"$out" 2>"$err"
sed -i 's/\r$//' "$out"
"$run" "$oracle" "${server[@]}" 2>/dev/null | tr -d '\r' >"$err"
for name in "${!clsid[@]}"; do
  reported=0
  grep -qF "\"${clsid[$name]}\"" "$out" && reported=1
  loads=$(grep -F " ${server[$name]}" "$err" | cut -c1)
  check "$name: corvane-cli missing reports it exactly when LoadLibraryA fails" \
    '[ -n "$loads" ] && [ $((1 - loads)) -eq $reported ]'
done
check "the delay-loaded DLL never makes its server fail" '! grep -qF "${clsid[delay]}" "$out"'
check "the server that really fails names its DLL" \
  '[ "$(grep -A1 -F "${clsid[broken]}" "$out" | tail -1)" = "    corvane_fixture_absent.dll" ]'

[ $fail -eq 0 ] && echo "loader fixtures: all checks passed"
exit $fail
