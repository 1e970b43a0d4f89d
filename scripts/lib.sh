# Shared by the scripts: the Debian packages the project needs, and their installation.

# Everything the whole test suite needs on a fresh Debian 12 machine.
VELUTRA_TEST_PACKAGES=(
    cmake ninja-build g++ googletest libgtest-dev clang libclang-rt-14-dev
    g++-mingw-w64-x86-64 g++-mingw-w64-i686
    wine wine64 xvfb xdotool imagemagick pulseaudio pulseaudio-utils sox icoutils nsis binutils
    locales fonts-noto-cjk
)

# What building and starting the program needs.
VELUTRA_START_PACKAGES=(
    cmake ninja-build googletest g++-mingw-w64-x86-64
    wine wine64 xvfb xdotool imagemagick pulseaudio pulseaudio-utils
)

# What scripts/release.sh needs to build the zips and the installer.
VELUTRA_RELEASE_PACKAGES=(
    cmake ninja-build g++-mingw-w64-i686 g++-mingw-w64-x86-64 nsis icoutils binutils
)

# Installs the packages that are missing, with apt-get (through sudo when not root).
install_packages() {
    local missing=() package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" != 0 ]; then
        command -v sudo >/dev/null || { echo "Please install as root: ${missing[*]}" >&2; return 1; }
        sudo=(sudo)
    fi
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q || return 1
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}" </dev/null || return 1
}
