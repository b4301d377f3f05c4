#!/bin/sh
# check-man-covers.sh vx8 VX8 PAGE: every command and option that `vx8 --help` names is in the
# man page. check-man-covers.sh keys README PAGE: every key the README names in bold (Ctrl+N,
# F1, ...) is in the man page. So a new one cannot ship undocumented.
set -eu
text=$(MANWIDTH=200 LC_ALL=C.UTF-8 man -l "$3" 2>/dev/null)
case $1 in
vx8) words=$("$2" --help | grep -o -e '^  vx8 [a-z-]*' -e '--[a-z]*' | sed 's/^  vx8 //' | sort -u) ;;
keys) words=$(grep -o -E '\*\*((Ctrl|Shift|Alt)\+)+[^*]+\*\*|\*\*F[0-9]+\*\*' "$2" | tr -d '*' | sort -u) ;;
*) echo "unknown kind $1" >&2; exit 2 ;;
esac
[ -n "$words" ] || { echo "nothing to look for in $2" >&2; exit 1; }
missing=
for word in $words; do
    if [ "$1" = vx8 ]; then
        printf '%s\n' "$text" | grep -q -e "^ *$word\\b" -e "^ *vx8 $word\\b" || missing="$missing $word"
    else
        printf '%s\n' "$text" | grep -q -F -e "$word" || missing="$missing $word"
    fi
done
[ -z "$missing" ] || { echo "not documented in $3:$missing" >&2; exit 1; }
echo "documented: $(echo $words)"
