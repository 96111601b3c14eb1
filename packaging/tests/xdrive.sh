# Drives the installed program under a private Xvfb with xdotool: install into a
# fresh folder, start the X server and the program, find its windows by title,
# map table twips to screen pixels, count the user's cards on the screen and
# play the user's turns. Sourced by packaging/tests/e2e.sh and
# scripts/screenshot.sh; they set XD_BUILD (the build folder), XD_OUT (where a
# failure screenshot and the program's output go) and XD_NAME (a short tag).

XD_T0=$(date +%s.%N)
XD_TMP=""
XD_XVFB_PID=""
XD_APP_PID=""
XD_DIR=""

xd_log() {
    printf '[%s %6.1fs] %s\n' "$XD_NAME" "$(awk -v a="$XD_T0" -v b="$(date +%s.%N)" 'BEGIN{print b-a}')" "$*"
}

xd_screenshot() {
    local file=$1
    [ -n "${DISPLAY:-}" ] || return 1
    import -display "$DISPLAY" -window root "$file" 2>/dev/null
}

xd_fail() {
    xd_log "FAILED: $*"
    if [ -n "${DISPLAY:-}" ] && [ -n "$XD_XVFB_PID" ]; then
        local shot="$XD_OUT/$XD_NAME-failure.png"
        if xd_screenshot "$shot"; then xd_log "screen at the failure: $shot"; fi
        xd_log "windows on the screen:"
        local id
        for id in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
            echo "    $id $(xdotool getwindowname "$id" 2>/dev/null)"
        done
    fi
    if [ -s "$XD_OUT/$XD_NAME-corvane.log" ]; then
        xd_log "program output ($XD_OUT/$XD_NAME-corvane.log):"
        tail -n 20 "$XD_OUT/$XD_NAME-corvane.log" | sed 's/^/    /'
    fi
    exit 1
}

xd_cleanup() {
    # Only the processes this script started.
    if [ -n "$XD_APP_PID" ] && kill -0 "$XD_APP_PID" 2>/dev/null; then
        kill "$XD_APP_PID" 2>/dev/null || true
        wait "$XD_APP_PID" 2>/dev/null || true
    fi
    if [ -n "$XD_XVFB_PID" ] && kill -0 "$XD_XVFB_PID" 2>/dev/null; then
        kill "$XD_XVFB_PID" 2>/dev/null || true
        wait "$XD_XVFB_PID" 2>/dev/null || true
    fi
    if [ -n "$XD_TMP" ]; then rm -rf "$XD_TMP"; fi
}

xd_require() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null ||
            xd_fail "$tool is missing; scripts/setup.sh installs it"
    done
}

# Installs the program into a fresh folder XD_DIR and makes it quick to watch:
# no flight animation and no sound, the other settings as installed.
xd_install() {
    XD_TMP=$(mktemp -d "${TMPDIR:-/tmp}/corvane-$XD_NAME.XXXXXX")
    XD_DIR="$XD_TMP/corvane"
    mkdir -p "$XD_TMP/home"
    cmake --install "$XD_BUILD" --prefix "$XD_DIR" >"$XD_TMP/install.log" 2>&1 ||
        { cat "$XD_TMP/install.log"; xd_fail "cmake --install $XD_BUILD failed (is the build complete?)"; }
    [ -x "$XD_DIR/corvane" ] || xd_fail "no program at $XD_DIR/corvane after the install"
    [ -f "$XD_DIR/corvane.ini" ] || xd_fail "no corvane.ini after the install"
    [ -f "$XD_DIR/corvane.mdb" ] || xd_fail "no corvane.mdb after the install"
    sed -i -e 's/^animspd=.*\r$/animspd=0\r/' -e 's/^soundon=.*\r$/soundon=FALSE\r/' "$XD_DIR/corvane.ini"
    grep -q $'^animspd=0\r$' "$XD_DIR/corvane.ini" || xd_fail "could not set animspd=0"
    grep -q $'^soundon=FALSE\r$' "$XD_DIR/corvane.ini" || xd_fail "could not set soundon=FALSE"
    xd_log "installed into $XD_DIR"
}

