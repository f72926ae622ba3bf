#!/usr/bin/env bash
# The AVX2 span loops run only where the processor has AVX2, so no code of theirs may stand in for
# code the other sources share: every function of the AVX2 object that the linker may merge with
# another source's copy (a weak symbol) must be free of AVX (VEX-encoded) instructions.
# Usage: avx2_kept_apart.sh <libzy_ddraw.a>
set -euo pipefail
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"
ar x "$1" raster_avx2.cpp.o
nm raster_avx2.cpp.o | awk '$2 ~ /^[WV]$/ { print $3 }' >weak
objdump -d --no-show-raw-insn raster_avx2.cpp.o >code
grep -q ymm code || { echo "FAIL: the AVX2 object has no AVX2 code"; exit 1; }
awk 'NR == FNR { weak[$1] = 1; next }
     /^[0-9a-f]+ <.*>:$/ { match($0, /<.*>/); name = substr($0, RSTART + 1, RLENGTH - 2); next }
     /\tv[a-z]|ymm/ && (name in weak) && !(name in told) { print "FAIL: AVX in shared " name; told[name] = 1; bad = 1 }
     END { exit bad }' weak code | c++filt
echo "$(wc -l <weak) shared functions, none with AVX"
