#!/usr/bin/env bash
# corvane-cli as a user runs it: list, find, and the answers to bad arguments.
#   cli_test.sh WINE_RUN CORVANE_CLI_EXE
set -u
run=$1 cli=$2
fail=0
check() { if eval "$2"; then echo "ok   $1"; else echo "FAIL $1"; fail=1; fi; }
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT

"$run" "$cli" list >"$out" 2>"$err"; rc=$?
sed -i 's/\r$//' "$out"
lines=$(wc -l <"$out")
check "list exits 0" '[ $rc -eq 0 ]'
check "list prints the prefix's classes ($lines lines)" '[ "$lines" -gt 100 ]'
check "every line has five quoted fields" \
  '! grep -Ev "^\"(Controls|DLL Servers|EXE Servers)\",\"([^\"]|\"\")*\",\"\{[^\"]*\",\"([^\"]|\"\")*\",\"[01]\"$" "$out" | grep -q .'
check "categories come in order" \
  '[ "$(cut -d, -f1 "$out" | uniq | tr "\n" " ")" = "$(cut -d, -f1 "$out" | uniq | sort -t\" -k2,2 | tr "\n" " ")" ]'
for c in Controls "DLL Servers" "EXE Servers"; do
  echo "  $(grep -c "^\"$c\"" "$out") $c"
done

# Look up the server file of a well-behaved DLL server with a full path.
target=$(grep '^"DLL Servers"' "$out" | grep ',"1"$' | awk -F'","' '$4 ~ /\\/ {print $4; exit}')
check "a DLL server with a full path exists" '[ -n "$target" ]'
"$run" "$cli" find "$target" >"$out" 2>"$err"; rc=$?
sed -i 's/\r$//' "$out"
found=$(awk -F'","' '{print $4}' "$out")
check "find $target exits 0" '[ $rc -eq 0 ]'
check "find prints a record of that file" '[ "${found,,}" = "${target,,}" ]'

"$run" "$cli" find 'C:\no such folder\none.dll' >"$out" 2>"$err"; rc=$?
check "find of an unregistered file exits 1" '[ $rc -eq 1 ]'
check "and says why" 'grep -q "no registered class" "$err"'

for args in "" "bogus" "list extra" "find"; do
  # shellcheck disable=SC2086
  "$run" "$cli" $args >"$out" 2>"$err"; rc=$?
  check "'$args' exits 2 with the usage" '[ $rc -eq 2 ] && grep -q "Usage: corvane-cli" "$err"'
done

[ $fail -eq 0 ] && echo "cli: all checks passed"
exit $fail
