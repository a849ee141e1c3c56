#!/usr/bin/env bash
# Installs, upgrades, downgrades and uninstalls the Windows Installer package
# silently with Wine's msiexec, in a fresh Wine prefix of its own, and looks at
# what each step leaves: the files, the Start menu shortcut, the entry in the
# installed-programs list, the Run value, a user's io.dll, and a Velkor that
# runs from the installation folder meanwhile.
#
#   installer_test.sh WINE_RUN BUILD_BIN TOOLS SKINS WORK NEW_MSI NEW_VERSION OLD_MSI OLD_VERSION
set -euo pipefail
WINE_RUN=$1 BIN=$2 TOOLS=$3 SKINS=$4 WORK=$5
NEW_MSI=$6 NEW_VERSION=$7 OLD_MSI=$8 OLD_VERSION=$9
for msi in "$NEW_MSI" "$OLD_MSI"; do
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
expect_velkor_ended() {
    local status=0 i
    for i in $(seq 50); do kill -0 "$VELKOR_PID" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$VELKOR_PID" 2>/dev/null; then
        fail "Velkor still runs"
        kill "$VELKOR_PID"
    fi
    wait "$VELKOR_PID" || status=$?
    # 0 is Velkor's own way out; the installer's last resort would give 1.
    [ "$status" -eq 0 ] || fail "Velkor did not end by its own Exit (status $status)"
}

step "install $OLD_VERSION with STARTATSIGNIN=1"
msiexec /i "$(windows_path "$OLD_MSI")" STARTATSIGNIN=1
expect_status 0 install
check_installed_files "$OLD_VERSION"
check_one_entry "$OLD_CODE" "$OLD_VERSION"
[ "$(run_value)" = "\"$FOLDER_W\\Velkor.exe\" /tray" ] || fail "the Run value is [$(run_value)]"

step "upgrade to $NEW_VERSION while Velkor runs from the folder"
cp "$BIN/io.dll" "$FOLDER/io.dll"
start_installed_velkor
# A program of the same name elsewhere is none of the installer's business.
mkdir -p "$WORK/elsewhere"
cp "$BIN/velkorctl.exe" "$WORK/elsewhere/Velkor.exe"
cp "$BIN/io.dll" "$WORK/elsewhere/io.dll"
wine "$WORK/elsewhere/Velkor.exe" watch >"$WORK/elsewhere.out" 2>&1 &
OTHER_PID=$!
for i in $(seq 100); do grep -q 'power level' "$WORK/elsewhere.out" && break; sleep 0.1; done
msiexec /i "$(windows_path "$NEW_MSI")" STARTATSIGNIN=1
expect_status 0 upgrade
expect_velkor_ended
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

step "uninstall while Velkor runs, the user's io.dll beside it"
start_installed_velkor
msiexec /x "$NEW_CODE"
expect_status 0 uninstall
expect_velkor_ended
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
