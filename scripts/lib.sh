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

# True where this machine runs 32-bit x86 programs: some kernels of this kind of machine answer
# "Exec format error" to every 32-bit ELF file, others run them.
runs_32bit_programs() {
    [ -x /lib32/ld-linux.so.2 ] && /lib32/ld-linux.so.2 --version >/dev/null 2>&1
}

# Installs Wine's 32-bit half (wine32:i386, which brings /usr/lib/wine/wine), adding the i386
# architecture first; the caller has checked that 32-bit programs run here.
install_wine32() {
    dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed" && return 0
    echo "Installing: wine32:i386"
    local sudo=()
    if [ "$(id -u)" != 0 ]; then
        command -v sudo >/dev/null || { echo "Please install as root: wine32:i386" >&2; return 1; }
        sudo=(sudo)
    fi
    dpkg --print-foreign-architectures | grep -qx i386 || "${sudo[@]}" dpkg --add-architecture i386 || return 1
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q || return 1
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q wine32:i386 </dev/null || return 1
}

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
