#!/usr/bin/env bash
# corvane-cli missing and report on the build's prefix, with one DLL server registered there for a while
# whose server imports a DLL that exists nowhere.
#   cli_audit_test.sh WINE_RUN CORVANE_CLI_EXE BROKEN_FIXTURE_DLL
set -u
run=$1 cli=$2 broken=$3
fail=0
check() { if eval "$2"; then echo "ok   $1"; else echo "FAIL $1"; fail=1; fi; }
out=$(mktemp) err=$(mktemp) file=$(mktemp -u).txt
clsid='{C3000000-0000-0000-0000-0000000000AD}'
key="HKCR\\CLSID\\$clsid"  # the build's own prefix
reg() { CORVANE_WINE_PROGRAM=$cli "$run" reg "$@" >/dev/null 2>&1; }
cleanup() { reg delete "$key" /f; rm -f "$out" "$err" "$file"; }
trap cleanup EXIT

windows_path="Z:${broken//\//\\}"
reg add "$key\\InprocServer32" /ve /d "$windows_path" /f
reg add "$key\\ProgID" /ve /d 'Corvane.Cli <"Broken">' /f

"$run" "$cli" missing >"$out" 2>"$err"; rc=$?
sed -i 's/\r$//' "$out"
check "missing exits 1 when a DLL is missing" '[ $rc -eq 1 ]'
check "the record's line comes first" \
  'grep -qF "\"DLL Servers\",\"Corvane.Cli <\"\"Broken\"\">\",\"$clsid\"," "$out"'
check "then the missing DLL, indented" \
  '[ "$(grep -A1 -F "$clsid" "$out" | tail -1)" = "    corvane_fixture_absent.dll" ]'
"$run" "$cli" missing --category exe >"$out" 2>"$err"; rc=$?
check "missing --category exe leaves the DLL server out" '! grep -qF "$clsid" "$out"'
"$run" "$cli" missing --category nothing >"$out" 2>"$err"; rc=$?
check "missing --category nothing exits 2" '[ $rc -eq 2 ] && grep -q "Usage" "$err"'

"$run" "$cli" report --format csv --category dll --attributes 'ProgID,2' --out "Z:${file//\//\\}" \
  >"$out" 2>"$err"; rc=$?
check "report --out exits 0" '[ $rc -eq 0 ]'
check "the text report's lines end in CR LF" '[ "$(head -1 "$file" | od -An -c | tr -d " \n" | tail -c 4)" = "\r\n" ]'
check "the text report starts with the UTF-8 mark, then names the category" \
  'head -1 "$file" | grep -q "^$(printf "\xef\xbb\xbf"); The file contains a list of DLL Servers on the following machine: "'
check "the chosen attributes head the columns" 'sed -n 4,6p "$file" | tr -d "\r" | grep -qx "\"ProgID\",\"CLSID\""'
check "a quote inside a field is doubled" \
  'grep -qF "\"Corvane.Cli <\"\"Broken\"\">\",\"$clsid\"" "$file"'

"$run" "$cli" report --format csv --category dll --attributes 'ProgID,2' >"$out" 2>"$err"
check "standard output gets the same bytes" 'cmp -s "$out" "$file"'

"$run" "$cli" report --format html --category dll --well --deps >"$out" 2>"$err"; rc=$?
check "report --format html exits 0" '[ $rc -eq 0 ]'
check "the page starts with the UTF-8 mark and the frame" 'head -c 26 "$out" | tr -d "\r" | grep -q "^$(printf "\xef\xbb\xbf")<html>"'
check "the ProgID is escaped" 'grep -qF "<b>Corvane.Cli &lt;&quot;Broken&quot;&gt;</b>" "$out"'
check "nothing of it is left as markup" '! grep -qF "<\"Broken\">" "$out"'
check "its missing DLL is Not Found!" 'grep -qF "corvane_fixture_absent.dll: </b></font></td><td width=\"81%\" bgcolor=\"#FFFFFF\" height=18><font size=2 face=\"Verdana\">Not Found!" "$out"'
check "the count closes the page" 'grep -q "^DLL Servers Count: <strong>[0-9]*</strong><BR>" "$out"'
"$run" "$cli" report --format plain --category dll --mis >"$out" 2>"$err"
check "--mis leaves the well-behaved server out" '! grep -qF "$clsid" "$out"'

for args in "report" "report --format pdf" "report --format csv --deps" \
            "report --format html --attributes Nothing" "report --format html --out"; do
  # shellcheck disable=SC2086
  "$run" "$cli" $args >"$out" 2>"$err"; rc=$?
  check "'$args' exits 2 with the usage" '[ $rc -eq 2 ] && grep -q "Usage: corvane-cli" "$err"'
done

[ $fail -eq 0 ] && echo "cli audit: all checks passed"
exit $fail
