#!/usr/bin/env bash
# Regenerates docs/screenshot.png: the starting grid under Xvfb (computer drivers held with A until
# the shot), frame-rate line hidden; and docs/front-end.png: the front end's circuit screen on
# circuit 0, with settings and cache of its own.
set -euo pipefail
cd "$(dirname "$0")/.."
out="$PWD/docs/screenshot.png"
menu="$PWD/docs/front-end.png"
tests/with-xvfb.sh bash -c '
    cd build
    ./vorbel-race >/dev/null 2>&1 &
    game=$!
    xdotool search --sync --onlyvisible --name "^Vorbel Race$" >/dev/null
    xdotool key a
    sleep 4
    xdotool key F2
    sleep 0.5
    import -window root "$1"
    xdotool key Escape
    wait $game
    home=$(mktemp -d)
    XDG_CONFIG_HOME="$home" XDG_CACHE_HOME="$home" ./vorbel-race --front-end >/dev/null 2>&1 &
    game=$!
    xdotool search --sync --onlyvisible --name "^Vorbel Race$" >/dev/null
    sleep 2
    import -window root "$2"
    xdotool key Escape
    wait $game
    rm -rf "$home"
' screenshot "$out" "$menu"
echo "wrote $out and $menu"
