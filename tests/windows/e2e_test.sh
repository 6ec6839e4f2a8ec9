#!/usr/bin/env bash
# The Windows programs as a user drives them, under Wine: the sample, a
# conversion checked by the independent checker, the same workbook as the
# Linux build's, accented folder and file names, exit codes and refusals (a
# folder that cannot be written among them), Ctrl-C during the save, --open.
#
# Usage: e2e_test.sh WINDOWS_BUILD LINUX_BUILD WORK_DIR
#   WINDOWS_BUILD holds cli/tallybook-cli.exe and tools/tallybook-sample.exe,
#   LINUX_BUILD cli/tallybook-cli and tools/tallybook-sample; WORK_DIR is
#   emptied first. WINEPREFIX names a ready Wine prefix (scripts/build-windows.sh
#   makes one); WINE the wine to run (default: wine).
set -u
tests=$(cd "$(dirname "$0")/.." && pwd)
win_build=$(realpath "$1")
linux_build=$(realpath "$2")
work=$(realpath -m "$3")
: "${WINEPREFIX:?set WINEPREFIX to a Wine prefix}"
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml=;winemenubuilder.exe=d"}
export LC_ALL=C.UTF-8   # Wine turns names and arguments to UTF-16 by the Unix locale
wine=${WINE:-wine}
python=/usr/bin/python3

cli_exe=$win_build/cli/tallybook-cli.exe
sample_exe=$win_build/tools/tallybook-sample.exe
cli_linux=$linux_build/cli/tallybook-cli
sample_linux=$linux_build/tools/tallybook-sample

rm -rf "$work"
mkdir -p "$work"
failures=0
checks=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() {  # check NAME EXPECTED_CODE ACTUAL_CODE
    checks=$((checks + 1))
    [ "$2" = "$3" ] || fail "$1: exit $3, expected $2"
}
# A Linux path as the Windows programs see it (Wine's drive Z: is "/").
w() { local p; p=$(realpath -m "$1"); printf 'Z:%s' "${p//\//\\}"; }
cli() { "$wine" "$cli_exe" "$@"; }
sample() { "$wine" "$sample_exe" "$@"; }
only_files() {  # only_files DIR NAME...: DIR holds exactly these names
    local got want
    got=$(ls -A "$1" | LC_ALL=C sort)
    want=$(printf '%s\n' "${@:2}" | LC_ALL=C sort)
    [ "$got" = "$want" ] || fail "$1 holds: $(echo $got), expected: $(echo $want)"
}
six=(ENCPLSTATS.DAT ENCPLYR.DAT ENCTEAM.DAT encleag.dat enclgyr.dat enctmyr.dat)

# --- the sample, on both systems ------------------------------------------------
sample "$(w "$work/enc")" --seasons 4 --players 120 > "$work/sample.out"; check "sample" 0 $?
"$sample_linux" "$work/enc-linux" --seasons 4 --players 120 > /dev/null || fail "the Linux sample"
for f in "${six[@]}"; do
    cmp -s "$work/enc/$f" "$work/enc-linux/$f" || fail "the Windows and Linux samples differ in $f"
done
grep -q "to Z:" "$work/sample.out" || fail "the sample does not say where it wrote: $(cat "$work/sample.out")"

# --- conversions checked by the independent checker --------------------------------
for mode in players-and-teams players-only teams-only; do
    flag=()
    [ $mode = players-only ] && flag=(--players-only)
    [ $mode = teams-only ] && flag=(--teams-only)
    cli "${flag[@]}" -o "$(w "$work/$mode.xlsx")" "$(w "$work/enc")" > "$work/$mode.out" 2>&1
    check "convert $mode" 0 $?
    "$python" "$tests/e2e/check_sample.py" "$work/enc" "$work/$mode.xlsx" $mode 2> "$work/$mode.check" ||
        fail "check_sample.py $mode: $(head -5 "$work/$mode.check")"
done
grep -q "Processing Completed" "$work/players-and-teams.out" || fail "no completion line"
grep -qF "Workbook: $(w "$work/players-and-teams.xlsx")" "$work/players-and-teams.out" ||
    fail "the summary does not say where: $(cat "$work/players-and-teams.out")"

