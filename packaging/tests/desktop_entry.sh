#!/usr/bin/env bash
# Installs the program into a fresh folder (with a blank in its name, as real
# folders often have) and checks the desktop entry the install wrote: valid by
# desktop-file-validate, and pointing at the installed program and icon.
# Usage: desktop_entry.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)

fail() { echo "FAIL: $*" >&2; exit 1; }
command -v desktop-file-validate >/dev/null || fail "desktop-file-validate is missing (scripts/setup.sh installs it)"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
dir="$tmp/My Games/corvane"
cmake --install "$build" --prefix "$dir" >/dev/null

entry="$dir/share/applications/corvane.desktop"
[ -f "$entry" ] || fail "no desktop entry at $entry"
desktop-file-validate "$entry" || fail "desktop-file-validate rejects $entry"
cat "$entry"

grep -qx 'Name=The Game of Corvane' "$entry" || fail "Name"
grep -qx 'Categories=Game;CardGame;' "$entry" || fail "Categories"
# The blank in the folder name makes the program's path a quoted argument.
grep -qxF "Exec=\"$dir/corvane\"" "$entry" || fail "Exec is not the quoted installed program"
icon=$(sed -n 's/^Icon=//p' "$entry")
case "$icon" in /*) ;; *) fail "Icon is not an absolute path: $icon" ;; esac
[ -s "$icon" ] || fail "the icon $icon is not installed"
[ -x "$dir/corvane" ] || fail "the program is not installed"
# The statistics chart is loaded from the program's own folder.
ls "$dir"/corvane_history_chart.* >/dev/null 2>&1 || fail "the chart library is not beside the program"

# The settings file with the program's defaults, CR LF ended, and a database.
printf '[Options]\r\nuser_id=0\r\ndb_path=APPPATH\r\nmaxform=0\r\nsoundon=TRUE\r\nanimspd=80\r\ncopylnk=FALSE\r\nanimals=FALSE\r\n' \
    | cmp - "$dir/corvane.ini" || fail "corvane.ini differs from the defaults"
[ -s "$dir/corvane.mdb" ] || fail "no corvane.mdb"

# A second install keeps the player's settings and database.
printf '[Options]\r\nuser_id=7\r\n' >"$dir/corvane.ini"
echo "changed" >"$dir/corvane.mdb"
cmake --install "$build" --prefix "$dir" >/dev/null
grep -q 'user_id=7' "$dir/corvane.ini" || fail "a second install replaced corvane.ini"
grep -qx changed "$dir/corvane.mdb" || fail "a second install replaced corvane.mdb"
echo "desktop entry and program folder: OK"
