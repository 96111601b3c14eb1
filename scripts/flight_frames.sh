#!/usr/bin/env bash
# The flight figures of the window benchmark at one and two device pixels a
# design pixel, idle and under a fixed load, through a private Xvfb. The load is
# two busy loops (at the script's own nice) in a session of their own, as a
# two-job build started from another terminal would be. Several benchmark
# binaries (say, one built before a change and one after) run in turn within
# each round, so that they meet the same background; compare them round by round.
# Usage: scripts/flight_frames.sh [ROUNDS] [BENCH...]
#   (default 3 rounds of build/table/fcorvane_bench; each run flies 2 x 3 cards
#   at each table size; needs Xvfb and xdpyinfo)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
rounds=${1:-3}
shift || true
benches=("$@")
[ ${#benches[@]} -gt 0 ] || benches=("$root/build/table/fcorvane_bench")

tmp=$(mktemp -d)
xvfb="" load=""
cleanup() {
    [ -z "$load" ] || kill -- "-$load" 2>/dev/null || true
    [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT

: >"$tmp/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do
    [ "$(wc -l <"$tmp/display")" -ge 1 ] && break
    sleep 0.1
done
DISPLAY=":$(tr -dc '0-9' <"$tmp/display")"
export DISPLAY
for _ in $(seq 50); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done

for round in $(seq "$rounds"); do
    for scale in 1 2; do
        for state in idle loaded; do
            if [ "$state" = loaded ]; then
                setsid bash -c 'sh -c "while :; do :; done" & sh -c "while :; do :; done" & wait' &
                load=$!
                sleep 0.5
            fi
            for bench in "${benches[@]}"; do
                QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale \
                    /usr/bin/time -f "%U s user, %S s system" -o "$tmp/time" \
                    "$bench" --idle-seconds 0 --flight-rounds 2 2>/dev/null | grep '^flights .*frames/s' |
                    sed "s|^|round $round, scale $scale, $state, $(basename "$bench"): |"
                echo "round $round, scale $scale, $state, $(basename "$bench"): $(cat "$tmp/time")"
            done
            if [ -n "$load" ]; then
                kill -- "-$load"
                load=""
            fi
        done
    done
done
