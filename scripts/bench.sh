#!/bin/bash
# Measures how lean and steady Velutra is, under Wine on this machine, and prints the figures
# beside their goals. Not a test: nothing fails on a slow figure (a run that cannot measure fails).
#
#   bash scripts/bench.sh            the full run, about 6 minutes
#   bash scripts/bench.sh --quick    fewer runs, 10 s idle windows, 1000 ticks: to try it out
#
# It makes an x86_64 Release build in build/bench (velutra.exe and, built the same way, the bare
# window program of tests/bench), starts a rig of its own in build/bench/rig and runs:
#   - velutra_store_bench_win: save and load of the store file with two 65535-entry lists;
#   - velutra_bench (tests/bench/velutra_bench.cpp): cold start, idle CPU, the MIDI editor on a
#     65535-entry list, starting and exiting with the large store, and the tick soak counting
#     GDI and USER objects and private memory with tests/bench/gui_count.dll.
# Raw figures land in build/bench/results.txt. VELUTRA_BENCH_RUNS, VELUTRA_BENCH_IDLE_SECONDS
# and VELUTRA_BENCH_TICKS override the counts; VELUTRA_BENCH_FILTER=Bench.MidiEditor runs one part.
set -u -o pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.." || exit 1
# shellcheck source=scripts/lib.sh
. scripts/lib.sh
root=$(pwd)

if [ "${1:-}" = --quick ]; then
    : "${VELUTRA_BENCH_RUNS:=5}" "${VELUTRA_BENCH_IDLE_SECONDS:=10}" "${VELUTRA_BENCH_TICKS:=1000}"
fi
export VELUTRA_BENCH_RUNS=${VELUTRA_BENCH_RUNS:-21}
export VELUTRA_BENCH_IDLE_SECONDS=${VELUTRA_BENCH_IDLE_SECONDS:-60}
export VELUTRA_BENCH_TICKS=${VELUTRA_BENCH_TICKS:-10000}

install_packages "${VELUTRA_TEST_PACKAGES[@]}" || { echo "Could not install the packages" >&2; exit 1; }

build=$root/build/bench
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
    >/dev/null || exit 1
echo "Building $build (log: $build/build.log)"
cmake --build "$build" -j "${VELUTRA_JOBS:-2}" --target velutra_bench >"$build/build.log" 2>&1 ||
    { tail -n 40 "$build/build.log"; exit 1; }

rig=$build/rig
results=$build/results.txt
rm -f "$results"
trap 'bash tests/rig/rig.sh stop "$rig" >/dev/null' EXIT
VELUTRA_BUILD_DIR=$build bash tests/rig/rig.sh start "$rig" || exit 1

echo "== store file"
store_line=$(bash tests/rig/wine-run.sh "$rig" "$build/tests/bench/velutra_store_bench_win.exe" 'C:\' | tr -d '\r')
echo "$store_line"
save=$(sed -nE 's/.*save ([0-9.]+) ms.*/\1/p' <<<"$store_line")
load=$(sed -nE 's/.*load ([0-9.]+) ms.*/\1/p' <<<"$store_line")
[ -n "$save" ] && [ -n "$load" ] || { echo "the store benchmark failed" >&2; exit 1; }
echo "store.save_2x65535 $save ms" >>"$results"
echo "store.load_2x65535 $load ms" >>"$results"

echo "== the program"
VELUTRA_EXE=$build/velutra.exe \
VELUTRA_BARE_EXE=$build/tests/bench/bare_window.exe \
VELUTRA_GUI_COUNT_DLL=$build/tests/bench/gui_count.dll \
VELUTRA_VSEQ_DLL=$build/tests/drivers/vseq.dll \
VELUTRA_BENCH_OUT=$results \
    bash tests/rig/wine-run.sh "$rig" "$build/tests/bench/velutra_bench.exe" --gtest_filter="${VELUTRA_BENCH_FILTER:-Bench.*}" | tr -d '\r'
status=${PIPESTATUS[0]}

figure() { awk -v k="$1" '$1 == k { print $2 }' "$results"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a == "" || b == "" || b + 0 == 0) print "-"; else printf "%.2f", a / b }'; }
# verdict VALUE OP LIMIT: "met" or "MISSED" (or "-" without a figure).
verdict() { awk -v v="$1" -v op="$2" -v l="$3" 'BEGIN {
    if (v == "" || v == "-") { print "-"; exit }
    ok = (op == "<=") ? (v + 0 <= l + 0) : (op == "<") ? (v + 0 < l + 0) : (v + 0 == l + 0)
    print ok ? "met" : "MISSED" }'; }
