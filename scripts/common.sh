# Shared by scripts/run and scripts/test: installs what a fresh Debian machine
# lacks, builds into build/, and runs Windows programs under Wine + Xvfb.
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD="$ROOT/build"

PACKAGES="wine wine32:i386 g++-mingw-w64-i686-posix binutils-mingw-w64-i686 cmake
          googletest xvfb xauth fonts-wqy-microhei imagemagick x11-utils xdotool"

ensure_packages() {
    local missing="" p
    for p in $PACKAGES; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing="$missing $p"
    done
    [ -z "$missing" ] && return 0
    echo "Installing:$missing"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing >/dev/null
}

build_all() {
    if [ ! -f "$BUILD/CMakeCache.txt" ]; then
        cmake -S "$ROOT" -B "$BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" >/dev/null
    fi
    if ! cmake --build "$BUILD" -j "$(nproc)" >"$BUILD/build.log" 2>&1; then
        grep -E -B2 -A8 'error|Error' "$BUILD/build.log" | head -n 80
        echo "Build failed; the whole log is $BUILD/build.log" >&2
        return 1
    fi
}

# Starts a private Xvfb unless a display is given, and one persistent wineserver
# for the session (process starts then cost ~50 ms instead of ~1 s).
XVFB_PID=""
start_display() {
    if [ -z "${DISPLAY:-}" ] || [ "${1:-}" = "--virtual" ]; then
        local n=90
        while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
        Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
        XVFB_PID=$!
        export DISPLAY=":$n"
        local i
        for i in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    fi
    "$BUILD/wine-run" cmd /c exit >/dev/null 2>&1 || true   # creates the prefix once
    WINEPREFIX="$BUILD/wineprefix" wineserver -k 2>/dev/null || true
    WINEPREFIX="$BUILD/wineprefix" wineserver -p
    # The first program starts Wine's background services, which keep its output
    # open for as long as the server lives: let a throw-away program start them.
    "$BUILD/wine-run" cmd /c exit </dev/null >/dev/null 2>&1 || true
}

stop_display() {
    WINEPREFIX="$BUILD/wineprefix" wineserver -k 2>/dev/null || true
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
}
