#!/bin/sh
# startup-bench.sh BUILD_DIR [ROUNDS]: starts the game (about window off) and an empty GTK 3
# window of the same size alternately on a fresh Xvfb, and reports the median time from process
# start to a visible window and the median resident memory of each, as ratios, with the median
# processor time of each, which a busy machine disturbs less, and the fastest run of each, which
# shows the programs' own cost when other work on the machine spreads the medians.
# Goal: the game within 1.1 times the empty window's time and 6 MB of its memory.
set -eu
build=$(cd "$1" && pwd)
rounds=${2:-21}
if [ -z "${PW_BENCH_ON_DISPLAY:-}" ]; then
    PW_BENCH_ON_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" sh "$0" "$build" "$rounds"
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export HOME=$scratch XDG_CONFIG_HOME=$scratch/config XDG_RUNTIME_DIR=$scratch/run NO_AT_BRIDGE=1
mkdir -m 700 "$XDG_RUNTIME_DIR"
mkdir -p "$XDG_CONFIG_HOME/Larkfield/Pathwarden"
printf '[Options]\nShowSplash=0\n' >"$XDG_CONFIG_HOME/Larkfield/Pathwarden/Pathwarden.ini"

# One run of each first, unmeasured, so that both start with warm file caches.
"$build/bench/startup-probe" "$build/pathwarden" >/dev/null
"$build/bench/startup-probe" "$build/bench/bare-window" >/dev/null
for _ in $(seq "$rounds"); do
    "$build/bench/startup-probe" "$build/pathwarden" >>"$scratch/game"
    "$build/bench/startup-probe" "$build/bench/bare-window" >>"$scratch/bare"
done

# median FILE COLUMN
median() { sort -n -k "$2" "$1" | awk -v c="$2" '{ v[NR] = $c } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
for column in 1 2 3; do
    eval "game_$column=\$(median \"\$scratch/game\" $column)"
    eval "bare_$column=\$(median \"\$scratch/bare\" $column)"
done
game_fastest=$(sort -n -k 1 "$scratch/game" | awk 'NR == 1 { print $1 }')
bare_fastest=$(sort -n -k 1 "$scratch/bare" | awk 'NR == 1 { print $1 }')
awk -v gt="$game_1" -v bt="$bare_1" -v gm="$game_2" -v bm="$bare_2" -v gc="$game_3" -v bc="$bare_3" \
    -v gf="$game_fastest" -v bf="$bare_fastest" -v n="$rounds" 'BEGIN {
    printf "Start-up to a visible window, median of %d runs each, alternately, under Xvfb\n", n
    printf "  %-22s %10s %14s %10s\n", "", "time (ms)", "resident (MB)", "CPU (ms)"
    printf "  %-22s %10.1f %14.1f %10.1f\n", "empty GTK 3 window", bt, bm / 1024, bc
    printf "  %-22s %10.1f %14.1f %10.1f\n", "Pathwarden", gt, gm / 1024, gc
    ratio = gt / bt; extra = (gm - bm) / 1024
    printf "  time %.2f x the empty window (goal <= 1.10), memory %+.1f MB (goal <= +6.0): %s\n",
        ratio, extra, (ratio <= 1.1 && extra <= 6) ? "goal met" : "goal missed"
    printf "  processor time %.2f x the empty window\n", gc / bc
    printf "  fastest run %.1f ms against %.1f ms: %.2f x the empty window\n", gf, bf, gf / bf
}'
