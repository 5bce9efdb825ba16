#!/usr/bin/env bash
# Runs one Windows program under Wine in a private X server and stops Wine's server after it, so
# that no test sees another's display:
#   wine_run.sh PREFIX PROGRAM.exe [ARGUMENT...]
#   wine_run.sh PREFIX --prepare          (makes a fresh prefix, once per test run)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export WINEPREFIX=$1
shift
source "$here/lib-wine.sh"
source "$here/../../scripts/lib-xvfb.sh"
xvfb_start
stop_wine() { stop_wine_server; xvfb_stop; }
trap stop_wine EXIT

if [ "$1" = "--prepare" ]; then
    rm -rf "$WINEPREFIX"
    "$wine" wineboot --init >/dev/null 2>&1
    "$wineserver" -w
    # Wine's own Tahoma and MS Sans Serif, which its dialog font maps to, as a stock Wine has them.
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
    exit 0
fi
"$wine" "$@"
