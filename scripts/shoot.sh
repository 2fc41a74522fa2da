#!/usr/bin/env bash
# Starts a Windows program inside Wine's virtual desktop, saves a screenshot of the screen after
# it has had time to show its windows, then ends it.
#   shoot.sh OUT.png SECONDS PROGRAM.exe [ARGS...]
# Without DISPLAY an Xvfb display of the desktop's size is started for the shot.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
out=$1 delay=$2 program=$3
shift 3

xvfb_pid=
if [ -z "${DISPLAY:-}" ]; then
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 8 -nolisten tcp -screen 0 1024x768x24 8>"$fifo" >/dev/null 2>&1 &
  xvfb_pid=$!
  read -r -t 30 num <"$fifo" || { echo "shoot: Xvfb did not start" >&2; exit 125; }
  rm -f "$fifo"
  export DISPLAY=:$num
fi

# Inside the desktop the program is named by its Windows path; Z: is the root of the machine.
windows_path="Z:$(realpath "$program" | tr / '\\')"
# A session of its own, so that the program and every process it starts can be ended together.
CORVANE_WINE_PROGRAM=$program setsid "$here/wine-run" explorer /desktop=corvane,1024x768 \
  "$windows_path" "$@" >/dev/null 2>&1 &
wine_pid=$!
sleep "$delay"
mkdir -p "$(dirname "$out")"
xwd -root -silent | convert xwd:- "$out" && echo "shoot: saved $out"

# End the program and its Wine session: the process group this script started.
kill -- -"$wine_pid" 2>/dev/null
sleep 1
kill "$wine_pid" 2>/dev/null
wait "$wine_pid" 2>/dev/null
if [ -n "$xvfb_pid" ]; then
  kill "$xvfb_pid" 2>/dev/null
  wait "$xvfb_pid" 2>/dev/null
fi
exit 0
