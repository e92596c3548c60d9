# Helpers for end-to-end tests: the real game under an X server of its own, driven with xdotool and
# checked with ImageMagick screenshots. Source this file; pass the game binary as the first argument.
# Regions are given as W H X Y in pixels of the 1024x768 screen.
set -euo pipefail

GAME="$1"
WORK=$(mktemp -d /tmp/vorbel-e2e-XXXXXX)
export XDG_DATA_HOME="$WORK/data"  # records and replays of the tests' races stay out of the tester's
SERVER="" GAME_PID=""

cleanup() {
    kill $GAME_PID $SERVER 2>/dev/null || true
    wait 2>/dev/null || true
    if [ "${KEEP_SHOTS:-}" = "" ]; then rm -rf "$WORK"; else echo "screenshots kept in $WORK"; fi
}
trap cleanup EXIT

fail() {
    { echo "FAIL: $*"; echo "--- game stderr ---"; cat "$WORK/stderr" 2>/dev/null || true; } >&2
    KEEP_SHOTS=1
    exit 1
}

# Starts an X server, unless one runs, and the game, with any arguments given, from GAME_DIR: by
# default its own folder, where the build generated its media. Waits up to ten seconds for the game's
# window.
start_game() {
    if [ -z "$SERVER" ]; then
        mkfifo "$WORK/display"
        Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$WORK/display" >/dev/null 2>&1 &
        SERVER=$!
        read -r number <"$WORK/display"
        export DISPLAY=":$number"
    fi
    (cd "${GAME_DIR:-$(dirname "$GAME")}" && exec "$GAME" "$@" >"$WORK/stdout" 2>"$WORK/stderr") &
    GAME_PID=$!
    windows=$(timeout 10 xdotool search --sync --onlyvisible --name "^Vorbel Race$") ||
        fail "no window named Vorbel Race appeared"
    xdotool windowfocus --sync "${windows%%$'\n'*}" 2>/dev/null || true
    sleep 0.5
}

# Waits up to SECONDS for the COUNT-th line of the game's output that matches PATTERN.
wait_for_line() {  # wait_for_line PATTERN COUNT SECONDS MESSAGE
    local deadline=$(($(date +%s) + $3))
    until [ "$(grep -c "$1" "$WORK/stdout")" -ge "$2" ]; do
        [ "$(date +%s)" -lt "$deadline" ] || fail "$4"
        sleep 0.5
    done
}

# Uncompressed: encoding a PNG takes half a second beside the running game, long enough for a shell
# to fly out of view. The measures below read a shot cropped to a region: NAME.ppm[WxH+X+Y].
shot() {  # shot NAME: screenshot of the whole screen into $WORK/NAME.ppm
    import -window root "$WORK/$1.ppm"
}

# Number of pixels near a colour in a region: colour_pixels NAME W H X Y COLOUR FUZZ
colour_pixels() {
    convert "$WORK/$1.ppm[$2x$3+$4+$5]" -fuzz "$7" -fill black +opaque "$6" -fill white -opaque "$6" \
        -format "%[fx:round(mean*w*h)]" info:
}

white_pixels() { colour_pixels "$@" white 12%; }  # white_pixels NAME W H X Y
sky_pixels() { colour_pixels "$@" "rgb(34,133,242)" 4%; }  # the clear colour (0.132, 0.522, 0.948)

# Pixels of the white text of OTHER that NAME lacks in a region: missing_text NAME OTHER W H X Y. The
# text is pure white, which the lit scene behind it seldom is: what lies behind may add such pixels
# but cannot take the text's away.
missing_text() {
    convert "$WORK/$1.ppm[$3x$4+$5+$6]" "$WORK/$2.ppm[$3x$4+$5+$6]" +repage -fuzz 1% \
        -fill black +opaque white -compose minus_dst -composite -format "%[fx:round(mean*w*h)]" info:
}

# Number of pixels that differ between two screenshots in a region: differing_pixels NAME OTHER W H X Y
differing_pixels() {
    compare -metric AE -fuzz 2% "$WORK/$1.ppm[$3x$4+$5+$6]" "$WORK/$2.ppm[$3x$4+$5+$6]" null: 2>&1 |
        cut -d. -f1
}

# Pixels of a region for which an ImageMagick -fx expression holds: count_where NAME W H X Y EXPR
count_where() {
    convert "$WORK/$1.ppm[$2x$3+$4+$5]" -fx "($6) ? 1 : 0" -format "%[fx:round(mean*w*h)]" info:
}

# Keys go through the X test extension to the focused game window, as a keyboard's would.
key() { xdotool key "$@"; }

# Presses Escape and expects the game to end with status 0 within a second.
quit_game() {
    key Escape
    timeout 1 tail --pid="$GAME_PID" -s 0.05 -f /dev/null || fail "the game did not end within a second of Escape"
    wait "$GAME_PID" || fail "the game ended with status $?"
    GAME_PID=""
}

# Screenshots NAME until MEASURE NAME ARGS... is above (more) or below (less) LIMIT, for up to four
# seconds (SOON_SECONDS), then expects it: a busy machine may take several frames to show what a key did.
expect_soon() {  # expect_soon NAME more|less LIMIT MESSAGE MEASURE ARGS...
    local value deadline=$(($(date +%s%N) + ${SOON_SECONDS:-4} * 1000000000))
    while :; do
        shot "$1"
        value=$("$5" "$1" "${@:6}") || true  # compare fails when images differ
        if [ "$2" = more ]; then [ "$value" -gt "$3" ] && return 0; else [ "$value" -lt "$3" ] && return 0; fi
        [ "$(date +%s%N)" -lt "$deadline" ] || break
    done
    "expect_$2" "$value" "$3" "$4"
}

# Shoots frames NAME-0, NAME-1... back to back for MILLISECONDS, measures them afterwards, and again,
# for up to four seconds, until MEASURE of one of them is above LIMIT: what shows only a moment, a
# shell flying by or a pulse of a glow, is not missed while measuring, and frames shot in bursts cannot
# keep meeting a pulse at its low point as frames at a steady pace could.
expect_burst() {  # expect_burst NAME MILLISECONDS LIMIT MESSAGE MEASURE ARGS...
    local frame=0 first most=0 value deadline end=$(($(date +%s%N) + 4000000000))
    while [ "$most" -le "$3" ] && [ "$(date +%s%N)" -lt "$end" ]; do
        first=$frame deadline=$(($(date +%s%N) + $2 * 1000000))
        while [ "$(date +%s%N)" -lt "$deadline" ]; do shot "$1-$((frame++))"; done
        for ((; first < frame && most <= $3; first++)); do
            value=$("$5" "$1-$first" "${@:6}") || true
            [ "$value" -le "$most" ] || most=$value
        done
    done
    expect_more "$most" "$3" "$4"
}

expect_more() {  # expect_more VALUE LIMIT MESSAGE
    [ "$1" -gt "$2" ] || fail "$3 ($1 not above $2)"
}

expect_less() {
    [ "$1" -lt "$2" ] || fail "$3 ($1 not below $2)"
}
