#!/bin/sh
# check-install.sh BUILD_DIR HAS_GAME HAS_MAN: installs the build into a temporary prefix and
# checks the installed tree; HAS_GAME is 1 when the game itself is built, HAS_MAN when the man
# pages are.
set -eu
build=$1
has_game=$2
has_man=$3
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
program=$prefix/lib/pathwarden
for file in Warden.vx8 about-logo.png; do
    cmp -s "$build/$file" "$program/$file" || fail "$file missing or differs"
done
# The window takes the desktop's icons from share/icons.
[ ! -e "$program/window-icon.png" ] || fail "an icon in the program folder that nothing reads"
[ "$(identify -format %wx%h "$program/about-logo.png")" = 98x98 ] || fail "logo size"
grep -q 'Pathwarden.ini' "$program/manual.html" || fail "the guide is not found from the program folder"
[ "$(readlink -f "$program/manual.html")" = "$(readlink -f "$prefix/share/doc/pathwarden/manual.html")" ] \
    || fail "the program folder's guide is not the one in the documentation folder"
# Systems that leave out share/doc (dpkg path-exclude) still have the game's guide.
rm -r "$prefix/share/doc"
grep -q 'Pathwarden.ini' "$program/manual.html" || fail "the guide depends on share/doc"

for size in 16 22 24 32 48 64 128 256; do
    icon=$prefix/share/icons/hicolor/${size}x$size/apps/pathwarden.png
    [ "$(identify -format %wx%h "$icon")" = "${size}x$size" ] || fail "icon $icon"
done
desktop-file-validate "$prefix/share/applications/pathwarden.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/local.larkfield.pathwarden.metainfo.xml" >/dev/null

[ -x "$prefix/bin/vx8" ] || fail "vx8 is not in bin"
if [ "$has_man" = 1 ]; then
    for page in man6/pathwarden.6 man1/vx8.1; do
        grep -q '^\.SH NAME' "$prefix/share/man/$page" || fail "man page $page"
    done
fi
if [ "$has_game" = 1 ]; then
    [ -x "$program/pathwarden" ] || fail "the game is not in the program folder"
    [ "$(readlink "$prefix/bin/pathwarden")" = ../lib/pathwarden/pathwarden ] || fail "bin link"
    [ "$(readlink -f "$prefix/bin/pathwarden")" = "$(readlink -f "$program/pathwarden")" ] \
        || fail "bin link does not lead to the game"
else
    [ ! -e "$prefix/bin/pathwarden" ] || fail "a link to a game that was not built"
fi
echo "installed tree checked in $prefix"
