#!/usr/bin/env bash
# Builds Zyphora and its tests (installing what is missing) and runs the suite.
# Extra arguments go to ctest: ./test.sh -R KSpline, ./test.sh -L replay.
# BUILD_DIR and CMAKE_ARGS choose another build (the CI's sanitizer builds use them).
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
build=${BUILD_DIR:-build}
# shellcheck disable=SC2086
cmake -S . -B "$build" -G Ninja ${CMAKE_ARGS:-} >/dev/null
cmake --build "$build"
cd "$build"
# OpenGL tests need an X server: Xvfb with Mesa's software renderer stands in when there is none.
# -noreset: a server that resets as its last client leaves refuses the next one for a moment.
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" ctest --output-on-failure -j2 "$@"
fi
exec ctest --output-on-failure -j2 "$@"
