# Sourced by scripts/test.sh --windows and scripts/package.sh --windows: the Qt programs for
# 64-bit Windows in build-windows/qt, on the Qt that scripts/qt-mingw.sh keeps, and Wine set up
# as the tests and packages use it. Needs $root (the checkout).

# The MinGW-w64 Qt's prefix: built first when missing and $1 is "build", else only when cached.
# Prints nothing and fails when there is none.
windows_qt_prefix() {
    if [ "${1:-}" = build ]; then
        "$root/scripts/qt-mingw.sh"
    else
        "$root/scripts/qt-mingw.sh" --cached
    fi
}

# Configures build-windows/qt for the Qt at $1. qt-mingw.sh keeps the qtbase source beside the
# prefix (work-VERSION/src/qtbase): its licence texts go into the packages, and its Qt Test,
# which that Qt leaves out, into the tests.
windows_qt_configure() {
    local prefix=$1
    local source
    source="$(dirname "$prefix")/work-$(basename "$prefix")/src/qtbase"
    . "$root/scripts/compiler-cache.sh"
    # Release: debug information would make every program several times larger and its link
    # slower; a crash under Wine is looked into with the native build.
    cmake -S "$root" -B "$root/build-windows/qt" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DKALDOR_WITH_QT=ON \
        -DCMAKE_PREFIX_PATH="$prefix" -DQT_HOST_PATH=/usr \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DKALDOR_QT_SOURCE="$source" -DKALDOR_GTEST_SOURCE=/usr/src/googletest \
        -DKALDOR_BUILD_BENCH=OFF "${kaldor_cache_args[@]}" >/dev/null
}

# A Wine prefix of its own ($1), no debug chatter, no offer to install .NET or a browser, and no
# menu entries of the desktop made for what an installer puts in the Start menu.
windows_wine_environment() {
    export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    mkdir -p "$WINEPREFIX"
    [ -f "$WINEPREFIX/system.reg" ] || timeout 300 wineboot --init >/dev/null 2>&1 || true
}
