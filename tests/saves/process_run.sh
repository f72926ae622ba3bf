#!/usr/bin/env bash
# The real program in processes of its own, each case in a scratch home:
#   signals          SIGHUP, SIGTERM and SIGINT end the running menu with status 0, the file saved;
#                    a SIGHUP ignored from the start (nohup) is left ignored
#   no_display       no X, no Wayland, no driver asked for: a message and status 1
#   box_then_signal  a damaged menu music shows its box at start; SIGTERM ends the game, saved
#   display_lost     the X server killed under the running menu: status 1, the file saved
# Usage: process_run.sh <case> <zyphora executable>
set -euo pipefail
case=$1
program=$(realpath "$2")
scratch=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$scratch"
}
trap cleanup EXIT
fail() {
  echo "FAIL ($case): $*"
  for f in out err; do [ -f "$scratch/$f" ] && sed "s/^/  std$f: /" "$scratch/$f"; done
  exit 1
}

export HOME=$scratch/home XDG_DATA_HOME=$scratch/home/data XDG_CONFIG_HOME=$scratch/home/config
export SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=0
prefs=$XDG_DATA_HOME/zyphora/zyphor.prf
mkdir -p "$HOME"

# Starts the program in the background (its stdout and stderr kept); sets $game.
start() {
  "$@" >"$scratch/out" 2>"$scratch/err" &
  game=$!
  pids+=("$game")
}
# Waits for a condition (a shell command) for up to 180 s: a sanitizer build starts slowly.
await() {
  local deadline=$((SECONDS + 180))
  while [ $SECONDS -lt $deadline ]; do eval "$1" && return 0; sleep 0.1; done
  kill -0 "$game" 2>/dev/null || { local status=0; wait "$game" || status=$?; fail "ended (status $status) before: $1"; }
  fail "timed out waiting for: $1"
}
# Waits for the game to end and checks its status.
expect_status() {
  local status=0
  for _ in $(seq 300); do kill -0 "$game" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$game" 2>/dev/null && fail "still running 30 s later"
  wait "$game" || status=$?
  [ "$status" = "$1" ] || fail "status $status, not $1"
}
expect_saved() { [ "$(stat -c %s "$prefs" 2>/dev/null)" = 56 ] || fail "no preferences saved"; }
# On the dummy driver nothing shows how far the game has got: a signal at any point after the
# first instants must end it saved, so the menu is given a moment and no more.
settle() { sleep 2; kill -0 "$game" 2>/dev/null || fail "ended by itself"; }
# On an X server the menu shows once it has read the preferences: the screen is no longer black.
menu_drawn() {
  [ "$(import -display "$DISPLAY" -window root png:- 2>/dev/null |
       identify -format '%[fx:standard_deviation>0.02]' - 2>/dev/null)" = 1 ]
}
# Its own X server, on a free display, that does not reset between clients; sets $DISPLAY.
start_x() {
  Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 800x600x24 3>"$scratch/display" 2>/dev/null &
  xserver=$!
  pids+=("$xserver")
  await '[ -s "$scratch/display" ]'
  export DISPLAY=:$(cat "$scratch/display")
}
box_processes() { cat /proc/"$game"/task/*/children 2>/dev/null | wc -w; }

case $case in
signals)
  for signal in HUP TERM INT; do
    rm -rf "$XDG_DATA_HOME"
    # A background command of a script starts with SIGINT ignored: give it its default back.
    start env --default-signal=INT SDL_VIDEODRIVER=dummy "$program"
    settle
    kill -s "$signal" "$game"
    expect_status 0
    expect_saved
  done
  start nohup env SDL_VIDEODRIVER=dummy "$program"
  settle
  kill -s HUP "$game"
  sleep 1
  kill -0 "$game" 2>/dev/null || fail "nohup's SIGHUP ended the game"
  kill -s TERM "$game"
  expect_status 0
  ;;
no_display)
  start env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$program"
  expect_status 1
  grep -q "^Zyphora needs a graphical desktop: no display could be opened (.\+)" "$scratch/err" ||
    fail "no message"
  ;;
box_then_signal)
  # A copy of the program beside a copy of its data, with the menu music damaged.
  data=$(dirname "$program")/data
  mkdir -p "$scratch/game/data/audio"
  cp "$program" "$scratch/game/zyphora"
  for f in "$data"/*; do [ "$(basename "$f")" = audio ] || ln -s "$f" "$scratch/game/data/"; done
  for f in "$data"/audio/*; do ln -s "$f" "$scratch/game/data/audio/"; done
  rm "$scratch/game/data/audio/menu.ogg"
  head -c 4000 /dev/zero | tr '\0' 'z' >"$scratch/game/data/audio/menu.ogg"
  start_x
  start env -u SDL_VIDEODRIVER "$scratch/game/zyphora"
  await '[ "$(box_processes)" -gt 0 ]'  # SDL shows the X11 box from a child process
  box=$(cat /proc/"$game"/task/*/children)
  sleep 0.5
  kill -TERM "$game"
  expect_status 0
  expect_saved
  for pid in $box; do kill -0 "$pid" 2>/dev/null && fail "the box's process $pid is still there"; done
  grep -q "error could not detect ogg file: .*/data/audio/menu.ogg" "$scratch/err" ||
    fail "the box's text does not name the file"
  ;;
display_lost)
  start_x
  start env -u SDL_VIDEODRIVER "$program"
  await menu_drawn
  kill "$xserver"
  expect_status 1
  expect_saved
  grep -q "the connection to the display was lost" "$scratch/err" || fail "not said"
  ;;
*) fail "unknown case" ;;
esac
echo "$case: passed"
