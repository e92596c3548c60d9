#!/usr/bin/env bash
# The first frame shows the track; the arrow keys drive the player's kart and the view follows it.
source "$(dirname "$0")/lib.sh"

start_game
sleep 1.5
shot start
# The lower half of the screen is the track and its surroundings, not sky.
expect_less "$(sky_pixels start 1024 384 0 384)" 40000 "the first frame shows the track"

# Three seconds of throttle: the view moves on with the kart, and keeps moving.
keydown Up
sleep 1.5
shot driving1
sleep 1.5
shot driving2
keyup Up
expect_more "$(differing_pixels start driving1 1024 500 0 268)" 100000 "the view moves when the kart drives"
expect_more "$(differing_pixels driving1 driving2 1024 500 0 268)" 100000 "the track scrolls by"

# Turning: steering left and right at speed lead to different views; drifting changes the line.
turn() {  # turn NAME KEYS...: from the grid, throttle for a second, then hold the keys for 2 s
    restart_race
    sleep 1.5
    keydown Up
    sleep 1
    keydown "${@:2}"
    sleep 2
    shot "$1"
    keyup "${@:2}"
    keyup Up
}
turn left Left
turn right Right
turn drift Left Control_L
expect_more "$(differing_pixels left right 1024 500 0 268)" 40000 "left and right turns differ"
expect_more "$(differing_pixels left drift 1024 500 0 268)" 40000 "drifting changes the turn"
quit_game
echo "driving: ok"
