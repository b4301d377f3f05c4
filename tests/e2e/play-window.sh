#!/bin/sh
# Plays the real game under the X server of the test run: start, window size, the idle picture,
# Start, a move by key, a held key, Exit and a size change, read back from screenshots.
# Usage: play-window.sh PATHWARDEN
set -u
game=$1
. "$(dirname "$0")/common.sh"
work=$scratch
show_about_at_start 0
"$game" 2>>"$game_errors" & pid=$!
started=$pid
wid=
for _ in $(seq 100); do
    wid=$(xdotool search --onlyvisible --name '^Pathwarden$' 2>/dev/null | head -n 1)
    test -n "$wid" && break
    sleep 0.1
done
test -n "$wid" || fail "no game window appeared"
xdotool getwindowgeometry "$wid" | grep -q 'Geometry: 517x403' || fail "client size is not 517 x 403"

shot() { sleep "$2"; import -window "$wid" "$work/$1.png" || fail "no screenshot $1"; }
# Number of colours in a w x h area at client (x, y) of a screenshot.
colours() { convert "$work/$1.png" -crop "$2" +repage -format %k info:; }
# Whether an area of screenshot 1, rolled by (dx, dy) within itself, equals it on screenshot 2.
same() {
    convert "$work/$1.png" -crop "$2" +repage -roll "$3" "$work/a.png"
    convert "$work/$4.png" -crop "$5" +repage "$work/b.png"
    test "$(compare -metric AE "$work/a.png" "$work/b.png" null: 2>&1)" = 0
}
click() { xdotool mousemove --window "$wid" "$1" "$2" click 1; }

# Idle: a 3 x 3 board framed by one-coloured border lines, Start lit and Exit dimmed.
shot idle 0.5
test "$(colours idle 96x1+93+160)" = 1 || fail "idle play board has no top border line"
test "$(colours idle 1x96+93+160)" = 1 || fail "idle play board has no left border line"
same idle 156x28+299+329 +0+0 idle 156x28+299+359 && fail "Start and Exit look alike when idle"

xdotool windowfocus "$wid" 2>/dev/null
click 377 343 # Start: ten scramble steps 55 ms apart
shot playing 1.5
same idle 156x28+299+329 +0+0 playing 156x28+299+329 && fail "Start still lit during a game"

# Key A: column 1 turns up one cell; its strip (x 94..124, y 161..256) comes back rolled.
xdotool key a
shot moved 1
same playing 31x96+94+161 +0-32 moved 31x96+94+161 || fail "column 1 did not move up by one cell"
same playing 31x96+126+161 +0+0 moved 31x96+126+161 || fail "column 2 moved on key A"

# Key E held for 0.75 s: column 2 turns down at once and again at the fifth tick.
xdotool keydown e
sleep 0.75
xdotool keyup e
shot held 1
same moved 31x96+126+161 +0+64 held 31x96+126+161 \
    || fail "holding E did not turn column 2 down twice"

click 377 373 # Exit
shot stopped 0.5
same idle 156x28+299+329 +0+0 stopped 156x28+299+329 || fail "Start not lit again after Exit"

click 219 343 # one column more: the border now runs 128 pixels from x = 40
shot wider 0.5
test "$(colours wider 128x1+77+160)" = 1 || fail "4 x 3 board has no 128-pixel border"
kill -0 $pid || fail "the game ended by itself"
xdotool key ctrl+q # closes the window; a sanitizer build checks for leaks at the exit
for _ in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
wait $pid
status=$?
started=
test $status = 0 || fail "the game ended with status $status"
echo "PASS"
