#!/usr/bin/env bash
# The two registry views of a 64-bit prefix, as the 64-bit build and (where this machine runs
# 32-bit code) the 32-bit build see them: classes registered in one view only, server files
# in System32 and SysWOW64, removal and its backup put back by the system's registry editor,
# and servers of the other bitness registered through its regsvr32.
#   cli_views_test.sh WINE_RUN CLI64_EXE CORVANE64_EXE FIXTURE64_OCX [CLI32_EXE CORVANE32_EXE FIXTURE32_OCX]
set -u
run=$1 cli64=$2 gui64=$3 fixture64=$4 cli32=${5:-} gui32=${6:-} fixture32=${7:-}
prefix=$CORVANE_WINEPREFIX
# The 32-bit build takes part where it was built and this machine runs 32-bit code.
if [ ! -f "$cli32" ] || ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  cli32= gui32= fixture32=
fi
windows=$prefix/drive_c/windows
c32='{3C0C0A00-1111-2222-3333-444455556632}'
c64='{6C0C0A00-1111-2222-3333-444455556664}'
cwow='{7C0C0A00-1111-2222-3333-444455556677}'
fixture_clsid='{6E3A1C52-8F0B-4D27-9B1E-2C7D5A40F913}'
fail=0
check() { if eval "$2"; then echo "ok   $1"; else echo "FAIL $1"; fail=1; fi; }
out=$(mktemp)
cleanup() {
  cat >"$prefix/drive_c/corvane-views-quiet.reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Tessaline\\Corvane\\General]
"AfterRegister"=-
"AfterUnregister"=-

[-HKEY_CLASSES_ROOT\\Wow6432Node\\CLSID\\$c32]
[-HKEY_CLASSES_ROOT\\CLSID\\$c64]
[-HKEY_CLASSES_ROOT\\CLSID\\$cwow]
REG
  "$run" "$windows/regedit.exe" /s 'C:\corvane-views-quiet.reg'
  rm -f "$out" "$windows"/system32/corvane-only64.dll "$windows"/syswow64/corvane-only32.dll \
    "$windows"/syswow64/corvane-wowonly.dll "$prefix"/drive_c/corvane-views*.reg
  rm -rf "$prefix/drive_c/corvane-views"
}
trap cleanup EXIT
"$run" "$cli64" list >/dev/null 2>&1  # makes the prefix on a first run
grep -q '^#arch=win64' "$prefix/system.reg" || { echo "FAIL the prefix is not 64-bit"; exit 1; }

# A 64-bit file in System32, 32-bit ones in SysWOW64 only.
cp "$windows/system32/ole32.dll" "$windows/system32/corvane-only64.dll"
cp "$windows/syswow64/ole32.dll" "$windows/syswow64/corvane-only32.dll"
cp "$windows/syswow64/ole32.dll" "$windows/syswow64/corvane-wowonly.dll"
cat >"$prefix/drive_c/corvane-views.reg" <<REG
REGEDIT4

[HKEY_CLASSES_ROOT\\Wow6432Node\\CLSID\\$c32\\InprocServer32]
@="C:\\\\windows\\\\system32\\\\corvane-only32.dll"
[HKEY_CLASSES_ROOT\\Wow6432Node\\CLSID\\$c32\\ProgID]
@="Only.ThirtyTwo.1"

[HKEY_CLASSES_ROOT\\CLSID\\$c64\\InprocServer32]
@="C:\\\\windows\\\\system32\\\\corvane-only64.dll"
[HKEY_CLASSES_ROOT\\CLSID\\$c64\\ProgID]
@="Only.SixtyFour.1"

[HKEY_CLASSES_ROOT\\CLSID\\$cwow\\InprocServer32]
@="C:\\\\windows\\\\system32\\\\corvane-wowonly.dll"
[HKEY_CLASSES_ROOT\\CLSID\\$cwow\\ProgID]
@="Only.InWow.1"
REG
"$run" "$windows/regedit.exe" /s 'C:\corvane-views.reg'

