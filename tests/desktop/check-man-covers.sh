#!/bin/sh
# check-man-covers.sh VX8 PAGE: every command and option that `vx8 --help` names is in the man
# page, so that a new one cannot ship undocumented.
set -eu
text=$(MANWIDTH=200 LC_ALL=C.UTF-8 man -l "$2" 2>/dev/null)
words=$("$1" --help | grep -o -e '^  vx8 [a-z-]*' -e '--[a-z]*' | sed 's/^  vx8 //' | sort -u)
[ -n "$words" ] || { echo "no commands in $1 --help" >&2; exit 1; }
missing=
for word in $words; do
    printf '%s\n' "$text" | grep -q -e "^ *$word\\b" -e "^ *vx8 $word\\b" || missing="$missing $word"
done
[ -z "$missing" ] || { echo "not documented in $2:$missing" >&2; exit 1; }
echo "documented: $(echo $words)"