row() { printf '%-46s %12s %-8s %s\n' "$@"; }

echo
echo "== Velutra $(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt") benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "machine: $(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -n1), $(nproc) cores," \
    "$(awk '/MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo); $(/usr/lib/wine/wine64 --version)," \
    "$(. /etc/os-release && echo "$PRETTY_NAME")"
echo
row "figure" "value" "unit" "goal"
c_velutra=$(figure cold_start.velutra_median) c_bare=$(figure cold_start.bare_median) c_ratio=$(figure cold_start.ratio)
row "cold start, Velutra (median of $VELUTRA_BENCH_RUNS)" "$c_velutra" ms ""
row "cold start, bare window (median of $VELUTRA_BENCH_RUNS)" "$c_bare" ms ""
row "cold start ratio" "$c_ratio" x "<= 1.15: $(verdict "$c_ratio" '<=' 1.15)"
i_away=$(figure idle.velutra_pointer_away.cpu) i_play=$(figure idle.velutra_pointer_on_play.cpu) i_bare=$(figure idle.bare_timer.cpu)
row "idle CPU, all panels, pointer away (${VELUTRA_BENCH_IDLE_SECONDS} s)" "$i_away" "% core" "<= 0.3: $(verdict "$i_away" '<=' 0.3)"
row "idle CPU, pointer resting on CD Play" "$i_play" "% core" "<= 1: $(verdict "$i_play" '<=' 1)"
row "idle CPU, bare window with 500 ms timer" "$i_bare" "% core" ""
row "idle CPU ratio, pointer away / bare" "$(ratio "$i_away" "$i_bare")" x ""
row "idle CPU ratio, on a hot spot / bare" "$(ratio "$i_play" "$i_bare")" x ""
row "wineserver CPU meanwhile (away, hot spot, bare)" \
    "$(figure idle.velutra_pointer_away.wineserver_cpu)/$(figure idle.velutra_pointer_on_play.wineserver_cpu)/$(figure idle.bare_timer.wineserver_cpu)" "% core" ""
row "store save, 2 x 65535 entries" "$save" ms "< 500: $(verdict "$save" '<' 500)"
row "store load, 2 x 65535 entries" "$load" ms "< 500: $(verdict "$load" '<' 500)"
m=$(figure midi_editor.open_65535_median)
row "MIDI editor open on 65535 entries (median of 5)" "$m" ms "< 500: $(verdict "$m" '<' 500)"
row "start with the 2 x 65535 store (median of 5)" "$(figure large_store.start_median)" ms ""
row "Exit saving the 2 x 65535 store" "$(figure large_store.exit)" ms ""
row "Exit with empty lists" "$(figure large_store.exit_empty)" ms ""
row "closing the bare window to its end" "$(figure large_store.exit_bare)" ms ""
for kind in gdi_objects user_objects windows menus cursors_icons handles private_memory; do
    a=$(figure "soak.after_start.$kind") b=$(figure "soak.after_ticks.$kind")
    unit=objects; [ $kind = handles ] && unit=handles; [ $kind = private_memory ] && unit=KiB
    goal="no growth: $(verdict "$b" '<=' "$a")"
    row "$kind after start / after $(figure soak.ticks) ticks" "$a/$b" "$unit" "$goal"
done
row "tick soak duration" "$(figure soak.seconds)" s ""
row "private memory every 1000 ticks" "$(awk '$1 ~ /^soak.private_memory_at_/ { printf "%s%s", sep, $2; sep = "/" }' "$results")" KiB ""
row "MCI peer: growth per MIDI open, play, close" "$(figure sequencer_peer.growth_per_play)" KiB ""
row "MCI peer: growth per load of the MIDI driver" "$(figure sequencer_peer.growth_per_load)" KiB ""
exit "$status"