# Starts Xvfb on a display number it picks itself (so parallel runs never clash).
xd_start_x() {
    local numfile="$XD_TMP/display" n=""
    : >"$numfile"
    # Xvfb writes the number and a line end once it accepts clients.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$numfile" 2>"$XD_TMP/xvfb.log" &
    XD_XVFB_PID=$!
    for _ in $(seq 100); do
        if [ "$(wc -l <"$numfile")" -ge 1 ]; then
            n=$(tr -dc '0-9' <"$numfile")
            break
        fi
        kill -0 "$XD_XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    [ -n "$n" ] || { cat "$XD_TMP/xvfb.log"; xd_fail "Xvfb did not start"; }
    export DISPLAY=":$n"
    # A loaded machine has been seen to report the number before a client could
    # connect: wait until one can.
    for _ in $(seq 50); do
        xdpyinfo >/dev/null 2>&1 && break
        kill -0 "$XD_XVFB_PID" 2>/dev/null || { cat "$XD_TMP/xvfb.log"; xd_fail "Xvfb ended"; }
        sleep 0.1
    done
    xd_log "Xvfb on $DISPLAY"
}

xd_start_program() {
    # The real window system, a private home, and nothing from the caller's
    # offscreen test set-up.
    env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY HOME="$XD_TMP/home" XDG_RUNTIME_DIR="" \
        QT_QPA_PLATFORM=xcb "$XD_DIR/corvane" >"$XD_OUT/$XD_NAME-corvane.log" 2>&1 &
    XD_APP_PID=$!
    xd_log "started $XD_DIR/corvane (pid $XD_APP_PID)"
}

xd_alive() {
    kill -0 "$XD_APP_PID" 2>/dev/null
}

# Prints "id<TAB>title" for every visible window with a title.
xd_windows() {
    local id
    for id in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
        printf '%s\t%s\n' "$id" "$(xdotool getwindowname "$id" 2>/dev/null)"
    done
}

# The id of the visible window whose title matches the regular expression.
xd_find() {
    xdotool search --onlyvisible --limit 1 --name "$1" 2>/dev/null || true
}

# Waits up to $2 seconds for a window titled like $1; prints its id.
xd_wait_window() {
    local pattern=$1 timeout=$2 id end
    end=$(awk -v t="$timeout" -v n="$(date +%s.%N)" 'BEGIN{printf "%.3f", n + t}')
    while :; do
        id=$(xd_find "$pattern")
        if [ -n "$id" ]; then echo "$id"; return 0; fi
        xd_alive || return 1
        awk -v e="$end" -v n="$(date +%s.%N)" 'BEGIN{exit !(n>e)}' && return 1
        sleep 0.05
    done
}

# Waits up to $2 seconds until window $1 is gone.
xd_wait_gone() {
    local id=$1 timeout=$2
    xdotool search --onlyvisible --name '.' 2>/dev/null | grep -qx "$id" || return 0
    for _ in $(seq "$(awk -v t="$timeout" 'BEGIN{print int(t/0.05)}')"); do
        sleep 0.05
        xdotool search --onlyvisible --name '.' 2>/dev/null | grep -qx "$id" || return 0
    done
    return 1
}

# Keys go to the focused window; there is no window manager to give it focus.
xd_keys() {
    local id=$1
    shift
    xdotool windowfocus "$id" 2>/dev/null || true
    sleep 0.05
    xdotool key --delay 40 "$@"
}

# Closes a dialog with its default button (Return), falling back to its OK
# mnemonic and Escape; fails when it stays. Qt gives a modal dialog the focus
# itself, so the first try goes straight to the keyboard.
xd_dismiss() {
    local id=$1 key
    xdotool key Return
    xd_wait_gone "$id" 1 && return 0
    for key in Return alt+o Escape; do
        xd_keys "$id" "$key"
        xd_wait_gone "$id" 2 && return 0
    done
    xd_fail "the dialog $(xdotool getwindowname "$id" 2>/dev/null) does not close"
}

# The table: 9630 x 6690 twips, scaled uniformly into the central area below the
# menu bar and centred there.
XD_MAIN=""
XD_MENU_H=0
XD_WX=0 XD_WY=0 XD_W=0 XD_H=0 XD_SCALE=0 XD_SCALE_MICRO=0 XD_DX=0 XD_DY=0 XD_X=0 XD_Y=0

