#!/usr/bin/env bash
# Builds qpdf (with the libjpeg it needs) as static libraries for 64-bit
# Windows with MinGW-w64, from Debian's own source packages, once, into a
# cache folder outside the work tree: Debian ships no qpdf for MinGW, and the
# Windows program mends its saved PDFs' text maps with it as the Linux one
# does. zlib comes from libz-mingw-w64-dev.
#
# Prints the install folder (include/, lib/) as the last line on stdout;
# progress goes to stderr. A second run with the cache present does nothing.
#
# Environment: CUBRIX_QT_MINGW_CACHE (cache folder), CUBRIX_JOBS (default 2).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=${CUBRIX_JOBS:-2}
triple=x86_64-w64-mingw32

# The same qpdf as the Linux build's libqpdf-dev, the libjpeg of this system.
qpdf_version=$(dpkg-query -W -f='${Version}' libqpdf-dev 2>/dev/null) || {
    echo "libqpdf-dev is not installed (tools/install-deps.sh)" >&2
    exit 1
}
jpeg_version=$(dpkg-query -W -f='${Version}' libjpeg62-turbo 2>/dev/null) || {
    echo "libjpeg62-turbo is not installed (tools/install-deps.sh)" >&2
    exit 1
}
name=qpdf-mingw-${qpdf_version%%-*}
cache=${CUBRIX_QT_MINGW_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/cubrix}
prefix=$cache/$name
toolchain=$root/cmake/mingw-w64-x86_64.cmake
stamp=.cubrix-qpdf-mingw
recipe="$qpdf_version $jpeg_version $({ cat "$toolchain" "$0"; } | sha256sum | cut -c1-16)"

log() { echo "[qpdf-mingw] $(date -u +%H:%M:%S) $*" >&2; }
ready() { [ -f "$1/$stamp" ] && [ "$(cat "$1/$stamp")" = "$recipe" ]; }

mkdir -p "$cache"
exec 9>"$cache/$name.lock"
flock 9
if ready "$prefix"; then
    log "already built: $prefix"
    echo "$prefix"
    exit 0
fi
work=$cache/$name-work
rm -rf "$work" "$prefix"
mkdir -p "$work" "$prefix/include" "$prefix/lib"
started=$(date +%s)

# A private source list and apt state, as tools/build-qt-mingw.sh keeps them.
log "fetching the sources of qpdf $qpdf_version and libjpeg-turbo $jpeg_version"
apt_dir=$work/apt
mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/sources.list.d"
for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && sed -E 's/^Types:.*/Types: deb-src/' "$f" >"$apt_dir/sources.list.d/$(basename "$f")"
done
if [ -f /etc/apt/sources.list ]; then
    sed -nE 's/^deb[[:space:]]/deb-src /p' /etc/apt/sources.list >"$apt_dir/sources.list"
else
    : >"$apt_dir/sources.list"
fi
apt_opts=(-o "Dir::Etc::SourceList=$apt_dir/sources.list"
    -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
    -o "Dir::State::Lists=$apt_dir/lists"
    -o "Dir::Cache=$apt_dir/cache"
    -o "Debug::NoLocking=1"
    -o "APT::Sandbox::User=$(id -un)")
apt-get "${apt_opts[@]}" update -qq >&2
(cd "$work" && apt-get "${apt_opts[@]}" source -qq "qpdf=$qpdf_version" \
    "libjpeg-turbo=$jpeg_version" >"$work/source.log" 2>&1) || {
    cat "$work/source.log" >&2
    exit 1
}
qpdf_src=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'qpdf-*' | head -n 1)
jpeg_src=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n 1)

build() {  # NAME SOURCE TARGET CMAKE-OPTIONS...
    local what=$1 src=$2 target=$3
    shift 3
    log "building $what"
    # pkg-config would offer the host's libraries: none for this build.
    PKG_CONFIG_LIBDIR=$work/none cmake -S "$src" -B "$work/$what" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release "$@" \
        >"$work/$what.log" 2>&1 &&
        cmake --build "$work/$what" -j"$jobs" --target "$target" >>"$work/$what.log" 2>&1 || {
        grep -E -A 5 'FAILED|error' "$work/$what.log" | head -n 40 >&2
        exit 1
    }
}

build jpeg "$jpeg_src" jpeg-static -DWITH_SIMD=OFF -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
    -DWITH_TURBOJPEG=OFF -DCMAKE_INSTALL_PREFIX="$prefix"
cp "$jpeg_src"/{jpeglib.h,jmorecfg.h,jerror.h} "$work/jpeg/jconfig.h" "$prefix/include/"
cp "$work/jpeg/libjpeg.a" "$prefix/lib/"

# Its own crypto (no OpenSSL or GnuTLS for MinGW); the library only. Its
# checks link "Advapi32", which MinGW has in lower case only.
mkdir -p "$work/libs"
ln -s "/usr/$triple/lib/libadvapi32.a" "$work/libs/libAdvapi32.a"
build qpdf "$qpdf_src" libqpdf.a -DCMAKE_EXE_LINKER_FLAGS="-L$work/libs" \
    -DBUILD_SHARED_LIBS=OFF -DBUILD_STATIC_LIBS=ON -DBUILD_DOC=OFF \
    -DREQUIRE_CRYPTO_NATIVE=ON -DUSE_IMPLICIT_CRYPTO=OFF \
    -DZLIB_H_PATH="/usr/$triple/include" -DZLIB_LIB_PATH="/usr/$triple/lib/libz.a" \
    -DLIBJPEG_H_PATH="$prefix/include" -DLIBJPEG_LIB_PATH="$prefix/lib/libjpeg.a"
cp -r "$qpdf_src/include/qpdf" "$prefix/include/"
cp "$work/qpdf/libqpdf/libqpdf.a" "$prefix/lib/"
cp "/usr/$triple/lib/libz.a" "$prefix/lib/"

echo "$recipe" >"$prefix/$stamp"
rm -rf "$work"
log "done in $((($(date +%s) - started) / 60)) min, $(du -sh "$prefix" | cut -f1)"
echo "$prefix"
