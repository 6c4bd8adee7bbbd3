#!/usr/bin/env bash
# Installs what is missing, builds, starts the virtual controller on a pseudo-terminal, maps
# COM1 to it in the settings file beside the program, and starts the program. Press F10 in the
# window to connect. Closing the window stops the virtual controller too.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
bin="$root/build/bin"

sim_out=$(mktemp)
"$bin/ecu-sim" --hw 2 --sw 11 --serial 770123 >"$sim_out" &
sim_pid=$!
trap 'kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true; rm -f "$sim_out"' EXIT
device=""
for _ in $(seq 1 100); do
    device=$(head -n 1 "$sim_out" 2>/dev/null || true)
    [ -n "$device" ] && break
    sleep 0.05
done
[ -n "$device" ] || { echo "ecu-sim did not start" >&2; exit 1; }
echo "Virtual controller on $device (COM1)"

# [Ports] COM1=<device> in the settings file, every other line kept as it is.
ini="$bin/kaldor.INI"
touch "$ini"
awk -v dev="$device" '
    BEGIN { IGNORECASE = 1 }
    /^\[/ { if (inPorts && !done) { print "COM1=" dev; done = 1 }
            inPorts = (tolower($0) ~ /^\[ports\]/) }
    { if (inPorts && tolower($0) ~ /^com1[ \t]*=/) next; print }
    END { if (!done) { if (!inPorts) print "[Ports]"; print "COM1=" dev } }
' "$ini" >"$ini.tmp" && mv "$ini.tmp" "$ini"

cd "$root"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" = "" ]; then
    echo "No display found: starting the program under a virtual X server (xvfb-run)."
    xvfb-run -a -s "-screen 0 1280x800x24" "$bin/kaldor"
else
    "$bin/kaldor"
fi
