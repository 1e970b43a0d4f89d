#!/bin/bash
# Runs a Windows program under the rig started in RIG_DIR and exits with its exit code.
#   wine-run.sh RIG_DIR program.exe [arguments...]
# Tests name it as their CROSSCOMPILING_EMULATOR; by hand: tests/rig/wine-run.sh build/win64/rig x.exe
set -u
[ $# -ge 2 ] || { echo "usage: wine-run.sh RIG_DIR program [arguments...]" >&2; exit 2; }
rig=$1
shift
if [ ! -f "$rig/env.sh" ]; then
    echo "wine-run: no rig is running in $rig; start one with tests/rig/rig.sh start $rig" >&2
    exit 2
fi
# shellcheck disable=SC1091
. "$rig/env.sh"
# The program writes to a file that tail streams, never to our own stdout: a process it leaves
# behind would otherwise hold ctest's output pipe open, and ctest waits for that pipe to close.
log=$(mktemp "$rig/run/output.XXXXXX")
/usr/lib/wine/wine64 "$@" >"$log" 2>&1 </dev/null &
pid=$!
tail -s 0.05 --pid=$pid -n +1 -f "$log"
wait $pid
status=$?
rm -f "$log"
exit $status
