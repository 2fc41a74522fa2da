#!/usr/bin/env bash
# corvane-cli remove on the real registry: a class registration removed with its backup, put
# back by "regedit /s BACKUP" exactly as it was; the AppID key only with --appid; the
# misbehaved listing deletes nothing without --yes; bad arguments.
#   cli_remove_test.sh WINE_RUN CORVANE_CLI_EXE
set -u
run=$1 cli=$2
prefix=$CORVANE_WINEPREFIX
regedit=$prefix/drive_c/windows/regedit.exe
clsid='{C0C0A000-1111-2222-3333-444455556666}'
appid='{C0C0A000-1111-2222-3333-444455556667}'
fail=0
check() { if eval "$2"; then echo "ok   $1"; else echo "FAIL $1"; fail=1; fi; }
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err" "$prefix"/drive_c/corvane-remove-*.reg' EXIT
"$run" "$cli" list >/dev/null 2>&1  # makes the prefix on a first run

# Every value type, names and data that need escaping, a ProgID that points back, an AppID.
cat >"$prefix/drive_c/corvane-remove-fixture.reg" <<REG
REGEDIT4

[HKEY_CLASSES_ROOT\\CLSID\\$clsid]
@="Removal Fixture"
"AppID"="$appid"

[HKEY_CLASSES_ROOT\\CLSID\\$clsid\\LocalServer32]
@="C:\\\\Gone Away\\\\fixture.exe /automation"
"Exp"=hex(2):25,53,79,73,74,65,6d,52,6f,6f,74,25,5c,78,00
"Multi"=hex(7):61,00,62,00,00
"Dw"=dword:12345678
"Bin"=hex:00,ff,10
"Quote\\"Back\\\\"="a \\"q\\" \\\\ b"

[HKEY_CLASSES_ROOT\\CLSID\\$clsid\\ProgID]
@="Removal.Fixture.1"

[HKEY_CLASSES_ROOT\\Removal.Fixture.1\\CLSID]
@="$clsid"

[HKEY_CLASSES_ROOT\\AppID\\$appid]
@="Removal Fixture"
REG
import() { "$run" "$regedit" /s "$1"; }
# The exported text of the class's keys, or nothing when they are gone.
snapshot() {
  for key in "CLSID\\$clsid" "Removal.Fixture.1" "AppID\\$appid"; do
    rm -f "$prefix/drive_c/corvane-remove-export.reg"
    "$run" "$regedit" /e 'C:\corvane-remove-export.reg' "HKEY_CLASSES_ROOT\\$key" >/dev/null 2>&1
    [ -f "$prefix/drive_c/corvane-remove-export.reg" ] &&
      iconv -f utf-16 -t utf-8 "$prefix/drive_c/corvane-remove-export.reg" | tr -d '\r'
  done
}

import 'C:\corvane-remove-fixture.reg'
before=$(snapshot)
check "the fixture is registered" 'grep -q "fixture.exe" <<<"$before" && grep -q "\[HKEY_CLASSES_ROOT\\\\AppID" <<<"$before"'

"$run" "$cli" remove --misbehaved --category exe >"$out" 2>"$err"; rc=$?
check "--misbehaved lists the fixture and exits 0" '[ $rc -eq 0 ] && grep -q "$clsid" "$out"'
check "and deletes nothing without --yes" '[ "$(snapshot)" = "$before" ] && grep -q "nothing was removed" "$err"'

"$run" "$cli" remove "$clsid" >"$out" 2>"$err"; rc=$?
sed -i 's/\r$//' "$out"
check "remove exits 0" '[ $rc -eq 0 ]'
check "and prints the keys deleted" \
  'grep -qx "ProgID: Removal.Fixture.1" "$out" && grep -qx "CLSID: $clsid" "$out" && ! grep -q "AppID:" "$out"'
backup=$(sed -n 's/^Backup: //p' "$out")
check "and the backup file, below Tessaline\\Corvane\\Backup" '[[ "$backup" == *"\\Tessaline\\Corvane\\Backup\\"*"$clsid.reg" ]]'
after=$(snapshot)
check "the class and ProgID keys are gone, the AppID key stays without --appid" \
  '! grep -q "CLSID\\\\$clsid" <<<"$after" && ! grep -qF Removal.Fixture.1 <<<"$after" && grep -q "AppID\\\\$appid" <<<"$after"'

