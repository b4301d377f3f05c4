#!/bin/sh
# installed-game.sh BUILD_DIR CLOSE_WINDOW: installs the game into a temporary prefix, starts it
# from another working folder with the about window on, closes that with Enter when it shows,
# plays one move and quits through the window's close box.
set -eu
build=$1
close_window=$2
. "$(dirname "$0")/common.sh"
prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
mkdir "$scratch/elsewhere"
cd "$scratch/elsewhere"

"$prefix/bin/pathwarden" 2>>"$game_errors" & game=$!
started=$game
window=$(wait_for_game_window)
sleep 1
about=$(xdotool search --onlyvisible --name '^Pathwarden: About$' 2>/dev/null | head -n 1 || true)
if [ -n "$about" ]; then
    xdotool windowfocus --sync "$about" key Return
    sleep 0.5
    [ -z "$(xdotool search --onlyvisible --name '^Pathwarden: About$' 2>/dev/null)" ] \
        || fail "Enter did not close the about window"
fi

# The play board lies at (37, 104) in the window, 208 pixels square; Start at (299, 329).
board() { import -window "$window" -crop 208x208+37+104 "$scratch/$1.png"; }
xdotool mousemove --window "$window" 377 343 click 1
sleep 2
board scrambled
xdotool windowfocus --sync "$window"
moved=
for key in a 1 b; do
    xdotool key "$key"
    sleep 1
    board played
    if [ "$(compare -metric AE "$scratch/scrambled.png" "$scratch/played.png" null: 2>&1 || true)" != 0 ]; then
        moved=$key
        break
    fi
done
[ -n "$moved" ] || fail "no key moved the board"

"$close_window" "$window"
for _ in $(seq 50); do kill -0 "$game" 2>/dev/null || break; sleep 0.1; done
kill -0 "$game" 2>/dev/null && fail "the game did not quit"
wait "$game" || fail "the game ended with $?"
echo "installed game started from $PWD, moved with '$moved' and quit"
