#!/usr/bin/env bash
# Installs, upgrades, reinstalls, downgrades and uninstalls the Windows
# Installer package silently with Wine's msiexec, in a fresh Wine prefix of its
# own, and looks at what each step leaves: the files, the Start menu shortcut,
# the entry in the installed-programs list, the Run value, a user's io.dll, and
# a Velkor and a velkorctl watch that run from the installation folder
# meanwhile. REBUILT_MSI is the build's version built once more (another
# product code), as a rebuilt package of an unchanged version is.
#
#   installer_test.sh WINE_RUN BUILD_BIN TOOLS SKINS WORK NEW_MSI NEW_VERSION OLD_MSI OLD_VERSION REBUILT_MSI
set -euo pipefail
WINE_RUN=$1 BIN=$2 TOOLS=$3 SKINS=$4 WORK=$5
NEW_MSI=$6 NEW_VERSION=$7 OLD_MSI=$8 OLD_VERSION=$9 REBUILT_MSI=${10}
for msi in "$NEW_MSI" "$OLD_MSI" "$REBUILT_MSI"; do
    [ -f "$msi" ] || { echo "$msi was not built: the build needs wixl (Debian package wixl)" >&2; exit 1; }
done

export VELKOR_WINEPREFIX="$WORK/wineprefix"
stop_wine() { WINEPREFIX="$VELKOR_WINEPREFIX" "${WINESERVER:-wineserver}" -k 2>/dev/null || true; }
stop_wine
rm -rf "$WORK"
mkdir -p "$WORK"
trap stop_wine EXIT

FAILURES=0
STEP=""
step() { STEP=$1; echo "--- ${SECONDS}s: $STEP"; }
fail() { echo "FAILED ($STEP): $*" >&2; FAILURES=$((FAILURES + 1)); }
wine() { "$WINE_RUN" "$@"; }
windows_path() { wine winepath -w "$1" | tr -d '\r'; }
product_code() { msiinfo export "$1" Property | tr -d '\r' | awk -F'\t' '$1 == "ProductCode" { print $2 }'; }

