#!/usr/bin/env bash
# Takes a screenshot of the table in the middle of a hand: installs the built
# program into a fresh folder, runs it under a private X server, plays a few of
# the user's moves with xdotool and saves the main window as a PNG.
# Usage: scripts/screenshot.sh [PNG]   (default docs/screenshot.png; the build
# folder is build/, or $BUILD; MOVES cards are played first, default 5)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/docs/screenshot.png}
moves=${MOVES:-5}

XD_BUILD=${BUILD:-$root/build}
if [ ! -x "$XD_BUILD/shell/corvane" ]; then
    cmake -S "$root" -B "$XD_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$XD_BUILD" -j2 --target corvane corvane-mkdb
fi
XD_BUILD=$(cd "$XD_BUILD" && pwd)
XD_OUT=$XD_BUILD
XD_NAME=screenshot
# shellcheck source-path=SCRIPTDIR source=../packaging/tests/xdrive.sh disable=SC2034
source "$root/packaging/tests/xdrive.sh"
trap xd_cleanup EXIT

xd_require cmake Xvfb xdpyinfo xdotool import awk
xd_install
xd_start_x
xd_start_program

dlg=$(xd_wait_window '^The Game of Corvane$' 30) || xd_fail "the user dialog did not appear"
xd_setup_main
xdotool windowfocus "$dlg"
sleep 0.2
xdotool key ctrl+a
xdotool type --delay 30 Ann
for name in Bob Cleo Dan; do
    xdotool key Tab
    sleep 0.1
    xdotool key ctrl+a
    xdotool type --delay 30 "$name"
done
xdotool key Return
xd_wait_gone "$dlg" 10 || xd_fail "the user dialog did not close after OK"

deadline=$((SECONDS + 120))
while [ "$XD_PLAYS" -lt "$moves" ]; do
    [ "$SECONDS" -lt "$deadline" ] || xd_fail "could not play $moves cards within 120 s"
    xd_alive || xd_fail "the program ended"
    acted=""
    while IFS=$'\t' read -r id title; do
        case "$title" in
        "The Game of Corvane v2.2 - "*) ;;
        "Hand Over - Current Standings" | "The Corvane Game")
            xd_dismiss "$id"
            acted=1
            ;;
        *) xd_fail "unexpected window \"$title\"" ;;
        esac
    done < <(xd_windows)
    [ -n "$acted" ] && continue
    xd_user_turn
done

# The opponents answer the last card; the picture is taken when the user's turn
# has come back, with the pointer out of the way.
xdotool mousemove 1020 760
sleep 2
mkdir -p "$(dirname "$out")"
import -display "$DISPLAY" -window "$XD_MAIN" -strip "png:$out"
xd_log "saved $out ($(du -k "$out" | cut -f1) KB, $XD_PLAYS cards played)"
