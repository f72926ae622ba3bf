#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR, runs the installed program from another folder
# until the menu has drawn its first frames, and validates the desktop files. When the build
# installs elsewhere, the copy is then moved into Debian's layout for games (games/zyphora,
# share/games/zyphora) and run again.
# Usage: installed_run.sh BUILD_DIR BINDIR DATADIR (the last two relative to the prefix)
set -euo pipefail
build=$1 bindir=$2 datadir=$3
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" cmake --install "$build" --prefix /usr/local >/dev/null
root="$stage/usr/local"
for f in "$bindir/zyphora" "$datadir/data/menu.tga" share/man/man6/zyphora.6 \
         share/applications/zyphora.desktop share/metainfo/org.zyphora.Zyphora.metainfo.xml \
         "$datadir/screenshots/menu.png"; do
  [ -f "$root/$f" ] || { echo "missing $f"; exit 1; }
done
[ ! -e "$root/$datadir/data/LICENSE" ] || { echo "the artwork's license note is installed as data"; exit 1; }
for n in 32 48 128 256; do
  size=$(identify -format '%wx%h' "$root/share/icons/hicolor/${n}x${n}/apps/zyphora.png")
  [ "$size" = "${n}x${n}" ] || { echo "icon ${n}: $size"; exit 1; }
done
# The screenshot is a whole frame of the game, not a blank picture.
shot=$(identify -format '%m %wx%h %[fx:standard_deviation>0.05]' "$root/$datadir/screenshots/menu.png")
[ "$shot" = "PNG 480x480 1" ] || { echo "screenshot: $shot"; exit 1; }
desktop-file-validate "$root/share/applications/zyphora.desktop"
appstreamcli validate --no-net "$root/share/metainfo/org.zyphora.Zyphora.metainfo.xml" >/dev/null

# No data beside the installed program: it must find its share folder itself. SIGTERM closes it
# as closing its window does, and it ends with status 0.
run_installed() {
  local program=$1 home
  home=$(mktemp -d "$stage/home.XXXX")
  (cd "$home" && HOME="$home" XDG_DATA_HOME="$home/.local/share" XDG_CONFIG_HOME="$home/.config" \
    SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
    timeout --preserve-status -s TERM 6 "$program")
  [ -s "$home/.local/share/zyphora/zyphor.prf" ] || { echo "$program wrote no preferences"; exit 1; }
  echo "$program ran and wrote its preferences"
}
run_installed "$root/$bindir/zyphora"
if [ "$bindir" != games ] || [ "$datadir" != share/games/zyphora ]; then
  mkdir -p "$root/games" "$root/share/games"
  mv "$root/$bindir/zyphora" "$root/games/zyphora"
  mv "$root/$datadir" "$root/share/games/zyphora"
  run_installed "$root/games/zyphora"
fi
