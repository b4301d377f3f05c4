#!/bin/sh
# first-hint.sh PATHWARDEN AWAIT-CHANGE [LIMIT_MS]: with a fresh home, starts the real binary, chooses 4 x 4,
# starts a game and presses Ctrl+H as soon as the scramble is over: the hint's move must show on
# the play board within LIMIT_MS (500 by default; a sanitizer build passes more). The tables come
# from the file beside the game.
set -eu
. "$(dirname "$0")/common.sh"
show_about_at_start 0
limit=${3:-500}

"$1" 2>>"$game_errors" &
started="$started $!"
window=$(wait_for_game_window)
timeout 5 xdotool windowfocus --sync "$window" || xdotool windowfocus "$window"
sleep 0.5
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; }
board() { import -window "$window" -crop 192x192+37+104 +repage "$scratch/$1.png"; }
differs() { [ "$(compare -metric AE "$scratch/$1.png" "$scratch/$2.png" null: 2>&1)" != 0 ]; }

click 219 343 # a column more
click 219 373 # a row more
sleep 0.3
click 377 343 # Start
# The scramble is over when the board stops changing.
board a
for _ in $(seq 50); do
    sleep 0.2
    board b
    differs a b || break
    mv "$scratch/b.png" "$scratch/a.png"
done
"$2" "$window" 37 104 192 192 10000 >"$scratch/waited" &
watcher=$!
for _ in $(seq 100); do grep -q ready "$scratch/waited" && break; sleep 0.05; done
xdotool key ctrl+h
wait $watcher || fail "no hint was played"
waited=$(tail -n 1 "$scratch/waited")
[ "$waited" -le "$limit" ] || fail "the hint's move showed after $waited ms, more than $limit"
xdotool key ctrl+q
echo "the first hint on 4 x 4 moved after $waited ms"
