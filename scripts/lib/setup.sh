# SPDX-License-Identifier: GPL-3.0-or-later
# Shared set-up of scripts/run and scripts/test: Debian packages, configure, build.
# Sourced, not run. Honours VARNIX_BUILD_DIR (default: build) and VARNIX_JOBS.

VARNIX_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
VARNIX_BUILD_DIR=${VARNIX_BUILD_DIR:-$VARNIX_ROOT/build}
VARNIX_JOBS=${VARNIX_JOBS:-$(nproc 2>/dev/null || echo 2)}

# Everything the build, the tests and the demo need, as Debian 12 packages.
VARNIX_PACKAGES=(
    build-essential cmake ninja-build pkg-config git ca-certificates python3
    libgtest-dev libgmock-dev libbenchmark-dev
    nlohmann-json3-dev libhidapi-dev libudev-dev libminizip-dev zlib1g-dev
    libcurl4-openssl-dev libxkbcommon-dev libxkbcommon-x11-dev libxcb1-dev uuid-dev
    qt6-base-dev libqt6svg6-dev xkb-data fonts-dejavu-core
    # The window draws the shipped Chinese texts with this face.
    fonts-wqy-microhei
)

varnix_install_packages() {
    local missing=() package status
    for package in "${VARNIX_PACKAGES[@]}" "$@"; do
        status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
        [[ $status == "install ok installed" ]] || missing+=("$package")
    done
    if ((${#missing[@]} == 0)); then
        return 0
    fi
    echo "Installing: ${missing[*]}"
    local sudo=()
    if [[ $(id -u) != 0 ]]; then
        sudo=(sudo)
    fi
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update
    "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}

# varnix_build <build dir> [cmake options...]
varnix_build() {
    local dir=$1
    shift
    cmake -S "$VARNIX_ROOT" -B "$dir" -G Ninja "$@"
    cmake --build "$dir" --parallel "$VARNIX_JOBS"
}
