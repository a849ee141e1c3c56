# Shared by scripts/run, scripts/test and the other scripts: installs what a
# fresh Debian 12 machine lacks, builds, and runs Windows programs under Wine +
# Xvfb.
#
# Velkor is a 32-bit program, built into $BUILD32 ($PRODUCT_BUILD: build/, or
# VELKOR_BUILD). The same sources are always built for x86-64 as well, into
# $BUILD64 ($PRODUCT_BUILD/x64), so that a fault of either build shows on any
# machine. Some kernels run no 32-bit user code: there Wine runs the 32-bit
# programs only under a user-mode emulator (see use_i386_emulator), and the
# scripts that start Velkor for a person run the 64-bit build instead;
# choose_build_to_run sets $BUILD to the build they run.
#
# pipefail: a pipeline fails when any of its commands fails, not only its last.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
PRODUCT_BUILD="${VELKOR_BUILD:-$ROOT/build}"
BUILD32="$PRODUCT_BUILD"
BUILD64="$PRODUCT_BUILD/x64"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo

# How this machine runs i386 Linux programs, and so Wine's 32-bit loader:
# "native" (the kernel runs them), "emulated" (a binfmt_misc handler hands them
# to an emulator, whose path follows after a space) or "none". A handler takes
# precedence over the kernel's own support, so running a program is not enough
# to tell: the probe (alarm(5), then pause) stays alive until it is looked at,
# and the file its process executes is the probe itself only when the kernel
# runs it.
i386_support() {
    local probe pid exe="" shell i
    probe=$(mktemp)
    printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010\160\000\000\000\160\000\000\000\005\000\000\000\000\020\000\000\270\033\000\000\000\273\005\000\000\000\315\200\270\035\000\000\000\315\200\061\333\270\001\000\000\000\315\200' >"$probe"
    chmod +x "$probe"
    shell=$(readlink /proc/$$/exe)
    "$probe" 2>/dev/null &
    pid=$!
    for i in $(seq 200); do   # until the child has left the shell for the probe
        exe=$(readlink "/proc/$pid/exe" 2>/dev/null) || { exe=""; break; }
        [ "$exe" != "$shell" ] && break
        sleep 0.01
    done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    rm -f "$probe"
    case "$exe" in
    "") echo none ;;
    "$probe") echo native ;;
    *) echo "emulated $exe" ;;
    esac
}

# Whether the 32-bit build's tests run natively or under the emulator here
# ($RUN_32BIT, from $I386_SUPPORT), and so which build the scripts that start
# Velkor run ($BUILD). Only the scripts that run programs ask: the probe costs
# a process start. VELKOR_ASSUME_NO_IA32=1 takes this machine for one whose
# kernel runs no 32-bit code, so that either path can be checked on any
# machine. An emulator someone else registered is not ours to trust: ours goes
# on top of it.
choose_build_to_run() {
    I386_SUPPORT=$(i386_support)
    if [ "$I386_SUPPORT" = native ] && [ "${VELKOR_ASSUME_NO_IA32:-0}" != 1 ]; then
        RUN_32BIT=native
        BUILD="$BUILD32"
    else
        RUN_32BIT=emulated
        BUILD="$BUILD64"
    fi
}

# Everything named, so that a minimal system (debootstrap --variant=minbase) gets
# it all: make for CMake's generator; fonts-wine for Wine's Tahoma, which the
# dialog and menu fonts map to (the window's size in pixels follows that font;
# wine-run puts it into each prefix), and fonts-liberation for the faces Wine
# takes in place of the other Windows fonts; a CJK font for the Chinese texts;
# locales, because Wine names Unix files in the code set of the tests' locale
# (en_US.UTF-8), which must exist; wixl and msitools build and read the
# installer package. Both Wines: wine64
# for the 64-bit build, wine32 (i386) for the 32-bit one.
PACKAGES="wine wine32:i386 wine64 g++-mingw-w64-i686-posix binutils-mingw-w64-i686
          g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 cmake make
          googletest xvfb xauth fonts-liberation fonts-wine fonts-wqy-microhei
          imagemagick x11-utils xdotool locales unzip msitools wixl"

ensure_packages() {
    install_missing_packages
    # grep reads the whole list: one that stopped at the match could leave
    # locale writing into a closed pipe, which pipefail takes for a failure.
    locale -a 2>/dev/null | grep -ix 'en_US.utf8' >/dev/null || localedef -i en_US -f UTF-8 en_US.UTF-8
}

