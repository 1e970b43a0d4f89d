#!/bin/sh
# Runs the store-file fuzzer for longer than the test does: scripts/fuzz-store.sh [seconds] [jobs]
# Builds the host tree in build/host, keeps what it finds in build/host/tests/fuzz/corpus and
# leaves any crashing input as build/host/tests/fuzz/crash-*. Exits non-zero when it finds one.
set -eu
seconds=${1:-600}
jobs=${2:-1}
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/host"
cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target velutra_store_fuzz_build
mkdir -p "$build/tests/fuzz/corpus"
cd "$build/tests/fuzz"
exec ./velutra_store_fuzz -max_total_time="$seconds" -jobs="$jobs" -workers="$jobs" -max_len=70000 \
    corpus "$root/tests/fuzz/corpus"
