#!/bin/bash
# Builds both Debian packages in a Release tree of its own and checks what a person
# installing them gets: the files and where they go, the dependencies, the menu entries
# and metainfo as the desktop's own validators read them, and lintian where installed.
#   packaging/check-packages.sh WORK_DIR VERSION [compiler launcher]
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
work=$(realpath -m "$1") version=$2 launcher=${3:-}
options=()
[ -n "$launcher" ] && options+=("-DCMAKE_C_COMPILER_LAUNCHER=$launcher"
    "-DCMAKE_CXX_COMPILER_LAUNCHER=$launcher")
rm -rf "$work/debs" "$work/root"
"$src/packaging/make-packages.sh" "$work/tree" "$work/debs" "${options[@]}"

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# The width and height a PNG file says it has, as "WxH".
png_size() {
    local w h
    read -r w h < <(od -An -tu4 --endian=big -j16 -N8 "$1")
    echo "${w}x${h}"
}

check_package() { # check_package NAME APPSTREAM_ID EXPECTED_DEPENDS...
    local name=$1 id=$2
    shift 2
    local deb=$work/debs/${name}_${version}_amd64.deb
    if [ ! -f "$deb" ]; then
        fail "$name: no $deb"
        return
    fi
    echo "== $deb"
    dpkg-deb --info "$deb"
    [ "$(dpkg-deb -f "$deb" Package)" = "$name" ] || fail "$name: wrong Package field"
    [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "$name: wrong Version field"
    [ "$(dpkg-deb -f "$deb" Architecture)" = amd64 ] || fail "$name: wrong Architecture"
    local depends
    depends=$(dpkg-deb -f "$deb" Depends)
    for dep in "$@"; do
        grep -Eq "(^|, )$dep( |,|$)" <<<"$depends" || fail "$name: Depends lacks $dep"
    done
    # A package that runs nothing at install time leaves the system as dpkg found it.
    local scripts
    scripts=$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -Ev '^\./$|^\./(control|md5sums)$' || true)
    [ -z "$scripts" ] || fail "$name: unexpected control files: $scripts"

    local listing
    listing=$(dpkg-deb -c "$deb" | awk '{print $6}')
    local outside
    outside=$(grep -Ev '^\./$|^\./usr/' <<<"$listing" || true)
    [ -z "$outside" ] || fail "$name: files outside /usr: $outside"
    local expected=(
        "./usr/bin/$name"
        "./usr/share/applications/$name.desktop"
        "./usr/share/icons/hicolor/scalable/apps/$name.svg"
        "./usr/share/metainfo/$id.metainfo.xml"
        "./usr/share/man/man1/$name.1.gz"
        "./usr/share/doc/$name/copyright"
        "./usr/share/doc/$name/changelog.gz"
    )
    for size in 16 32 48 64 128 256; do
        expected+=("./usr/share/icons/hicolor/${size}x${size}/apps/$name.png")
    done
    [ "$name" = lorvane ] && expected+=("./usr/share/lorvane/lorvane.txt")
    for file in "${expected[@]}"; do
        grep -qxF "$file" <<<"$listing" || fail "$name: $file missing"
    done
    local count
    count=$(grep -cv '/$' <<<"$listing")
    [ "$count" -eq "${#expected[@]}" ] ||
        fail "$name: $count files where ${#expected[@]} were expected: $(grep -v '/$' <<<"$listing")"

    local root=$work/root/$name
    mkdir -p "$root"
    dpkg-deb -x "$deb" "$root"
    readelf -S "$root/usr/bin/$name" | grep -q '\.symtab' && fail "$name: program not stripped"
    for size in 16 32 48 64 128 256; do
        local png=$root/usr/share/icons/hicolor/${size}x${size}/apps/$name.png
        if [ ! -f "$png" ] || [ "$(png_size "$png")" != "${size}x${size}" ]; then
            fail "$name: icon for ${size}x${size} is not that size"
        fi
    done
    desktop-file-validate "$root/usr/share/applications/$name.desktop" ||
        fail "$name: desktop-file-validate"
    appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" ||
        fail "$name: appstreamcli validate"
    grep -q "<release version=\"$version\"" "$root/usr/share/metainfo/$id.metainfo.xml" ||
        fail "$name: metainfo has no release $version"
    grep -qx "Exec=$name" "$root/usr/share/applications/$name.desktop" ||
        fail "$name: menu entry does not start $name"
    gzip -t "$root/usr/share/man/man1/$name.1.gz" || fail "$name: man page"

    if command -v lintian >/dev/null; then
        lintian --fail-on error --allow-root --tag-display-limit 0 "$deb" ||
            fail "$name: lintian reports errors"
    fi
}

check_package lorvane org.lorvane.Lorvane libc6 libqt6core6 libqt6widgets6 libpulse0 \
    libsqlite3-0 xdg-utils qt6-wayland
check_package tarnwick org.lorvane.Tarnwick libc6 libqt6core6 libqt6widgets6 \
    libqt6printsupport6 libxi6 cups-client qt6-wayland

if [ "$failures" -gt 0 ]; then
    echo "$failures package checks failed"
    exit 1
fi
echo "both packages passed their checks"
