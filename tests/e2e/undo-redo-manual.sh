#!/bin/sh
# undo-redo-manual.sh PATHWARDEN: plays the real game on the X display: three moves, two undone
# with Ctrl+Z and one redone with Ctrl+Y, comparing the play board's screenshots; then F1 must
# hand the manual to the desktop's handler for HTML, which a recording handler stands in for; the
# started game is counted in the settings file, and Ctrl+Q closes the game.
set -eu
program=$1
folder=$(cd "$(dirname "$program")" && pwd -P)
. "$(dirname "$0")/common.sh"
work=$scratch
export XDG_DATA_HOME=$work/data
mkdir -p "$XDG_DATA_HOME/applications"
show_about_at_start 0
cat >"$work/record" <<REC
#!/bin/sh
printf '%s\n' "\$1" >>"$work/opened"
REC
chmod +x "$work/record"
cat >"$XDG_DATA_HOME/applications/record-html.desktop" <<DESKTOP
[Desktop Entry]
Type=Application
Name=Record HTML
Exec=$work/record %u
MimeType=text/html;
NoDisplay=true
DESKTOP
printf '[Default Applications]\ntext/html=record-html.desktop\n' >"$XDG_CONFIG_HOME/mimeapps.list"

"$program" 2>>"$game_errors" &
game=$!
started=$game
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Pathwarden$' | head -n 1)
[ -n "$window" ] || fail "the game window did not appear"
timeout 5 xdotool windowfocus --sync "$window" || xdotool windowfocus "$window"
sleep 0.5

board() { import -window "$window" -crop 208x208+37+104 +repage "$work/$1.png"; }
same() { [ "$(compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1)" = 0 ]; }
key() {
    xdotool key --delay 50 "$1"
    sleep 0.8 # a move ends at its fourth tick, 400 ms after the key
}

board idle
key ctrl+n
sleep 1.5 # the scramble: at least ten ticks of 55 ms
board scrambled
same idle scrambled && fail "Ctrl+N did not start a game"
grep -q '^Started3x3=1' "$XDG_CONFIG_HOME/Larkfield/Pathwarden/Pathwarden.ini" \
    || fail "the started game is not counted in the settings file"
key a
board one
key b
board two
key 1
board three
same scrambled one && same one two && same two three && fail "no move changed the board"
key ctrl+z
key ctrl+z
board undone
same undone one || fail "two undos do not show the board after the first move"
key ctrl+y
board redone
same redone two || fail "the redo does not show the board after the second move"

key F1
for _ in 1 2 3 4 5 6 7 8 9 10; do
    [ -s "$work/opened" ] && break
    sleep 0.5
done
[ -s "$work/opened" ] || fail "F1 opened nothing"
# The launcher hands a local file over as its path or as its file:// address.
manual="$folder/manual.html"
opened=$(cat "$work/opened")
[ "$opened" = "$manual" ] || [ "$opened" = "file://$manual" ] || fail "F1 opened $opened, not $manual"

xdotool key ctrl+q
for _ in 1 2 3 4 5 6 7 8 9 10; do
    kill -0 "$game" 2>/dev/null || break
    sleep 0.3
done
kill -0 "$game" 2>/dev/null && fail "Ctrl+Q did not close the game"
wait "$game" || fail "the game ended with an error"
started=
echo "undo, redo, F1 and Ctrl+Q work in the real game"
