#!/bin/bash
# Builds what a user downloads and checks it.
#
#   bash scripts/release.sh          Release builds of the i686 product (build/release-win32) and of
#                                    the x86_64 program (build/release-win64), then in build/release:
#                                    velutra-<version>-win32.zip, velutra-<version>-win64.zip and
#                                    velutra-<version>-setup.exe (the installer of the 32-bit program)
#   bash scripts/release.sh --quick  the same packages from the test builds build/win32 and
#                                    build/win64 that scripts/test.sh has made, into
#                                    build/release-quick; what the test suite runs
#
# The version is the project's VERSION in CMakeLists.txt. Ends with "N passed, N failed" for the
# checks of the packages' contents and exits non-zero when a build or a check fails.
set -u -o pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.." || exit 1
# shellcheck source=scripts/lib.sh
. scripts/lib.sh

quick=0
[ "${1:-}" = --quick ] && quick=1
jobs=${VELUTRA_JOBS:-2}

if [ $quick = 1 ]; then
    win32=build/win32 win64=build/win64 out=build/release-quick
    for tree in $win32 $win64; do
        [ -f $tree/CMakeCache.txt ] || { echo "release: $tree is not configured; run scripts/test.sh first" >&2; exit 1; }
    done
else
    install_packages "${VELUTRA_RELEASE_PACKAGES[@]}" || { echo "Could not install the packages" >&2; exit 1; }
    win32=build/release-win32 win64=build/release-win64 out=build/release
    cmake -S . -B $win32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release \
        -DVELUTRA_WERROR=ON -DVELUTRA_TESTS=OFF >/dev/null || exit 1
    cmake -S . -B $win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
        -DVELUTRA_WERROR=ON -DVELUTRA_TESTS=OFF >/dev/null || exit 1
fi
for tree in $win32 $win64; do
    cmake --build $tree -j "$jobs" --target velutra_package || { echo "release: the build of $tree failed" >&2; exit 1; }
done

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' $win32/CMakeCache.txt)
zip32=velutra-$version-win32.zip
zip64=velutra-$version-win64.zip
setup=velutra-$version-setup.exe
rm -rf "$out"
mkdir -p "$out"
cp $win32/$zip32 $win64/$zip64 "$out"/ || exit 1
[ -f $win32/$setup ] && cp $win32/$setup "$out"/

passed=0 failed=0
check() {  # check DESCRIPTION COMMAND...
    local what=$1; shift
    if "$@" >/dev/null 2>&1; then
        passed=$((passed + 1)); echo "ok      $what"
    else
        failed=$((failed + 1)); echo "FAILED  $what"
    fi
}

# The machine field of a PE file's header: 014c for i386, 8664 for x86-64.
pe_machine() {
    local offset
    offset=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
    od -An -tx2 -j$((offset + 4)) -N2 "$1" | tr -d ' '
}
is_pe_for() { [ "$(head -c2 "$1")" = MZ ] && [ "$(pe_machine "$1")" = "$2" ]; }
same_listing() { [ "$(cmake -E tar tf "$1" | sort | tr '\n' ' ')" = "$2" ]; }
has_crlf_lines() { [ "$(grep -c $'\r$' "$1")" = "$(wc -l <"$1")" ]; }
has_version_resource() { wrestool -x --raw -t 16 "$1" | strings -el | grep -qx "$2"; }
# A requestedExecutionLevel would switch off Windows' virtualisation, which a standard user's
# installation needs for the settings under HKLM.
asks_no_execution_level() { ! wrestool -x --raw -t 24 "$1" 2>/dev/null | grep -q requestedExecutionLevel; }
manifest() { wrestool -x --raw -t 24 -n 1 "$1"; }
# The application manifest: Windows 7, 8, 8.1 and 10/11 named, Common Controls 6, no DPI awareness
# (the skin is placed in pixels).
has_current_manifest() {
    wrestool -l "$1" | grep -q -- '--type=24 --name=1 ' &&
        [ "$(manifest "$1" | grep -o '<supportedOS Id="{[0-9a-f-]*}"' | sort -u | tr -d '\n')" = \
          '<supportedOS Id="{1f676c76-80e1-4239-95bb-83d0f6d0da78}"<supportedOS Id="{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"<supportedOS Id="{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}"<supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"' ] &&
        manifest "$1" | grep -q 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' &&
        ! manifest "$1" | grep -qi '<dpiAware'
}
# The program's icon (group 147) as Explorer and the task bar read it: width x bits of each image.
icon_images() {
    local ico
    ico=$(mktemp) && wrestool -x -t 14 -n 147 -o "$ico" "$1" &&
        icotool -l "$ico" | sed -E 's/.*--width=([0-9]+) .*--bit-depth=([0-9]+).*/\1x\2/' | sort -n | tr '\n' ' '
    rm -f "$ico"
}
has_sharp_icons() { [ "$(icon_images "$1")" = "16x32 16x8 32x32 32x8 48x32 48x8 256x32 " ]; }
# A text of a program's version resource, read as UTF-16.
version_value() {
    wrestool -x --raw -t 16 "$1" | iconv -c -f UTF-16LE -t UTF-8 | tr -c '[:print:]\200-\377' '\n' |
        awk -v key="$2" 'found && NF { print; exit } $0 == key { found = 1 }'
}
# LICENSE's copyright line gives the years and the holder that every other copy must show.
copyright_years=$(sed -n -E 's/^Copyright \(c\) ([0-9]+-[0-9]+) .*/\1/p' LICENSE)
company=$(sed -n -E 's/^Copyright \(c\) [0-9]+-[0-9]+ (.*)/\1/p' LICENSE)
names_the_owner() {
    [ -n "$company" ] && [ "$(version_value "$1" CompanyName)" = "$company" ] &&
        [ "$(version_value "$1" LegalCopyright)" = "Copyright © $copyright_years $company" ]
}
# Every language's About box shows the same years.
about_boxes_name_the_years() {
    local boxes=0 named=0 language
    for language in $(wrestool -l -t 5 -n ABOUTBOX "$1" | sed -E 's/.*--language=([0-9]+).*/\1/'); do
        boxes=$((boxes + 1))
        wrestool -x --raw -t 5 -n ABOUTBOX -L "$language" "$1" | iconv -c -f UTF-16LE -t UTF-8 |
            grep -aq -- " $copyright_years " && named=$((named + 1))
    done
    [ "$boxes" -ge 12 ] && [ "$named" = "$boxes" ]
}
readme_names() { grep -q "velutra.s" "$1" && grep -q 'SOFTWARE\\VELUTRA' "$1" && grep -q VelutraTray "$1"; }

