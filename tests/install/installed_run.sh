#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR, runs the installed program from another folder
# until the menu has drawn its first frames, and validates the desktop files.
set -euo pipefail
build=$1
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" cmake --install "$build" --prefix /usr/local >/dev/null
root="$stage/usr/local"
for f in bin/zyphora share/zyphora/data/menu.tga share/man/man6/zyphora.6 \
         share/applications/zyphora.desktop share/metainfo/org.zyphora.Zyphora.metainfo.xml \
         share/zyphora/screenshots/menu.png; do
  [ -f "$root/$f" ] || { echo "missing $f"; exit 1; }
done
for n in 32 48 128 256; do
  size=$(identify -format '%wx%h' "$root/share/icons/hicolor/${n}x${n}/apps/zyphora.png")
  [ "$size" = "${n}x${n}" ] || { echo "icon ${n}: $size"; exit 1; }
done
# The screenshot is a whole frame of the game, not a blank picture.
shot=$(identify -format '%m %wx%h %[fx:standard_deviation>0.05]' "$root/share/zyphora/screenshots/menu.png")
[ "$shot" = "PNG 480x480 1" ] || { echo "screenshot: $shot"; exit 1; }
desktop-file-validate "$root/share/applications/zyphora.desktop"
appstreamcli validate --no-net "$root/share/metainfo/org.zyphora.Zyphora.metainfo.xml" >/dev/null
# No data beside the installed program: it must find share/zyphora itself. It has no scripted
# end: SIGTERM closes it as closing its window does, and it ends with status 0.
cd "$stage"
HOME="$stage" SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
  timeout --preserve-status -s TERM 6 "$root/bin/zyphora"
[ -s "$stage/.local/share/zyphora/zyphor.prf" ] || { echo "no preferences written"; exit 1; }
echo "installed copy ran and wrote its preferences"
