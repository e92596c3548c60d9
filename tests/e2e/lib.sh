# Helpers for end-to-end tests: the real game under an X server of its own, driven with xdotool and
# checked with ImageMagick screenshots. Source this file; pass the game binary as the first argument.
set -euo pipefail

GAME="$1"
WORK=$(mktemp -d /tmp/vorbel-e2e-XXXXXX)
SERVER=""
GAME_PID=""

cleanup() {
    [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null || true
    [ -n "$SERVER" ] && kill "$SERVER" 2>/dev/null || true
    wait 2>/dev/null || true
    if [ "${KEEP_SHOTS:-}" = "" ]; then rm -rf "$WORK"; else echo "screenshots kept in $WORK"; fi
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    echo "--- game stderr ---" >&2
    cat "$WORK/stderr" >&2 2>/dev/null || true
    KEEP_SHOTS=1
    exit 1
}

start_server() {
    local fifo="$WORK/display"
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    SERVER=$!
    read -r number <"$fifo"
    export DISPLAY=":$number"
}

# Starts the game from its own folder, where the build generated its media.
start_game() {
    start_server
    (cd "$(dirname "$GAME")" && exec "$GAME" >"$WORK/stdout" 2>"$WORK/stderr") &
    GAME_PID=$!
    xdotool search --sync --onlyvisible --name "^Vorbel Race$" >/dev/null 2>&1 &
    local searcher=$!
    for _ in $(seq 1 100); do
        kill -0 "$searcher" 2>/dev/null || break
        sleep 0.1
    done
    kill "$searcher" 2>/dev/null && fail "no window named Vorbel Race appeared"
    WINDOW=$(xdotool search --name "^Vorbel Race$" | head -n 1)
    xdotool windowfocus --sync "$WINDOW" 2>/dev/null || true
    sleep 0.5
}

# Uncompressed: encoding a PNG takes half a second beside the running game, long enough for a shell
# to fly out of view.
shot() {  # shot NAME: screenshot of the whole screen into $WORK/NAME.ppm
    import -window root "$WORK/$1.ppm"
}

# Mean of one channel (0..255) over a region: region NAME W H X Y CHANNEL(r|g|b)
channel_mean() {
    convert "$WORK/$1.ppm" -crop "$2x$3+$4+$5" +repage -format "%[fx:255*mean.$6]" info: | cut -d. -f1
}

# Number of near-white pixels in a region: white_pixels NAME W H X Y
white_pixels() {
    convert "$WORK/$1.ppm" -crop "$2x$3+$4+$5" +repage -fuzz 12% -fill black +opaque white \
        -fill white -opaque white -format "%[fx:round(mean*w*h)]" info:
}

# Pixels where one screenshot has white text and the other not, in a region W H X Y: compares text
# whatever the scene behind it.
text_difference() {
    convert "$WORK/$1.ppm" -crop "$3x$4+$5+$6" +repage -fuzz 5% -fill black +opaque white "$WORK/.a.ppm"
    convert "$WORK/$2.ppm" -crop "$3x$4+$5+$6" +repage -fuzz 5% -fill black +opaque white "$WORK/.b.ppm"
    compare -metric AE "$WORK/.a.ppm" "$WORK/.b.ppm" null: 2>&1 | cut -d' ' -f1 | cut -d. -f1
}

# Number of pixels that differ between two screenshots, optionally within a region W H X Y.
differing_pixels() {
    local a="$WORK/$1.ppm" b="$WORK/$2.ppm"
    if [ $# -gt 2 ]; then
        convert "$a" -crop "$3x$4+$5+$6" +repage "$WORK/.a.ppm"
        convert "$b" -crop "$3x$4+$5+$6" +repage "$WORK/.b.ppm"
        a="$WORK/.a.ppm"
        b="$WORK/.b.ppm"
    fi
    compare -metric AE -fuzz 2% "$a" "$b" null: 2>&1 | cut -d' ' -f1 | cut -d. -f1
}

# Root-mean-square difference of two screenshots in a region W H X Y, in thousandths of full scale.
image_distance() {
    convert "$WORK/$1.ppm" -crop "$3x$4+$5+$6" +repage "$WORK/.a.ppm"
    convert "$WORK/$2.ppm" -crop "$3x$4+$5+$6" +repage "$WORK/.b.ppm"
    compare -metric RMSE "$WORK/.a.ppm" "$WORK/.b.ppm" null: 2>&1 | sed 's/.*(\(.*\))/\1/' |
        awk '{ printf "%d", $1 * 1000 }'
}

# Pixels of a region for which an ImageMagick -fx expression holds: count_where NAME W H X Y EXPR
count_where() {
    convert "$WORK/$1.ppm" -crop "$2x$3+$4+$5" +repage -fx "($6) ? 1 : 0" -format "%[fx:round(mean*w*h)]" info:
}

# Pixels that look like the sky colour (0.132, 0.522, 0.948) in a region: sky_pixels NAME W H X Y
sky_pixels() {
    convert "$WORK/$1.ppm" -crop "$2x$3+$4+$5" +repage -fuzz 4% -fill white -opaque "rgb(34,133,242)" \
        -fill black +opaque white -format "%[fx:round(mean*w*h)]" info:
}

# Keys go through the X test extension to the focused game window, as a keyboard's would.
key() { xdotool key "$@"; }
keydown() { xdotool keydown "$@"; }
keyup() { xdotool keyup "$@"; }

# Presses Escape and expects the game to end with status 0 within a second.
quit_game() {
    key Escape
    for _ in $(seq 1 20); do
        kill -0 "$GAME_PID" 2>/dev/null || break
        sleep 0.05
    done
    kill -0 "$GAME_PID" 2>/dev/null && fail "the game did not end within a second of Escape"
    local status=0
    wait "$GAME_PID" || status=$?
    GAME_PID=""
    [ "$status" -eq 0 ] || fail "the game ended with status $status"
}

# Pixels of message text less than two-thirds faded, over the sky where messages are drawn:
# fresh_text NAME. A message fades over three seconds, and a busy machine may be slow to show it.
fresh_text() {
    count_where "$1" 400 170 140 0 "r > 0.42 && g > 0.7 && b > 0.9"
}

# E ends the race and Enter starts a new one: returns once the ranking has gone, the karts back on
# the grid.
restart_race() {
    key e
    expect_soon ranking more 40 "\"Ranking:\" is shown after E" white_pixels 80 20 250 240
    key Return
    expect_soon grid less 5 "the ranking screen is gone after Enter" white_pixels 200 20 250 240
}

# Screenshots NAME until MEASURE NAME ARGS... is above (more) or below (less) LIMIT, for up to four
# seconds, then expects it: a busy machine may take several frames to show what a key did.
expect_soon() {  # expect_soon NAME more|less LIMIT MESSAGE MEASURE ARGS...
    local value deadline=$(($(date +%s%N) + 4000000000))
    while :; do
        shot "$1"
        value=$("$5" "$1" "${@:6}") || true  # compare fails when images differ
        if [ "$2" = more ]; then [ "$value" -gt "$3" ] && return 0; else [ "$value" -lt "$3" ] && return 0; fi
        [ "$(date +%s%N)" -lt "$deadline" ] || break
    done
    "expect_$2" "$value" "$3" "$4"
}

expect_more() {  # expect_more VALUE LIMIT MESSAGE
    [ "$1" -gt "$2" ] || fail "$3 ($1 not above $2)"
}

expect_less() {
    [ "$1" -lt "$2" ] || fail "$3 ($1 not below $2)"
}
