#!/usr/bin/env bash
# E ends the race and shows the ranking; Enter restarts once, even held; Escape still quits cleanly.
source "$(dirname "$0")/lib.sh"

start_game
sleep 1.5
shot racing
# The ranking text starts at (2W/8, 8H/12): 256 pixels from the left, 256 from the top.
expect_less "$(white_pixels racing 200 20 250 240)" 5 "no ranking while racing"

key e
expect_soon ranking more 40 "\"Ranking:\" is shown after E" white_pixels 80 20 250 240
# Eight karts listed one line (H/12 = 64 pixels) apart; the prompt would be the ninth line, below the screen.
expect_more "$(white_pixels ranking 200 20 250 304)" 40 "the first placed kart is listed"

# Holding Enter restarts once: the new race is not over, so it does not restart again.
keydown Return
sleep 1.5
keyup Return
shot restarted
expect_less "$(white_pixels restarted 200 20 250 240)" 5 "the ranking screen is gone after Enter"
loads=$(grep -c "^creating terrain from mesh: Track.mesh.xml" "$WORK/stdout")
[ "$loads" -eq 2 ] || fail "the level was loaded $loads times, expected the start and one restart"
# Back on the grid: the player's kart stands where it stood at the start, seen from the same place.
expect_less "$(image_distance racing restarted 160 130 432 485)" 50 "the player's kart is back on the grid"

key e
sleep 0.3
quit_game  # Escape ends the game even on the ranking screen
echo "race: ok"
