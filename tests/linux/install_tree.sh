#!/usr/bin/env bash
# Installs the build into a scratch prefix and builds the Debian package, then checks both:
#   install_tree.sh BUILD-DIR
set -euo pipefail
build=$(realpath "$1")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

id=org.tarnwick.Tarnwick
installed=(
    bin/tarnwick
    libexec/tarnwick/tarnwick-console
    libexec/tarnwick/tarnwick-console-window
    share/applications/$id.desktop
    share/metainfo/$id.metainfo.xml
    share/icons/hicolor/16x16/apps/$id.png
    share/icons/hicolor/32x32/apps/$id.png
    share/icons/hicolor/scalable/apps/$id.svg
    share/man/man1/tarnwick.1.gz
    share/doc/tarnwick/copyright
    share/doc/tarnwick/changelog.gz
)

cmake --install "$build" --prefix "$scratch/prefix" >/dev/null
for file in "${installed[@]}"; do
    [ -f "$scratch/prefix/$file" ] || fail "not installed: $file"
done
[ -x "$scratch/prefix/bin/tarnwick" ] || fail "the program is not executable"
for stage in tarnwick-console tarnwick-console-window; do
    [ -x "$scratch/prefix/libexec/tarnwick/$stage" ] || fail "the console host's $stage is not executable"
done
cmp -s "$scratch/prefix/share/doc/tarnwick/copyright" "$(dirname "$0")/../../LICENSE" || fail "copyright is not the licence"

# The validators exit 0 on hints; warnings and errors must not appear at all.
entry=$(desktop-file-validate "$scratch/prefix/share/applications/$id.desktop" 2>&1) || fail "$entry"
grep -qiE 'error|warning' <<<"$entry" && fail "desktop entry: $entry"
metainfo=$(appstreamcli validate --no-net "$scratch/prefix/share/metainfo/$id.metainfo.xml" 2>&1) || fail "$metainfo"
grep -qE '^[EW]:' <<<"$metainfo" && fail "metainfo: $metainfo"
grep -q '^Exec=tarnwick$' "$scratch/prefix/share/applications/$id.desktop" || fail "Exec must carry no field codes"
man --warnings -l "$scratch/prefix/share/man/man1/tarnwick.1.gz" >/dev/null 2>"$scratch/man.log" || true
[ -s "$scratch/man.log" ] && fail "man page: $(cat "$scratch/man.log")"

(cd "$scratch" && cpack -G DEB -B "$scratch/package" --config "$build/CPackConfig.cmake" >/dev/null)
deb=$(ls "$scratch"/package/tarnwick_*.deb)
contents=$(dpkg-deb -c "$deb")
for file in "${installed[@]}"; do
    grep -q "\./usr/$file\$" <<<"$contents" || fail "not in the package: /usr/$file"
done
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins fonts-dejavu-extra; do
    grep -q "$needed" <<<"$depends" || fail "the package does not depend on $needed: $depends"
done
# Debian's own checks of the package: no error and no warning.
checks=$(lintian --tag-display-limit 0 "$deb" 2>&1 | grep -E '^[EW]: ' || true)
[ -z "$checks" ] || fail "lintian:"$'\n'"$checks"
echo "installed tree and package hold all ${#installed[@]} files; depends: $depends"