install_missing_packages() {
    local missing="" p
    for p in $PACKAGES; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing="$missing $p"
    done
    [ -z "$missing" ] && return 0
    echo "Installing:$missing"
    dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null
}

# Up to 80 lines of a log around the lines that match a pattern, to show
# before naming the whole log; nothing when none matches.
log_excerpt() {
    { grep -E -B2 -A8 "$1" "$2" || true; } | awk 'NR <= 80'
}

# Configures (once) and builds one build folder; warnings fail the build like
# errors, and the whole log stays in the folder.
build_folder() {
    local folder=$1 arch=$2
    mkdir -p "$folder"
    if [ ! -f "$folder/CMakeCache.txt" ]; then
        cmake -S "$ROOT" -B "$folder" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-$arch.cmake" >/dev/null
    fi
    if ! cmake --build "$folder" -j "$(nproc)" >"$folder/build.log" 2>&1; then
        log_excerpt 'error|Error' "$folder/build.log"
        echo "The $arch build failed; the whole log is $folder/build.log" >&2
        return 1
    fi
    if grep -q 'warning:' "$folder/build.log"; then
        log_excerpt 'warning:' "$folder/build.log"
        echo "The $arch build warns; the whole log is $folder/build.log" >&2
        return 1
    fi
}

build_all() {
    build_folder "$BUILD32" i686
    build_folder "$BUILD64" x86_64
}

# The user-mode emulator that runs Wine's 32-bit loader where the kernel runs
# no 32-bit code: qemu-i386 from the running release's own qemu-user where it
# is new enough (Debian 13: 10.0), else from its backports (Debian 12's own 7.2
# cannot map Wine's shared user data; bookworm-backports has 10.0). Only that
# one static program is taken out of the package, into the build folder,
# through a private package list: the machine's package sources stay as they
# were, and nothing registers itself at boot.
QEMU_I386="$PRODUCT_BUILD/emulator/qemu-i386"
QEMU_MIN_MAJOR=10
ensure_i386_emulator() {
    [ -x "$QEMU_I386" ] && return 0
    local dir="$PRODUCT_BUILD/emulator" mirror release version="" suite
    # The first archive the machine names, deb822 files first, then the
    # one-line list. A list that is not there is no failure (only awk's status
    # says it was missing); no archive at all leaves the name empty.
    mirror=$(awk '$1 == "URIs:" && $2 !~ /security/ && !n++ { print $2 }' \
        /etc/apt/sources.list.d/*.sources 2>/dev/null) || true
    [ -n "$mirror" ] || mirror=$(awk '$1 == "deb" && !n++ { print $2 }' /etc/apt/sources.list 2>/dev/null) || true
    release=$(. /etc/os-release && echo "$VERSION_CODENAME")
    mkdir -p "$dir/lists/partial" "$dir/deb" "$dir/cache/archives/partial"
    printf 'deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] %s %s main\n' \
        "$mirror" "$release" "$mirror" "$release-backports" >"$dir/sources.list"
    local apt_private=(-o "Dir::Etc::SourceList=$dir/sources.list" -o Dir::Etc::SourceParts=/dev/null
        -o "Dir::State::Lists=$dir/lists" -o "Dir::Cache=$dir/cache"
        -o "APT::Architectures=$(dpkg --print-architecture)" -o "APT::Sandbox::User=$(id -un)")
    apt-get "${apt_private[@]}" update -qq
    for suite in "$release" "$release-backports"; do
        # awk reads to the end, so apt-cache never writes into a closed pipe.
        version=$(apt-cache "${apt_private[@]}" madison qemu-user | awk -F' [|] ' -v s=" $suite/main " \
            'index($3, s) && !n++ { print $2 }')
        [ -n "$version" ] && [ "$(echo "${version#*:}" | cut -d. -f1)" -ge "$QEMU_MIN_MAJOR" ] && break
        version=""
    done
    if [ -z "$version" ]; then
        echo "No qemu-user $QEMU_MIN_MAJOR or newer in $release or $release-backports: the 32-bit build cannot run here" >&2
        return 1
    fi
    echo "Fetching qemu-i386 (qemu-user $version from $suite) into $dir"
    (cd "$dir/deb" && apt-get "${apt_private[@]}" download -qq "qemu-user=$version")
    dpkg-deb --fsys-tarfile "$dir"/deb/qemu-user_*.deb | tar -x -O ./usr/bin/qemu-i386 >"$QEMU_I386.new"
    chmod +x "$QEMU_I386.new"
    mv "$QEMU_I386.new" "$QEMU_I386"
    rm -rf "$dir/deb" "$dir/lists" "$dir/cache"
}

# Registers the emulator for i386 programs for as long as this script runs.
# The handler is system-wide and takes precedence over a kernel's own 32-bit
# support, so the last script that uses it removes it again: each names itself
# by its process id in $EMULATOR_USERS, and only scripts that share that folder
# with the one that registered it (not those of a chroot) remove it. A handler
# of that name registered from elsewhere is used as it is. F: the kernel opens
# the emulator now, so the handler also works inside a chroot and after the
# build folder is gone.
BINFMT=/proc/sys/fs/binfmt_misc
HANDLER=velkor-i386
EMULATOR_USERS=/tmp/velkor-i386-emulator.users
use_i386_emulator() {
    ensure_i386_emulator
    [ -e "$BINFMT/register" ] || $SUDO mount -t binfmt_misc binfmt_misc "$BINFMT"
    (
        flock -x 9
        mkdir -p "$EMULATOR_USERS"
        touch "$EMULATOR_USERS/$$"
        if [ ! -e "$BINFMT/$HANDLER" ]; then
            local magic='\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
            local mask='\xff\xff\xff\xff\xff\xfe\xfe\xfc\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
            echo ":$HANDLER:M::$magic:$mask:$QEMU_I386:F" | $SUDO tee "$BINFMT/register" >/dev/null
            touch "$EMULATOR_USERS/.registered"
        fi
    ) 9>"$EMULATOR_USERS.lock"
    local support
    support=$(i386_support)
    case "$support" in
    "emulated "*) ;;
    *) echo "The i386 emulator did not take over: i386 programs run $support" >&2; return 1 ;;
    esac
    EMULATOR_VERSION="$("$QEMU_I386" --version | awk 'NR == 1 { print $1, $3 }'), handler $HANDLER"
}

release_i386_emulator() {
    (
        flock -x 9
        rm -f "$EMULATOR_USERS/$$"
        local user
        for user in "$EMULATOR_USERS"/*; do   # runs that ended without a word
            [ -e "$user" ] && ! kill -0 "${user##*/}" 2>/dev/null && rm -f "$user"
        done
        if [ -z "$(ls "$EMULATOR_USERS")" ] && [ -e "$EMULATOR_USERS/.registered" ]; then
            [ -e "$BINFMT/$HANDLER" ] && echo -1 | $SUDO tee "$BINFMT/$HANDLER" >/dev/null
            rm -f "$EMULATOR_USERS/.registered"
        fi
    ) 9>"$EMULATOR_USERS.lock"
}

