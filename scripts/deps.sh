#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those that are missing; extra
# package names on the command line are installed the same way (scripts/test.sh --windows).
# The fonts cover the scripts of the shipped languages (Latin, Cyrillic, Greek; Thai), so the
# window, its tests and its screenshots draw real glyphs. The accessibility bus, its daemon and
# pyatspi serve the check of the window as a screen reader meets it (xdotool plays the user there).
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-serialport-dev libgl-dev
          libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth dpkg-dev file ccache lld
          fonts-dejavu-core fonts-thai-tlwg dbus at-spi2-core python3-pyatspi xdotool qt6-qpa-plugins "$@")
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
