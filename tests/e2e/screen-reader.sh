#!/bin/sh
# screen-reader.sh PATHWARDEN: the game with an accessibility bus and a listening client, as a
# screen reader's user has them. With the about window at start, the client reads its OK button,
# OK closes it, the title opens it again and the game stays up; with the game window alone, the
# client reads the boards and the buttons, starts a game, reads an arrow and opens the about window.
set -eu
program=$1
here=$(dirname "$0")
# A session bus of the test's own, and on it an accessibility bus that no other test shares. The
# bus launcher is kept off the display, where it would publish its address to every program.
if [ -z "${PW_PRIVATE_BUS:-}" ]; then
    exec env PW_PRIVATE_BUS=1 dbus-run-session -- sh "$0" "$@"
fi
. "$here/common.sh"
unset NO_AT_BRIDGE
env -u DISPLAY /usr/libexec/at-spi-bus-launcher --launch-immediately >"$scratch/bus.log" 2>&1 &
started="$started $!"
bus_launched() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q true
}
for _ in $(seq 100); do bus_launched && break; sleep 0.1; done
bus_launched || fail "no accessibility bus"
AT_SPI_BUS_ADDRESS=$(dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus \
    org.a11y.Bus.GetAddress | tr -d ' ')
export AT_SPI_BUS_ADDRESS
client() { /usr/bin/python3 "$here/accessible-client.py" "$@"; }
/usr/bin/python3 "$here/accessible-client.py" listen >"$scratch/listener.log" 2>&1 &
started="$started $!"

# run_game SHOW_ABOUT STEP...: starts the game and runs the client's steps, after which the game
# must still be up with its window.
run_game() {
    show_about_at_start "$1"
    shift
    "$program" 2>>"$game_errors" &
    game=$!
    started="$started $game"
    if ! client "$game" "$@" show frame Pathwarden ''; then
        kill -0 "$game" 2>/dev/null || { wait "$game" || fail "the game ended with status $?"; }
        fail "the client could not read the game"
    fi
    kill "$game"
    wait "$game" 2>/dev/null || true
}

run_game 1 show 'push button' OK '' click 'push button' OK gone 'push button' OK \
    click link 'About Pathwarden' show 'push button' OK '' click 'push button' OK \
    gone 'push button' OK
run_game 0 show image 'Play board' 'cells in place' show image 'Preview board' 'Press Start' \
    click 'push button' Start show 'push button' 'Column 1, up, key A' '' \
    show image 'Preview board' 'Target picture' click link 'About Pathwarden' \
    show 'push button' OK '' click 'push button' OK gone 'push button' OK
echo PASS
