#!/bin/bash
# Idle cost of Velutra under Wine: CPU seconds the program uses over 60 s with all panels shown,
# once with the pointer away from the window and once resting on a hot spot (CD Play), beside a
# bare window with a 500 ms timer run the same way.
#   tests/bench/idle_cpu.sh BUILD_DIR [SECONDS]
# BUILD_DIR is an x86_64 build holding velutra.exe and tests/bench/bare_timer.exe. The script makes
# its own Wine prefix and Xvfb display under BUILD_DIR/bench and stops both when it ends.
set -u
build=$(cd "${1:?usage: idle_cpu.sh BUILD_DIR [SECONDS]}" && pwd)
seconds=${2:-60}
wine=/usr/lib/wine/wine64
work=$build/bench
mkdir -p "$work"
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
started=()
cleanup() {
    for pid in "${started[@]}"; do kill "$pid" 2>/dev/null; done
    wineserver -k 2>/dev/null
    kill "$xvfb" 2>/dev/null
}
trap cleanup EXIT
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$wine" wineboot -i >/dev/null 2>&1
    wineserver -w
fi
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
wineserver -p 2>/dev/null

cpu_seconds() {  # cpu_seconds PID SECONDS
    local tck a b
    tck=$(getconf CLK_TCK)
    a=$(awk '{print $14 + $15}' "/proc/$1/stat")
    sleep "$2"
    b=$(awk '{print $14 + $15}' "/proc/$1/stat")
    awk -v d=$((b - a)) -v t="$tck" -v s="$2" \
        'BEGIN { printf "%.2f s CPU over %d s = %.2f %% of one core", d / t, s, 100 * d / t / s }'
}

start() {  # start EXE: runs it in the background and prints the Linux pid of the Windows process
    "$wine" "$1" >/dev/null 2>&1 &
    local name
    name=$(basename "$1")
    # Other Wine prefixes may run a program of the same name: take the one in ours.
    for _ in $(seq 100); do
        for pid in $(pgrep -f "$name"); do
            if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
                echo "$pid"
                return
            fi
        done
        sleep 0.1
    done
}

# The main window sits at (100, 100) with a one-pixel border; Play of the CD panel is at
# (288..347, 66..86) of the panel, which starts 72 pixels down.
velutra=$(start "$build/velutra.exe")
started+=("$velutra")
sleep 5
xdotool mousemove 700 600
echo "velutra, pointer away:       $(cpu_seconds "$velutra" "$seconds")"
xdotool mousemove $((101 + 318)) $((101 + 72 + 76))
sleep 1
echo "velutra, pointer on Play:    $(cpu_seconds "$velutra" "$seconds")"
kill "$velutra"
sleep 1

bare=$(start "$build/tests/bench/bare_timer.exe")
started+=("$bare")
sleep 3
xdotool mousemove 700 600
echo "bare window, 500 ms timer:   $(cpu_seconds "$bare" "$seconds")"
