#!/usr/bin/env bash
# Builds Qt for 64-bit Windows (MinGW-w64) from Debian's own qtbase source, once, and keeps it.
#
#   scripts/qt-mingw.sh            prints the Qt prefix, building it first when it is missing
#   scripts/qt-mingw.sh --cached   prints it only when it is built already (status 1 otherwise)
#
# The source comes through apt with a sources list and state folder of this script's own, so the
# machine's apt configuration is left as it is. Only what the program needs is built: Core, Gui,
# Widgets, PrintSupport and the windows and offscreen platform plugins; the host's moc, rcc and
# uic (the same Qt version) do the code generation. The result goes to
#   ${KALDOR_QT_MINGW_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kaldor/qt-mingw}/VERSION/
# and is used as it is on every later run. The build log of a first build is kept beside it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh" g++-mingw-w64-x86-64-posix dpkg-dev perl >&2

version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev)   # e.g. 6.4.2+dfsg-10
upstream=${version%%+*}
upstream=${upstream%%-*}
cache=${KALDOR_QT_MINGW_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kaldor/qt-mingw}
prefix="$cache/$upstream"
if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi
[ "${1:-}" != --cached ] || exit 1

work="$cache/work-$upstream"
mkdir -p "$work/apt/lists/partial" "$work/apt/archives/partial" "$work/src"

# deb-src entries for the suites the machine's own list names, in a list of this script's own.
aptconf="$work/apt/sources.list"
: >"$aptconf"
for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    sed -n 's/^deb \(.*\)$/deb-src \1/p' "$f" >>"$aptconf"
done
for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk 'BEGIN{RS=""; ORS="\n\n"} /Types:[^\n]*deb/ { sub(/Types:[^\n]*/, "Types: deb-src"); print }' "$f" \
        >>"$work/apt/sources-$(basename "$f")"
done
apt_private=(-o Dir::Etc::SourceList="$aptconf" -o Dir::Etc::SourceParts="$work/apt"
             -o Dir::State::Lists="$work/apt/lists" -o Dir::Cache::Archives="$work/apt/archives"
             -o Dir::Cache="$work/apt" -o APT::Sandbox::User=root)
if [ ! -d "$work/src/qtbase" ]; then
    apt-get "${apt_private[@]}" update -qq >&2
    (cd "$work/src" && apt-get "${apt_private[@]}" source -qq "qt6-base=$version" >&2)
    mv "$work/src"/qt6-base-*/ "$work/src/qtbase"
fi

# The toolchain: the project's MinGW-w64 one; Qt's DLLs use the MinGW runtime DLLs, which the
# package ships beside them.
cat >"$work/toolchain.cmake" <<TC
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
TC

build="$work/build"
mkdir -p "$build"
log="$cache/build-$upstream.log"
start=$(date +%s)
{
    cd "$build"
    # Debian's source has no src/3rdparty/wintab: the tablet feature is off so the windows
    # platform plugin does not need wintab.h. Everything the program does not use is off too.
    "$work/src/qtbase/configure" -xplatform win32-g++ -qt-host-path /usr -prefix "$prefix" \
        -release -shared -opensource -confirm-license -nomake examples -nomake tests \
        -no-opengl -no-dbus -no-icu -no-glib -no-feature-tabletevent \
        -no-feature-sql -no-feature-network -no-feature-xml -no-feature-testlib \
        -no-feature-concurrent -qt-zlib -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz -qt-pcre \
        -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$work/toolchain.cmake" \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    cmake --build . --parallel "$(nproc)"
    cmake --install .
} >"$log" 2>&1 || { tail -40 "$log" >&2; echo "Qt for MinGW-w64 did not build; see $log" >&2; exit 1; }
echo "built in $(( $(date +%s) - start )) s" >>"$log"
touch "$prefix/.complete"
rm -rf "$build"
echo "$prefix"
