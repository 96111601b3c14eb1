#!/usr/bin/env bash
# The installed program as a screen reader meets it: under a private X server
# and a private D-Bus session with the accessibility bus, create the user Ann,
# then read the user's hand from the accessibility tree, lay a card with the
# keyboard alone and see the hand one card shorter (packaging/tests/atspi_play.py).
# Usage: atspi.sh BUILD_DIR [OUT_DIR]   (OUT_DIR receives a screenshot on failure)
set -euo pipefail

XD_BUILD=$(cd "$1" && pwd)
XD_OUT=$(mkdir -p "${2:-$XD_BUILD}" && cd "${2:-$XD_BUILD}" && pwd)
XD_NAME=atspi
# shellcheck source-path=SCRIPTDIR source=xdrive.sh
source "$(dirname "$0")/xdrive.sh"

BUS_PID=""
A11Y_PID=""
cleanup() {
    # Only what this script started is ended; the bus's helpers end with it.
    for pid in "$A11Y_PID" "$BUS_PID"; do
        if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill "$pid" 2>/dev/null || true; fi
    done
    xd_cleanup
}
trap cleanup EXIT

# Debian's own Python, which the python3-pyatspi package serves (another
# python3 may come first on the PATH).
PY=/usr/bin/python3
xd_require cmake Xvfb xdpyinfo xdotool import dbus-daemon dbus-send
"$PY" -c 'import pyatspi' 2>/dev/null || xd_fail "python3-pyatspi is missing; scripts/setup.sh installs it"
[ -x /usr/libexec/at-spi-bus-launcher ] || xd_fail "at-spi2-core is missing; scripts/setup.sh installs it"

xd_install
xd_start_x

# A session bus of our own; the accessibility bus is started on it on demand.
mkdir -p "$XD_TMP/home"
HOME="$XD_TMP/home" dbus-daemon --session --fork --nosyslog \
    --print-address=3 --print-pid=4 3>"$XD_TMP/bus.address" 4>"$XD_TMP/bus.pid"
BUS_PID=$(tr -dc '0-9' <"$XD_TMP/bus.pid")
DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$XD_TMP/bus.address")
export DBUS_SESSION_BUS_ADDRESS HOME="$XD_TMP/home"
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
    org.freedesktop.DBus.Properties.Set string:org.a11y.Status string:IsEnabled \
    variant:boolean:true >/dev/null || xd_fail "the accessibility bus did not start"
A11Y_PID=$(dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
    org.freedesktop.DBus.GetConnectionUnixProcessID string:org.a11y.Bus |
    awk '/uint32/ {print $2}')
xd_log "session bus $BUS_PID, accessibility bus launcher $A11Y_PID"

xd_start_program
xd_choose_user_ann
xd_log "main window $XD_MAIN; reading the table through the accessibility bus"
"$PY" "$(dirname "$0")/atspi_play.py" "$XD_MAIN" || xd_fail "the screen reader's view failed"
xd_log "PASSED"
