#!/bin/sh
# resume.sh PATHWARDEN: a 4 x 4 game with two moves closed with Ctrl+Q comes back at the next
# start on the same board, playing, and Ctrl+Z takes its last move back; a SIGTERM keeps it again,
# with its redo, and of two starts at once one resumes it; a kill after a move loses nothing;
# Exit leaves nothing to resume, and a close at 5 x 3 starts at 5 x 3.
set -eu
program=$1
. "$(dirname "$0")/common.sh"
work=$scratch
show_about_at_start 0
kept=$HOME/.local/state/Larkfield/Pathwarden/Pathwarden.game

start() {
    "$program" 2>>"$game_errors" &
    game=$!
    started="$started $game"
    window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Pathwarden$' | head -n 1)
    [ -n "$window" ] || fail "the game window did not appear"
    timeout 5 xdotool windowfocus --sync "$window" || xdotool windowfocus "$window"
    sleep 0.5
}
ended() {
    for _ in $(seq 30); do
        kill -0 "$game" 2>/dev/null || return 0
        sleep 0.2
    done
    fail "the game did not end"
}
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.3; }
key() {
    xdotool key --delay 50 "$1"
    sleep 0.8 # a move ends at its fourth tick, 400 ms after the key
}
board() { import -window "$window" -crop 208x208+37+104 +repage "$work/$1.png"; }
sizes() { import -window "$window" -crop 196x58+43+329 +repage "$work/$1.png"; }
same() { [ "$(compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1)" = 0 ]; }

start
click 219 343 # one column more
click 219 373 # one row more
click 377 343 # Start
sleep 1.5
board scrambled
key a
board one
key b
board two
same one two && fail "the second move did not change the board"
key ctrl+q
ended
[ -f "$kept" ] || fail "Ctrl+Q kept no game"
[ "$(stat -c %a "$kept")" = 600 ] || fail "the kept game is open to others"
[ "$(stat -c %a "$(dirname "$kept")")" = 700 ] || fail "the state folder is open to others"

start
board resumed
same two resumed || fail "the resumed game does not show the board it was left with"
[ -e "$kept" ] && fail "the resumed game is still kept"
key ctrl+z
board undone
same one undone || fail "Ctrl+Z after the resume does not take the last move back"
kill -TERM "$game"
ended
[ -f "$kept" ] || fail "SIGTERM kept no game"

# Two starts at once: one plays the kept game, the other hands its start over and ends.
"$program" 2>>"$game_errors" &
one=$!
started="$started $one"
start
for _ in $(seq 30); do
    kill -0 "$one" 2>/dev/null && kill -0 "$game" 2>/dev/null || break
    sleep 0.2
done
if kill -0 "$one" 2>/dev/null; then
    kill -0 "$game" 2>/dev/null && fail "neither start handed over"
    game=$one
fi
[ "$(game_windows | wc -l)" = 1 ] || fail "two starts at once opened two windows"
ls "$(dirname "$kept")" | grep -q broken && fail "a start set the kept game aside"
board again
same one again || fail "the game kept at SIGTERM does not come back"
key ctrl+y
board redone
same two redone || fail "the move undone before SIGTERM cannot be redone"
# Each move is kept as it ends: a run killed without a close loses nothing.
kill -KILL "$game"
ended
start
board killed
same two killed || fail "a game killed after a move does not come back"
click 377 373 # Exit
click 219 343 # 5 columns
click 63 373 # 3 rows
sizes closed
key ctrl+q
ended
[ -e "$kept" ] && fail "a game ended with Exit is kept"

start
sizes reopened
same closed reopened || fail "the size chosen before the close is not the size at the start"
board idle
same again idle && fail "the start after Exit resumed a game"
xdotool key ctrl+q
ended
