# Sourced by every script that runs our Windows programs: a quiet Wine, and where its commands are.
export WINEDEBUG=-all
# No Mono or Gecko: nothing here needs them, and their installers would wait for a click.
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
stop_wine_server() { "$wineserver" -k 2>/dev/null || true; }
