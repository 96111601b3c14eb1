#!/usr/bin/env bash
# The whole program end to end, as a player meets it: install into a fresh
# folder, start it under a private X server, create the user "Ann" (with three
# opponents also called Ann, so whoever finishes first the user counts as the
# winner), play a whole game with the mouse, answer Yes to "Play another game?",
# see Level 2 in the caption, quit with Ctrl+X; then check the settings file and
# the user's row and top-ten entry in the database.
# Usage: e2e.sh BUILD_DIR [OUT_DIR]   (OUT_DIR receives a screenshot on failure)
set -euo pipefail

XD_BUILD=$(cd "$1" && pwd)
XD_OUT=$(mkdir -p "${2:-$XD_BUILD}" && cd "${2:-$XD_BUILD}" && pwd)
XD_NAME=e2e
# shellcheck source-path=SCRIPTDIR source=xdrive.sh
source "$(dirname "$0")/xdrive.sh"
trap xd_cleanup EXIT

xd_require cmake Xvfb xdpyinfo xdotool import sqlcipher awk
rm -f "$XD_OUT/$XD_NAME-failure.png"

xd_install
xd_start_x
xd_start_program

xd_choose_user_ann

# A whole game. Every other dialog on the screen is a failure.
deadline=$((SECONDS + 450))
hands=0
game_over=""
while [ -z "$game_over" ]; do
    [ "$SECONDS" -lt "$deadline" ] || xd_fail "the game did not end within 450 s"
    xd_alive || xd_fail "the program ended during the game"
    acted=""
    while IFS=$'\t' read -r id title; do
        case "$title" in
        "The Game of Corvane v2.2 - "*) ;;
        "Hand Over - Current Standings")
            hands=$((hands + 1))
            xd_log "hand $hands over ($XD_PLAYS cards played, $XD_HINTS hints so far); next hand"
            xd_dismiss "$id"
            acted=1
            ;;
        "The Corvane Game")
            xd_dismiss "$id"
            acted=1
            ;;
        "Corvane - Game Over")
            game_over=$id
            ;;
        *) xd_fail "unexpected window \"$title\"" ;;
        esac
    done < <(xd_windows)
    [ -n "$game_over" ] && break
    [ -n "$acted" ] && continue
    xd_user_turn
done
xd_log "game over after $((hands + 1)) hands, $XD_PLAYS cards played by the user"

# Yes: play on. The standings are booked when the dialog fills; give its
# half-second timer its tick too before answering.
sleep 0.6
xd_keys "$game_over" alt+y
xd_wait_gone "$game_over" 5 || xd_fail "Alt+Y did not answer the game-over dialog"

# The high score (only for 500 or more) and the top ten, then Level 2.
saw_top_ten=""
level2=""
for _ in $(seq 400); do
    xd_alive || xd_fail "the program ended after Yes"
    while IFS=$'\t' read -r id title; do
        case "$title" in
        "Congratulations! ")
            xd_log "high score dialog"
            xd_dismiss "$id"
            ;;
        "Corvane - Top Ten List")
            xd_log "top ten dialog"
            saw_top_ten=1
            xd_dismiss "$id"
            ;;
        *"Level 2 (1st Hand)") level2=1 ;;
        "The Game of Corvane v2.2 - "*) ;;
        *) xd_fail "unexpected window \"$title\" after Yes" ;;
        esac
    done < <(xd_windows)
    [ -n "$level2" ] && [ -z "$(xd_find '^(Congratulations! |Corvane - Top Ten List)$')" ] && break
    sleep 0.05
done
[ -n "$level2" ] || xd_fail "the caption does not read Level 2 (1st Hand): \"$(xdotool getwindowname "$XD_MAIN")\""
[ -n "$saw_top_ten" ] || xd_fail "the top-ten dialog was not shown for the winner"
xd_log "caption: $(xdotool getwindowname "$XD_MAIN")"

