# Sourced by every script that runs our Windows programs: a quiet Wine, and where its commands are.
export WINEDEBUG=-all
# No Mono or Gecko: nothing here needs them, and their installers would wait for a click.
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
stop_wine_server() { "$wineserver" -k 2>/dev/null || true; }

# Wine takes its ANSI code page from the locale: a Western one (code page 1252), as most of our
# users have. These machines carry only C.UTF-8, under which Wine reads every file name as ASCII,
# so the locale is compiled once beside the prefix.
use_western_locale() {
    local folder=$1
    if [ ! -e "$folder/en_US.UTF-8/LC_CTYPE" ]; then
        mkdir -p "$folder"
        # localedef warns (and exits 1) about details of the source that do not matter here.
        localedef -i en_US -f UTF-8 "$folder/en_US.UTF-8" >/dev/null 2>&1 || true
        [ -e "$folder/en_US.UTF-8/LC_CTYPE" ] || { echo "could not compile en_US.UTF-8" >&2; return 1; }
    fi
    export LOCPATH=$folder
    # This shell itself cannot take the locale (it read LOCPATH at its start) and would say so.
    { export LC_ALL=en_US.UTF-8; } 2>/dev/null
}
if [ -n "${WINEPREFIX:-}" ]; then
    use_western_locale "$WINEPREFIX.locale"
fi
