#!/usr/bin/env bash
# Drives the real tarnwick.exe under Wine in a private X server with a window manager, through real
# clicks and keys, and reads it and its console hosts back with win_inspector.exe:
#   e2e_windows.sh PREFIX tarnwick.exe win_inspector.exe standin_compiler.exe
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export WINEPREFIX=$1
program=$2 inspector=$3 standin=$4
source "$here/lib-wine.sh"

scratch=$(mktemp -d)
source "$here/../../scripts/lib-xvfb.sh"
xvfb_start
finish() { stop_wine_server; xvfb_stop; rm -rf "$scratch"; }
trap finish EXIT
openbox >/dev/null 2>&1 &

windows_path() { printf 'Z:%s' "${1//\//\\}"; }
mkdir -p "$scratch/work" "$scratch/maps" "$scratch/records"
cp "$standin" "$scratch/work/BSPC.exe"
touch "$scratch/maps/dm 1.bsp" "$scratch/maps/readme.txt"
export TARNWICK_RECORD_DIR=$(windows_path "$scratch/records")

failures=0
inspect() { "$wine" "$inspector" "$@" | tr -d '\r'; }
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
expect() { # WHAT EXPECTED ACTUAL
    [ "$2" = "$3" ] || fail "$1: got [$3], expected [$2]"
}
# Waits up to 10 s for an inspector answer.
wait_for() { # EXPECTED COMMAND...
    local expected=$1 answer
    shift
    for _ in $(seq 50); do
        answer=$(inspect "$@" || true)
        [ "$answer" = "$expected" ] && return 0
        sleep 0.2
    done
    fail "waited for [$expected] from $*, last [$answer]"
}
wait_for_state_line() { # LINE EXPECTED
    for _ in $(seq 50); do
        [ "$(inspect state | sed -n "$1p")" = "$2" ] && return 0
        sleep 0.2
    done
    fail "waited for line $1 of the state to be [$2], last [$(inspect state | sed -n "$1p")]"
}
# Input reaches the window in order, so a click needs no pause; what it changes is waited for.
click() {
    local x y
    read -r x y < <(inspect place "$1")
    xdotool mousemove "$x" "$y" click 1
}
dismiss_message() { # TEXT
    wait_for "tarnwick: $1" message
    xdotool key Return
    wait_for none message
}
choose_file() { # PATH
    wait_for "$2" dialog
    xdotool type --delay 10 "$(windows_path "$1")"
    xdotool key Return
    wait_for none dialog
}

start_program() {
    (cd "$scratch/work" && exec "$wine" "$program") &
    for _ in $(seq 100); do inspect state >/dev/null 2>&1 && break; sleep 0.2; done
    wait_for Command2 focus
}

start_program
inspect check-start || fail "the start state"

echo "# The keyboard: Tab follows the table past disabled controls, Return presses a button, Space toggles a box"
expect "first focus" Command2 "$(inspect focus)"
xdotool key Return
wait_for "Select Quake3 BSP" dialog
xdotool key Escape
wait_for none dialog
xdotool key Tab
expect "after one Tab" cmdProcess "$(inspect focus)"
xdotool key Return
dismiss_message "You must select a .BSP file"
xdotool key Tab
expect "after two Tabs" chkProcessors "$(inspect focus)"
xdotool key space
wait_for_state_line 1 "checked: chkProcessors"
xdotool key Tab
expect "Check3 is skipped" chkOutput "$(inspect focus)"
xdotool key space

echo "# Messages: no file, then the interlocks through clicks"
click cmdProcess
dismiss_message "You must select a .BSP file"
xdotool key Return
dismiss_message "You must select a .BSP file"
click chkOptimiseAas
wait_for "checked: chkProcessors chkOptimiseAas
disabled: Command2 Check3 Check4 Check1
path: " state
click cmdProcess
dismiss_message "You must select a .AAS file"
click cmdSelectAAS
choose_file "$scratch/maps/dm 1.bsp" Open
click cmdProcess
dismiss_message "You have not selected a valid .AAS"
click chkLiquids
click chkReach
wait_for "checked: chkProcessors chkReach
disabled: Check3 Check4 Check1 cmdSelectAAS
path: " state
click chkReach

echo "# A typical request through the real file dialog"
click Command2
choose_file "$scratch/maps/readme.txt" "Select Quake3 BSP"
click cmdProcess
dismiss_message "You have not selected a valid .BSP"
click Command2
choose_file "$scratch/maps/dm 1.bsp" "Select Quake3 BSP"
click chkLiquids
bsp=$(windows_path "$scratch/maps/dm 1.bsp")
wait_for "checked: chkProcessors chkLiquids
disabled: Check3 Check4 Check1 cmdSelectAAS
path: $bsp" state
click Command2
wait_for "Select Quake3 BSP" dialog
xdotool key Escape
wait_for none dialog
expect "a cancel keeps the file" "path: $bsp" "$(inspect state | tail -1)"
click cmdProcess
for _ in $(seq 50); do ls "$scratch/records"/*.record >/dev/null 2>&1 && break; sleep 0.2; done
record=$(cat "$scratch"/records/*.record 2>/dev/null | tr -d '\r' || true)
expect "the compiler's arguments" "BSPC
-bsp2aas
$bsp
-threads
2
-noliquids" "$(grep '^crt=' <<<"$record" | cut -d= -f2-)"
expect "its command line" "BSPC -bsp2aas \"$bsp\" -threads 2 -noliquids" "$(grep '^commandLine=' <<<"$record" | cut -d= -f2-)"
host=$(inspect hosts)
expect "one console host" 1 "$(wc -w <<<"$host")"
grep -qx "consoleProcess=$host" <<<"$record" || fail "the compiler is not in the console host's console"
expect "the host's console, minimized and titled" "title: BSPC -bsp2aas \"$bsp\" -threads 2 -noliquids
minimized: yes" "$(inspect console "$host" | head -2)"
expect "the printed line" "BSPC -bsp2aas \"$bsp\" -threads 2 -noliquids" "$(inspect panel | tail -1)"
rm -f "$scratch"/records/*

echo "# Closing Tarnwick leaves a running compiler and its console running"
export TARNWICK_LINGER_MS=3000
stop_wine_server
"$wineserver" -w
start_program
click Command2
choose_file "$scratch/maps/dm 1.bsp" "Select Quake3 BSP"
click cmdProcess
for _ in $(seq 50); do ls "$scratch/records"/*.record >/dev/null 2>&1 && break; sleep 0.2; done
inspect close
wait_for "no window" state
for _ in $(seq 50); do ls "$scratch/records"/*.done >/dev/null 2>&1 && break; sleep 0.2; done
ls "$scratch/records"/*.done >/dev/null 2>&1 || fail "the compiler did not run to its end"
host=$(inspect hosts)
ending="Finished with exit status 0 after"
for _ in $(seq 50); do inspect console "$host" | grep -q "^$ending" && break; sleep 0.2; done
inspect console "$host" | grep -q "^$ending" || fail "the console does not say how the run ended"

echo "# A missing compiler"
rm "$scratch/work/BSPC.exe"
start_program
click Command2
choose_file "$scratch/maps/dm 1.bsp" "Select Quake3 BSP"
click cmdProcess
dismiss_message "BSPC.exe does not seem to be in the current Directory"
expect "printed before the message" "BSPC -bsp2aas \"$bsp\"" "$(inspect panel | tail -1)"

[ "$failures" -eq 0 ] && echo "e2e_windows: all passed"
exit "$failures"
