#!/usr/bin/env bash
# Builds the packages.
#
#   scripts/package.sh              the Debian package, build/kaldor_VERSION_ARCH.deb
#   scripts/package.sh --windows    build-windows/kaldor-VERSION-win64.zip (one folder to unpack
#                                   and run from) and build-windows/kaldor-VERSION-win64-setup.exe
#                                   (installs under Program Files with a Start-menu entry and an
#                                   uninstaller), both with the Qt and MinGW-w64 runtime DLLs;
#                                   builds the MinGW-w64 Qt first if it is not cached
#                                   (scripts/qt-mingw.sh)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
mode=${1:-deb}
version=$(sed -n 's/^project(kaldor VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)

package_deb() {
    "$root/scripts/build.sh"
    (cd build && cpack -G DEB)
}

package_windows() {
    "$root/scripts/deps.sh" g++-mingw-w64-x86-64-posix nsis zip
    . "$root/scripts/windows-qt.sh"
    local prefix
    prefix=$(windows_qt_prefix build)
    windows_qt_configure "$prefix"
    cmake --build build-windows/qt --parallel "$(nproc)" --target kaldor kaldor-cli

    local name="kaldor-$version-win64"
    local stage="$root/build-windows/package/$name"
    rm -rf "$root/build-windows/package"
    cmake --install build-windows/qt --prefix "$stage" --component kaldor --strip >/dev/null
    # The install strips the programs; the Qt and runtime DLLs come with their symbol tables
    # (libstdc++ alone 23 MB), which no one runs a debugger on from a package.
    find "$stage" -name '*.dll' -exec x86_64-w64-mingw32-strip --strip-unneeded {} +

    local zip="$root/build-windows/$name.zip"
    rm -f "$zip"
    (cd "$root/build-windows/package" && zip -qr9 "$zip" "$name")

    # The installer's file lists from the folder itself, so the uninstaller removes exactly what
    # was installed and leaves whatever else is in the folder.
    local lists="$root/build-windows/package/nsis"
    mkdir -p "$lists"
    : >"$lists/install.nsh"
    : >"$lists/uninstall.nsh"
    (
        cd "$stage"
        find . -type d | sort | while read -r dir; do
            local windows=${dir#./}
            windows=${windows//\//\\}
            [ "$dir" = . ] && windows=""
            echo "SetOutPath \"\$INSTDIR${windows:+\\$windows}\"" >>"$lists/install.nsh"
            find "$dir" -maxdepth 1 -type f | sort | while read -r file; do
                local relative=${file#./}
                echo "File \"$stage/$relative\"" >>"$lists/install.nsh"
                echo "Delete \"\$INSTDIR\\${relative//\//\\}\"" >>"$lists/uninstall.nsh"
            done
        done
        find . -mindepth 1 -type d | sort -r | while read -r dir; do
            local relative=${dir#./}
            echo "RMDir \"\$INSTDIR\\${relative//\//\\}\"" >>"$lists/uninstall.nsh"
        done
    )
    local setup="$root/build-windows/$name-setup.exe"
    makensis -V2 -NOCD -DVERSION="$version" -DOUTFILE="$setup" -DLISTS="$lists" \
        "$root/packaging/windows/kaldor.nsi"
    ls -l "$zip" "$setup"
}

case "$mode" in
    deb) package_deb ;;
    --windows) package_windows ;;
    *)
        echo "usage: scripts/package.sh [--windows]" >&2
        exit 2
        ;;
esac
