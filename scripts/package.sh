#!/usr/bin/env bash
# Builds the Debian source and binary packages from a copy of the working tree (the tree itself
# stays clean), checks them with lintian, installs them, runs the installed game headless and removes them again.
# The suite has just run in CI: the package build skips its own run (nocheck).
set -euo pipefail
cd "$(dirname "$0")/.."
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/zyphora"
git ls-files -z --cached --others --exclude-standard |
  tar -c --null -T - --ignore-failed-read -f - | tar -x -C "$work/zyphora"
(cd "$work/zyphora" &&
  DEB_BUILD_OPTIONS="nocheck noddebs parallel=$(nproc)" DEB_BUILD_PROFILES=nocheck \
    dpkg-buildpackage -us -uc >"$work/build.log" 2>&1) || { tail -n 60 "$work/build.log"; exit 1; }
changes=$(ls "$work"/zyphora_*.changes)
ls -l "$work"/*.deb

# lintian reads the overrides in the packages; anything else it reports fails the stage.
lintian --fail-on error,warning --info "$changes"

installed() { dpkg-query -W -f='${Status}' zyphora 2>/dev/null | grep -q "install ok installed"; }
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$work"/zyphora*.deb >/dev/null
trap '$sudo apt-get remove --purge -y -qq zyphora zyphora-data >/dev/null; rm -rf "$work"' EXIT
installed || { echo "zyphora is not installed"; exit 1; }
/usr/games/zyphora --version

# A short headless run from a scratch home: the installed game finds its data in
# /usr/share/games/zyphora, draws its menu for 60 frames and quits. Should the frame-count hook
# ever leave the shipped program, the run still proves the game started, found its data and kept
# running: a game still up after the time limit counts as a pass, any other ending as a failure.
home="$work/home"
mkdir -p "$home"
status=0
(cd "$home" && HOME="$home" XDG_DATA_HOME="$home/.local/share" XDG_CONFIG_HOME="$home/.config" \
  SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ZYPHORA_QUIT_AFTER_FRAMES=60 \
  timeout 20 /usr/games/zyphora) || status=$?
case $status in
  0) echo "the installed game ran 60 frames and quit" ;;
  124) echo "the installed game was still running after 20 s (it does not quit by itself)" ;;
  *) echo "the installed game ended with status $status"; exit 1 ;;
esac

$sudo apt-get remove --purge -y -qq zyphora zyphora-data >/dev/null
trap 'rm -rf "$work"' EXIT
! installed || { echo "zyphora is still installed"; exit 1; }
echo "package built, installed, run and removed"
