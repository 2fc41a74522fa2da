#!/usr/bin/env bash
# corvane-cli typelib on the fixture control's library: the tree, the IDL that widl compiles
# again into a library with the same tree, damaged files, and list --typelib-status.
#   cli_typelib_test.sh WINE_RUN CORVANE_CLI_EXE FIXTURE_DIR WIDL POINTER_SIZE STDOLE_DIR
set -u
run=$1 cli=$2 fixtures=$3 widl=$4 pointer_size=$5 stdole=$6
fail=0
check() { if eval "$2"; then echo "ok   $1"; else echo "FAIL $1"; fail=1; fi; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
windows() { local p=$1; echo "Z:${p//\//\\}"; }
target=--win32
[ "$pointer_size" = 8 ] && target=--win64

"$run" "$cli" typelib "$(windows "$fixtures/corvane_fixture_control.tlb")" >"$work/tree.txt" 2>"$work/err"; rc=$?
check "typelib FILE exits 0" '[ $rc -eq 0 ]'
sed -i 's/\r$//' "$work/tree.txt"
check "the tree starts at the library" 'head -1 "$work/tree.txt" | grep -qx "library CorvaneFixtureLib 1.0 - Corvane Fixture Control Library"'
check "members are indented below their type" \
  'grep -qxF "    [id(0x00000003)] HRESULT Move([in] long x, [in, optional, defaultvalue(10)] long y, [out, retval] long* moved)" "$work/tree.txt"'

"$run" "$cli" typelib "$(windows "$fixtures/corvane_fixture_control.tlb")" --idl >"$work/again.idl" 2>"$work/err"; rc=$?
check "typelib FILE --idl exits 0" '[ $rc -eq 0 ]'
"$widl" $target -I/usr/include/wine/wine/windows -L"$stdole" -t -o "$work/again.tlb" "$work/again.idl" 2>"$work/widl.err"
check "widl compiles the IDL again" '[ -s "$work/again.tlb" ] || { cat "$work/widl.err"; false; }'
"$run" "$cli" typelib "$(windows "$work/again.tlb")" >"$work/again.txt" 2>"$work/err"
sed -i 's/\r$//' "$work/again.txt"
check "the compiled IDL lists the same members" 'diff "$work/tree.txt" "$work/again.txt"'

"$run" "$cli" typelib '{6E3A1C52-8F0B-4D27-9B1E-2C7D5A40F913}' >"$work/class.txt" 2>"$work/err"; rc=$?
check "typelib of an unregistered class exits 1 with a sentence" \
  '[ $rc -eq 1 ] && grep -q "no class {6E3A1C52-8F0B-4D27-9B1E-2C7D5A40F913} is registered" "$work/err"'

for damaged in truncated cyclic; do
  "$run" "$cli" typelib "$(windows "$fixtures/corvane_fixture_$damaged.tlb")" >"$work/out" 2>"$work/err"; rc=$?
  check "a $damaged library exits 1 with an error" '[ $rc -eq 1 ] && grep -q "corvane-cli: .*\(does not load\|is damaged\)" "$work/err"'
done

"$run" "$cli" list --typelib-status >"$work/list.txt" 2>"$work/err"; rc=$?
sed -i 's/\r$//' "$work/list.txt"
check "list --typelib-status exits 0" '[ $rc -eq 0 ]'
check "each line gets the status as a sixth field" \
  '! grep -vqE "^(\"[^\"]*(\"\"[^\"]*)*\",){5}\"(Not Defined|OK|Not Registered|No Version Registered|No File Registered|File Missing|Does Not Load)\"$" "$work/list.txt"'
cut -d, -f6 "$work/list.txt" | sort | uniq -c >&2

exit $fail