import "$backup"
check "regedit /s of the backup puts back every key and value exactly" '[ "$(snapshot)" = "$before" ]'
"$run" "$cli" list >"$out" 2>"$err"
check "and a rescan finds the class again" 'grep -q "\"EXE Servers\",\"Removal Fixture\",\"$clsid\"" "$out"'

"$run" "$cli" remove "$clsid" --appid >"$out" 2>"$err"; rc=$?
sed -i 's/\r$//' "$out"
check "with --appid the AppID key goes too" '[ $rc -eq 0 ] && grep -qx "AppID: $appid" "$out" && [ -z "$(snapshot)" ]'
import "$(sed -n 's/^Backup: //p' "$out")"
check "and its backup restores all three" '[ "$(snapshot)" = "$before" ]'

"$run" "$cli" remove "$clsid" --appid >/dev/null 2>&1
"$run" "$cli" restore --list >"$out" 2>"$err"; rc=$?
check "restore --list shows the newest backup first, server missing" \
  '[ $rc -eq 0 ] && head -1 "$out" | grep -qF "\"Removal.Fixture.1\",\"$clsid\",\"C:\\Gone Away\\fixture.exe /automation\",0,"'
"$run" "$cli" restore --last 1 >"$out" 2>"$err"; rc=$?
check "restore --last 1 puts back all three through Corvane's own reader" '[ $rc -eq 0 ] && [ "$(snapshot)" = "$before" ]'
"$run" "$cli" restore --last 1 >"$out" 2>"$err"; rc=$?
check "a class registered again is not restored over" '[ $rc -eq 1 ] && grep -q "registered again" "$err" && [ "$(snapshot)" = "$before" ]'

# --yes is the confirmation: every misbehaved class goes, each with its own backup.
second='{C0C0A000-1111-2222-3333-444455556668}'
cat >"$prefix/drive_c/corvane-remove-second.reg" <<REG
REGEDIT4

[HKEY_CLASSES_ROOT\\CLSID\\$second\\InprocServer32]
@="C:\\\\Gone Away\\\\second.dll"

[HKEY_CLASSES_ROOT\\CLSID\\$second\\ProgID]
@="Removal.Second.1"
REG
import 'C:\corvane-remove-second.reg'
"$run" "$cli" remove --misbehaved --yes >"$out" 2>"$err"; rc=$?
sed -i 's/\r$//' "$out"
check "--misbehaved --yes removes both misbehaved classes, each with a backup" \
  '[ $rc -eq 0 ] && grep -q "Removing 2 misbehaved classes" "$err" && [ "$(grep -c "^Backup: " "$out")" -eq 2 ] &&
   grep -qx "CLSID: $clsid" "$out" && grep -qx "CLSID: $second" "$out"'
fixture_backup=$(grep -F "$clsid" "$out" | sed -n 's/^Backup: //p')
"$run" "$cli" remove --misbehaved >"$out" 2>"$err"
check "and none is left" 'grep -q "^0 misbehaved classes" "$err"'
import "$fixture_backup"
"$run" "$cli" remove "$clsid" --appid >/dev/null 2>&1   # leave the prefix as it was
"$run" "$cli" remove '{00000000-0000-0000-0000-0000000000AB}' >"$out" 2>"$err"; rc=$?
check "an unregistered CLSID exits 1 and says so" '[ $rc -eq 1 ] && grep -q "not a registered class" "$err"'

for args in "restore" "restore --list X" "restore --last 0" "restore --list --replace" "remove" "remove --yes X" "remove --misbehaved X" "remove --misbehaved --category ocx" "remove --bogus X"; do
  # shellcheck disable=SC2086
  "$run" "$cli" $args >"$out" 2>"$err"; rc=$?
  check "'$args' exits 2 with the usage" '[ $rc -eq 2 ] && grep -q "Usage: corvane-cli" "$err"'
done

[ $fail -eq 0 ] && echo "cli remove: all checks passed"
exit $fail
