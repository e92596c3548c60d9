#!/usr/bin/env bash
# A player's one-lap races on circuit 7 (the autopilot at the wheel, the keys adding to it): each
# finished race leaves a replay that runs again in the race runner with every check value matching,
# the second one begun by Enter inside a frame's physics step, and a record of the circuit.
source "$(dirname "$0")/lib.sh"
build=$(dirname "$GAME")
"$build/vorbel-mediagen" "$WORK/circuit/media" 7 >/dev/null || fail "circuit 7 could not be generated"
replays="$XDG_DATA_HOME/vorbel-race/replays"

checks() {  # checks REPLAY: the race runner runs it again and finds every check value matching
    "$build/tools/vorbel-race-runner" --replay "$1" --media "$WORK/circuit" >"$WORK/check" 2>&1 ||
        fail "$(tail -n 1 "$WORK/check")"
    tail -n 1 "$WORK/check"
}

GAME_DIR="$WORK/circuit" start_game --laps 1 --autopilot
key space  # whatever is held goes with the race's first sub-steps: the keys reach the replay too
wait_for_line "replay kept as" 1 120 "the first race was not finished and kept"
cp "$replays/circuit-7-last.replay" "$WORK/first.replay"
grep -q "^7 1 [0-9]* [-0-9T:]*Z [0-9]* [-0-9T:]*Z$" "$XDG_DATA_HOME/vorbel-race/records.txt" ||
    fail "no record of circuit 7 over one lap"
[ -s "$replays/circuit-7-1-laps-best.replay" ] || fail "the first race is not kept as the best"
expect_soon ranking more 40 "the ranking screen is shown" white_pixels 80 20 250 240
key Return
wait_for_line "replay kept as" 2 120 "the race after Enter was not finished and kept"
quit_game
checks "$WORK/first.replay"
checks "$replays/circuit-7-last.replay"
echo "replay: ok"