# File > Exit. Shortcuts made while the opponents move are dropped, so press
# again until the program has gone.
for _ in $(seq 20); do
    xd_alive || break
    xd_keys "$XD_MAIN" ctrl+x
    for _ in $(seq 20); do
        xd_alive || break
        sleep 0.05
    done
done
xd_alive && xd_fail "Ctrl+X did not end the program"
wait "$XD_APP_PID" && rc=0 || rc=$?
XD_APP_PID=""
[ "$rc" -eq 0 ] || xd_fail "the program exited with status $rc"
xd_log "program ended"

# The settings file: eight CR LF lines, the new user and the program's folder.
ini="$XD_DIR/corvane.ini"
[ "$(wc -l <"$ini")" -eq 8 ] || xd_fail "corvane.ini has $(wc -l <"$ini") lines, not 8"
[ "$(grep -c $'\r$' "$ini")" -eq 8 ] || xd_fail "corvane.ini lines do not end with CR LF"
user_id=$(sed -n 's/^user_id=\([0-9-]*\)\r$/\1/p' "$ini")
db_path=$(sed -n 's/^db_path=\(.*\)\r$/\1/p' "$ini")
[ "$db_path" = "$XD_DIR" ] || [ "$db_path" = "$(realpath "$XD_DIR")" ] ||
    xd_fail "db_path is \"$db_path\", not the program's folder $XD_DIR"
xd_log "corvane.ini: user_id=$user_id db_path=$db_path"

# The database, through the sqlcipher tool and the game's password.
query() {
    printf "PRAGMA key='qzvtrko';\n.mode list\n.separator |\n%s\n" "$1" |
        sqlcipher -batch "$XD_DIR/corvane.mdb" 2>&1 | sed -n 's/^ROW|//p'
}
row=$(query "SELECT 'ROW', userid, numgames, typeof(winnings), winnings, player1, player2, player3 FROM user WHERE name = 'Ann';")
[ "$(printf '%s\n' "$row" | grep -c .)" -eq 1 ] || xd_fail "expected one user row for Ann, got: $row"
IFS='|' read -r db_id numgames wtype winnings p1 p2 p3 <<<"$row"
xd_log "user row: userid=$db_id numgames=$numgames winnings=$winnings opponents=$p1,$p2,$p3"
[ "$user_id" = "$db_id" ] || xd_fail "user_id=$user_id in corvane.ini, but Ann's id is $db_id"
[ "$numgames" = 1 ] || xd_fail "numgames is $numgames, not 1"
[ "$wtype" = integer ] || xd_fail "winnings is not an integer ($wtype)"
[ "$p1,$p2,$p3" = "Ann,Ann,Ann" ] || xd_fail "the opponents are $p1,$p2,$p3"
top=$(query "SELECT 'ROW', score, typeof(score) FROM topten WHERE name = 'Ann' ORDER BY score DESC;")
[ "$(printf '%s\n' "$top" | grep -c .)" -eq 1 ] || xd_fail "expected one top-ten row for Ann, got: $top"
IFS='|' read -r score stype <<<"$top"
xd_log "top ten: Ann with $score"
if [ "$stype" != integer ] || [ "$score" -le 0 ]; then
    xd_fail "the top-ten score is $score ($stype)"
fi
# The user's funds are at most the leader's, the top-ten score.
[ $((winnings + 200)) -le "$score" ] ||
    xd_fail "winnings $winnings mean final funds $((winnings + 200)), above the winning score $score"
games=$(query "SELECT 'ROW', userid, level, funds, won FROM history;")
[ "$games" = "$db_id|1|$((winnings + 200))|1" ] ||
    xd_fail "the history holds \"$games\", not Ann's one game won at Level 1"
players=$(query "SELECT 'ROW', count(*), sum(name = 'Ann'), max(funds) FROM player;")
[ "$players" = "4|4|$score" ] || xd_fail "the standings table holds \"$players\", not four Anns led by $score"

xd_log "PASSED"
