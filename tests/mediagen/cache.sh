#!/usr/bin/env bash
# Circuits in the cache: a generator killed midway leaves nothing that is taken for a circuit, and six
# starts of one circuit at once all succeed while a game-like reader never finds the marker beside a
# partial circuit; afterwards only the media and the lock file remain. Argument: the generator.
set -euo pipefail
work=$(mktemp -d /tmp/vorbel-cache-XXXXXX)
trap 'kill $(jobs -p) 2>/dev/null || true; wait; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
listing() { (cd "$1" 2>/dev/null && find . -type f -printf '%p %s\n' | sort); }  # partial files are shorter
folder="$work/cache/7" media="$work/cache/7/media"
"$1" "$work/whole" 7 >/dev/null
whole=$(listing "$work/whole")

for attempt in 1 2 3 4 5; do  # again when the generator ends before it is killed
  "$1" --ensure "$media" 7 & start=$!
  until compgen -G "$folder/.media.work-*/textures/*" >/dev/null || [ -e "$media" ]; do :; done
  kill -9 $start 2>/dev/null && ! wait $start 2>/dev/null && break
  rm -rf "$media"
done
[ ! -e "$media" ] || fail "a killed generator left $(ls "$media")"

(seen=""; while [ ! -e "$work/done" ]; do
  if [ -e "$media/this is media.txt" ]; then [ "$(listing "$media")" = "$whole" ] || touch "$work/partial"; seen=1
  elif [ -n "$seen" ]; then touch "$work/partial"; fi
done) &
starts=()
for start in 1 2 3 4 5 6; do "$1" --ensure "$media" 7 & starts+=($!); done
for start in "${starts[@]}"; do wait "$start" || fail "a start failed"; done
touch "$work/done" && wait
[ ! -e "$work/partial" ] || fail "a game found the marker beside a partial circuit"
[ "$(ls -A "$folder")" = "$(printf '.media.lock\nmedia')" ] || fail "beside the media: $(ls -A "$folder")"
echo "cache: ok"
