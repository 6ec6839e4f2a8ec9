#!/usr/bin/env bash
# The Windows programs as a user drives them, under Wine: the sample and the
# workbook in each mode the same as the Linux build's, accented folder and
# file names, the refusals that rest on Windows' own file calls (a folder
# that cannot be written among them), Ctrl-C during the save, --open. What
# the command line does alike on every system is tests/cli's.
#
# Usage: e2e_test.sh WINDOWS_BUILD LINUX_BUILD WORK_DIR: the builds hold
# cli/tallybook-cli(.exe) and tools/tallybook-sample(.exe); WORK_DIR is
# emptied first. WINEPREFIX names a ready Wine prefix, WINE the wine to run
# (default: wine), TALLYBOOK_TEST_READ_ONLY_DIR the Windows path of a folder
# no file can be made in (Wine keeps no read-only attribute on a folder),
# else that check is left out; scripts/build-windows.sh makes both.
set -u
tests=$(cd "$(dirname "$0")/.." && pwd)
. "$tests/cli/checks.sh"
win_build=$(realpath "$1")
linux_build=$(realpath "$2")
work=$(realpath -m "$3")
: "${WINEPREFIX:?set WINEPREFIX to a Wine prefix}"
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml=;winemenubuilder.exe=d"}
export LC_ALL=C.UTF-8   # Wine turns names and arguments to UTF-16 by the Unix locale
wine=${WINE:-wine}

cli_exe=$win_build/cli/tallybook-cli.exe
sample_exe=$win_build/tools/tallybook-sample.exe
cli_linux=$linux_build/cli/tallybook-cli
sample_linux=$linux_build/tools/tallybook-sample

