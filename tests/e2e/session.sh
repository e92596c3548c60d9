#!/usr/bin/env bash
# One player's session: the game opens with its display, drives, drops a shell behind, ends and
# restarts the race, steers, answers the toggle keys, uses items from the grid and quits on Escape.
# OpenAL's silent driver stands in for a sound card: every sound loads and plays, unheard.
source "$(dirname "$0")/lib.sh"
export ALSOFT_DRIVERS=null

RANKING="80 20 250 240"     # "Ranking:" at (2W/8, 8H/12)
PLAYER="140 100 442 500"    # the player's kart on the grid
HELD="100 20 190 655"       # the held item's name, after "Extra: "
GREEN="g > r + 0.15 && g > b + 0.15"

# Green shell pixels on the road ahead of the kart standing on the grid, where only a flying shell
# gets: between the kerbs from a few lengths ahead, and along its heading up to the horizon, where a
# shell still shows a second and more after launch.
shell_ahead() {
    echo $(($(count_where "$1" 200 120 400 300 "$GREEN") + $(count_where "$1" 100 68 450 232 "$GREEN")))
}

glow() {  # pixels of the player's kart a tenth brighter than before the star
    convert "$WORK/held-star.ppm[140x100+442+500]" "$WORK/$1.ppm[140x100+442+500]" +repage \
        -compose minus_dst -composite -separate -delete 0,2 -threshold 10% -format "%[fx:round(mean*w*h)]" info:
}

# Lines of messages shown since the shot "quiet": message_lines NAME. The text fades into whatever
# lies behind it, sky or banner, so it is told by how much brighter it makes that shot: rows with a
# few such pixels, at least five in a row.
message_lines() {
    convert "$WORK/quiet.ppm" "$WORK/$1.ppm" -crop 400x170+140+0 +repage -compose minus_dst -composite \
        -separate -delete 1,2 -threshold 15% -scale '1x170!' -depth 8 -compress none pgm:- | tail -n +4 |
        awk '{ if ($1 > 8) rows++; else { lines += rows >= 5; rows = 0 } } END { print lines + (rows >= 5) }'
}

# use_item KEY NAME USE_KEY MEASURE ARGS...: take the item, check the display names it instead of the
# "none" of the first shot, use it, check that MEASURE finds it only then and that the display shows
# "none" again.
use_item() {
    key "$1"
    expect_soon "held-$2" more 15 "the display names the $2 after key $1" missing_text first $HELD
    expect_less "$("$4" "held-$2" "${@:5}")" 20 "no $2 before $3"
    key "$3"
    expect_burst "$2" 1500 20 "the $2 shows after $3" "${@:4}"
    expect_soon "used-$2" less 5 "the display shows none after using the $2" missing_text first $HELD
}

start_game
expect_soon first more 10000 "the sky colour fills the top of the screen" sky_pixels 500 30 300 5
expect_more "$(white_pixels first 200 20 124 655)" 40 "the held item line is drawn"
expect_more "$(white_pixels first 200 20 636 80)" 40 "the frame-rate line is drawn"
# The message fades over its three seconds: count what stands out from the sky, white or not.
expect_more "$(count_where first 140 25 140 4 "r > 0.15")" 40 "\"test output\" is shown at first"

# The throttle takes the kart under the banner over the start line: the lower half of the banner, seen
# from the grid, gives way to the sky.
xdotool keydown Up
expect_soon driving more 15000 "the kart drives off the grid with the throttle" sky_pixels 600 30 212 90
xdotool keyup Up
expect_less "$(white_pixels driving $RANKING)" 5 "no ranking while racing"
# Down the straight, nothing behind the kart, which rolls to a stop: Left Alt drops a shell there.
sleep 1
use_item g dropped-shell alt+space count_where 240 110 392 658 "$GREEN"  # between the camera and the kart

key e
expect_soon ranking more 40 "\"Ranking:\" is shown after E" white_pixels $RANKING
# Eight karts listed one line (H/12 = 64 pixels) apart; the prompt would be the ninth line, below the screen.
expect_more "$(white_pixels ranking 200 20 250 304)" 40 "the first placed kart is listed"
key a  # the computer karts will wait on the grid
key Return
expect_soon restarted less 5 "the ranking screen is gone after Enter" white_pixels $RANKING
expect_soon restarted less 3000 "Enter brings the kart back to the grid" sky_pixels 600 30 212 90
sleep 1  # the view settles behind the kart
shot standing
expect_less "$(count_where standing 140 25 140 4 "r > 0.15")" 10 "\"test output\" is gone after three seconds"

# While the scene stands still the player's kart, standing, turns its wheels, back straight in between.
xdotool keydown Left
expect_soon left more 2000 "Left steers" differing_pixels standing $PLAYER
xdotool keyup Left
expect_soon straight less 1500 "the wheels turn back" differing_pixels standing $PLAYER
xdotool keydown Right
expect_soon right more 2000 "Right steers" differing_pixels standing $PLAYER
xdotool keyup Right

# The star where its glow is the only change, and before the shell ahead, which the kart waiting there
# might send back; no computer kart drops a shell on the road meanwhile.
use_item s star space glow
use_item g green-shell space shell_ahead

key F2
expect_soon nofps less 10 "F2 removes the frame-rate line" white_pixels 200 20 636 80

# M and F4 to F9 add their lines to the messages, F4 and F5 a magnification and a minification filter
# each, the magnification one the same for both, M the sound's. The toggles that slow the frames
# down come last, so that all the lines show in the same frame.
shot quiet
key --delay 0 m F4 F5 F9 F8 F7 F6
expect_burst toggles 1000 7 "M and F4 to F9 show their messages" message_lines
# Without A the computer karts would have gone round the first bend long ago: their orange on the road.
expect_more "$(colour_pixels quiet 1024 232 0 268 "rgb(231,121,11)" 15%)" 100 "the karts wait on the grid after A"

quit_game
# The statistics line comes when a second of frames has passed, while the culling is on (F8 turned it
# off at the end): about once a second, more often only while frames are slower.
expect_more "$(grep -c "^culled objects / plane: 0 ([0-9]*) 1 ([0-9]*) 2 ([0-9]*) 3 ([0-9]*) 4 ([0-9]*) 5 ([0-9]*)$" \
    "$WORK/stdout")" 4 "the culling statistics line is printed about once a second"
[ "$(grep -c "^creating terrain from mesh: Track.mesh.xml" "$WORK/stdout")" -eq 2 ] ||
    fail "the level was not loaded twice, at the start and on the restart"
! grep -q "sound" "$WORK/stderr" || fail "a sound was missing, or the null device was not found"
echo "session: ok"
