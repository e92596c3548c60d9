#!/usr/bin/env bash
# Texture files that crashed, stalled or bloated the image library: the game opens its window
# promptly with placeholders in their stead, and quits cleanly.
source "$(dirname "$0")/lib.sh"

# The default media, two of its textures replaced: a colour map of 65535 entries in a 21-byte file,
# and 32768 x 32768 pixels from 3 bytes.
mkdir "$WORK/game"
cp -r "$(dirname "$GAME")/media" "$WORK/game/"
ln -s "$GAME" "$WORK/game/vorbel-race"
GAME="$WORK/game/vorbel-race"
printf '\0\1\1\0\0\377\377\30\0\0\0\0\2\0\2\0\10\0\1\2\3' >"$WORK/game/media/textures/asphalt.tga"
printf '\0\0\2\0\0\0\0\0\0\0\0\0\0\200\0\200\40\0\1\2\3' >"$WORK/game/media/textures/grass.tga"

started=$(date +%s%N)
start_game
window_ms=$((($(date +%s%N) - started) / 1000000))
for texture in asphalt grass; do
    grep -q "^texture file: .*/$texture.tga$" "$WORK/stderr" || fail "no error line for $texture.tga"
done
quit_game
echo "hostile-texture: ok (window after $window_ms ms)"
