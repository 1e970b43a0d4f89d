#!/bin/bash
# The whole test suite: installs what is missing, builds the host tests, the i686 product (warnings
# are errors there) and the x86_64 program with its Wine tests, runs both ctest suites and the
# release checks and ends with "N passed, N failed". Exits non-zero on any build or test failure.
#
# Where this machine runs 32-bit programs (some kernels of its kind refuse them), Wine's 32-bit
# half is installed and the end-to-end journeys and the installer test work the i686 velutra.exe
# and setup.exe that users download; elsewhere they work the x86_64 build. Each runs once.
set -u -o pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.." || exit 1
# shellcheck source=scripts/lib.sh
. scripts/lib.sh

jobs=${VELUTRA_JOBS:-2}
failures=()
summaries=()
passed=0
failed=0
started=$SECONDS

step() { echo; echo "== $* ($((SECONDS - started)) s)"; }

build() {
    local name=$1; shift
    step "build $name"
    cmake -S . -B "build/$name" -G Ninja "$@" && cmake --build "build/$name" -j "$jobs" && return 0
    failures+=("build $name")
    return 1
}

# Runs ctest in a build folder and adds its counts from the closing line
# "NN% tests passed, F tests failed out of T".
run_ctest() {
    local name=$1 log
    shift
    step "ctest build/$name"
    log=$(mktemp)
    ctest --test-dir "build/$name" --output-on-failure --no-tests=error "$@" 2>&1 | tee "$log"
    local status=${PIPESTATUS[0]}
    local line
    line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n1)
    rm -f "$log"
    if [ -n "$line" ]; then
        summaries+=("build/$name: $line")
        local total bad
        bad=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
        total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
        passed=$((passed + total - bad))
        failed=$((failed + bad))
    fi
    [ "$status" = 0 ] || failures+=("ctest build/$name")
}

# The quick form of scripts/release.sh: the zips and the installer of the two test builds, and the
# checks of their contents, counted with the tests.
run_release_check() {
    step "release packages"
    local log line
    log=$(mktemp)
    bash scripts/release.sh --quick 2>&1 | tee "$log"
    local status=${PIPESTATUS[0]}
    line=$(grep -E '^release check: [0-9]+ passed, [0-9]+ failed$' "$log" | tail -n1)
    rm -f "$log"
    if [ -n "$line" ]; then
        summaries+=("$line")
        passed=$((passed + $(sed -E 's/.*: ([0-9]+) passed.*/\1/' <<<"$line")))
        failed=$((failed + $(sed -E 's/.* ([0-9]+) failed$/\1/' <<<"$line")))
    fi
    [ "$status" = 0 ] || failures+=("release packages")
}

install_packages "${VELUTRA_TEST_PACKAGES[@]}" || { echo "Could not install the packages" >&2; exit 1; }

e2e_build=""
if runs_32bit_programs; then
    install_wine32 || { echo "Could not install wine32:i386" >&2; exit 1; }
    e2e_build=$PWD/build/win32
    echo "32-bit programs run here: the end-to-end and installer tests work the i686 velutra.exe and setup.exe"
else
    echo "32-bit programs do not run here: the end-to-end and installer tests work the x86_64 build instead"
fi

build host && run_ctest host -j "$jobs"
build win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DVELUTRA_WERROR=ON -DVELUTRA_TESTS=OFF
win32_built=$?
build win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake "-DVELUTRA_E2E_BUILD=$e2e_build" && run_ctest win64
[ $win32_built = 0 ] && run_release_check

step "summary"
for summary in "${summaries[@]}"; do echo "$summary"; done
for failure in "${failures[@]}"; do echo "FAILED: $failure"; done
total=$((passed + failed))
echo "Whole suite in $((SECONDS - started)) s:"
echo "$((total ? passed * 100 / total : 0))% tests passed, $failed tests failed out of $total"
echo "$passed passed, $failed failed"
[ ${#failures[@]} -eq 0 ] && [ "$failed" -eq 0 ] && [ "$total" -gt 0 ]
