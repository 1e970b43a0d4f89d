#!/bin/bash
# Soaks Velutra under Wine with the rig's sound server: a looping Sound list of three short tones
# plays for ten minutes while panels are hidden and shown and Properties is opened and cancelled
# every few seconds. It fails when the program stops answering, shows a message box, stops
# playing, holds more GDI or USER objects, kernel handles or private memory at the end than after
# the warm-up (tests/bench/velutra_soak.cpp says how much more memory is let pass), or stores a
# different list on Exit.
#
#   bash scripts/soak.sh                              the full soak, about 10 minutes
#   VELUTRA_SOAK_SECONDS=60 bash scripts/soak.sh      a one-minute try
#
# It builds the x86_64 Release build of scripts/bench.sh in build/bench, starts a rig of its own in
# build/bench/soak-rig and runs the Soak.* test of velutra_bench. The figures are printed as
# "BENCH key value unit" lines and land in build/bench/soak-results.txt; the last line says PASS
# or FAIL, and the exit status is non-zero on a failure.
set -u -o pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.." || exit 1
# shellcheck source=scripts/lib.sh
. scripts/lib.sh
root=$(pwd)

export VELUTRA_SOAK_SECONDS=${VELUTRA_SOAK_SECONDS:-600}

install_packages "${VELUTRA_TEST_PACKAGES[@]}" || { echo "FAIL: could not install the packages"; exit 1; }

build=$root/build/bench
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
    >/dev/null || { echo "FAIL: cmake could not configure $build"; exit 1; }
echo "Building $build (log: $build/soak-build.log)"
cmake --build "$build" -j "${VELUTRA_JOBS:-2}" --target velutra_bench >"$build/soak-build.log" 2>&1 ||
    { tail -n 40 "$build/soak-build.log"; echo "FAIL: the build failed"; exit 1; }

rig=$build/soak-rig
results=$build/soak-results.txt
rm -f "$results"
trap 'bash tests/rig/rig.sh stop "$rig" >/dev/null' EXIT
VELUTRA_BUILD_DIR=$build bash tests/rig/rig.sh start "$rig" || { echo "FAIL: the rig did not start"; exit 1; }

echo "== soak of ${VELUTRA_SOAK_SECONDS} s"
VELUTRA_EXE=$build/velutra.exe \
VELUTRA_GUI_COUNT_DLL=$build/tests/bench/gui_count.dll \
VELUTRA_BENCH_OUT=$results \
    bash tests/rig/wine-run.sh "$rig" "$build/tests/bench/velutra_bench.exe" --gtest_filter='Soak.*' | tr -d '\r'
status=${PIPESTATUS[0]}

figure() { awk -v k="$1" '$1 == k { print $2 }' "$results" 2>/dev/null; }
row() { printf '%-34s %14s %14s %s\n' "$@"; }

echo
echo "== Velutra $(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt") soak, $(date -u '+%Y-%m-%d %H:%M UTC')"
if [ -n "$(figure soak.start.gdi_objects)" ]; then
    row "held" "after warm-up" "at the end" "unit"
    for kind in gdi_objects user_objects windows menus cursors_icons handles private_memory; do
        unit=objects; [ $kind = handles ] && unit=handles; [ $kind = private_memory ] && unit=KiB
        row "$kind" "$(figure "soak.start.$kind")" "$(figure "soak.end.$kind")" "$unit"
    done
fi
if [ -n "$(figure soak.seconds)" ]; then
    echo "$(figure soak.seconds) s: $(figure soak.rounds) rounds, $(figure soak.panel_toggles) panel toggles," \
        "$(figure soak.properties_openings) Properties openings, Play pressed again $(figure soak.sound_replays) times;" \
        "loops seen $(figure soak.loops_seen), heard $(figure soak.loops_heard);" \
        "slowest answer $(figure soak.slowest_answer) ms"
fi

seconds=$(figure soak.seconds)
if [ "$status" = 0 ] && [ -n "$seconds" ]; then
    echo "PASS: Velutra soaked ${seconds} s without growing and kept playing"
    exit 0
fi
echo "FAIL: the soak failed (exit status $status; see the failures above)"
[ "$status" = 0 ] && exit 1
exit "$status"
