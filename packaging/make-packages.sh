#!/bin/bash
# Builds the two programs in a Release tree and makes their Debian packages:
#   packaging/make-packages.sh TREE OUT_DIR [cmake options...]
# leaves lorvane_<version>_amd64.deb and tarnwick_<version>_amd64.deb in OUT_DIR.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
tree=$(realpath -m "$1") out=$(realpath -m "$2")
shift 2

# Debian's hardening flags, as its own packages are built with; the optimisation is the
# Release build's, and the symbols are stripped anyway. Asked from the source folder, so
# that file names in the programs are relative to it.
debian_flags() { # debian_flags CPPFLAGS|CXXFLAGS|LDFLAGS
    local flag kept=()
    for flag in $(cd "$src" && DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"); do
        case $flag in -g | -O2) ;; *) kept+=("$flag") ;; esac
    done
    echo "${kept[*]}"
}

cmake -S "$src" -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_C_FLAGS="$(debian_flags CPPFLAGS) $(debian_flags CFLAGS)" \
    -DCMAKE_CXX_FLAGS="$(debian_flags CPPFLAGS) $(debian_flags CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(debian_flags LDFLAGS)" "$@" >/dev/null
cmake --build "$tree" --parallel "$(nproc)" --target lorvane tarnwick
rm -rf "$tree/cpack"
(cd "$tree" && cpack -G DEB -B "$tree/cpack" >"$tree/cpack.log") || {
    cat "$tree/cpack.log" >&2
    exit 1
}
mkdir -p "$out"
cp "$tree"/cpack/lorvane_*.deb "$tree"/cpack/tarnwick_*.deb "$out"/
