#!/usr/bin/env bash
# The release under Wine, in a fresh prefix of the build's bitness: the silent install, its
# files and uninstall entry, the installed programs, a second install, an upgrade refused while
# Corvane runs, the web update that installs a newer build, and the uninstall.
#   installer_test.sh SOURCE BUILD
# BUILD holds the programs and next/, the same programs with a newer version. Exit 77: this
# machine cannot run the build's programs.
set -uo pipefail
source_dir=$1 build=$(cd "$2" && pwd)

offset=$(od -An -tu4 -j60 -N4 "$build/corvane.exe" | tr -d ' ')
if [ "$(od -An -tx2 -j$((offset + 24)) -N2 "$build/corvane.exe" | tr -d ' ')" = 020b ]; then
  loader=/usr/lib/wine/wine64 server=/usr/lib/wine/wineserver64 arch=win64 suffix=win64-
else
  loader=wine server=wineserver arch=win32 suffix=
  if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo "SKIP: this machine cannot run 32-bit programs (its kernel refuses i386 code), so the"
    echo "SKIP: 32-bit installer is built but not run here; the 64-bit build's installer is."
    exit 77
  fi
fi

work=$build/installer-test
rm -rf "$work"
mkdir -p "$work/home" "$work/web"
# The prefix's shell folders link into this home, never into the user's own.
export HOME=$work/home WINEPREFIX=$work/prefix WINEARCH=$arch WINEDEBUG=-all
export WINELOADER=$loader WINESERVER=$server
# No menu entries or icons for the desktop: they would land outside the prefix.
export WINEDLLOVERRIDES=winemenubuilder.exe=d

xvfb_pid= http_pid= corvane_pid=
cleanup() {
  [ -n "$corvane_pid" ] && kill "$corvane_pid" 2>/dev/null
  [ -n "$http_pid" ] && kill "$http_pid" 2>/dev/null && wait "$http_pid" 2>/dev/null
  # Ends what still runs in this test's own prefix.
  [ -d "$WINEPREFIX" ] && "$server" -k 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT

failures=0
check() {
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; failures=$((failures + 1)); fi
}
run() { "$loader" "$@"; }
# A Windows command's output without its carriage returns.
out() { "$loader" "$@" 2>/dev/null | tr -d '\r'; }

if [ -z "${DISPLAY:-}" ]; then
  fifo=$work/xvfb.fifo
  mkfifo "$fifo"
  Xvfb -displayfd 8 -nolisten tcp -screen 0 1280x1024x24 8>"$fifo" >/dev/null 2>&1 &
  xvfb_pid=$!
  read -r -t 30 num <"$fifo" || { echo "Xvfb did not start"; exit 1; }
  export DISPLAY=:$num
fi

echo "== packaging the build and its newer version"
version=$(cat "$build/version.txt") next=$(cat "$build/next/version.txt")
bash "$source_dir/scripts/package.sh" --programs "$build" --out "$work/dist" || exit 1
bash "$source_dir/scripts/package.sh" --programs "$build/next" --out "$work/web" || exit 1
setup=$work/dist/corvane-$version-${suffix}setup.exe
next_setup_name=corvane-$next-${suffix}setup.exe

echo "== a fresh prefix"
env -u DISPLAY "$loader" wineboot -i >/dev/null 2>&1
"$server" -w

folder='C:\Program Files\Tessaline\Corvane'
dir="$WINEPREFIX/drive_c/Program Files/Tessaline/Corvane"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Corvane.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvane'
value() { out reg query "$key" /v "$1" | awk -v name="$1" '$1 == name { $1 = ""; $2 = ""; sub(/^  */, ""); print }'; }
entries() { out uninstaller --list | grep -c 'Corvane' ; }
# The installed programs are started by their Windows paths, as the Start Menu and the shell do.
cli() { (cd "$dir" && out "$folder\\corvane-cli.exe" "$@"); }

echo "== silent install"
check "setup.exe /S succeeds" run "$setup" /S
for file in corvane.exe corvane-cli.exe vantic.hlp vantic.gif Uninstall.exe; do
  check "$file is installed" test -f "$dir/$file"
done
check "the installed corvane.exe is the build's" cmp -s "$dir/corvane.exe" "$build/corvane.exe"
check "the Start Menu shortcut is there" test -f "$shortcut"
check "DisplayName" test "$(value DisplayName)" = "$([ $arch = win64 ] && echo 'Corvane (64-bit)' || echo Corvane)"
check "DisplayVersion is $version" test "$(value DisplayVersion)" = "$version"
check "Publisher" test "$(value Publisher)" = Tessaline
check "UninstallString" test "$(value UninstallString)" = "\"$folder\\Uninstall.exe\""
check "QuietUninstallString" test "$(value QuietUninstallString)" = "\"$folder\\Uninstall.exe\" /S"
check "InstallLocation" test "$(value InstallLocation)" = "$folder"
check "DisplayIcon" test "$(value DisplayIcon)" = "$folder\\corvane.exe,0"
size=$(value EstimatedSize)
check "EstimatedSize ($size) is the folder's in KB" test "$((size))" -gt 500
check "one uninstall entry" test "$(entries)" = 1

echo "== the installed programs"
listed=$(cli list | wc -l)
check "corvane-cli list from its folder lists the prefix's classes ($listed)" test "$listed" -gt 100
check "corvane-cli --version says $version" test "$(cli --version)" = "corvane-cli $version"
check "corvane.exe opens its help from its folder" \
  run "$build/tests/installer/corvane_install_probe.exe" help "$folder\\corvane.exe"
verb=$(out reg query 'HKCR\dllfile\shell\R\command' /ve)
check "Corvane's start wrote its shell verbs" grep -qF "$folder\\corvane.exe -R %L" <<<"$verb"
# A verb of another copy, the user's settings and a removal backup: the uninstall keeps them.
run reg add 'HKCU\Software\Classes\ocxfile\shell\V\command' /ve /d 'C:\Elsewhere\corvane.exe -V %L' /f >/dev/null 2>&1
run reg add 'HKCU\Software\Tessaline\Corvane\General' /v DisplayMissing /t REG_DWORD /d 1 /f >/dev/null 2>&1
appdata=$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData/Roaming | grep -v /Public/ | head -1)
mkdir -p "$appdata/Tessaline/Corvane/Backup"
backup="$appdata/Tessaline/Corvane/Backup/20260101-120000 {00000000-0000-0000-0000-000000000001}.reg"
printf 'REGEDIT4\r\n' >"$backup"

