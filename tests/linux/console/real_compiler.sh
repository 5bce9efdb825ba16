#!/usr/bin/env bash
# Runs the real compiler through the console host on a real map, as a press would start it, and
# reads the host's last line (without a display the host relays to its standard output):
#   real_compiler.sh HOST BSPC MAP
# The map as it is gets the written line with the .aas size; the same map named in upper case is
# "no files found" for the compiler, which still exits 0, and gets the not-written line.
set -euo pipefail
host=$(realpath "$1") bspc=$(realpath "$2") map=$(realpath "$3")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
mkdir -p "$scratch/work" "$scratch/my maps" "$scratch/UPPER"
cp "$map" "$scratch/my maps/testbox.bsp"
cp "$map" "$scratch/UPPER/TESTBOX.BSP"
cd "$scratch/work"

# The host's last line, with the time the run took, which varies, left out.
ending_of() {
    QT_QPA_PLATFORM=offscreen "$host" - "BSPC -bsp2aas \"$1\"" "$bspc" -bsp2aas "$1" >"$scratch/output" 2>&1 ||
        fail "the host failed: $(cat "$scratch/output")"
    tail -n 1 "$scratch/output" | sed -E 's/ after [0-9.]+ s/ after T/'
}

aas="$scratch/my maps/testbox.aas"
ending=$(ending_of "$scratch/my maps/testbox.bsp")
size=$(stat -c %s "$aas")
[ "$size" -gt 1024 ] || fail "the compiler wrote $size bytes"
expected="Finished with exit status 0 after T: wrote $aas ($(awk -v b="$size" 'BEGIN { printf "%.1f", b / 1024 }') KiB)."
[ "$ending" = "$expected" ] || fail "after a good run the console ends with: $ending"

ending=$(ending_of "$scratch/UPPER/TESTBOX.BSP")
grep -q "no files found" "$scratch/output" || fail "the compiler found the upper-case map: $(cat "$scratch/output")"
expected="Finished with exit status 0 after T, but $scratch/UPPER/TESTBOX.aas was not written: see the messages above and bspc.log in $scratch/work."
[ "$ending" = "$expected" ] || fail "after no files found the console ends with: $ending"
echo "real compiler: testbox.bsp wrote $size bytes and said so; TESTBOX.BSP ended with the not-written line"
