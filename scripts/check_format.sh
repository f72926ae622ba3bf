#!/usr/bin/env bash
# Fails when a C++ file of the tree is not formatted as .clang-format says; prints the files.
# ./scripts/check_format.sh --fix formats them instead.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
  exit 0
fi
bad=()
for f in "${files[@]}"; do
  clang-format --dry-run -Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done
if [ ${#bad[@]} -gt 0 ]; then
  echo "Not formatted (run scripts/check_format.sh --fix):"
  printf '  %s\n' "${bad[@]}"
  exit 1
fi
echo "all ${#files[@]} C++ files formatted"
