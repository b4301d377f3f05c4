#!/bin/sh
# check-man.sh PAGE...: each man page renders with no warning from man or groff, with its NAME.
set -eu
export MANWIDTH=80 LC_ALL=C.UTF-8
for page; do
    warnings=$(man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || { echo "$page: $warnings" >&2; exit 1; }
    man -l "$page" 2>/dev/null | grep -q '^NAME' || { echo "$page: no NAME section" >&2; exit 1; }
done
echo "checked: $*"
