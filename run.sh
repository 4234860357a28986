#!/bin/bash
# Sets everything up on a Debian 12 machine and then:
#   ./run.sh            builds lorvane (only what it needs) and starts it
#   ./run.sh tarnwick   builds tarnwick (only what it needs) and starts it
#   ./run.sh test       builds and runs the whole test suite (also under ASan/UBSan)
#   ./run.sh package    makes lorvane_<version>_amd64.deb and tarnwick_<version>_amd64.deb here
set -euo pipefail
cd "$(dirname "$0")"
ROOT=$PWD

PACKAGES=(
    # build
    build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev libvulkan-dev
    libpulse-dev libxi-dev libx11-dev libsqlite3-dev libtag1-dev
    # running (qt6-wayland: the programs' windows on a Wayland session without Xwayland)
    xdg-utils procps qt6-wayland
    # making and checking the Debian packages
    dpkg-dev file appstream desktop-file-utils lintian
    # real servers and tools the tests drive
    xvfb xauth x11-utils xdotool xclip imagemagick openbox trayer dbus dbus-daemon
    pulseaudio pulseaudio-utils cups cups-client cups-bsd printer-driver-cups-pdf poppler-utils
    sway xdg-desktop-portal xdg-desktop-portal-wlr xdg-desktop-portal-gtk pipewire grim
    haskell-gtk-sni-tray-utils
    mpv mpv-mpris vlc-bin vlc-plugin-base pipewire-pulse wireplumber xfce4-panel
)

install_packages() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q \
        --no-install-recommends "${missing[@]}"
}

build() { # build DIR [cmake options...]
    local dir=$1; shift
    cmake -S "$ROOT" -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir" --parallel "$(nproc)"
}

# Only the program and what it needs, not the tests and tools: the quickest first start.
build_program() { # build_program NAME
    cmake -S "$ROOT" -B "$ROOT/build" -G Ninja >/dev/null
    cmake --build "$ROOT/build" --parallel "$(nproc)" --target "$1"
}

make_packages() {
    "$ROOT/packaging/make-packages.sh" "$ROOT/build-package" "$ROOT"
    ls -1 "$ROOT"/lorvane_*.deb "$ROOT"/tarnwick_*.deb
}

run_tests() {
    local jobs
    jobs=$(nproc)
    build "$ROOT/build" -DPROJECT_WERROR=ON
    (cd "$ROOT/build" && ctest --output-on-failure --timeout 600 -j "$jobs")
    build "$ROOT/build-asan" -DPROJECT_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug -DPROJECT_WERROR=ON
    (cd "$ROOT/build-asan" && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --output-on-failure --timeout 600 -j "$jobs" -LE 'bench|nosan|package')
    if [ -n "$(find "$ROOT/lorvane" "$ROOT/tarnwick" -name 'fuzz_*.cpp' -print -quit)" ]; then
        cmake -S "$ROOT" -B "$ROOT/build-fuzz" -G Ninja -DLORVANE_FUZZ=ON -DPROJECT_WERROR=ON \
            -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
        cmake --build "$ROOT/build-fuzz" --target fuzz_all --parallel "$jobs"
        (cd "$ROOT/build-fuzz" && ctest --output-on-failure -L fuzz)
    fi
}

install_packages
case ${1:-lorvane} in
lorvane) build_program lorvane && exec "$ROOT/build/lorvane/lorvane" ;;
tarnwick) build_program tarnwick && exec "$ROOT/build/tarnwick/tarnwick" ;;
test) run_tests ;;
package) make_packages ;;
*) echo "usage: $0 [lorvane|tarnwick|test|package]" >&2; exit 2 ;;
esac
