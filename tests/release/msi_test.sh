#!/usr/bin/env bash
# The MSI as a user meets it, under Wine in a prefix of its own: the
# per-user scope in its own tables (Wine installs for all users whatever a
# package says), msiexec /i, the Start-menu shortcut's target started on a
# virtual display, the command line found on the user's PATH, an upgrade by
# a later version, msiexec /x, and then nothing of it left.
#
# Usage: msi_test.sh MSI LATER_MSI WORK_DIR
#   LATER_MSI is the same programs packed as a later version
#   (TALLYBOOK_MSI_VERSION, scripts/pack-windows.sh); WORK_DIR is emptied.
set -u
msi=$(realpath "$1")
later=$(realpath "$2")
work=$(realpath -m "$3")
tests=$(cd "$(dirname "$0")/.." && pwd)
. "$tests/cli/checks.sh"
rm -rf "$work"
mkdir -p "$work"
export WINEPREFIX=$work/prefix WINEDEBUG=-all LC_ALL=C.UTF-8
# No Gecko or Mono downloads; no menu entries or file associations written
# on this machine for the shortcut.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
table() { msiinfo export "$1" "$2" | tr -d '\r' | tail -n +4; }   # rows only, tab-separated

# --- the per-user scope, in the package's own tables (where it installs and
# the user's PATH are checked by what the install does) -----------------------------
words=$(msiinfo suminfo "$msi" | sed -n 's/^Source: \([0-9]*\).*/\1/p')   # the Word Count property
check [ -n "$words" ] && [ $((words & 8)) -eq 8 ] || fail "the summary does not say 'no elevated privileges' (word count ${words:-none})"
check [ -z "$(table "$msi" Property | awk -F'\t' '$1 == "ALLUSERS" || $1 == "MSIINSTALLPERUSER"')" ] ||
    fail "the Property table sets ALLUSERS: $(table "$msi" Property | grep ALLUSERS)"
check [ -z "$(table "$msi" Registry | awk -F'\t' '$2 != 1')" ] || fail "registry values outside HKCU: $(table "$msi" Registry)"
shortcut=$(table "$msi" Shortcut)
check [ "$(cut -f2,3,5 <<< "$shortcut")" = "$(printf 'ProgramMenuFolder\tTALLYBOOK\t[INSTALLDIR]tallybook.exe')" ] ||
    fail "no Start-menu shortcut to the window: $shortcut"

# --- a fresh prefix ------------------------------------------------------------------
wineboot -i > "$work/wineboot.log" 2>&1 || { cat "$work/wineboot.log"; exit 1; }
wineserver -w
wineserver -p
trap 'wineserver -k 2> /dev/null' EXIT
drive=$WINEPREFIX/drive_c
(cd "$drive" && find . | LC_ALL=C sort) > "$work/files-before"
user_path() { wine reg query 'HKCU\Environment' /v PATH 2> /dev/null | tr -d '\r' | sed -n 's/^ *PATH *REG_[A-Z_]* *//p'; }
path_before=$(user_path)
installed() {  # the Windows path of the folder wine's msi put the programs in
    local d
    d=$(find "$drive/users" -path '*/AppData/Local/Programs/TALLYBOOK' -type d | head -1)
    [ -n "$d" ] && printf '%s' "$d"
}

# --- install ---------------------------------------------------------------------------
wine msiexec /i "$(winepath -w "$msi")" /qn > "$work/install.log" 2>&1
check [ $? -eq 0 ] || fail "msiexec /i: $(tail -5 "$work/install.log")"
dir=$(installed) || { fail "no AppData/Local/Programs/TALLYBOOK after msiexec /i"; dir=/nonexistent; }
for f in tallybook.exe tallybook-cli.exe tallybook-sample.exe README.txt LICENSE.txt THIRD-PARTY-NOTICES.txt; do
    check [ -f "$dir/$f" ] || fail "$f was not installed"
done
lnk=$(find "$drive" -ipath '*/Start Menu/Programs/TALLYBOOK.lnk' | head -1)
check [ -n "$lnk" ] || fail "no Start-menu shortcut TALLYBOOK.lnk"
windir=$(winepath -w "$dir")
check grep -qiF "${windir%\\}" <<< "$(user_path)" || fail "the user's PATH does not hold $windir: $(user_path)"
check wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2> /dev/null | tr -d '\r' |
    grep -q 'DisplayName.*TALLYBOOK' || fail "no uninstall entry"