xd_main_geometry() {
    # shellcheck disable=SC2034 # SCREEN and WINDOW come with the others
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$XD_MAIN")"
    XD_WX=$X XD_WY=$Y XD_W=$WIDTH XD_H=$HEIGHT
    read -r XD_SCALE XD_DX XD_DY XD_SCALE_MICRO < <(awk -v w="$WIDTH" -v h="$HEIGHT" -v m="$XD_MENU_H" 'BEGIN{
        ch = h - m; s = w / 9630; if (ch / 6690 < s) s = ch / 6690;
        dx = (w - 9630 * s) / 2; dy = (ch - 6690 * s) / 2;
        printf "%.6f %d %d %d\n", s, (dx >= 0 ? int(dx + 0.5) : -int(-dx + 0.5)),
               (dy >= 0 ? int(dy + 0.5) : -int(-dy + 0.5)), int(s * 1000000 + 0.5) }')
}

# Finds the main window, learns the menu bar's height from its design size (the
# table is 642 x 446 at 1x, so the window's height less the table's is the menu
# bar), then gives the window a size where the table is 1.5 times its design
# size, at the screen's top-left corner.
xd_setup_main() {
    XD_MAIN=$(xd_wait_window '^The Game of Corvane v2\.2 - ' 30) ||
        xd_fail "the main window did not appear"
    local w h want_h
    xd_main_geometry
    w=$XD_W h=$XD_H
    XD_MENU_H=$(awk -v w="$w" -v h="$h" 'BEGIN{print int(h - w * 6690 / 9630 + 0.5)}')
    if [ "$XD_MENU_H" -lt 0 ] || [ "$XD_MENU_H" -gt 80 ]; then
        xd_fail "main window ${w}x${h} is not at its design size"
    fi
    want_h=$((669 + XD_MENU_H))
    xdotool windowsize "$XD_MAIN" 963 "$want_h"
    xdotool windowmove "$XD_MAIN" 0 0
    for _ in $(seq 100); do
        xd_main_geometry
        [ "$XD_W $XD_H $XD_WX $XD_WY" = "963 $want_h 0 0" ] && break
        sleep 0.05
    done
    [ "$XD_W $XD_H $XD_WX $XD_WY" = "963 $want_h 0 0" ] ||
        xd_fail "the main window did not go to 0,0 at 963x$want_h (it is ${XD_W}x$XD_H at $XD_WX,$XD_WY)"
    # Let the window lay itself out at the new size before anything is clicked.
    sleep 0.3
    xd_log "main window $XD_MAIN: design ${w}x${h}, menu bar ${XD_MENU_H}px, now 963x$want_h, scale $XD_SCALE px/twip"
}

# The user dialog: a new user and three opponents, all called Ann (so whoever
# finishes first, the user counts as the winner).
xd_choose_user_ann() {
    local dlg
    dlg=$(xd_wait_window '^The Game of Corvane$' 30) || xd_fail "the user dialog did not appear"
    xd_setup_main
    xd_log "user dialog $dlg: new user Ann against Ann, Ann and Ann"
    xdotool windowfocus "$dlg"
    sleep 0.2
    xdotool key ctrl+a
    xdotool type --delay 30 Ann
    for _ in 1 2 3; do
        xdotool key Tab
        sleep 0.1
        xdotool key ctrl+a
        xdotool type --delay 30 Ann
    done
    xdotool key Return
    xd_wait_gone "$dlg" 10 || xd_fail "the user dialog did not close after OK"
}

# Screen pixel of a table point in twips, in XD_X and XD_Y (whole-number
# arithmetic in the shell: this runs for every click).
xd_px() {
    local micro=$XD_SCALE_MICRO
    XD_X=$((XD_WX + XD_DX + ($1 * micro + 500000) / 1000000))
    XD_Y=$((XD_WY + XD_MENU_H + XD_DY + ($2 * micro + 500000) / 1000000))
}

# Clicks a table point; prints the id of the hint dialog when one is up
# shortly after. With a third argument, first closes the hint that is up with
# Return. All in one xdotool run: starting processes is the slow part here.
xd_click_twips() {
    local first=()
    [ -z "${3:-}" ] || first=(key Return sleep 0.12)
    xd_px "$1" "$2"
    # (mousemove --sync would wait for ever when the pointer is there already)
    xdotool "${first[@]}" mousemove "$XD_X" "$XD_Y" sleep 0.02 click 1 sleep 0.12 \
        search --onlyvisible --limit 1 --name '^The Corvane Game$' 2>/dev/null || true
}

