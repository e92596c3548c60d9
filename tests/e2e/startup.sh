#!/usr/bin/env bash
# Start-up failures are reported as failures; a driver without vertex buffer objects still plays,
# texture files that crashed, stalled or bloated the image library leave placeholders in their stead,
# a machine without a sound device plays silently after saying so once, and hostile game controller
# mappings cost a line each.
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

# A mappings file with a line that GLFW would read past its end, a long line, bytes that are no text
# and more mappings than are taken; garbage in the variable too.
mkdir -p "$WORK/config/vorbel-race"
{
    echo "03000000aa0100001000000011010000,Cut short,a:b0,dpup:h"
    head -c 5000 /dev/zero | tr '\0' x && echo
    printf '\1\2\0\377garbage\n'
    for i in $(seq 3000); do printf '03000000%024x,Pad %d,a:b0,platform:Linux,\n' "$i" "$i"; done
} >"$WORK/config/vorbel-race/gamecontrollerdb.txt"
export XDG_CONFIG_HOME="$WORK/config" SDL_GAMECONTROLLERCONFIG=$'not a mapping\n03000000aa0100001000000011010000,X,leftx:a'

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
grep -q "^gamepad mappings: .*/gamecontrollerdb.txt: 955 lines left out" "$WORK/stderr" ||
    fail "no line for the mappings file's lines left out"
grep -q "^gamepad mappings: SDL_GAMECONTROLLERCONFIG: 2 lines left out" "$WORK/stderr" ||
    fail "no line for the variable's lines left out"
for texture in asphalt grass; do
    grep -q "^texture file: .*/$texture.tga$" "$WORK/stderr" || fail "no error line for $texture.tga"
done
expect_soon arrays more 10000 "the sky is drawn" sky_pixels 500 30 300 5
expect_less "$(sky_pixels arrays 1024 384 0 384)" 40000 "the track is drawn with vertex arrays"
quit_game
echo "startup: ok (window after $window_ms ms)"