listing="Velutra/ Velutra/LICENSE.txt Velutra/README.txt Velutra/velutra.exe "
for arch in win32 win64; do
    zip=velutra-$version-$arch.zip tree=$win32 machine=014c
    [ $arch = win64 ] && tree=$win64 machine=8664
    unpacked=$out/unpacked-$arch
    mkdir -p "$unpacked"
    check "$zip holds Velutra/ with velutra.exe, README.txt, LICENSE.txt" same_listing "$out/$zip" "$listing"
    (cd "$unpacked" && cmake -E tar xf "../$zip")
    exe=$unpacked/Velutra/velutra.exe
    check "$zip: velutra.exe is the build's" cmp "$exe" $tree/velutra.exe
    check "$zip: velutra.exe is a $arch program" is_pe_for "$exe" $machine
    check "$zip: velutra.exe carries version $version" has_version_resource "$exe" "$version"
    check "$zip: velutra.exe carries the manifest (Windows 7 to 11, Common Controls 6, no DPI awareness)" \
        has_current_manifest "$exe"
    check "$zip: velutra.exe's icon has 16, 32, 48 pixels in 8 and 32 bits, and 256 in 32 bits" \
        has_sharp_icons "$exe"
    check "$zip: velutra.exe's version resource names \"$company\" and \"Copyright © $copyright_years\"" \
        names_the_owner "$exe"
    check "$zip: velutra.exe's About box shows $copyright_years in every language" about_boxes_name_the_years "$exe"
    check "$zip: README.txt names version $version" grep -q "Velutra $version" "$unpacked/Velutra/README.txt"
    check "$zip: README.txt tells where playlists, settings and the Run entry are" readme_names "$unpacked/Velutra/README.txt"
    check "$zip: README.txt and LICENSE.txt have Windows line ends" \
        eval "has_crlf_lines '$unpacked/Velutra/README.txt' && has_crlf_lines '$unpacked/Velutra/LICENSE.txt'"
    check "$zip: LICENSE.txt is the project's licence" \
        eval "diff <(tr -d '\r' <'$unpacked/Velutra/LICENSE.txt') LICENSE"
done
check "velutra-$version-win32.zip: velutra.exe asks for no execution level" asks_no_execution_level "$out/unpacked-win32/Velutra/velutra.exe"
check "$setup exists (makensis, Debian package nsis)" test -s "$out/$setup"
[ -s "$out/$setup" ] && check "$setup is a 32-bit Windows program" is_pe_for "$out/$setup" 014c
[ -s "$out/$setup" ] && check "$setup's version resource names \"$company\" and \"Copyright © $copyright_years\"" \
    names_the_owner "$out/$setup"
rm -rf "$out"/unpacked-*

echo
ls -l "$out"
(cd "$out" && sha256sum -- *)
echo "release check: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