# --- the same workbook as the Linux build's -----------------------------------------
"$cli_linux" -q -o "$work/linux.xlsx" "$work/enc" || fail "the Linux conversion"
mkdir -p "$work/parts-windows" "$work/parts-linux"
unzip -q "$work/players-and-teams.xlsx" -d "$work/parts-windows" && unzip -q "$work/linux.xlsx" -d "$work/parts-linux" ||
    fail "unzip"
(cd "$work/parts-windows" && find . -type f | LC_ALL=C sort) > "$work/parts-windows.txt"
(cd "$work/parts-linux" && find . -type f | LC_ALL=C sort) > "$work/parts-linux.txt"
checks=$((checks + 1))
cmp -s "$work/parts-windows.txt" "$work/parts-linux.txt" ||
    fail "the parts differ: $(diff "$work/parts-linux.txt" "$work/parts-windows.txt" | head)"
# docProps/core.xml differs only in its times: the folder is named by its
# name alone, the same on both systems.
times='s/[0-9]\{4\}-[0-9-]*T[0-9:]*Z/TIME/g'
for side in windows linux; do sed -i "$times" "$work/parts-$side/docProps/core.xml"; done
while read -r part; do
    checks=$((checks + 1))
    cmp -s "$work/parts-windows/$part" "$work/parts-linux/$part" || fail "part $part differs from the Linux build's"
done < "$work/parts-linux.txt"

# --- accented names -------------------------------------------------------------------
league="$work/Ligue d'Été"
docs="$work/José/Documents"
mkdir -p "$docs"
sample "$(w "$league")" --seasons 2 --players 40 > /dev/null; check "sample into Ligue d'Été" 0 $?
only_files "$league" "${six[@]}"
cli -o "$(w "$docs/Résumé 1995.xlsx")" "$(w "$league")" > "$work/accents.out" 2>&1; check "convert Ligue d'Été" 0 $?
checks=$((checks + 1))
[ -f "$docs/Résumé 1995.xlsx" ] || fail "no 'Résumé 1995.xlsx' in José/Documents: $(ls -A "$work" "$docs")"
only_files "$docs" "Résumé 1995.xlsx"
only_files "$league" "${six[@]}"
grep -qF "Workbook: $(w "$docs/Résumé 1995.xlsx")" "$work/accents.out" ||
    fail "the summary does not name the workbook in UTF-8: $(grep Workbook "$work/accents.out")"
"$python" "$tests/e2e/check_sample.py" "$league" "$docs/Résumé 1995.xlsx" players-and-teams 2> "$work/accents.check" ||
    fail "check_sample.py on Résumé 1995.xlsx: $(head -5 "$work/accents.check")"
cli --inspect "$(w "$league")" > "$work/accents.inspect" 2>&1; check "inspect Ligue d'Été" 0 $?
grep -qF "$(w "$league")" "$work/accents.inspect" || fail "--inspect does not name Ligue d'Été: $(head -3 "$work/accents.inspect")"
# A relative output in an accented current folder.
(cd "$docs" && cli -q -o "Été.xlsx" "$(w "$league")" > /dev/null 2>&1); check "relative output" 0 $?
[ -f "$docs/Été.xlsx" ] || fail "no Été.xlsx in José/Documents"

# --- exit codes and refusals -------------------------------------------------------------
e=$(w "$work/enc")
cli > /dev/null 2>&1; check "no folder is bad usage" 2 $?
cli --players-only --teams-only "$e" > /dev/null 2>&1; check "exclusive modes" 2 $?
cli --bogus "$e" > /dev/null 2>&1; check "unknown option" 2 $?
cli --inspect -o x.xlsx "$e" > /dev/null 2>&1; check "inspect with -o" 2 $?
cli --help > "$work/help" 2>&1; check "help" 0 $?
grep -q "130" "$work/help" || fail "--help does not list the exit codes"
cli --version > "$work/version" 2>&1; check "version" 0 $?
grep -q "tallybook-cli" "$work/version" || fail "--version: $(cat "$work/version")"

