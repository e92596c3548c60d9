#!/usr/bin/env bash
# The game opens its window, shows the sky and the display, answers every toggle key and quits on Escape.
source "$(dirname "$0")/lib.sh"

start_game
sleep 0.5
shot first
# Sky along the top of the screen, white display text where "Extra: " is drawn (at W/8, H/8).
expect_more "$(sky_pixels first 600 60 212 110)" 6000 "the sky colour fills the top of the screen"
expect_more "$(white_pixels first 200 20 124 655)" 40 "the held item line is drawn"
expect_more "$(white_pixels first 200 20 636 80)" 40 "the frame-rate line is drawn"
# The message fades over its three seconds: count what stands out from the sky, white or not.
expect_more "$(count_where first 140 25 140 4 "r > 0.2")" 40 "\"test output\" is shown at first"

sleep 3.5
shot later
expect_less "$(count_where later 140 25 140 4 "r > 0.2")" 10 "\"test output\" is gone after three seconds"

key F2
expect_soon nofps less 10 "F2 removes the frame-rate line" white_pixels 200 20 636 80
expect_more "$(white_pixels nofps 200 20 124 655)" 40 "F2 leaves the rest of the display"

# Every toggle with a message shows a fresh line in the message area, once the lines before have faded.
for toggle in F3 F3 F4 F5 F6 F7 F8 F9; do
    sleep 2.4
    shot "before-$toggle"
    expect_less "$(fresh_text "before-$toggle")" 20 "no fresh message before $toggle"
    key "$toggle"
    sleep 0.3
    expect_soon "message-$toggle" more 60 "$toggle shows its message" fresh_text
done
key A

quit_game
# The statistics line comes when a second of frames has passed (with F8 the culling, and the line,
# went off for the last second): about once a second, more often only while frames are slower.
lines=$(grep -c "^culled objects / plane: 0 ([0-9]*) 1 ([0-9]*) 2 ([0-9]*) 3 ([0-9]*) 4 ([0-9]*) 5 ([0-9]*)$" "$WORK/stdout" || true)
expect_more "$lines" 4 "the culling statistics line is printed about once a second"
echo "foundation: ok"
