#!/usr/bin/env bash
# Builds Qt (Core, Gui, Widgets and the Windows platform plugin) for 64-bit
# Windows with MinGW-w64, from Debian's own qt6-base source package, once,
# into a cache folder outside the work tree. Debian ships no Qt for MinGW.
#
# Prints the install folder as the last line on stdout; progress goes to
# stderr. A second run with the cache present does nothing. A ready build of
# the same version at ../shared/qt6-mingw-<version> is used instead.
#
# Environment: CUBRIX_QT_MINGW_CACHE (cache folder), CUBRIX_JOBS (default 2).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=${CUBRIX_JOBS:-2}

# The host tools (moc, rcc, uic) come from Debian's qt6-base-dev, so the
# source must be exactly the same version.
host_version=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null) || {
    echo "qt6-base-dev is not installed (tools/install-deps.sh)" >&2
    exit 1
}
qt_version=${host_version%%+*}
name=qt6-mingw-$qt_version
cache=${CUBRIX_QT_MINGW_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/cubrix}
prefix=$cache/$name
toolchain=$root/cmake/mingw-w64-x86_64.cmake

# Only what the program uses. Debian's source drops src/3rdparty/wintab, hence
# no tablet events. OpenGL stays on: 6.4.2's Windows plugin does not compile
# without it. The toolchain links libgcc and libstdc++ statically.
options=(-DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF
    -DFEATURE_concurrent=OFF -DFEATURE_testlib=OFF -DFEATURE_printsupport=ON
    -DFEATURE_xml=OFF -DFEATURE_zstd=OFF -DFEATURE_tabletevent=OFF)

# Written last, so a broken or interrupted install is never taken as ready;
# it names the source, the toolchain and the options that made the build.
stamp=.cubrix-qt-mingw
recipe="$host_version $({ cat "$toolchain"; printf '%s\n' "${options[@]}"; } | sha256sum | cut -c1-16)"

log() { echo "[qt-mingw] $(date -u +%H:%M:%S) $*" >&2; }

ready() { [ -f "$1/$stamp" ] && [ "$(cat "$1/$stamp")" = "$recipe" ]; }

shared=$(cd "$root/.." && pwd)/shared/$name
if ready "$shared"; then
    log "using the ready build at $shared"
    echo "$shared"
    exit 0
fi
# One build at a time: a second run waits for the first and then uses it.
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
mkdir -p "$work"
started=$(date +%s)

# Only binary package lists are configured. A private source list, derived
# from the system's own at run time, and private apt state keep the system's
# lists untouched.
log "fetching the source of qt6-base $host_version"
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
(cd "$work" && apt-get "${apt_opts[@]}" source -qq "qt6-base=$host_version" >&2)
src=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)
[ -n "$src" ] || { echo "no qtbase source unpacked in $work" >&2; exit 1; }

log "configuring"
cmake -S "$src" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_PREFIX="$prefix" "${options[@]}" \
    >"$work/configure.log" 2>&1 || {
    tail -n 40 "$work/configure.log" >&2
    exit 1
}

# Ninja prints one line per step; show every 50th so the log stays short.
log "building (about 1,160 steps, ~35 min on 2 cores)"
progress() {
    local line step
    while IFS= read -r line; do
        [[ $line =~ ^\[([0-9]+)/([0-9]+)\] ]] || continue
        step=${BASH_REMATCH[1]}
        if ((step % 50 == 0)) || [ "$step" = "${BASH_REMATCH[2]}" ]; then
            log "step $step/${BASH_REMATCH[2]}"
        fi
    done
}
set +e
cmake --build "$work/build" -j"$jobs" 2>&1 | tee "$work/build.log" | progress
status=${PIPESTATUS[0]}
set -e
if [ "$status" -ne 0 ]; then
    grep -E -A 5 'FAILED|error:' "$work/build.log" | head -n 60 >&2
    exit 1
fi

log "installing to $prefix"
cmake --install "$work/build" >"$work/install.log" 2>&1
find "$prefix" -name "*.dll" -exec x86_64-w64-mingw32-strip --strip-unneeded {} +
echo "$recipe" >"$prefix/$stamp"
rm -rf "$work"
log "done in $((($(date +%s) - started) / 60)) min, $(du -sh "$prefix" | cut -f1)"
echo "$prefix"