cli -o "$(w "$work/out.xlsx")" "$(w "$work/missing")" > /dev/null 2> "$work/err"; check "missing folder" 1 $?
grep -q "missing" "$work/err" || fail "the error does not name the folder: $(cat "$work/err")"
[ ! -e "$work/out.xlsx" ] || fail "a failed run left a file"
cli -o "$(w "$work/no-such-dir/x.xlsx")" "$e" > /dev/null 2> "$work/err"; check "output folder missing" 1 $?
grep -q "does not exist" "$work/err" || fail "no 'does not exist': $(cat "$work/err")"

mkdir -p "$work/cwd"
(cd "$work/cwd" && cli --quiet "$e" > "$work/quiet.out" 2>&1); check "default output" 0 $?
[ -s "$work/cwd/TALLYBOOK.xlsx" ] || fail "no TALLYBOOK.xlsx in the current folder"
[ ! -s "$work/quiet.out" ] || fail "--quiet printed: $(cat "$work/quiet.out")"

team_sum=$(md5sum < "$work/enc/ENCTEAM.DAT")
cli -q -o "$e\\ENCTEAM.DAT" "$e" > /dev/null 2> "$work/err"; check "output over the team file" 1 $?
grep -q "encyclopedia folder" "$work/err" || fail "the refusal does not say why: $(cat "$work/err")"
cli -q -o "$e\\encteam.dat" "$e" > /dev/null 2>&1; check "output over the team file in other letters" 1 $?
cli -q -o "$e\\..\\enc\\new.xlsx" "$e" > /dev/null 2>&1; check "output into the folder by .." 1 $?
cli -q -o "$e" "$e" > /dev/null 2>&1; check "the encyclopedia folder as the output" 1 $?
ln "$work/enc/ENCTEAM.DAT" "$work/hard.xlsx"
cli -q -o "$(w "$work/hard.xlsx")" "$e" > /dev/null 2>&1; check "output hard-linked to the team file" 1 $?
[ "$(md5sum < "$work/enc/ENCTEAM.DAT")" = "$team_sum" ] || fail "the team file changed"
only_files "$work/enc" "${six[@]}"

mkdir -p "$work/a-folder.xlsx"
cli -q -o "$(w "$work/a-folder.xlsx")" "$e" > /dev/null 2> "$work/err"; check "a folder as the output" 1 $?
grep -q "it is a folder" "$work/err" || fail "no 'it is a folder': $(cat "$work/err")"
# An older workbook (the teams-only one) in the way: kept by a failed run,
# replaced by a good one; a file that is no workbook is refused.
cp "$work/teams-only.xlsx" "$work/keep.xlsx"
old_sum=$(md5sum < "$work/keep.xlsx")
mkdir -p "$work/empty"
cli -q -o "$(w "$work/keep.xlsx")" "$(w "$work/empty")" > /dev/null 2> "$work/err"; check "empty folder" 1 $?
grep -q "nothing to convert" "$work/err" || fail "no 'nothing to convert': $(cat "$work/err")"
[ "$(md5sum < "$work/keep.xlsx")" = "$old_sum" ] || fail "a failed run replaced the old workbook"
echo "notes" > "$work/notes.xlsx"
cli -q -o "$(w "$work/notes.xlsx")" "$e" > /dev/null 2> "$work/err"; check "a text file in the workbook's place" 1 $?
grep -q "it is not a workbook" "$work/err" || fail "no 'it is not a workbook': $(cat "$work/err")"
[ "$(cat "$work/notes.xlsx")" = notes ] || fail "the text file was replaced"
# Wine shows a file without write permission as read-only.
cp "$work/teams-only.xlsx" "$work/ro.xlsx" && chmod 0444 "$work/ro.xlsx"
cli -q -o "$(w "$work/ro.xlsx")" "$e" > /dev/null 2> "$work/err"; check "a read-only workbook" 1 $?
grep -q "it is read-only" "$work/err" || fail "no 'it is read-only': $(cat "$work/err")"
cmp -s "$work/ro.xlsx" "$work/teams-only.xlsx" || fail "the read-only workbook was replaced"
for f in notes.xlsx ro.xlsx; do
    cli -q --force -o "$(w "$work/$f")" "$e" > /dev/null 2> "$work/err"; check "--force over $f" 0 $?
    [ "$(head -c 2 "$work/$f")" = PK ] && ! cmp -s "$work/$f" "$work/teams-only.xlsx" || fail "--force did not replace $f: $(cat "$work/err")"
