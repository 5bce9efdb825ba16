#!/usr/bin/env bash
# Drives the real program in a real X window as a user would, against a fake compiler:
#   e2e_process_file.sh PATH/TO/tarnwick
# Checks the message box on an empty request, then picks a map through the file dialog, ticks two
# options, checks the exact arguments the compiler receives and the console window it runs in, and
# closes the main window through its close box while the compiler and its console go on running.
# A second press runs beside the first: the first run writes nothing, the second writes the .aas,
# and each console's last line says so.
# A window manager runs, so that minimizing is real.
set -euo pipefail
program=$(realpath "$1")
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../../scripts/lib-xvfb.sh"

scratch=$(mktemp -d)
cleanup() {
    for pid in "$scratch"/compiler.*.pid; do
        [ -f "$pid" ] && kill "$(cat "$pid")" 2>/dev/null || true
    done
    xvfb_stop
    rm -rf "$scratch"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# A working directory holding the fake compiler, and a map in a folder whose name has a blank.
work="$scratch/work"
maps="$scratch/my maps"
mkdir -p "$work" "$maps" "$scratch/home"
touch "$maps/dm 1.bsp"
# It counts its runs, redraws a counter in place, says a last line, and once the test releases it
# writes the .aas, if it was told to when it started (a header the game would take, with no lumps),
# or says it found no files, as the real one does, and ends with status 0 either way.
cat >"$work/BSPC" <<SCRIPT
#!/bin/sh
run=\$(( \$(cat "$scratch/runs" 2>/dev/null || echo 0) + 1 ))
echo \$run > "$scratch/runs"
[ -f "$scratch/write" ] && writes=yes || writes=
echo \$\$ > "$scratch/compiler.\$run.pid"
printf '%s\0' "\$@" > "$scratch/args.tmp" && mv "$scratch/args.tmp" "$scratch/args.\$run"
i=0
while [ \$i -lt 200 ]; do printf '\r%6d' \$i; i=\$((i + 1)); done
printf '\nlast line of the compiler\n'
for _ in \$(seq 300); do
    [ -f "$scratch/release.\$run" ] || { sleep 0.1; continue; }
    if [ -n "\$writes" ]; then
        { printf 'EAAS\\004\\0\\0\\0'; head -c 7592 /dev/zero; } > "\${2%.*}.aas"
    else
        echo "no files found"
    fi
    exit 0
done
exit 1
SCRIPT
chmod +x "$work/BSPC"

xvfb_start
trap cleanup EXIT
export QT_QPA_PLATFORM=xcb HOME="$scratch/home" XDG_RUNTIME_DIR="$scratch"
openbox --sm-disable >/dev/null 2>&1 &
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done
# The program takes no arguments: were these read, it would open no X window at all.
(cd "$work" && exec "$program" -platform offscreen -reverse --help) &
program_pid=$!

window=$(timeout 20 xdotool search --sync --name '^Tarnwick v0\.05$' | head -n 1)
[ -n "$window" ] || fail "the main window did not appear"

# Centre of a control, in window pixels, from its place in twips.
click_at() { xdotool mousemove --window "$window" "$1" "$2" click 1; }
click_process() { click_at 244 24; }
click_select_bsp() { click_at 84 24; }
wait_for_title() { timeout 10 xdotool search --sync --onlyvisible --name "$1" | head -n 1; }
wait_gone() {
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    fail "window '$1' stayed open"
}

# 1. Nothing chosen: the box titled "tarnwick" says so; Return dismisses it.
click_process
box=$(wait_for_title '^tarnwick$')
[ -n "$box" ] || fail "no message box after Process file with nothing chosen"
xdotool key Return
wait_gone '^tarnwick$'

# 2. Choose the map by typing its full path into the dialog.
click_select_bsp
dialog=$(wait_for_title '^Select Quake3 BSP$')
[ -n "$dialog" ] || fail "the BSP dialog did not open"
for _ in $(seq 50); do
    [ "$(xdotool getactivewindow 2>/dev/null)" = "$dialog" ] && break
    sleep 0.1
done
[ "$(xdotool getactivewindow 2>/dev/null)" = "$dialog" ] || fail "the BSP dialog did not take the focus"
xdotool type --delay 5 "$maps/dm 1.bsp"
xdotool key Return
wait_gone '^Select Quake3 BSP$'
# Like a user's hand, the pointer enters the window before it clicks.
xdotool mousemove --window "$window" 160 150
sleep 0.3

# 3. Tick "Dual Processors. (NT only)" and "Dont write liquids to map", then process.
click_at 16 100
click_at 16 220
click_process

wait_for_run() {
    for _ in $(seq 100); do
        [ -f "$scratch/args.$1" ] && return 0
        sleep 0.1
    done
    fail "the compiler was not started for run $1"
}
wait_for_run 1
expected=$(printf '%s\0' -bsp2aas "$maps/dm 1.bsp" -threads 2 -noliquids | od -c)
actual=$(od -c <"$scratch/args.1")
[ "$expected" = "$actual" ] || fail "the compiler got other arguments:"$'\n'"$actual"
# A message box comes only before a launch, so by now it would be there.
xdotool search --onlyvisible --name '^tarnwick$' >/dev/null 2>&1 && fail "a message box appeared after a good request"

# 4. Each run has a console window titled with the command line exactly, started minimized.
command_line="BSPC -bsp2aas \"$maps/dm 1.bsp\" -threads 2 -noliquids"
# The console of that title that is not among those given.
find_console() {
    for _ in $(seq 100); do
        for candidate in $(xdotool search --name '^BSPC -bsp2aas ' 2>/dev/null); do
            [[ " $* " == *" $candidate "* ]] && continue
            [ "$(xdotool getwindowname "$candidate")" = "$command_line" ] && echo "$candidate" && return 0
        done
        sleep 0.1
    done
    fail "no new console window titled: $command_line"
}
wm_state() { xprop -id "$1" WM_STATE 2>/dev/null | sed -n 's/.*window state: //p'; }
expect_minimized() {
    for _ in $(seq 50); do
        [ "$(wm_state "$1")" = Iconic ] && return 0
        sleep 0.1
    done
    fail "the console did not start minimized: $(wm_state "$1")"
}
first=$(find_console)
expect_minimized "$first"

# A second press runs beside the first, and this time the compiler writes the .aas.
touch "$scratch/write"
click_process
wait_for_run 2
second=$(find_console "$first")
expect_minimized "$second"

# 5. The close box ends the program at once; the compilers and their consoles run on.
"$here/tools/close_window.py" "$window"
for _ in $(seq 100); do
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$program_pid" 2>/dev/null && fail "the program did not end when its window was closed"
wait "$program_pid" || fail "the program ended with status $?"
for run in 1 2; do
    kill -0 "$(cat "$scratch/compiler.$run.pid")" 2>/dev/null || fail "compiler $run did not outlive the program"
done
for console in "$first" "$second"; do
    xdotool getwindowname "$console" >/dev/null 2>&1 || fail "a console did not outlive the program"
done

# 6. Once a compiler ends, its console holds its output as a terminal shows it, then how it ended
# and whether the map's .aas was written: the counter overwritten in place, not piled up. Read as a
# user would, by copying it; the time a run took varies.
attention() { xprop -id "$1" _NET_WM_STATE 2>/dev/null | grep -q _NET_WM_STATE_DEMANDS_ATTENTION; }
expect_console() {
    local console=$1 expected=$2 copied=
    # Its run has ended while it was minimized: it asks for the user's attention, as a bell does.
    for _ in $(seq 100); do
        attention "$console" && break
        sleep 0.1
    done
    attention "$console" || fail "the minimized console did not ask for attention when its run ended"
    xdotool windowactivate "$console" 2>/dev/null || true
    for _ in $(seq 50); do
        xdotool mousemove --window "$console" 40 40 click 1 key ctrl+a key ctrl+c
        sleep 0.2
        copied=$(xclip -o -selection clipboard 2>/dev/null | sed -E 's/ after [0-9.]+ s/ after T/' || true)
        [ "$copied" = "$expected" ] && return 0
    done
    fail "the console shows:"$'\n'"$copied"
}
# 7. Its close box ends a console.
close_console() {
    "$here/tools/close_window.py" "$1"
    for _ in $(seq 100); do
        xdotool getwindowname "$1" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    fail "the console did not close"
}
shown=$'   199\nlast line of the compiler\n'
touch "$scratch/release.1"
expect_console "$first" "${shown}no files found
Finished with exit status 0 after T, but $maps/dm 1.aas was not written: see the messages above and bspc.log in $work."
close_console "$first"
touch "$scratch/release.2"
expect_console "$second" "${shown}Finished with exit status 0 after T: wrote $maps/dm 1.aas (7.4 KiB)."
close_console "$second"
echo "e2e: the compiler received exactly -bsp2aas, the path, -threads, 2, -noliquids; two consoles started" \
    "minimized side by side, outlived the closed main window, asked for attention at the end and showed" \
    "their output and ending: not written, then written with its size"