# The pay-the-pot button (7920, 3400, 1575 x 720 twips): its middle.
xd_click_pay() {
    xd_click_twips 8707 3760
}

# The number of cards in the user's hand as drawn: the white of the card faces
# along a line near the bottom of the hand (5100 + 1200 twips), between the
# corner panels, gives the fanned row's width, (n - 1) x 360 + 1070 twips.
xd_hand_count() {
    local x0 x1 y w
    xd_px 1900 6300
    x0=$XD_X y=$XD_Y
    xd_px 7730 6300
    x1=$XD_X
    w=$((x1 - x0))
    { import -display "$DISPLAY" -window root -crop "${w}x1+${x0}+${y}" -depth 8 txt:- 2>/dev/null || true; } |
        awk -v s="$XD_SCALE" '
            /^[0-9]+,[0-9]+:/ {
                split($1, p, ","); x = p[1] + 0
                if (match($0, /\(([0-9]+),([0-9]+),([0-9]+)/)) {
                    split(substr($0, RSTART + 1, RLENGTH - 1), c, ",")
                    if (c[1] >= 225 && c[2] >= 225 && c[3] >= 225) {
                        if (lo == "" || x < lo) lo = x
                        if (x > hi) hi = x
                    }
                }
            }
            END {
                if (lo == "") { print 0; exit }
                n = int(((hi - lo + 1) / s - 1070) / 360 + 1.5)
                if (n < 1) n = 1
                if (n > 13) n = 13
                print n
            }'
}

# Left edge in twips of the user's hand of n cards, centred on the table.
xd_hand_left() {
    echo $((4815 - ((($1 - 1) * 360 + 1070) / 2)))
}

XD_PLAYS=0 XD_HINTS=0

# One user turn or a wait for one: press the pay-the-pot button; when the hint
# says a card can be played, try the cards from the rightmost visible one to the
# left, closing each hint, until one is taken. Returns at once when a dialog
# other than the hint is up (the caller handles those).
xd_user_turn() {
    local hint n left k x now id
    hint=$(xd_click_pay)
    [ -n "$hint" ] || hint=$(xd_wait_window '^The Corvane Game$' 0.6) || return 0
    XD_HINTS=$((XD_HINTS + 1))
    # The hint stands above the hand, so the hand can be counted with it up.
    n=$(xd_hand_count)
    if [ "$n" -lt 1 ]; then
        xd_dismiss "$hint"
        xd_log "the hint says a card can be played, but no card is seen in the hand"
        return 0
    fi
    left=$(xd_hand_left "$n")
    for ((k = n - 1; k >= 0; k--)); do
        if [ "$k" -eq $((n - 1)) ]; then x=$((left + k * 360 + 535)); else x=$((left + k * 360 + 180)); fi
        id=$(xd_click_twips "$x" 5800 "$hint")
        if [ -n "$hint" ] && ! xd_wait_gone "$hint" 0.5; then
            # The hint stayed, so the click met the modal dialog: again.
            xd_dismiss "$hint"
            hint=""
            k=$((k + 1))
            continue
        fi
        [ "$id" != "$hint" ] || id=""
        hint=""
        # Taken: the hand is drawn smaller (or the hand ends); refused: a hint.
        for _ in $(seq 30); do
            [ -n "$id" ] || id=$(xd_find '^The Corvane Game$')
            if [ -n "$id" ]; then
                XD_HINTS=$((XD_HINTS + 1))
                hint=$id
                continue 2
            fi
            if [ -n "$(xd_find '^(Hand Over - Current Standings|Corvane - Game Over)$')" ]; then
                XD_PLAYS=$((XD_PLAYS + 1))
                return 0
            fi
            now=$(xd_hand_count)
            if [ "$now" != "$n" ]; then
                XD_PLAYS=$((XD_PLAYS + 1))
                return 0
            fi
            xd_alive || return 0
        done
        xd_log "card $((k + 1)) of $n: neither taken nor refused; looking again"
        return 0
    done
    [ -z "$hint" ] || xd_dismiss "$hint"
    xd_log "no card of the $n seen was taken; looking again"
}