rm -rf "$work"
mkdir -p "$work"
# A Linux path as the Windows programs see it (Wine's drive Z: is "/").
w() { local p; p=$(realpath -m "$1"); printf 'Z:%s' "${p//\//\\}"; }
cli() { "$wine" "$cli_exe" "$@"; }
sample() { "$wine" "$sample_exe" "$@"; }
# NAME EXPECTED_CODE ARGS...: the program's output goes to $work/out and $work/err
run() { local name=$1 code=$2; shift 2; cli "$@" > "$work/out" 2> "$work/err"; exited "$name" "$code" $?; }
six=(ENCPLSTATS.DAT ENCPLYR.DAT ENCTEAM.DAT encleag.dat enclgyr.dat enctmyr.dat)
# NAME ENC WORKBOOK [FLAGS...]: WORKBOOK holds, part by part, what the Linux
# program writes from ENC; docProps/core.xml differs only in its times (the
# folder is named by its name alone, the same on both systems). Whether
# that is right is the Linux tests' (SampleWorkbook, Golden).
same_as_linux() {
    local name=$1 enc=$2 book=$3 parts=$work/parts-$1
    shift 3
    "$cli_linux" -q "$@" -o "$work/$name-linux.xlsx" "$enc" || fail "the Linux conversion of $name"
    mkdir -p "$parts/windows" "$parts/linux"
    unzip -q "$book" -d "$parts/windows" && unzip -q "$work/$name-linux.xlsx" -d "$parts/linux" || fail "unzip $name"
    sed -i 's/[0-9]\{4\}-[0-9-]*T[0-9:]*Z/TIME/g' "$parts"/*/docProps/core.xml
    check diff -rq "$parts/linux" "$parts/windows" > "$parts.diff" ||
        fail "$name differs from the Linux build's: $(head -5 "$parts.diff")"
}

# --- the sample and the workbooks, as the Linux build makes them ------------------
sample "$(w "$work/enc")" --seasons 4 --players 120 > /dev/null; exited "sample" 0 $?
"$sample_linux" "$work/enc-linux" --seasons 4 --players 120 > /dev/null || fail "the Linux sample"
for f in "${six[@]}"; do
    check cmp -s "$work/enc/$f" "$work/enc-linux/$f" || fail "the Windows and Linux samples differ in $f"
done
e=$(w "$work/enc")
for mode in players-and-teams players-only teams-only; do
    flag=()
    [ $mode = players-and-teams ] || flag=(--$mode)
    run "convert $mode" 0 "${flag[@]}" -o "$(w "$work/$mode.xlsx")" "$e"
    same_as_linux $mode "$work/enc" "$work/$mode.xlsx" "${flag[@]}"
done

# --- accented names -------------------------------------------------------------------
league="$work/Ligue d'Été"
docs="$work/José/Documents"
mkdir -p "$docs"
sample "$(w "$league")" --seasons 2 --players 40 > /dev/null; exited "sample into Ligue d'Été" 0 $?
run "convert Ligue d'Été" 0 -o "$(w "$docs/Résumé 1995.xlsx")" "$(w "$league")"
says "$work/out" "Workbook: $(w "$docs/Résumé 1995.xlsx")"
only_files "$docs" "Résumé 1995.xlsx"
only_files "$league" "${six[@]}"
same_as_linux accents "$league" "$docs/Résumé 1995.xlsx"
# A relative output in an accented current folder.
(cd "$docs" && cli -q -o "Été.xlsx" "$(w "$league")" > /dev/null 2>&1); exited "relative output" 0 $?
check [ -f "$docs/Été.xlsx" ] || fail "no Été.xlsx in José/Documents"

# --- refusals by Windows' own file calls: the team file in other letters, by
# "..", by a hard link; a folder; a read-only workbook (Wine shows a file
# without write permission as read-only), but for --force -----------------------
team_sum=$(md5sum < "$work/enc/ENCTEAM.DAT")
ln "$work/enc/ENCTEAM.DAT" "$work/hard.xlsx"
cp "$work/teams-only.xlsx" "$work/ro.xlsx" && chmod 0444 "$work/ro.xlsx"
refused=("$e\\ENCTEAM.DAT|encyclopedia folder" "$e\\encteam.dat|encyclopedia folder"
         "$e\\..\\enc\\new.xlsx|encyclopedia folder" "$e|it is a folder"
         "$(w "$work/hard.xlsx")|encyclopedia folder" "$(w "$work/ro.xlsx")|it is read-only")
for r in "${refused[@]}"; do
    run "the output ${r%%|*}" 1 -q -o "${r%%|*}" "$e"
    says "$work/err" "${r#*|}"
done
check [ "$(md5sum < "$work/enc/ENCTEAM.DAT")" = "$team_sum" ] || fail "the team file changed"
only_files "$work/enc" "${six[@]}"
check cmp -s "$work/ro.xlsx" "$work/teams-only.xlsx" || fail "the read-only workbook was replaced"
run "--force over ro.xlsx" 0 -q --force -o "$(w "$work/ro.xlsx")" "$e"
check [ "$(head -c 2 "$work/ro.xlsx")" = PK ] && ! cmp -s "$work/ro.xlsx" "$work/teams-only.xlsx" ||
    fail "--force did not replace ro.xlsx: $(cat "$work/err")"
if [ -n "${TALLYBOOK_TEST_READ_ONLY_DIR:-}" ]; then
    locked=$TALLYBOOK_TEST_READ_ONLY_DIR
    run "a folder that cannot be written" 1 -q -o "$locked\\book.xlsx" "$e"
    says "$work/err" "cannot write the workbook $locked\\book.xlsx: permission denied"
    check [ -z "$(ls -A "$(winepath -u "$locked")")" ] || fail "the folder that cannot be written holds files"
else
    echo "note: no TALLYBOOK_TEST_READ_ONLY_DIR: the folder that cannot be written is left out"
fi

# --- --open with no application for .xlsx (a fresh prefix has none) --------------------------
run "--open" 0 -q --open -o "$(w "$work/open.xlsx")" "$e"
says "$work/err" "no application opens .xlsx files"

# --- Ctrl-C during the save ---------------------------------------------------------------
sample "$(w "$work/big")" --players 3000 --seasons 3 > /dev/null || fail "the big sample"
mkdir -p "$work/sig"
cp "$work/teams-only.xlsx" "$work/sig/book.xlsx"
# Started directly, not through cli(), so that $! is wine itself (its
# script execs the loader, in which the Windows process runs).
"$wine" "$cli_exe" -q -o "$(w "$work/sig/book.xlsx")" "$(w "$work/big")" > /dev/null 2> "$work/err" &
pid=$!
save_begun "$work/sig" $pid || fail "Ctrl-C: the save was not seen to begin"
# Wine turns SIGINT into the console's Ctrl-C event.
kill -INT $pid 2> /dev/null
wait $pid
exited "Ctrl-C during the save" 130 $?
says "$work/err" "cancelled: no workbook was written"
check cmp -s "$work/sig/book.xlsx" "$work/teams-only.xlsx" || fail "Ctrl-C: the old workbook was replaced"
only_files "$work/sig" book.xlsx

finish "e2e under Wine" "$work"
