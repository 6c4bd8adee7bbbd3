#!/usr/bin/env bash
# The Windows programs under Wine against the virtual controller on a pseudo-terminal, mapped to
# COM1 of the Wine prefix ($WINEPREFIX/dosdevices/com1 links to the device ecu-sim prints, and
# Wine's port list names it), so
# every frame goes through the Win32 serial port as on a Windows laptop. As a new user would:
# no settings file, the port by its number.
#
#   wine_com_port_test.sh PROGRAM_FOLDER ECU_SIM [--window] [--screenshot FILE.png]
#
# PROGRAM_FOLDER holds kaldor-cli.exe (and kaldor.exe): a build's bin/, an unpacked zip or an
# installed copy. The CLI: identify names the revisions and serial number; read gives a file
# byte-equal to the controller's memory; write --verify puts a changed file into the controller,
# which then holds exactly that file. --window: kaldor.exe under Xvfb finds the controller with
# F10 and polls live records every 100 ms (the controller's frame log says so); --screenshot
# keeps a picture of the connected window. Needs WINEPREFIX (scripts/windows-qt.sh sets it up).
set -euo pipefail
programs=$(cd "$1" && pwd)
sim=$2
shift 2
window=0
screenshot=""
while [ $# -gt 0 ]; do
    case "$1" in
        --window) window=1 ;;
        --screenshot) window=1; screenshot=$(realpath -m "$2"); shift ;;
        *) echo "unknown option $1" >&2; exit 2 ;;
    esac
    shift
done
: "${WINEPREFIX:?WINEPREFIX must name the Wine prefix}"
export WINEDEBUG=${WINEDEBUG:--all}

work=$(mktemp -d)
sim_pid=""
stop_sim() {
    if [ -n "$sim_pid" ]; then
        kill -TERM "$sim_pid" 2>/dev/null || true
        wait "$sim_pid" 2>/dev/null || true
        sim_pid=""
    fi
}
cleanup() {
    stop_sim
    timeout 30 wineserver -k >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

serial=770123
# Starts the controller (extra options: $@) and makes its device COM1. Wine's device manager
# makes the port links anew when it starts, from the serial devices it finds and the entries of
# HKLM\Software\Wine\Ports, so the device goes there, and the link is made after this prefix's
# Wine server (and with it the device manager) has stopped.
start_sim() {
    stop_sim
    "$sim" --serial "$serial" "$@" >"$work/sim.out" 2>"$work/sim.err" &
    sim_pid=$!
    local device=""
    for _ in $(seq 100); do
        device=$(head -n 1 "$work/sim.out" 2>/dev/null || true)
        [ -n "$device" ] && break
        sleep 0.1
    done
    [ -n "$device" ] || fail "ecu-sim printed no device: $(cat "$work/sim.err")"
    timeout 60 wine reg add 'HKLM\Software\Wine\Ports' /v COM1 /d "$device" /f >/dev/null 2>&1 ||
        fail "the port entry could not be made"
    timeout 30 wineserver -k >/dev/null 2>&1 || true
    ln -sfn "$device" "$WINEPREFIX/dosdevices/com1"
    # Started here, so what it prints when it is stopped goes nowhere.
    wineserver -p >/dev/null 2>&1
}
# kaldor-cli.exe from an empty folder of its own, bounded in time: its output and error output in
# cli.out and cli.err with Unix line ends. Into files, never a pipe: the Wine services a program
# starts inherit its output and would hold a pipe open.
cli() {
    local status=0
    (cd "$work" && timeout 120 wine "$programs/kaldor-cli.exe" "$@" >"$work/cli.raw" 2>"$work/cli.eraw") ||
        status=$?
    tr -d '\r' <"$work/cli.raw" >"$work/cli.out"
    tr -d '\r' <"$work/cli.eraw" >"$work/cli.err"
    return $status
}
said() {
    cat "$work/cli.out" "$work/cli.err"
}

start=$(date +%s)
start_sim --dump "$work/ecu.bin"
cli identify --port 1 --yes || fail "identify: $(said)"
[ "$(cat "$work/cli.out")" = "$(printf 'hardware: 2\nsoftware: 11\nserial: %s\nport: 1' "$serial")" ] ||
    fail "identify said: $(said)"
cli read --port 1 --yes -o "$work/read.kcfg" || fail "read: $(said)"
stop_sim
cmp "$work/read.kcfg" "$work/ecu.bin" || fail "the file read differs from the controller's memory"
echo "identify and read through COM1: ok"

# One main map cell (bytes 334-461) one higher, into a controller holding the file read.
cp "$work/read.kcfg" "$work/changed.kcfg"
cell=$(od -An -tu1 -j 344 -N 1 "$work/read.kcfg" | tr -d ' ')
printf "\\x$(printf %02x $(((cell + 1) % 256)))" |
    dd of="$work/changed.kcfg" bs=1 seek=344 conv=notrunc status=none
start_sim --image "$work/read.kcfg" --dump "$work/written.bin"
cli write --port 1 --yes --verify "$work/changed.kcfg" || fail "write --verify: $(said)"
case "$(said)" in
    *"ECU memory matches the PC (768 bytes)"*) ;;
    *) fail "write --verify said: $(said)" ;;
