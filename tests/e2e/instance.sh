#!/bin/sh
# instance.sh GAME: one game per user, with real processes on the test's X server.
set -eu
game=$1
. "$(dirname "$0")/common.sh"
show_about_at_start 0

# A second start hands over to the running game: it ends at once, without a window of its own,
# and the running game window takes the focus.
"$game" 2>>"$game_errors" & first=$!
started=$first
window=$(wait_for_game_window)
xdotool windowfocus --sync "$(xwininfo -root | awk '/Window id/ {print $4}')"
[ "$(xdotool getwindowfocus)" != "$window" ] || fail "the game had the focus already"
start=$(date +%s%N)
"$game" 2>>"$game_errors" || fail "the second start ended with $?"
[ "$(elapsed_ms "$start")" -lt 1500 ] || fail "the second start took $(elapsed_ms "$start") ms"
for _ in $(seq 20); do [ "$(xdotool getwindowfocus)" = "$window" ] && break; sleep 0.1; done
[ "$(xdotool getwindowfocus)" = "$window" ] || fail "the running game window did not take the focus"
[ "$(game_windows | wc -l)" = 1 ] || fail "a second game window"
kill -0 "$first" || fail "the first game ended"

# After the running game was killed, a start runs normally; two at the same moment make one game.
kill -9 "$first"
wait "$first" || true
"$game" 2>>"$game_errors" & a=$!
"$game" 2>>"$game_errors" & b=$!
started="$a $b"
wait_for_game_window >/dev/null
sleep 1
[ "$(game_windows | wc -l)" = 1 ] || fail "two starts at once made $(game_windows | wc -l) windows"
if kill -0 "$a" 2>/dev/null; then running=$a; ended=$b; else running=$b; ended=$a; fi
kill -0 "$running" || fail "neither start runs"
wait "$ended" || fail "the start that deferred ended with $?"
kill "$running"
wait "$running" 2>/dev/null || true

# Without a runtime folder and with a temporary folder whose name leaves no room for a socket's,
# a second start still hands over, and the running game window takes the focus.
long=$scratch/$(printf 'long%.0s' $(seq 25))
mkdir -p "$long"
own="/tmp/pathwarden-$(id -u)-"
before=$(ls -d "$own"* 2>/dev/null || true)
env -u XDG_RUNTIME_DIR TMPDIR="$long" "$game" & first=$!
started=$first
window=$(wait_for_game_window)
xdotool windowfocus --sync "$(xwininfo -root | awk '/Window id/ {print $4}')"
env -u XDG_RUNTIME_DIR TMPDIR="$long" "$game" || fail "the second start ended with $?"
for _ in $(seq 20); do [ "$(xdotool getwindowfocus)" = "$window" ] && break; sleep 0.1; done
[ "$(xdotool getwindowfocus)" = "$window" ] || fail "a long temporary folder lost the hand-over"
[ "$(game_windows | wc -l)" = 1 ] || fail "a second game window beside the long temporary folder"
# A killed game leaves its socket folder behind: take away the one this run made.
kill "$first"
wait "$first" 2>/dev/null || true
for folder in "$own"*; do
    case "$before" in *"$folder"*) ;; *) rm -rf "$folder" ;; esac
done
echo "one game per user checked"