# Starts a private Xvfb unless a display is given, and a Wine session for $BUILD.
XVFB_PID=""
start_display() {
    if [ -z "${DISPLAY:-}" ] || [ "${1:-}" = "--virtual" ]; then
        local n=90
        # A display of another root (a chroot has a /tmp of its own) shows only
        # by its abstract socket.
        while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] ||
            grep -q "@/tmp/.X11-unix/X$n\$" /proc/net/unix 2>/dev/null; do n=$((n + 1)); done
        Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
        XVFB_PID=$!
        export DISPLAY=":$n"
        local i
        for i in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    fi
    start_wine "$BUILD"
}

# One persistent wineserver for a build folder's prefix (process starts then
# cost ~50 ms instead of ~1 s). Both builds' programs talk to the 64-bit server,
# which serves 32-bit clients too and never needs the emulator.
WINESERVER_BIN=/usr/lib/wine/wineserver64
WINE_SESSIONS=""
start_wine() {
    local folder=$1
    "$folder/wine-run" cmd /c exit >/dev/null   # creates the prefix once, or says why it cannot
    WINEPREFIX="$folder/wineprefix" "$WINESERVER_BIN" -k 2>/dev/null || true
    WINEPREFIX="$folder/wineprefix" "$WINESERVER_BIN" -p
    WINE_SESSIONS="$WINE_SESSIONS $folder"
    # The first program starts Wine's background services, which keep its output
    # open for as long as the server lives: let a throw-away program start them.
    "$folder/wine-run" cmd /c exit </dev/null >/dev/null 2>&1 || true
}

stop_display() {
    local folder
    for folder in $WINE_SESSIONS; do
        WINEPREFIX="$folder/wineprefix" "$WINESERVER_BIN" -k 2>/dev/null || true
    done
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
}
