#!/bin/sh
# show-me.sh PATHWARDEN: starts a game in the real binary, presses Ctrl+Shift+H and waits for the
# game to play itself to the end: the win is counted in the settings file, without a fewest-moves
# record, and the preview shows the "well done" picture instead of the target.
set -eu
. "$(dirname "$0")/common.sh"
show_about_at_start 0
settings=$XDG_CONFIG_HOME/Larkfield/Pathwarden/Pathwarden.ini

"$1" 2>>"$game_errors" &
started="$started $!"
window=$(wait_for_game_window)
timeout 5 xdotool windowfocus --sync "$window" || xdotool windowfocus "$window"
sleep 0.5
preview() { import -window "$window" -crop 208x208+273+104 +repage "$scratch/$1.png"; }

xdotool key ctrl+n
sleep 1.5 # the scramble: at least ten ticks of 55 ms
preview target
xdotool key --delay 50 ctrl+shift+h
# At most 8 moves on 3 x 3, 400 ms each, and the solver's answer.
for _ in $(seq 100); do
    grep -q '^Won3x3=1' "$settings" && break
    sleep 0.2
done
grep -q '^Won3x3=1' "$settings" || fail "show me did not win the game"
grep -q '^Best3x3=' "$settings" && fail "a game won by show me set a fewest-moves record"
preview won
[ "$(compare -metric AE "$scratch/target.png" "$scratch/won.png" null: 2>&1)" = 0 ] \
    && fail "the preview did not change at the win"
xdotool key ctrl+q
echo "show me plays a game to its win on its own"
