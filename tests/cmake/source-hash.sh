#!/usr/bin/env bash
# source_hash() follows its sources: one set of sources in two folders gets one identity, and an
# edited source another one at the next build. Argument: the source folder.
set -euo pipefail
work=$(mktemp -d /tmp/vorbel-hash-XXXXXX)
trap 'rm -rf "$work"' EXIT
for copy in a b; do
  mkdir "$work/$copy" && echo one >"$work/$copy/s.txt"
  printf 'cmake_minimum_required(VERSION 3.18)\nproject(h NONE)\ninclude(%s/cmake/SourceHash.cmake)\n%s\n%s\n' "$1" \
    'source_hash(h.h build FILES s.txt)' 'add_custom_target(h ALL DEPENDS h.h)' >"$work/$copy/CMakeLists.txt"
  cmake -S "$work/$copy" -B "$work/$copy/b" >/dev/null && cmake --build "$work/$copy/b" >/dev/null
done
cmp "$work"/{a,b}/b/h.h || { echo "FAIL: one set of sources, two identities"; exit 1; }
echo two >"$work/a/s.txt" && cmake --build "$work/a/b" >/dev/null
cmp -s "$work"/{a,b}/b/h.h && { echo "FAIL: an edited source kept its identity"; exit 1; }
echo "source hash: ok"
