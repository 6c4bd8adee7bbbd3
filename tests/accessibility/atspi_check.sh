#!/usr/bin/env bash
# The program on a real accessibility bus: a virtual X server, a session bus of its own, the
# AT-SPI bus, the virtual controller on a pseudo-terminal as COM1, and atspi_check.py reading
# and pressing the window as a screen reader does.
#
#   atspi_check.sh BIN_DIR     BIN_DIR holds kaldor, ecu-sim and lang/
#
# Exit status 0 when the checks pass, 1 when one fails, 77 (skipped) when a tool is missing or
# the accessibility bus does not start.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
skip() {
    echo "atspi_check skipped: $*"
    exit 77
}

if [ "${1:-}" != "--inside" ]; then
    bin=$(cd "${1:?usage: atspi_check.sh BIN_DIR}" && pwd)
    for tool in Xvfb dbus-run-session /usr/libexec/at-spi-bus-launcher /usr/bin/python3; do
        command -v "$tool" >/dev/null || skip "$tool is not installed (xvfb, dbus, at-spi2-core)"
    done
    /usr/bin/python3 -c 'import pyatspi' 2>/dev/null || skip "python3-pyatspi is not installed"
    exec dbus-run-session -- "$0" --inside "$bin"
fi

bin=$2
work=$(mktemp -d)
pids=()
cleanup() {
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
        wait "${pids[i]}" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

# A copy of the program with the language files and a settings file of its own: the settings
# are read beside the program.
mkdir -p "$work/app" "$work/home"
cp "$bin/kaldor" "$work/app/"
cp -r "$bin/lang" "$work/app/"
export HOME=$work/home XDG_DATA_HOME=$work/home/data XDG_CONFIG_HOME=$work/home/config

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 1 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || skip "Xvfb did not start: $(tail -n 3 "$work/xvfb.log")"
export DISPLAY=:$(head -n 1 "$work/display")

/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/bus.log" 2>&1 &
pids+=($!)
bus=""
for _ in $(seq 1 100); do
    bus=$(dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus \
        org.a11y.Bus.GetAddress 2>/dev/null | tr -d ' ' || true)
    [ -n "$bus" ] && break
    sleep 0.1
done
[ -n "$bus" ] || skip "the accessibility bus did not start: $(tail -n 3 "$work/bus.log")"
echo "accessibility bus: $bus"

"$bin/ecu-sim" --log "$work/frames.log" --mode diesel --errors 7 >"$work/sim.out" 2>&1 &
pids+=($!)
device=""
for _ in $(seq 1 100); do
    device=$(head -n 1 "$work/sim.out" 2>/dev/null || true)
    [ -n "$device" ] && break
    sleep 0.05
done
[ -n "$device" ] || { echo "ecu-sim did not start: $(cat "$work/sim.out")"; exit 1; }
printf '[Ports]\nCOM1=%s\n' "$device" >"$work/app/kaldor.INI"
echo "virtual controller on $device (COM1)"

cd "$work/app"
QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 \
    ./kaldor >"$work/kaldor.log" 2>&1 &
program=$!
pids+=("$program")
status=0
/usr/bin/python3 "$here/atspi_check.py" "$program" "$work/frames.log" || status=$?
if [ "$status" -ne 0 ]; then
    echo "--- the program's output"
    tail -n 20 "$work/kaldor.log"
fi
exit "$status"