done
cli -q -o "$(w "$work/keep.xlsx/x.xlsx")" "$e" > /dev/null 2> "$work/err"; check "a file as the folder" 1 $?
grep -q "is not a folder" "$work/err" || fail "no 'not a folder': $(cat "$work/err")"
cli -q -o "$(w "$work/keep.xlsx")" "$e" > /dev/null 2>&1; check "replacing a workbook" 0 $?
[ "$(md5sum < "$work/keep.xlsx")" != "$old_sum" ] || fail "the old workbook was not replaced"
only_files "$work/cwd" TALLYBOOK.xlsx

cli --inspect "$e" > "$work/inspect" 2>&1; check "inspect" 0 $?
grep -qi "ENCPLSTATS.DAT" "$work/inspect" || fail "--inspect says nothing of the statistics file"
cli --inspect "$(w "$work/missing")" > /dev/null 2>&1; check "inspect of a missing folder" 1 $?

# --- --open with no application for .xlsx (a fresh prefix has none) --------------------------
cli -q --open -o "$(w "$work/open.xlsx")" "$e" > /dev/null 2> "$work/err"; check "--open" 0 $?
grep -q "no application opens .xlsx files" "$work/err" || fail "--open: $(cat "$work/err")"

# --- a folder no file can be made in: refused before anything is read ----------------------
# Wine as root writes everywhere, and keeps no read-only attribute on a
# folder: the folder is made unwritable from outside, by its permissions or,
# for root, its immutable attribute.
locked=$work/locked
mkdir -p "$locked"
chmod a-w "$locked"
if touch "$locked/x" 2> /dev/null; then rm -f "$locked/x"; chattr +i "$locked" 2> /dev/null || locked=; fi
if [ -n "$locked" ]; then
    cli -q -o "$(w "$locked/book.xlsx")" "$e" > /dev/null 2> "$work/err"; check "a folder that cannot be written" 1 $?
    grep -qF "cannot write the workbook $(w "$locked/book.xlsx"): permission denied" "$work/err" ||
        fail "the refusal of a folder that cannot be written: $(cat "$work/err")"
    checks=$((checks + 1))
    [ -z "$(ls -A "$locked")" ] || fail "the folder that cannot be written holds: $(ls -A "$locked")"
    chattr -i "$locked" 2> /dev/null
    chmod u+w "$locked"
else
    echo "note: no folder that cannot be written can be made here; that check is left out"
fi

# --- Ctrl-C during the save ---------------------------------------------------------------
sample "$(w "$work/big")" --players 3000 --seasons 3 > /dev/null || fail "the big sample"
mkdir -p "$work/sig"
cp "$work/teams-only.xlsx" "$work/sig/book.xlsx"
# Started directly, not through cli(), so that $! is wine itself (its
# script execs the loader, in which the Windows process runs).
"$wine" "$cli_exe" -q -o "$(w "$work/sig/book.xlsx")" "$(w "$work/big")" > /dev/null 2> "$work/sig.err" &
pid=$!
saving=no
for _ in $(seq 1 1200); do  # until the save has begun
    ls -A "$work/sig" | grep -q '^\.tallybook-' && { saving=yes; break; }
    kill -0 $pid 2> /dev/null || break
    sleep 0.05
done
[ $saving = yes ] || fail "Ctrl-C: the save was not seen to begin"
# Wine turns SIGINT into the console's Ctrl-C event.
kill -INT $pid 2> /dev/null
wait $pid
check "Ctrl-C during the save" 130 $?
grep -q "cancelled: no workbook was written" "$work/sig.err" || fail "Ctrl-C: $(cat "$work/sig.err")"
cmp -s "$work/sig/book.xlsx" "$work/teams-only.xlsx" || fail "Ctrl-C: the old workbook was replaced"
only_files "$work/sig" book.xlsx

if [ "$failures" -eq 0 ]; then
    echo "e2e under Wine: all $checks checks passed"
    exit 0
fi
echo "e2e under Wine: $failures failures (work folder: $work)"
exit 1
