#!/usr/bin/env bash
# The store screenshot, taken by the game itself: the built program, driven by a frame script,
# runs headless in a scratch home, F12 saves its title menu once the menu has settled, and the
# saved picture is moved to the path asked for.
#   Usage: take_screenshot.sh <zyphora-scripted executable> <output.png>
set -euo pipefail
program=$1
output=$2
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
# A sanitizer build's findings belong to its tests, not to this build step.
saved=$(HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
  SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=0 TSAN_OPTIONS=report_bugs=0 \
  timeout 120 "$program" --screenshot-after-frames=240 --quit-after-frames=245 | tail -n 1)
[ -s "$saved" ] || { echo "the game saved no screenshot" >&2; exit 1; }
mkdir -p "$(dirname "$output")"
mv "$saved" "$output"
