#!/usr/bin/env bash
# The shipped program holds none of the host's test hooks (hostTest...) and no frame script:
# it can only be driven by a player. Its symbols are read before they are searched, so that a
# stripped or unreadable program fails instead of passing unseen.
set -euo pipefail
symbols=$(nm -C "$1")
grep -q 'launchZyphora(' <<<"$symbols" || { echo "no symbols to check in $1"; exit 1; }
if hooks=$(grep -E 'hostTest[A-Za-z]*\(|FrameScript|takeScriptOptions' <<<"$symbols"); then
  echo "test hooks in $1:"
  echo "$hooks"
  exit 1
fi
echo "no test hook in $1"
