# Sourced by scripts and tests that need a real X display: starts a private Xvfb on a free display
# number and stops it, with everything else started in the background, on exit.
xvfb_start() {
    local fifo
    fifo=$(mktemp -u) && mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
    XVFB_PID=$!
    read -r -t 20 display_number <"$fifo" || { rm -f "$fifo"; echo "Xvfb did not start" >&2; return 1; }
    rm -f "$fifo"
    export DISPLAY=":$display_number"
    trap xvfb_stop EXIT
}

# Stops the programs first, so that none of them sees its display vanish, then the server.
xvfb_stop() {
    local pid
    for pid in $(jobs -p); do
        [ "$pid" = "${XVFB_PID:-}" ] || kill "$pid" 2>/dev/null
    done
    [ -n "${XVFB_PID:-}" ] && sleep 0.2 && kill "$XVFB_PID" 2>/dev/null
    wait 2>/dev/null
    return 0
}
