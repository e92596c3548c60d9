#!/usr/bin/env bash
# The item keys hand the player an item, Space uses it, and each shows: shells fly ahead, a turbo
# rushes the kart forward, a star makes it glow, a flash shrinks the others; fast karts raise dust.
source "$(dirname "$0")/lib.sh"

HUD_ITEM="100 20 190 655"  # the held item's name after "Extra: "
GREEN="g > r + 0.15 && g > b + 0.15"
RED="r > 0.3 && g < 0.35 * r && b < 0.35 * r"  # a red shell, not the orange karts
DUST="r > b + 0.03 && r > 0.45 && r < 0.8 && abs(r - g) < 0.08"  # warm grey puffs over cool grey road

# Shell pixels of COLOUR on the road ahead of the kart standing on the grid: between the kerbs near
# it, and along its heading up to the horizon, where a shell still shows a second and more after
# launch: shell_pixels NAME COLOUR
shell_pixels() {
    echo $(($(count_where "$1" 200 170 400 300 "$2") + $(count_where "$1" 100 68 450 232 "$2")))
}

held_text() {  # pixels of the held item's name that differ from the display at the start
    text_difference "$1" standing $HUD_ITEM
}

# use_item KEY NAME [COLOUR]: take the item, check the display names it, use it, check that a shell of
# COLOUR, not on the road before, flies ahead and that the display shows "none".
use_item() {
    key "$1"
    expect_soon "held-$2" more 20 "the display names the $2 after key $1" held_text
    [ $# -lt 3 ] || expect_less "$(shell_pixels "held-$2" "$3")" 12 "no $2 on the road before Space"
    key space
    [ $# -lt 3 ] || expect_soon "shell-$2" more 12 "a $2 flies ahead" shell_pixels "$3"
    expect_soon "used-$2" less 5 "the display shows none after using the $2" held_text
}

start_game
sleep 1.5
shot standing

# With the throttle held at speed, dust rises behind the kart; the puffs grow as they fall behind
# and soon pass the camera, so the most seen in a few frames counts.
expect_less "$(count_where standing 600 260 212 508 "$DUST")" 10 "no dust while standing"
keydown Up
sleep 2
most=0
for frame in 1 2 3 4 5 6 7 8; do
    shot "dust-$frame"
    seen=$(count_where "dust-$frame" 600 260 212 508 "$DUST")
    [ "$seen" -gt "$most" ] && most=$seen
    sleep 0.1
done
keyup Up
expect_more "$most" 40 "a fast kart raises dust"

# Back to the grid, where the road lies ahead and the display's background is the one at the start.
restart_race
sleep 1

use_item s star
# The star's glow pulses three times a second: the brightest of the frames shot back to back over
# two pulses shows it (frames taken at a steady pace could keep meeting the pulse at its low point),
# on the kart still standing on the grid. It also keeps the kart from spinning should a shell come back.
frames=(used-star)
deadline=$(($(date +%s%N) + 700000000))
while [ "$(date +%s%N)" -lt "$deadline" ]; do
    frames+=("star-${#frames[@]}")
    shot "${frames[-1]}"
done
brightest=0
for frame in "${frames[@]}"; do
    level=$(channel_mean "$frame" 120 80 452 500 g)
    [ "$level" -gt "$brightest" ] && brightest=$level
done
before=$(channel_mean held-star 120 80 452 500 g)
expect_more "$brightest" $((before + 10)) "the star makes the kart glow"

use_item g greenShell "$GREEN"
sleep 2  # a red shell chases the kart ahead: once that kart is far down the straight, so is the shell
use_item r redShell "$RED"

use_item t turbo
sleep 0.5
shot turbo-on
expect_more "$(differing_pixels used-turbo turbo-on 1024 500 0 268)" 100000 "the turbo rushes the kart forward"

use_item f flash

quit_game
echo "items: ok"