esac
stop_sim
cmp "$work/changed.kcfg" "$work/written.bin" || fail "the controller does not hold the file written"
echo "write --verify through COM1: ok ($(($(date +%s) - start)) s)"

[ "$window" = 1 ] || exit 0

# The window: F10 finds the controller, then the live records every 100 ms. The log has one line
# per frame received: milliseconds since start, then the six bytes in hex.
start_sim --log "$work/frames.log"
# The window keeps its settings when closed: beside itself when it may write there, which this
# test leaves as it found it.
had_settings=0
[ ! -e "$programs/kaldor.INI" ] || had_settings=1
cat >"$work/window.sh" <<EOF
#!/usr/bin/env bash
set -u
cd "$work"
wine "$programs/kaldor.exe" >"$work/kaldor.out" 2>&1 &
pid=\$!
id=""
for _ in \$(seq 120); do
    id=\$(xdotool search --onlyvisible --name "^KALDOR DIESEL" 2>/dev/null | head -n 1)
    [ -n "\$id" ] && break
    sleep 0.5
done
[ -n "\$id" ] || { echo "no window came up" >&2; exit 1; }
sleep 3
xdotool windowactivate --sync "\$id" 2>/dev/null || xdotool windowfocus --sync "\$id" || true
xdotool key --clearmodifiers F10
# The scan tries the ports, reads the memory and starts polling.
sleep 20
# The caption names the controller and its port once connected.
xdotool getwindowname "\$id" >"$work/caption"
${screenshot:+import -window "\$id" "$screenshot"}
# Closed as a user closes it.
xdotool windowactivate --sync "\$id" 2>/dev/null || xdotool windowfocus --sync "\$id" || true
xdotool key --clearmodifiers alt+F4
for _ in \$(seq 60); do
    kill -0 \$pid 2>/dev/null || exit 0
    sleep 0.5
done
echo "the window did not close" >&2
exit 1
EOF
chmod +x "$work/window.sh"
timeout 240 xvfb-run -a -s "-screen 0 1280x1024x24" "$work/window.sh" 2>"$work/window.err" ||
    fail "the window: $(grep -v '^X connection' "$work/window.err")"
stop_sim
[ "$had_settings" = 1 ] || rm -f "$programs/kaldor.INI"
caption=$(cat "$work/caption")
case "$caption" in
    *"Rev.H:2 Rev.S:11 TR770  COM1 SN: $serial") ;;
    *) fail "the caption after F10 is \"$caption\": $(tail -5 "$work/kaldor.out")" ;;
esac
# The live request and the times it came at: about ten a second, steadily.
live=$(grep -ci " aa 05 00 00 59 f2$" "$work/frames.log" || true)
[ "$live" -ge 50 ] || fail "only $live live requests in the window's 20 s: $(tail -5 "$work/frames.log")"
gaps=$(grep -i " aa 05 00 00 59 f2$" "$work/frames.log" | awk '{ if (n++) { d = $1 - t; s += d } t = $1 } END { printf "%d", s / (n - 1) }')
[ "$gaps" -ge 80 ] && [ "$gaps" -le 160 ] || fail "live requests every $gaps ms on average"
echo "window: F10 connected, $live live requests, one every $gaps ms on average"
[ -z "$screenshot" ] || echo "screenshot: $screenshot"
