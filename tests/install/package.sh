#!/usr/bin/env bash
# The Debian package passes Debian's own checker without an error or a warning; it holds the launcher
# in /usr/games, the programs, circuit 0's media, a valid menu entry whose command it installs, and
# the icon; it depends on the runtime libraries. Argument: the build folder.
source "$(dirname "$0")/../e2e/lib.sh"
cpack -G DEB -B "$WORK" --config "$1/CPackConfig.cmake" >/dev/null
package=$(echo "$WORK"/vorbel-race_*_*.deb)
lintian --fail-on error,warning "$package" >"$WORK/lintian" 2>&1 || fail "lintian: $(cat "$WORK/lintian")"
dpkg-deb -x "$package" "$WORK/root"
entry="$WORK/root/usr/share/applications/vorbel-race.desktop"
desktop-file-validate "$entry" || fail "the menu entry is not valid"
command=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
for file in "games/$command" libexec/vorbel-race/vorbel-race libexec/vorbel-race/vorbel-mediagen \
    libexec/vorbel-race/vorbel-race-runner "share/vorbel-race/media/this is media.txt" \
    share/icons/hicolor/48x48/apps/vorbel-race.png share/doc/vorbel-race/copyright; do
    [ -s "$WORK/root/usr/$file" ] || fail "the package lacks /usr/$file"
done
depends=" $(dpkg-deb -f "$package" Depends | sed 's/([^)]*)//g; s/[,|]/ /g') "  # package names only
for library in libbullet3.24 libtinyxml2.6.2v5 libglfw3 libglew2.2 libdevil1c2 libglut3.12 libglu1-mesa libopenal1 \
    libsndfile1; do
    [[ "$depends" == *" $library "* ]] || fail "Depends lacks $library:$depends"
done
echo "package: ok"
