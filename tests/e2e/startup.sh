#!/usr/bin/env bash
# Start-up failures are reported as failures; a driver without vertex buffer objects still plays.
source "$(dirname "$0")/lib.sh"

# No X display: the window cannot open. One error line, and a status that says it failed.
(cd "$(dirname "$GAME")" && env -u DISPLAY "$GAME" >"$WORK/stdout" 2>"$WORK/stderr") &&
    fail "the game reported success without a window"
grep -qx "ERROR in glfwOpenWindow, can't continue." "$WORK/stderr" || fail "the window error line is missing"

# Mesa without the vertex buffer object extension: a warning, then the game draws with vertex arrays.
export MESA_EXTENSION_OVERRIDE=-GL_ARB_vertex_buffer_object
start_game
grep -qx "WARNING: vertex buffer objects not supported" "$WORK/stderr" || fail "the warning line is missing"
expect_soon arrays more 10000 "the sky is drawn" sky_pixels 500 30 300 5
expect_less "$(sky_pixels arrays 1024 384 0 384)" 40000 "the track is drawn with vertex arrays"
quit_game
echo "startup: ok"