echo "== the same version again"
check "a second setup.exe /S succeeds" run "$setup" /S
check "still one uninstall entry" test "$(entries)" = 1

echo "== an upgrade while Corvane runs"
"$loader" "$folder\\corvane.exe" >/dev/null 2>&1 &
corvane_pid=$!
check "Corvane is up" run "$build/tests/installer/corvane_install_probe.exe" wait
run "$work/web/$next_setup_name" /S
code=$?
check "the silent upgrade fails with exit code 2 ($code)" test "$code" = 2
check "and leaves the installed version as it was" cmp -s "$dir/corvane.exe" "$build/corvane.exe"
check "DisplayVersion is still $version" test "$(value DisplayVersion)" = "$version"
run "$build/tests/installer/corvane_install_probe.exe" close
wait "$corvane_pid" 2>/dev/null
corvane_pid=

echo "== the web update installs the newer version"
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
base=http://127.0.0.1:$port
printf '{\\rtf1\\ansi @@Version %s\\par Newer.\\par @@Version %s\\par Installed.\\par}' \
  "$next" "$version" >"$work/web/news.rtf"
cat >"$work/web/ver.txt" <<INFO
LATEST VERSION: $next
VERSION TO DISPLAY: $next
FILE URL: $base/$next_setup_name
FILE SIZE: $(( $(stat -c %s "$work/web/$next_setup_name") / 1024 )) KB
RELEASE DATE: today
NEWS DATE: today
NEW CHANGES TEXT: New
OLD CHANGES TEXT: Installed
DESCRIPTION URL: $base/news.rtf
INFO
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$work/web" >"$work/http.log" 2>&1 &
http_pid=$!
for _ in $(seq 50); do
  python3 -c "import urllib.request; urllib.request.urlopen('$base/ver.txt')" 2>/dev/null && break
  sleep 0.2
done
check "Check for Updates downloads, hands over and runs the newer installer" \
  run "$build/tests/installer/corvane_update_roundtrip.exe" "$base/ver.txt" 'C:\update-desktop'
kill "$http_pid" && wait "$http_pid" 2>/dev/null
http_pid=
check "the download landed on the test's desktop" \
  cmp -s "$WINEPREFIX/drive_c/update-desktop/$next_setup_name" "$work/web/$next_setup_name"
check "corvane-cli --version says $next" test "$(cli --version)" = "corvane-cli $next"
check "the installed corvane.exe is the newer build's" cmp -s "$dir/corvane.exe" "$build/next/corvane.exe"
check "DisplayVersion is $next" test "$(value DisplayVersion)" = "$next"
check "one uninstall entry after the upgrade" test "$(entries)" = 1

echo "== silent uninstall"
check "Uninstall.exe /S succeeds" run "$folder\\Uninstall.exe" /S
# The uninstaller runs on from a copy of itself: wait for it.
"$server" -w
check "the folder is gone" test ! -e "$dir"
check "the maker's folder is gone" test ! -e "$(dirname "$dir")"
check "the Start Menu shortcut is gone" test ! -e "$shortcut"
check "the uninstall key is gone" bash -c '! "$@" >/dev/null 2>&1' _ "$loader" reg query "$key"
check "no uninstall entry is listed" test "$(entries)" = 0
verbs=$(out reg query 'HKCR\dllfile' /s; out reg query 'HKCR\ocxfile' /s; out reg query 'HKCU\Software\Classes\ocxfile' /s)
check "no shell verb points at the removed folder" bash -c '! grep -qiF "Tessaline\\Corvane" <<<"$1"' _ "$verbs"
check "another copy's verb stays" grep -qF 'C:\Elsewhere\corvane.exe -V %L' <<<"$verbs"
check "the settings stay" grep -q DisplayMissing <<<"$(out reg query 'HKCU\Software\Tessaline\Corvane\General')"
check "the removal backup stays" test -f "$backup"

echo "== a folder of the user's choice"
mkdir -p "$WINEPREFIX/drive_c/Tools"
check "setup.exe /S /D= installs there" run "$setup" /S '/D=C:\Tools\Corvane'
check "corvane.exe is there" test -f "$WINEPREFIX/drive_c/Tools/Corvane/corvane.exe"
check "InstallLocation names it" test "$(value InstallLocation)" = 'C:\Tools\Corvane'
check "its Uninstall.exe /S succeeds" run 'C:\Tools\Corvane\Uninstall.exe' /S
"$server" -w
check "the folder is gone" test ! -e "$WINEPREFIX/drive_c/Tools/Corvane"
check "the folder that held it stays" test -d "$WINEPREFIX/drive_c/Tools"

if [ "$failures" -ne 0 ]; then
  echo "$failures checks failed; the prefix is kept in $work"
  exit 1
fi
cleanup
trap - EXIT
rm -rf "$work"
echo "all installer checks passed"
