#!/usr/bin/env bash
# A player's evening through the front end, from the installed launcher without a number: the circuit
# screen; circuit 7 typed, its map shown; 1 lap and 3 computer drivers chosen; Enter generates circuit
# 7 into the cache and starts its race with 4 karts; P freezes the picture and P again lets it move; E,
# then Backspace, back to the front end; Escape quits; the next start shows the same choices.
source "$(dirname "$0")/lib.sh"
DESTDIR="$WORK/root" cmake --install "$(dirname "$GAME")" --prefix /opt/vorbel >/dev/null
GAME="$WORK/root/opt/vorbel/bin/vorbel-race" GAME_DIR="$WORK"
export XDG_CONFIG_HOME="$WORK/config" XDG_CACHE_HOME="$WORK/cache"

TITLE="390 40 42 67"     # "VORBEL RACE" in the block font
MAP="448 448 40 170"     # the circuit's map
ROWS="460 150 528 180"   # the screen's rows, the selected one on its bar
LOWER="1024 300 0 400"   # the race below the messages and the frame rate
MIDDLE="1024 440 0 200"  # the road ahead, where the computer karts drive off, above the display
title_pixels() { colour_pixels "$@" "rgb(247,158,26)" 8%; }
map_pixels() { count_where "$@" "max(r, max(g, b)) > 0.3"; }  # the dark place of a map to come has none
# Pixels of a region that change over a moment after the shot NAME: changed_after_a_moment NAME W H X Y
changed_after_a_moment() { sleep 0.5; shot "$1-later"; differing_pixels "$1" "$1-later" "${@:2}"; }

start_game
expect_soon menu more 4000 "the launcher without a number opens the front end" title_pixels $TITLE
expect_soon map-0 more 100000 "circuit 0's map is drawn" map_pixels $MAP
key 7
expect_soon map-7 more 20000 "typing 7 changes the map" differing_pixels map-0 $MAP
expect_soon map-7 more 100000 "typing 7 shows circuit 7's map" map_pixels $MAP
key Return Up Up Left Left Left Left Up Left Left Left Left
expect_soon choices more 1000 "the race screen shows its rows" differing_pixels map-7 $ROWS

key Return
SOON_SECONDS=30 expect_soon racing more 10000 "Enter starts the race" sky_pixels 500 30 300 5
[ -e "$XDG_CACHE_HOME/vorbel-race/circuits/7/media/this is media.txt" ] || fail "circuit 7 is not in the cache"
[ "$(grep -c "^creating vehicle from mesh" "$WORK/stdout")" = 4 ] || fail "the race has not 4 karts"

# Paused, the race stands still: shots a moment apart stay alike, and "Paused" shows in the middle,
# white that the first race frame lacks (where the start line's white squares may lie too).
key p
expect_soon paused less 10 "the paused race stands still" changed_after_a_moment $MIDDLE
expect_more "$(missing_text racing paused 80 24 470 368)" 20 "\"Paused\" is shown"
key p
xdotool keydown Up
expect_soon moving more 20000 "P again lets the race move on" differing_pixels paused $LOWER
xdotool keyup Up

key e
expect_soon ranking more 40 "\"Ranking:\" is shown after E" white_pixels 80 20 250 240
key BackSpace
expect_soon back more 4000 "Backspace after the race returns to the front end" title_pixels $TITLE
quit_game
grep -qx "circuit = 7" "$XDG_CONFIG_HOME/vorbel-race/settings" || fail "the circuit is not kept"

start_game
expect_soon again less 500 "the next start shows circuit 7 again" differing_pixels map-7 $MAP
key Return Up Up Up  # the laps row, selected as it was
expect_soon again-choices less 200 "and the same laps and drivers" differing_pixels choices $ROWS
key Escape
expect_soon again-circuit more 1000 "Escape goes back to the circuit" differing_pixels choices $ROWS
quit_game
echo "frontend: ok"
