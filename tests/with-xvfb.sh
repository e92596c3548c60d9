#!/usr/bin/env bash
# Runs a command under an X server of its own (1024x768, 24 bits) on a free display number.
set -euo pipefail
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 4 -screen 0 1024x768x24 -nolisten tcp 4>"$fifo" >/dev/null 2>&1 &
server=$!
read -r display <"$fifo"
rm -f "$fifo"
trap 'kill $server 2>/dev/null; wait $server 2>/dev/null || true' EXIT
DISPLAY=":$display" "$@"
