#!/bin/sh
# wayland.sh PATHWARDEN: the game and its about window under a headless Wayland compositor, whose
# seat has neither keyboard nor pointer, must run without a toolkit warning. Skipped (77) where
# weston is not installed.
set -eu
game=$1
command -v weston >/dev/null || { echo "weston is not installed: skipped"; exit 77; }
. "$(dirname "$0")/common.sh"
show_about_at_start 1
export GDK_BACKEND=wayland WAYLAND_DISPLAY=pw-wayland
weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" >"$scratch/weston.log" 2>&1 &
started=$!
for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] && break; sleep 0.1; done
[ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] || fail "weston did not start: $(cat "$scratch/weston.log")"
"$game" 2>>"$game_errors" &
game_pid=$!
started="$game_pid $started"
sleep 3 # the game window and the about window come up
kill -0 "$game_pid" || fail "the game ended under Wayland"
echo "the game runs under a headless Wayland compositor"
