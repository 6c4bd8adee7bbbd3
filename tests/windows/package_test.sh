#!/usr/bin/env bash
# The Windows packages as a new user meets them, each in a Wine prefix of its own made for it:
#
#   package_test.sh ZIP SETUP_EXE ECU_SIM
#
# The zip: unpacked, kaldor-cli.exe --version answers, and the unpacked programs pass
# wine_com_port_test.sh (the CLI and the window connected on COM1). The installer: run silently
# (/S), it puts the programs under Program Files with a Start-menu folder and an uninstall entry;
# the installed programs pass the same test, and the window keeps its settings in the user's
# folder, not beside itself; the uninstaller (/S) then removes the folder, the Start-menu entries and the
# uninstall entry.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
zip=$(realpath "$1")
setup=$(realpath "$2")
sim=$(realpath "$3")
"$here/../../scripts/deps.sh" wine wine64 unzip xvfb xauth xdotool
. "$here/../../scripts/windows-qt.sh"

work=$(mktemp -d)
cleanup() {
    [ -z "${WINEPREFIX:-}" ] || timeout 30 wineserver -k >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
# A Windows program, bounded in time; its output into a file (never a pipe: the Wine services it
# starts would hold it open) with Unix line ends.
run() {
    local status=0
    timeout 300 wine "$@" >"$work/out.raw" 2>&1 || status=$?
    tr -d '\r' <"$work/out.raw" >"$work/out"
    return $status
}
version_check() {
    run "$1/kaldor-cli.exe" --version || fail "$1/kaldor-cli.exe --version: $(cat "$work/out")"
    grep -qx "kaldor-cli v[0-9.]*" "$work/out" || fail "--version said: $(cat "$work/out")"
}

start=$SECONDS
windows_wine_environment "$work/zip-prefix"
unzip -q "$zip" -d "$WINEPREFIX/drive_c"
unpacked=$(find "$WINEPREFIX/drive_c" -maxdepth 2 -name kaldor-cli.exe -printf '%h\n' | head -n 1)
[ -n "$unpacked" ] && [ -f "$unpacked/kaldor.exe" ] || fail "the zip holds no kaldor.exe and kaldor-cli.exe"
version_check "$unpacked"
"$here/wine_com_port_test.sh" "$unpacked" "$sim" --window
timeout 30 wineserver -k >/dev/null 2>&1 || true
echo "zip: ok ($((SECONDS - start)) s)"

start=$SECONDS
windows_wine_environment "$work/setup-prefix"
run "$setup" /S || fail "the installer failed: $(cat "$work/out")"
timeout 120 wineserver -w || true
installed="$WINEPREFIX/drive_c/Program Files/KALDOR DIESEL"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/KALDOR DIESEL"
for file in "$installed/kaldor.exe" "$installed/kaldor-cli.exe" "$installed/uninstall.exe" \
    "$installed/platforms/qwindows.dll" "$installed/lang" "$installed/sch/index.html" \
    "$menu/KALDOR DIESEL.lnk" "$menu/Uninstall KALDOR DIESEL.lnk"; do
    [ -e "$file" ] || fail "not installed: ${file#"$WINEPREFIX/"}"
done
run reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\kaldor' /v DisplayVersion ||
    fail "no uninstall entry"
version_check "$installed"
"$here/wine_com_port_test.sh" "$installed" "$sim" --window

# The window closed there kept its settings in the user's folder, as it may not write beside itself.
[ ! -e "$installed/kaldor.INI" ] || fail "the installed copy wrote kaldor.INI under Program Files"
user_settings=$(find "$WINEPREFIX/drive_c/users" -path '*/AppData/Roaming/kaldor/kaldor.INI' | head -n 1)
[ -n "$user_settings" ] && grep -q "^Width=" "$user_settings" ||
    fail "the window kept no settings in the user's folder"

run "$installed/uninstall.exe" /S || fail "the uninstaller failed: $(cat "$work/out")"
# The uninstaller runs on as a copy of itself in the temporary folder.
timeout 120 wineserver -w || true
[ ! -e "$installed" ] || fail "left behind: $(cd "$installed" && find . | head -5 | tr '\n' ' ')"
[ ! -e "$menu" ] || fail "the Start-menu folder is left"
! run reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\kaldor' ||
    fail "the uninstall entry is left"
echo "installer: ok: installed, run, settings in ${user_settings#"$WINEPREFIX/drive_c/"}, uninstalled ($((SECONDS - start)) s)"