# Makes the prefix, then keeps one server for every step.
wine cmd /c exit
stop_wine
WINEPREFIX="$VELKOR_WINEPREFIX" "${WINESERVER:-wineserver}" -p
DRIVE_C="$VELKOR_WINEPREFIX/drive_c"
PROGRAM_FILES="Program Files"
[ -d "$DRIVE_C/Program Files (x86)" ] && PROGRAM_FILES="Program Files (x86)"
FOLDER="$DRIVE_C/$PROGRAM_FILES/Velkor"
FOLDER_W="C:\\$PROGRAM_FILES\\Velkor"
# The machine's Start menu; Wine puts a per-machine package's shortcut into the
# installing user's.
shortcut() {
    ls "$DRIVE_C/ProgramData/Microsoft/Windows/Start Menu/Programs/Velkor.lnk" \
        "$DRIVE_C"/users/*/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs/Velkor.lnk 2>/dev/null || true
}
RUN_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
UNINSTALL_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
NEW_CODE=$(product_code "$NEW_MSI")
OLD_CODE=$(product_code "$OLD_MSI")
REBUILT_CODE=$(product_code "$REBUILT_MSI")
export ECSIM_STATE
ECSIM_STATE=$(windows_path "$WORK/ec-state.bin")

# msiexec with a verbose log; its exit status is left in MSI_STATUS.
LOG_N=0
msiexec() {
    LOG_N=$((LOG_N + 1))
    LOG="$WORK/msiexec-$LOG_N.log"
    MSI_STATUS=0
    wine msiexec "$@" /qn /l*v "$(windows_path "$LOG")" || MSI_STATUS=$?
}
expect_status() {
    [ "$MSI_STATUS" -eq "$1" ] || fail "msiexec $2 ended with $MSI_STATUS, not $1 (log: $LOG)"
}

# The entries of the installed-programs list named Velkor, as "code version".
velkor_entries() {
    wine reg export "$UNINSTALL_KEY" "$(windows_path "$WORK/uninstall.reg")" /y >/dev/null
    iconv -f UTF-16 -t UTF-8 "$WORK/uninstall.reg" | tr -d '\r' | awk '
        /^\[/ { n = split($0, p, "\\\\"); key = substr(p[n], 1, length(p[n]) - 1); name = ""; version = "" }
        /^"DisplayName"="Velkor"$/ { name = 1 }
        /^"DisplayVersion"=/ { version = $0; sub(/^"DisplayVersion"="/, "", version); sub(/"$/, "", version) }
        /^$/ { if (name) print key, version; name = "" }
        END { if (name) print key, version }'
}
entry_value() { wine reg query "$UNINSTALL_KEY\\$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v v="$2" '$1 == v { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'; }
run_value() { wine reg query "$RUN_KEY" /v Velkor 2>/dev/null | tr -d '\r' | awk '$1 == "Velkor" { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'; }

# Every file of the package is in place, with the build's contents, and nothing
# else but what is named in $1 (files the user added).
check_installed_files() {
    local version=$1 extra=${2:-} expected actual f
    expected=$(
        printf '%s\n' Velkor.exe velkorctl.exe README.txt $extra
        for f in "$SKINS"/skin_EN/* "$SKINS"/skin_CN/*; do echo "$(basename "$(dirname "$f")")/$(basename "$f")"; done
    )
    actual=$(cd "$FOLDER" 2>/dev/null && find . -type f | sed 's|^\./||' | sort)
    [ "$actual" = "$(sort <<<"$expected")" ] ||
        fail "the folder holds other files than the package's: $(diff <(sort <<<"$expected") <(echo "$actual") | grep '^[<>]' | tr '\n' ' ')"
    for f in Velkor.exe velkorctl.exe; do
        cmp -s "$BIN/$f" "$FOLDER/$f" || fail "$f is not the build's"
    done
    for f in "$SKINS"/skin_EN/* "$SKINS"/skin_CN/*; do
        cmp -s "$f" "$FOLDER/$(basename "$(dirname "$f")")/$(basename "$f")" || fail "skin file $f differs"
    done
    [ "$(head -n 1 "$FOLDER/README.txt" 2>/dev/null | tr -d '\r')" = "Velkor $version" ] ||
        fail "README.txt is not the note of version $version"
    local link
    link=$(shortcut)
    if [ "$(wc -l <<<"$link")" -ne 1 ] || [ -z "$link" ]; then
        fail "not one Start menu shortcut: [$link]"
    elif ! grep -aqiF "$FOLDER_W\Velkor.exe" "$link"; then   # the link's target, in its ANSI form
        fail "the shortcut does not lead to $FOLDER_W\Velkor.exe"
    fi
}

check_one_entry() {
    local code=$1 version=$2 entries
    entries=$(velkor_entries)
    [ "$entries" = "$code $version" ] || fail "installed-programs entries are [$entries], not [$code $version]"
    [ "$(entry_value "$code" Publisher)" = Velkor ] || fail "the entry names no publisher"
    # Windows names the icon in DisplayIcon; Wine keeps it where Windows
    # Installer caches it, without the value.
    [ -n "$(entry_value "$code" DisplayIcon)" ] || [ -s "$DRIVE_C/windows/Installer/$code/Velkor.ico" ] ||
        fail "the entry has no icon"
    grep -qi "msiexec" <<<"$(entry_value "$code" UninstallString)" || fail "the entry has no uninstall command"
}

check_nothing_left() {
    local kept=$1
    if [ -n "$kept" ]; then
        [ "$(cd "$FOLDER" 2>/dev/null && find . -mindepth 1 | sed 's|^\./||')" = "$kept" ] ||
            fail "the folder should hold only $kept: $(cd "$FOLDER" && find . -mindepth 1 | tr '\n' ' ')"
    else
        [ ! -e "$FOLDER" ] || fail "the installation folder is still there: $(cd "$FOLDER" && find . | tr '\n' ' ')"
    fi
    [ -z "$(shortcut)" ] || fail "the Start menu shortcut is still there: $(shortcut)"
    [ -z "$(velkor_entries)" ] || fail "an installed-programs entry is left: $(velkor_entries)"
    [ -z "$(run_value)" ] || fail "the Run value is left: $(run_value)"
}

# Starts the installed Velkor with the user's io.dll (the simulator here) and
# waits for its window; VELKOR_PID is its process.
start_installed_velkor() {
    wine "$FOLDER_W\\Velkor.exe" >/dev/null 2>&1 &
    VELKOR_PID=$!
    wine "$TOOLS/velkor_drive.exe" wait >/dev/null || fail "the installed Velkor shows no window"
}
# Starts a velkorctl watch of the given file, as one left in a terminal, and
# waits for its first line; WATCH_PID is its process.
start_watch() {
    wine "$1" watch >"$2" 2>&1 &
    WATCH_PID=$!
    local i
    for i in $(seq 300); do grep -q 'power level' "$2" && return; sleep 0.1; done
    fail "velkorctl watch printed no power level within 30 s (its output: $(cat "$2"))"
}
# The program of process $1 ($2 names it) has ended by its own way out, as the
# installer asks it to: status 0, where the installer's last resort gives 1.
expect_ended() {
    local pid=$1 name=$2 status=0 i
    for i in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$pid" 2>/dev/null; then
        fail "$name still runs"
        kill "$pid"
    fi
    wait "$pid" || status=$?
    [ "$status" -eq 0 ] || fail "$name did not end by its own way out (status $status)"
    grep -aEq "EndRunningVelkor: $name \\(process [0-9]+\\) ended when asked" "$LOG" ||
        fail "the log does not say that $name ended when asked (log: $LOG)"
}

step "the package's custom actions"
# All of them are immediate, and Windows ignores the no-impersonation bit
# (2048) on those.
ACTIONS=$(msiinfo export "$NEW_MSI" CustomAction | tr -d '\r' | tail -n +4 | cut -f 1,2)
grep -q '^EndRunningVelkor'$'\t' <<<"$ACTIONS" || fail "no custom action EndRunningVelkor: [$ACTIONS]"
while IFS=$'\t' read -r action type; do
    [ $((type & 2048)) -eq 0 ] || fail "custom action $action has the no-impersonation bit (type $type)"
done <<<"$ACTIONS"

step "install $OLD_VERSION with STARTATSIGNIN=1"
msiexec /i "$(windows_path "$OLD_MSI")" STARTATSIGNIN=1
expect_status 0 install
check_installed_files "$OLD_VERSION"
check_one_entry "$OLD_CODE" "$OLD_VERSION"
[ "$(run_value)" = "\"$FOLDER_W\\Velkor.exe\" /tray" ] || fail "the Run value is [$(run_value)]"

step "upgrade to $NEW_VERSION while Velkor and a velkorctl watch run from the folder"
cp "$BIN/io.dll" "$FOLDER/io.dll"
start_installed_velkor
start_watch "$FOLDER_W\\velkorctl.exe" "$WORK/watch.out"
CTL_PID=$WATCH_PID
# A program of the same name elsewhere is none of the installer's business.
mkdir -p "$WORK/elsewhere"
cp "$BIN/velkorctl.exe" "$WORK/elsewhere/Velkor.exe"
cp "$BIN/io.dll" "$WORK/elsewhere/io.dll"
start_watch "$WORK/elsewhere/Velkor.exe" "$WORK/elsewhere.out"
OTHER_PID=$WATCH_PID
msiexec /i "$(windows_path "$NEW_MSI")" STARTATSIGNIN=1
expect_status 0 upgrade
expect_ended "$VELKOR_PID" Velkor.exe
expect_ended "$CTL_PID" velkorctl.exe
kill -0 "$OTHER_PID" 2>/dev/null || fail "the Velkor.exe of another folder was ended too"
check_installed_files "$NEW_VERSION" io.dll
check_one_entry "$NEW_CODE" "$NEW_VERSION"
[ "$(run_value)" = "\"$FOLDER_W\\Velkor.exe\" /tray" ] || fail "the Run value is [$(run_value)] after the upgrade"
VERSION_OUT=$(wine "$FOLDER_W\\velkorctl.exe" --version | tr -d '\r') || fail "the installed velkorctl --version failed"
grep -q "$NEW_VERSION" <<<"$VERSION_OUT" || fail "the installed velkorctl --version printed [$VERSION_OUT]"

step "downgrade to $OLD_VERSION"
msiexec /i "$(windows_path "$OLD_MSI")"
[ "$MSI_STATUS" -ne 0 ] || fail "msiexec accepted the older version"
# Windows logs the message itself; Wine (which shows it only with a user
# interface) logs the launch condition that failed.
grep -q 'A newer version of Velkor is already installed' "$LOG" ||
    grep -Eq 'LaunchConditions\. Return value (0|3)\.' "$LOG" || fail "the launch condition did not refuse it (log: $LOG)"
check_installed_files "$NEW_VERSION" io.dll
check_one_entry "$NEW_CODE" "$NEW_VERSION"

step "reinstall $NEW_VERSION from a rebuilt package"
[ "$REBUILT_CODE" != "$NEW_CODE" ] || fail "the rebuilt package has the build's product code, so this step shows nothing"
msiexec /i "$(windows_path "$REBUILT_MSI")" STARTATSIGNIN=1
expect_status 0 reinstall
check_installed_files "$NEW_VERSION" io.dll
check_one_entry "$REBUILT_CODE" "$NEW_VERSION"
[ "$(run_value)" = "\"$FOLDER_W\\Velkor.exe\" /tray" ] || fail "the Run value is [$(run_value)] after the reinstall"

step "uninstall while Velkor runs, the user's io.dll beside it"
start_installed_velkor
msiexec /x "$REBUILT_CODE"
expect_status 0 uninstall
expect_ended "$VELKOR_PID" Velkor.exe
check_nothing_left io.dll
kill "$OTHER_PID" 2>/dev/null || true
wait "$OTHER_PID" 2>/dev/null || true

step "install $OLD_VERSION, upgrade to $NEW_VERSION, without STARTATSIGNIN; uninstall"
rm "$FOLDER/io.dll"
msiexec /i "$(windows_path "$OLD_MSI")"
expect_status 0 install
[ -z "$(run_value)" ] || fail "a Run value was added without STARTATSIGNIN=1: $(run_value)"
msiexec /i "$(windows_path "$NEW_MSI")"
expect_status 0 upgrade
check_installed_files "$NEW_VERSION"
check_one_entry "$NEW_CODE" "$NEW_VERSION"
[ -z "$(run_value)" ] || fail "a Run value was added by the upgrade: $(run_value)"
msiexec /x "$(windows_path "$NEW_MSI")"
expect_status 0 uninstall
check_nothing_left ""

[ "$FAILURES" -eq 0 ] || { echo "$FAILURES check(s) failed" >&2; exit 1; }
echo "all installer checks passed in ${SECONDS}s"
