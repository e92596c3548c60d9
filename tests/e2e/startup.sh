#!/usr/bin/env bash
# Start-up failures are reported as failures; a driver without vertex buffer objects still plays,
# texture files that crashed, stalled or bloated the image library leave placeholders in their stead,
# and a machine without a sound device plays silently after saying so once.
source "$(dirname "$0")/lib.sh"

# No X display: the window cannot open. One error line, and a status that says it failed.
(cd "$(dirname "$GAME")" && env -u DISPLAY "$GAME" >"$WORK/stdout" 2>"$WORK/stderr") &&
    fail "the game reported success without a window"
grep -qx "ERROR in glfwOpenWindow, can't continue." "$WORK/stderr" || fail "the window error line is missing"

# The default media with two textures replaced: a colour map of 65535 entries in a 21-byte file, and
# 32768 x 32768 pixels from 3 bytes.
mkdir "$WORK/game"
cp -r "$(dirname "$GAME")/media" "$WORK/game/"
ln -s "$GAME" "$WORK/game/vorbel-race"
GAME="$WORK/game/vorbel-race"
printf '\0\1\1\0\0\377\377\30\0\0\0\0\2\0\2\0\10\0\1\2\3' >"$WORK/game/media/textures/asphalt.tga"
printf '\0\0\2\0\0\0\0\0\0\0\0\0\0\200\0\200\40\0\1\2\3' >"$WORK/game/media/textures/grass.tga"

# Mesa without the vertex buffer object extension: a warning, then the game draws with vertex arrays.
export MESA_EXTENSION_OVERRIDE=-GL_ARB_vertex_buffer_object
started=$(date +%s%N)
start_game
window_ms=$((($(date +%s%N) - started) / 1000000))
grep -qx "WARNING: vertex buffer objects not supported" "$WORK/stderr" || fail "the warning line is missing"
if ! ls /dev/snd/pcmC*p "${XDG_RUNTIME_DIR:-/nonexistent}/pulse/native" >/dev/null 2>&1; then
    [ "$(grep -c "sound" "$WORK/stderr")" -eq 1 ] || fail "not one line about sound without a sound device"
    grep -qx "No sound device: the game plays silently" "$WORK/stderr" || fail "the no-sound line is missing"
fi
for texture in asphalt grass; do
    grep -q "^texture file: .*/$texture.tga$" "$WORK/stderr" || fail "no error line for $texture.tga"
done
expect_soon arrays more 10000 "the sky is drawn" sky_pixels 500 30 300 5
expect_less "$(sky_pixels arrays 1024 384 0 384)" 40000 "the track is drawn with vertex arrays"
quit_game
echo "startup: ok (window after $window_ms ms)"
