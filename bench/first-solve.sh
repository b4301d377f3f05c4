#!/bin/sh
# first-solve.sh BUILD_DIR [ROUNDS]: for each board size, the median time over ROUNDS new
# processes from the first solve request to its answer, with the table file beside the game and
# without it (every table built in the process), on the game's boards and on distinct tiles.
# Goal: every size's first answer within 0.5 s with the table file.
set -eu
build=$(cd "$1" && pwd)
rounds=${2:-5}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
printf '%-5s %-8s %12s %12s\n' size boards "tables ms" "built ms"
for size in "3 3" "3 4" "3 5" "4 3" "4 4" "4 5" "5 3" "5 4" "5 5"; do
    for distinct in 0 1; do
        with=$(for _ in $(seq "$rounds"); do
            "$build/bench/first-solve" $size $distinct "$build/Warden.tables"; done | median)
        without=$(for _ in $(seq "$rounds"); do
            "$build/bench/first-solve" $size $distinct; done | median)
        kind=game; [ "$distinct" = 1 ] && kind=distinct
        printf '%-5s %-8s %12s %12s\n' "$(echo $size | tr ' ' x)" $kind "$with" "$without"
    done
done
