# Shared by scripts/run, scripts/test and the other scripts: installs what a
# fresh Debian 12 machine lacks, builds, and runs Windows programs under Wine +
# Xvfb.
#
# Velkor is a 32-bit program, built into $PRODUCT_BUILD (build/, or
# VELKOR_BUILD). Some machines run 64-bit user code only (their kernel has no
# IA-32 emulation), and there Wine cannot run any 32-bit program: the same
# sources are then also built for x86-64 into $PRODUCT_BUILD/x64, and that
# build is the one the scripts run and test. $BUILD names the build that runs.
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
PRODUCT_BUILD="${VELKOR_BUILD:-$ROOT/build}"

# A minimal i386 Linux program that only exits: whether this machine runs it
# decides which Windows build Wine can run here.
runs_32bit_code() {
    local probe
    probe=$(mktemp)
    printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010\135\000\000\000\135\000\000\000\005\000\000\000\000\020\000\000\061\333\270\001\000\000\000\315\200' >"$probe"
    chmod +x "$probe"
    local rc=0
    ("$probe") 2>/dev/null || rc=$?
    rm -f "$probe"
    return $rc
}

if runs_32bit_code; then
    TARGET_ARCH=i686
    BUILD="$PRODUCT_BUILD"
else
    TARGET_ARCH=x86_64
    BUILD="$PRODUCT_BUILD/x64"
fi

# Everything named, so that a minimal system (debootstrap --variant=minbase) gets
# it all: make for CMake's generator; fonts-liberation and fonts-wine because
# Wine maps the dialog font to them, and the window's size in pixels follows
# that font; a CJK font for the Chinese texts; locales, because Wine names Unix
# files in the code set of the tests' locale (en_US.UTF-8), which must exist;
# wixl and msitools build and read the installer package.
PACKAGES="wine g++-mingw-w64-i686-posix binutils-mingw-w64-i686 cmake make
          googletest xvfb xauth fonts-liberation fonts-wine fonts-wqy-microhei
          imagemagick x11-utils xdotool locales msitools wixl"
if [ "$TARGET_ARCH" = i686 ]; then
    PACKAGES="$PACKAGES wine32:i386"
else
    PACKAGES="$PACKAGES wine64 g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64"
fi

ensure_packages() {
    install_missing_packages
    locale -a 2>/dev/null | grep -qix 'en_US.utf8' || localedef -i en_US -f UTF-8 en_US.UTF-8
}

install_missing_packages() {
    local missing="" p
    for p in $PACKAGES; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing="$missing $p"
    done
    [ -z "$missing" ] && return 0
    echo "Installing:$missing"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    if [ "$TARGET_ARCH" = i686 ]; then
        dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
    fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing >/dev/null
}

# Configures (once) and builds one build folder; the warnings are shown, the
# whole log stays in the folder.
build_folder() {
    local folder=$1 arch=$2
    mkdir -p "$folder"
    if [ ! -f "$folder/CMakeCache.txt" ]; then
        cmake -S "$ROOT" -B "$folder" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-$arch.cmake" >/dev/null
    fi
    if ! cmake --build "$folder" -j "$(nproc)" >"$folder/build.log" 2>&1; then
        grep -E -B2 -A8 'error|Error' "$folder/build.log" | head -n 80
        echo "Build failed; the whole log is $folder/build.log" >&2
        return 1
    fi
    grep -E -A3 'warning:' "$folder/build.log" || true
}

build_all() {
    build_folder "$PRODUCT_BUILD" i686
    [ "$BUILD" = "$PRODUCT_BUILD" ] || build_folder "$BUILD" "$TARGET_ARCH"
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
