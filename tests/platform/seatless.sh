#!/bin/sh
# seatless.sh PROGRAM [ARGUMENTS]: runs a test program on a headless Wayland compositor, whose seat
# has neither keyboard nor pointer; a toolkit warning or critical fails it. Skipped (77) where
# weston is not installed.
set -eu
command -v weston >/dev/null || { echo "weston is not installed: skipped"; exit 77; }
scratch=$(mktemp -d)
chmod 700 "$scratch"
export XDG_RUNTIME_DIR=$scratch GDK_BACKEND=wayland WAYLAND_DISPLAY=pw-seatless NO_AT_BRIDGE=1
weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" >"$scratch/weston.log" 2>&1 &
compositor=$!
trap 'kill $compositor 2>/dev/null || true; wait $compositor 2>/dev/null || true; rm -rf "$scratch"' EXIT
for _ in $(seq 100); do [ -S "$scratch/$WAYLAND_DISPLAY" ] && break; sleep 0.1; done
[ -S "$scratch/$WAYLAND_DISPLAY" ] || { cat "$scratch/weston.log" >&2; exit 1; }
status=0
"$@" 2>"$scratch/errors" || status=$?
cat "$scratch/errors" >&2
if grep -Eq '(WARNING|CRITICAL) \*\*' "$scratch/errors"; then
    echo "FAIL: the program printed a toolkit warning" >&2
    exit 1
fi
exit "$status"
