#!/usr/bin/env bash
# Sets up a fresh Debian machine and builds the game into build/.
#   ./run.sh game [game flags...]   install what is missing, build, start the game
#   ./run.sh tests                  install what is missing, build, run every test
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(cmake g++ make pkg-config libgtest-dev libbenchmark-dev libsdl2-dev liblua5.1-0-dev zlib1g-dev
          libpng-dev libjpeg62-turbo-dev libogg-dev libvorbis-dev libfreetype-dev libopenal-dev libgl-dev
          libgl1-mesa-dri xvfb xauth fonts-dejavu-core clang libclang-rt-14-dev)

install_missing() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() {
    local jobs
    jobs=$(nproc 2>/dev/null || echo 2)
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build build -j "$jobs"
}

what=${1:-}
[ $# -gt 0 ] && shift
case "$what" in
    game)
        install_missing
        build
        exec build/game "$@"
        ;;
    tests)
        install_missing
        build
        cd build
        ctest --output-on-failure -j "$(nproc 2>/dev/null || echo 2)"
        ;;
    *)
        echo "usage: $0 game|tests" >&2
        exit 2
        ;;
esac
