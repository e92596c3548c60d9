#!/usr/bin/env bash
# The installed launcher starts the game from any folder: circuit 0 from the installed media, any
# other from media it generates into the user's cache; and plays a replay on its circuit. Arguments:
# the build folder and a circuit.
source "$(dirname "$0")/../e2e/lib.sh"
DESTDIR="$WORK/root" cmake --install "$1" --prefix /opt/vorbel >/dev/null
GAME="$WORK/root/opt/vorbel/bin/vorbel-race" GAME_DIR="$WORK"
export XDG_CACHE_HOME="$WORK/cache"
export ALSOFT_DRIVERS=null  # a silent sound device: the installed sounds load too, with nothing to say

status=0 && "$GAME" 100000 2>"$WORK/usage" || status=$?
[ "$status" = 2 ] && [ "$(wc -l <"$WORK/usage")" = 1 ] || fail "a bad circuit gave status $status: $(cat "$WORK/usage")"
# A circuit that another build of the generator wrote, dated after this install (installs keep the
# build's times): made again, not played.
stale="$XDG_CACHE_HOME/vorbel-race/circuits/$2/media"
[ "$2" = 0 ] || { mkdir -p "$stale" && printf 'Vorbel Race media, circuit %s\ngenerator 0\n' "$2" >"$stale/this is media.txt"; }
start_game "$2"
folder="$WORK/root/opt/vorbel/share/vorbel-race"
[ "$2" = 0 ] || folder="$XDG_CACHE_HOME/vorbel-race/circuits/$2"
[ "$(readlink "/proc/$GAME_PID/cwd")" = "$folder" ] || fail "the game runs in $(readlink "/proc/$GAME_PID/cwd")"
quit_game
[ ! -s "$WORK/stderr" ] || fail "the game did not load all its media"

# A replay of the circuit plays from any folder, its circuit generated again when the cache has lost it.
"$1/tools/vorbel-race-runner" --circuit "$2" --player driven --time-limit 5 --record "$WORK/race.replay" >/dev/null ||
    fail "no replay recorded"
rm -rf "$XDG_CACHE_HOME"
start_game --replay "$WORK/race.replay"
wait_for_line "^replay of circuit $2: .*: all 4 check values match" 1 30 "the replay did not play as recorded"
quit_game
status=0 && "$GAME" --replay "$1/media/this is media.txt" 2>"$WORK/usage" || status=$?
[ "$status" = 2 ] && grep -q "is not a Vorbel Race replay" "$WORK/usage" || fail "a file that is no replay gave status $status"
echo "launcher: ok"