# The shortcut's target: the window opens (its title has the version) and
# stays until closed. Wine's desktop process belongs to a display: a new
# Wine session for the virtual one. What the window remembers (the user's
# data, which no uninstaller removes) goes to the work folder.
target=$dir/tallybook.exe
title="TALLYBOOK $(table "$msi" Property | awk -F'\t' '$1 == "ProductVersion" {print $2}')"
wineserver -k
wineserver -w
TALLYBOOK_DATA_DIR=$work/data xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    wine "$1" > /dev/null 2>&1 &
    pid=$!
    for _ in $(seq 1 150); do
        xwininfo -root -tree 2> /dev/null | grep -qF "\"$2\"" && { kill $pid; wait $pid; exit 0; }
        kill -0 $pid 2> /dev/null || { echo "the program ended"; exit 1; }
        sleep 0.2
    done
    echo "no window after 30 s:"; xwininfo -root -tree; kill $pid; exit 1' _ "$target" "$title" > "$work/window.log" 2>&1
check [ $? -eq 0 ] || fail "the shortcut's target did not open a window titled '$title': $(head -5 "$work/window.log")"
wineserver -k
wineserver -w
wineserver -p

# The command line from any folder, by the user's PATH (a new console reads it).
mkdir -p "$work/run"
(cd "$work/run" && wine cmd /c "tallybook-sample.exe enc --seasons 2 --players 30 && tallybook-cli.exe -q -o book.xlsx enc" \
    > "$work/cli.log" 2>&1)
check [ -f "$work/run/book.xlsx" ] || fail "the command line by the PATH: $(tail -3 "$work/cli.log")"
/usr/bin/python3 "$tests/e2e/check_sample.py" "$work/run/enc" "$work/run/book.xlsx" players-and-teams 2> "$work/check.log" ||
    fail "check_sample.py: $(head -3 "$work/check.log")"

# --- a later version upgrades it in place ---------------------------------------------------
wine msiexec /i "$(winepath -w "$later")" /qn > "$work/upgrade.log" 2>&1
check [ $? -eq 0 ] || fail "msiexec /i of the later version: $(tail -5 "$work/upgrade.log")"
entries=$(wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2> /dev/null | tr -d '\r' |
          grep -c 'DisplayName.*TALLYBOOK')
check [ "$entries" = 1 ] || fail "after the upgrade $entries uninstall entries, not 1"
check [ -f "$dir/tallybook-cli.exe" ] || fail "the upgrade removed the programs"
check [ "$(grep -oiF "${windir%\\}" <<< "$(user_path)" | wc -l)" = 1 ] || fail "PATH after the upgrade: $(user_path)"

# --- uninstall: nothing left ---------------------------------------------------------------
wine msiexec /x "$(winepath -w "$later")" /qn > "$work/uninstall.log" 2>&1
check [ $? -eq 0 ] || fail "msiexec /x: $(tail -5 "$work/uninstall.log")"
check [ "$(user_path)" = "$path_before" ] || fail "the user's PATH is not as it was: '$(user_path)', was '$path_before'"
wineserver -k
wineserver -w   # the registry is written to its files
# The Windows Installer's own folders, made at its first install on any
# system, stay (empty).
(cd "$drive" && find . | LC_ALL=C sort | grep -vxE '\./windows/Installer|\./users/[^/]+/AppData/Roaming/Microsoft/Installer') \
    > "$work/files-after"
for d in "$drive/windows/Installer" "$drive"/users/*/AppData/Roaming/Microsoft/Installer; do
    check [ ! -e "$d" ] || [ -z "$(ls -A "$d")" ] || fail "$d holds: $(ls -A "$d")"
done
check cmp -s "$work/files-before" "$work/files-after" ||
    fail "files left or taken: $(diff "$work/files-before" "$work/files-after" | grep '^[<>]' | head -10)"
refute grep -il 'tallybook' "$WINEPREFIX"/*.reg > "$work/registry-left" ||
    fail "the registry still names TALLYBOOK: $(grep -i -m3 'tallybook' "$WINEPREFIX"/*.reg)"

finish "MSI under Wine" "$work"
