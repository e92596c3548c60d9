#!/usr/bin/env bash
# Regenerates docs/screenshot.png: the starting grid under Xvfb (computer drivers held with A until
# the shot), frame-rate line hidden.
set -euo pipefail
cd "$(dirname "$0")/.."
out="$PWD/docs/screenshot.png"
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
' screenshot "$out"
echo "wrote $out"
