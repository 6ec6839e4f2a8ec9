#!/usr/bin/env bash
# The .deb as a user meets it: what it holds and depends on, dpkg -i, a
# conversion of a made-up encyclopedia by the installed programs (checked by
# the independent checker), --version and --licenses, the man page, the
# desktop entry, the window opening, dpkg -r, and then nothing of it left.
#
# Usage: deb_test.sh DEB WORK_DIR   (as root, with no package tallybook
# installed; WORK_DIR is emptied)
set -u
deb=$(realpath "$1")
work=$(realpath -m "$2")
tests=$(cd "$(dirname "$0")/.." && pwd)
root=$(cd "$tests/.." && pwd)
. "$tests/cli/checks.sh"
rm -rf "$work"
mkdir -p "$work"
is_installed() { dpkg-query -W -f='${Status}' tallybook 2> /dev/null | grep -q 'install ok installed'; }
version=$(sed -n 's/^project(tallybook VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")

[ "$(id -u)" -eq 0 ] || { echo "deb_test: dpkg -i needs root" >&2; exit 1; }
if is_installed; then
    echo "deb_test: a package tallybook is installed already; not touching it" >&2
    exit 1
fi

# --- what it holds and needs -----------------------------------------------------------
check [ "$(dpkg-deb -f "$deb" Package) $(dpkg-deb -f "$deb" Version) $(dpkg-deb -f "$deb" Architecture)" = \
    "tallybook $version amd64" ] || fail "control: $(dpkg-deb -f "$deb" Package Version Architecture)"
depends=$(dpkg-deb -f "$deb" Depends)
for p in 'libc6' 'libstdc\+\+6' 'libdeflate0' 'zlib1g' 'libqt6core6' 'libqt6gui6' 'libqt6widgets6'; do
    check grep -qE "(^|, )$p( |,|$)" <<< "$depends" || fail "Depends lacks $p: $depends"
done
# The workbook is written by our own code: libxlsxwriter is no runtime need.
refute grep -q "libxlsxwriter" <<< "$depends" || fail "Depends names libxlsxwriter: $depends"
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' | grep -v '/$' | sort > "$work/files"
expected="/usr/bin/tallybook
/usr/bin/tallybook-cli
/usr/bin/tallybook-sample
/usr/share/applications/tallybook.desktop
/usr/share/doc/tallybook/THIRD-PARTY-NOTICES.txt
/usr/share/doc/tallybook/copyright
/usr/share/icons/hicolor/scalable/apps/tallybook.svg
/usr/share/man/man1/tallybook-cli.1.gz"
check [ "$(cat "$work/files")" = "$expected" ] || fail "the package holds: $(echo $(cat "$work/files"))"

# --- install and use ---------------------------------------------------------------------
# dpkg waits for nobody: another package tool at work is waited for here.
for _ in $(seq 1 60); do
    dpkg -i "$deb" > "$work/install.log" 2>&1 && break
    grep -q 'lock' "$work/install.log" || break
    sleep 2
done
check is_installed ||
    fail "dpkg -i: $(tail -5 "$work/install.log")"
# A check that stops half-way leaves no package behind either.
trap 'is_installed && dpkg -P tallybook > /dev/null 2>&1' EXIT

/usr/bin/tallybook-sample "$work/enc" --seasons 3 --players 60 > /dev/null
check [ $? -eq 0 ] || fail "tallybook-sample"
/usr/bin/tallybook-cli -q -o "$work/book.xlsx" "$work/enc" 2> "$work/cli.err"
check [ $? -eq 0 ] || fail "tallybook-cli: $(cat "$work/cli.err")"
/usr/bin/python3 "$tests/e2e/check_sample.py" "$work/enc" "$work/book.xlsx" players-and-teams 2> "$work/check.log" ||
    fail "check_sample.py: $(head -3 "$work/check.log")"
check [ "$(/usr/bin/tallybook-cli --version)" = "tallybook-cli $version" ] || fail "--version: $(/usr/bin/tallybook-cli --version)"
/usr/bin/tallybook-cli --licenses > "$work/licenses"
check grep -qF "$(head -3 "$root/LICENSE")" "$work/licenses" &&
    cmp -s <(tail -c "$(stat -c %s /usr/share/doc/tallybook/THIRD-PARTY-NOTICES.txt)" "$work/licenses") \
        /usr/share/doc/tallybook/THIRD-PARTY-NOTICES.txt ||
    fail "--licenses does not print LICENSE and the package's THIRD-PARTY-NOTICES.txt"
zcat /usr/share/man/man1/tallybook-cli.1.gz > "$work/man" 2> /dev/null
check grep -q '^\.TH TALLYBOOK-CLI "1"' "$work/man" && grep -q 'inspect' "$work/man" && grep -q "$version" "$work/man" ||
    fail "the man page: $(head -5 "$work/man")"
check grep -qx 'Exec=tallybook' /usr/share/applications/tallybook.desktop && grep -qx 'Icon=tallybook' \
    /usr/share/applications/tallybook.desktop || fail "the desktop entry"
# The window opens and stays open until closed (offscreen: no display here).
mkdir -p "$work/home"
HOME=$work/home TALLYBOOK_DATA_DIR=$work/data QT_QPA_PLATFORM=offscreen /usr/bin/tallybook > "$work/window.log" 2>&1 &
pid=$!
sleep 3
check kill -0 $pid 2> /dev/null || fail "the window ended at once: $(tail -3 "$work/window.log")"
kill $pid 2> /dev/null
wait $pid 2> /dev/null

# --- remove: nothing left -------------------------------------------------------------------
dpkg -P tallybook > "$work/remove.log" 2>&1
check [ $? -eq 0 ] || fail "dpkg -P: $(tail -3 "$work/remove.log")"
refute is_installed || fail "still installed"
while read -r f; do
    check [ ! -e "$f" ] || fail "$f is left"
done < "$work/files"
check [ ! -e /usr/share/doc/tallybook ] || fail "/usr/share/doc/tallybook is left"

finish ".deb" "$work"
