#!/bin/bash
# Builds the two programs in a Release tree and makes their Debian packages:
#   packaging/make-packages.sh TREE OUT_DIR [cmake options...]
# leaves lorvane_<version>_amd64.deb and tarnwick_<version>_amd64.deb in OUT_DIR.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
tree=$1 out=$2
shift 2
cmake -S "$src" -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
cmake --build "$tree" --parallel "$(nproc)" --target lorvane tarnwick
rm -rf "$tree/cpack"
(cd "$tree" && cpack -G DEB -B "$tree/cpack" >"$tree/cpack.log") || {
    cat "$tree/cpack.log" >&2
    exit 1
}
mkdir -p "$out"
cp "$tree"/cpack/lorvane_*.deb "$tree"/cpack/tarnwick_*.deb "$out"/
