#!/bin/bash
# Builds the x86_64 program and starts it under Wine. With a display it runs there until it is
# closed; without one it runs under Xvfb, and a screenshot of its main window (the window alone,
# cut from the screen) is saved and its path printed. The Wine prefix is kept in
# build/start/prefix between starts. The program runs in the machine's own language, so the rig
# makes none of the test locales.
set -u -o pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.." || exit 1
# shellcheck source=scripts/lib.sh
. scripts/lib.sh

install_packages "${VELUTRA_START_PACKAGES[@]}" || { echo "Could not install the packages" >&2; exit 1; }

cmake -S . -B build/win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake >/dev/null &&
    cmake --build build/win64 -j "${VELUTRA_JOBS:-2}" --target velutra || exit 1

rig=build/start
exe=build/win64/velutra.exe
trap 'bash tests/rig/rig.sh stop "$rig" >/dev/null' EXIT

if [ -n "${DISPLAY:-}" ]; then
    bash tests/rig/rig.sh start "$rig" --display "$DISPLAY" --no-pulse --keep-prefix --no-locales || exit 1
    echo "Velutra runs on $DISPLAY; close it (or press Power, then Exit from the tray) to end this script."
    bash tests/rig/wine-run.sh "$rig" "$exe"
    exit 0
fi

bash tests/rig/rig.sh start "$rig" --keep-prefix --no-locales || exit 1
# shellcheck disable=SC1091
. "$rig/env.sh"
bash tests/rig/wine-run.sh "$rig" "$exe" &
found=""
for _ in $(seq 300); do
    found=$(xdotool search --onlyvisible --name '^Velutra$' 2>/dev/null | head -n1)
    [ -n "$found" ] && break
    sleep 0.1
done
if [ -z "$found" ]; then
    echo "Velutra's main window did not appear" >&2
    exit 1
fi
sleep 1  # let the panels paint
# The screen is taken whole and cut to the window: that is what the display shows of the window,
# panels included, whatever X thinks of the window's own contents.
eval "$(xdotool getwindowgeometry --shell "$found")" || exit 1
shot=$(pwd)/$rig/velutra.png
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$shot" || exit 1
echo "Velutra ran under Xvfb on $DISPLAY; screenshot: $shot"
