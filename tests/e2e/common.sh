# Shared by the end-to-end scripts: a private home, settings and runtime folder for the game, and
# waiting for its window. Sourced; the caller sets -eu.
fail() { echo "FAIL: $*" >&2; exit 1; }

# The scripts add the id of each game they start to `started`; none outlives the script, or it
# would keep the test's output open. Each game's error output goes to $game_errors: a toolkit
# warning or critical there fails the script when it ends.
started=
scratch=$(mktemp -d)
game_errors=$scratch/game-errors
finish() {
    status=$?
    kill $started 2>/dev/null || true
    wait $started 2>/dev/null || true
    if [ -s "$game_errors" ]; then
        cat "$game_errors" >&2
        if grep -Eq '(WARNING|CRITICAL) \*\*' "$game_errors"; then
            echo "FAIL: the game printed a toolkit warning" >&2
            status=1
        fi
    fi
    rm -rf "$scratch"
    exit "$status"
}
trap finish EXIT
export HOME=$scratch XDG_CONFIG_HOME=$scratch/config XDG_RUNTIME_DIR=$scratch/run NO_AT_BRIDGE=1
export GDK_BACKEND=x11
# In a sanitizer build the game's leak check passes over fontconfig's once-per-process patterns.
echo 'leak:libfontconfig.so' > "$scratch/toolkit-leaks.supp"
export LSAN_OPTIONS="suppressions=$scratch/toolkit-leaks.supp"
mkdir -m 700 "$XDG_RUNTIME_DIR"

# show_about_at_start 0|1
show_about_at_start() {
    mkdir -p "$XDG_CONFIG_HOME/Larkfield/Pathwarden"
    printf '[Options]\nShowSplash=%s\n' "$1" >"$XDG_CONFIG_HOME/Larkfield/Pathwarden/Pathwarden.ini"
}

# game_windows: the ids of the visible game windows, one a line.
game_windows() { xdotool search --onlyvisible --name '^Pathwarden$' 2>/dev/null || true; }

# wait_for_game_window: prints the id of the one game window once it is visible (10 s at most).
wait_for_game_window() {
    for _ in $(seq 100); do
        window=$(game_windows | head -n 1)
        [ -n "$window" ] && { echo "$window"; return 0; }
        sleep 0.1
    done
    fail "no game window appeared"
}

# elapsed_ms START_NS
elapsed_ms() { echo $((($(date +%s%N) - $1) / 1000000)); }
