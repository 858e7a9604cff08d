# Shared by the scripts: installs the Debian packages the build needs when any
# is missing, then configures and builds. The list holds what building and
# running the program needs; a script that builds more adds its own packages.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
packages=(g++ cmake pkg-config libxml2-dev libunistring-dev libasio-dev qt6-base-dev fonts-wine)

install_missing_packages() {
    local missing=()
    for package in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}"
}

# build DIR [cmake options...] [--target TARGET...]
build() {
    local dir="$1"
    shift
    local options=() targets=()
    while [ $# -gt 0 ]; do
        if [ "$1" = --target ]; then
            shift
            targets=(--target "$@")
            break
        fi
        options+=("$1")
        shift
    done
    cmake -S "$root" -B "$root/$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}" >/dev/null
    cmake --build "$root/$dir" -j "$(nproc)" "${targets[@]}"
}
