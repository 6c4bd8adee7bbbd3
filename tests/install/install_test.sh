#!/usr/bin/env bash
# install_test.sh install|package BUILD_DIR LANGUAGE_PROBE
#   install: cmake --install into a scratch root (DESTDIR)
#   package: cpack -G DEB, the package's dependencies, and the package unpacked into a scratch root
# then checks the files are in place, the programs run from there and the language files are
# found where an installed copy looks for them.
set -euo pipefail
mode=$1
build=$2
probe=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
root="$scratch/root"

case "$mode" in
    install)
        DESTDIR="$root" cmake --install "$build" --prefix /usr >"$scratch/log" 2>&1 ||
            { cat "$scratch/log" >&2; fail "cmake --install"; }
        ;;
    package)
        cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/deb" >"$scratch/log" 2>&1 ||
            { cat "$scratch/log" >&2; fail "cpack -G DEB"; }
        deb=$(ls "$scratch"/deb/*.deb)
        depends=$(dpkg-deb -f "$deb" Depends)
        echo "Depends: $depends"
        names=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//')
        for p in libqt6widgets6 libqt6serialport6 libqt6core6 libc6 libstdc++6; do
            grep -qxF "$p" <<<"$names" || fail "the package does not depend on $p"
        done
        dpkg-deb -x "$deb" "$root"
        ;;
    *) fail "mode $mode" ;;
esac

usr="$root/usr"
for f in bin/kaldor bin/ecu-sim share/applications/kaldor.desktop \
         share/icons/hicolor/scalable/apps/kaldor.svg share/kaldor/sch/README.txt; do
    [ -f "$usr/$f" ] || fail "$f is not installed"
done
for p in bin/kaldor bin/ecu-sim; do
    [ -x "$usr/$p" ] || fail "$p is not executable"
done
# The manual (opened by "help"), its pictures, the manual pages and the documentation folder.
for f in share/kaldor/sch/index.html share/kaldor/sch/images/readings.png \
         share/man/man1/kaldor.1 share/man/man1/ecu-sim.1 \
         share/doc/kaldor/README.md share/doc/kaldor/index.html share/doc/kaldor/images/readings.png; do
    [ -f "$usr/$f" ] || fail "$f is not installed"
done
if [ -e "$usr/bin/kaldor-cli" ]; then
    [ -f "$usr/share/man/man1/kaldor-cli.1" ] || fail "share/man/man1/kaldor-cli.1 is not installed"
fi
# Every picture the manual shows is installed beside it.
for img in $(grep -o 'src="images/[^"]*"' "$usr/share/kaldor/sch/index.html" | sed 's/^src="//; s/"$//'); do
    [ -f "$usr/share/kaldor/sch/$img" ] || fail "the manual shows $img, which is not installed"
done
if command -v man >/dev/null; then
    MANWIDTH=80 man -l "$usr/share/man/man1/kaldor.1" 2>/dev/null | grep -q 'KALDOR' ||
        fail "man cannot read kaldor.1"
fi
count=$(find "$usr/share/kaldor/lang" -name '*.txt' | wc -l)
[ "$count" -eq 15 ] || fail "share/kaldor/lang holds $count language files, not 15"
grep -q '^Exec=kaldor$' "$usr/share/applications/kaldor.desktop" || fail "desktop entry Exec"
grep -q '^Icon=kaldor$' "$usr/share/applications/kaldor.desktop" || fail "desktop entry Icon"

# The programs run from the scratch root.
"$usr/bin/ecu-sim" --help | grep -q '^Usage: ecu-sim' || fail "ecu-sim --help"
if [ -e "$usr/bin/kaldor-cli" ]; then
    "$usr/bin/kaldor-cli" --version >/dev/null || fail "kaldor-cli --version"
fi

# From an empty working folder, an installed copy reads its language from share/kaldor/lang.
mkdir -p "$scratch/work"
found=$("$probe" "$scratch/work" "$usr/bin" 1) || fail "no language file found for $usr/bin"
[ "$(head -n 1 <<<"$found")" = "$usr/share/kaldor/lang/ang.txt" ] ||
    fail "English read from $(head -n 1 <<<"$found")"
echo "$mode: English read from share/kaldor/lang ($(tail -n 1 <<<"$found") texts)"