line() { grep -F "\"$2\"" <<<"$1" | head -1; }
for build in 64 32; do
  cli=$cli64
  if [ "$build" = 32 ]; then
    [ -n "$cli32" ] || { echo "skip the 32-bit build: this machine runs no 32-bit code"; continue; }
    cli=$cli32
  fi
  default=$("$run" "$cli" list 2>/dev/null | tr -d '\r')
  v32=$("$run" "$cli" list --view 32 2>/dev/null | tr -d '\r')
  v64=$("$run" "$cli" list --view 64 2>/dev/null | tr -d '\r')
  both=$("$run" "$cli" list --view both 2>/dev/null | tr -d '\r')
  echo "the $build-bit build lists $(wc -l <<<"$v32") classes in the 32-bit view and $(wc -l <<<"$v64") in the 64-bit view"
  own=$v64
  [ "$build" = 32 ] && own=$v32
  check "$build-bit build: the default is its own view" '[ "$default" = "$own" ]'
  check "$build-bit build: each class only in its view" \
    '[ -n "$(line "$v32" Only.ThirtyTwo.1)" ] && [ -z "$(line "$v32" Only.SixtyFour.1)" ] &&
     [ -n "$(line "$v64" Only.SixtyFour.1)" ] && [ -z "$(line "$v64" Only.ThirtyTwo.1)" ]'
  check "$build-bit build: System32 is the 64-bit folder in the 64-bit view" \
    '[[ "$(line "$v64" Only.SixtyFour.1)" == *\"1\" ]] && [[ "$(line "$v64" Only.InWow.1)" == *\"0\" ]]'
  check "$build-bit build: System32 is SysWOW64 in the 32-bit view" \
    '[[ "$(line "$v32" Only.ThirtyTwo.1)" == *\"1\" ]]'
  check "$build-bit build: --view both puts the view first" \
    'grep -qF "\"32\",\"DLL Servers\",\"Only.ThirtyTwo.1\"" <<<"$both" &&
     grep -qF "\"64\",\"DLL Servers\",\"Only.SixtyFour.1\"" <<<"$both" &&
     [ "$(wc -l <<<"$both")" -eq $(( $(wc -l <<<"$v32") + $(wc -l <<<"$v64") )) ]'
done

# The 64-bit view's file as both builds read it: found, sized and versioned alike (the 32-bit
# build with the file-system redirection off).
rows() {
  "$run" "$1" report --view 64 --format csv --category dll --attributes 'ProgID,File Size,File Version' \
    2>/dev/null | tr -d '\r' | grep -F '"Only.SixtyFour.1"'
}
row64=$(rows "$cli64")
check "the 64-bit view's System32 file has its size and version" \
  '[[ "$row64" == *"$(stat -c %s "$windows/system32/corvane-only64.dll") Bytes"* ]] && [[ "$row64" != *\"\" ]]'
if [ -n "$cli32" ]; then
  row32=$(rows "$cli32")
  check "the 32-bit build reads the same file in the 64-bit view" '[ -n "$row32" ] && [ "$row32" = "$row64" ]'
fi

"$run" "$cli64" find --view both 'C:\x.dll' >/dev/null 2>&1; rc=$?
check "--view both is refused where one view is shown" '[ $rc -eq 2 ]'

# Removal in the 32-bit view, put back by the system's (64-bit) registry editor.
"$run" "$cli64" remove --view 32 "$c32" >"$out" 2>&1
backup=$(sed -n 's/^Backup: //p' "$out" | tr -d '\r')
after=$("$run" "$cli64" list --view 32 2>/dev/null | tr -d '\r')
check "removal in the 32-bit view takes the class out of it" '[ -n "$backup" ] && [ -z "$(line "$after" Only.ThirtyTwo.1)" ]'
"$run" "$windows/regedit.exe" /s "$backup"
restored32=$("$run" "$cli64" list --view 32 2>/dev/null | tr -d '\r')
restored64=$("$run" "$cli64" list --view 64 2>/dev/null | tr -d '\r')
check "regedit /s of the backup puts it back into the 32-bit view only" \
  '[ -n "$(line "$restored32" Only.ThirtyTwo.1)" ] && [ -z "$(line "$restored64" Only.ThirtyTwo.1)" ]'

# Servers of the other bitness, registered from each build by that bitness's regsvr32.
cat >"$prefix/drive_c/corvane-views-quiet.reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Tessaline\\Corvane\\General]
"AfterRegister"=dword:00000003
"AfterUnregister"=dword:00000003
REG
"$run" "$windows/regedit.exe" /s 'C:\corvane-views-quiet.reg'
mkdir -p "$prefix/drive_c/corvane-views"
cross() {  # GUI_EXE FIXTURE VIEW_OF_FIXTURE
  local name=$(basename "$2")
  cp "$2" "$prefix/drive_c/corvane-views/$3-$name"
  local path="C:\\corvane-views\\$3-$name"
  "$run" "$1" -R "$path"
  local registered=$("$run" "$cli64" find --view "$3" "$path" 2>/dev/null | tr -d '\r')
  local elsewhere=$("$run" "$cli64" list --view $((96 - $3)) 2>/dev/null | grep -cF "$fixture_clsid")
  check "the $((96 - $3))-bit build registers a $3-bit server into the $3-bit view" \
    '[[ "$registered" == *"$fixture_clsid"* ]] && [ "$elsewhere" -eq 0 ]'
  "$run" "$1" -U "$path"
  "$run" "$cli64" find --view "$3" "$path" >/dev/null 2>&1; local rc=$?
  check "and unregisters it again" '[ $rc -eq 1 ]'
}
[ -n "$fixture32" ] && cross "$gui64" "$fixture32" 32
[ -n "$gui32" ] && cross "$gui32" "$fixture64" 64
exit $fail
