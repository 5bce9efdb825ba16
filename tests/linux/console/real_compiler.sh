#!/usr/bin/env bash
# Runs the real compiler through the console host on a real map, as a press would start it, and
# reads the host's last line (without a display the host relays to its standard output):
#   real_compiler.sh HOST BSPC MAP
# The map as it is gets the written line with the .aas size, made for the map; once one letter of
# the map changes, the old .aas optimised is made for another version, and reachabilities over its
# areas are areas of another version, until the map is compiled again. The same map named in upper
# case is "no files found" for the compiler, which still exits 0, and gets the not-written line.
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

# The host's last line for one run (MODE FILE), with the time the run took, which varies, left out.
ending_of() {
    QT_QPA_PLATFORM=offscreen "$host" - "BSPC $1 \"$2\"" "$bspc" "$1" "$2" >"$scratch/output" 2>&1 ||
        fail "the host failed: $(cat "$scratch/output")"
    tail -n 1 "$scratch/output" | sed -E 's/ after [0-9.]+ s/ after T/'
}

map="$scratch/my maps/testbox.bsp" aas="$scratch/my maps/testbox.aas"
ok="Finished with exit status 0 after T: wrote $aas"
again="Compile the map again with Recalculate reachabilities and Optimise .AAS file unticked."
expect() { # MODE FILE ENDING
    ending=$(ending_of "$1" "$2")
    [ "$ending" = "$3" ] || fail "after $1 the console ends with: $ending"
}
expect -bsp2aas "$map" "$ok (7.4 KiB) for $map as it is now."
cp "$aas" "$scratch/old.aas"
perl -0777 -pi -e 's/bspc testbed box/bspc testbed bux/' "$map"
expect -aasopt "$aas" "$ok (3.3 KiB), but it was made for another version of $map: the game will refuse it as out of date. $again"
cp "$scratch/old.aas" "$aas"
expect -reach "$map" "$ok (7.4 KiB), but its areas were made for another version of $map: bots would move by the old map. $again"
expect -bsp2aas "$map" "$ok (7.4 KiB) for $map as it is now."

ending=$(ending_of -bsp2aas "$scratch/UPPER/TESTBOX.BSP")
grep -q "no files found" "$scratch/output" || fail "the compiler found the upper-case map: $(cat "$scratch/output")"
expected="Finished with exit status 0 after T, but $scratch/UPPER/TESTBOX.aas was not written: see the messages above and bspc.log in $scratch/work."
[ "$ending" = "$expected" ] || fail "after no files found the console ends with: $ending"
echo "real compiler: testbox.bsp made for the map, then for another version, then areas of another version, then made for it again; TESTBOX.BSP ended with the not-written line"
