#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Zindrel need.
# Idempotent: asks apt-get only for what is missing and does nothing when all is there.
set -euo pipefail

PACKAGES=(
    # toolchain
    g++ make cmake pkg-config clang libclang-rt-14-dev clang-format
    # game libraries
    libglfw3-dev libgl-dev libgl1-mesa-dri libglu1-mesa-dev libopenal-dev libopenal1 libalut-dev
    libzip-dev zlib1g-dev
    # tests and benchmarks
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth xdotool x11-utils libx11-dev libxcomposite-dev libxtst-dev libxrandr-dev imagemagick sox zip unzip
    libstb-dev libtinyobjloader-dev assimp-utils
    # make test-under-load
    stress-ng
    # install and packaging checks
    dpkg-dev file desktop-file-utils appstream lintian
    # lint (make lint)
    clang-tidy
)
# The web build and its browser test (make web, make test-web): scripts/install-deps.sh --web
if [ "${1:-}" = "--web" ]; then
    PACKAGES+=(emscripten dpkg-dev chromium python3-websocket)
fi

# scripts/check-deps.sh compares what the build included with this list.
if [ "${1:-}" = "--list" ]; then
    printf '%s\n' "${PACKAGES[@]}"
    exit 0
fi

missing=()
for pkg in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$pkg")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing missing packages: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
