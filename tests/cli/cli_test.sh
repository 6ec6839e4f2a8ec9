#!/usr/bin/env bash
# The command line as a user drives it: exit codes, output file, warnings.
# Usage: cli_test.sh TALLYBOOK_CLI TALLYBOOK_SAMPLE
set -u
cli=$(realpath "$1")
sample=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() {  # check NAME EXPECTED_CODE ACTUAL_CODE
    if [ "$2" != "$3" ]; then echo "FAIL: $1: exit $3, expected $2"; failures=$((failures + 1)); fi
}

"$sample" "$work/enc" --players 40 --seasons 2 > /dev/null || { echo "FAIL: sample"; exit 1; }

"$cli" > /dev/null 2>&1; check "no folder is bad usage" 2 $?
"$cli" --players-only --teams-only "$work/enc" > /dev/null 2>&1; check "exclusive modes" 2 $?
"$cli" --bogus "$work/enc" > /dev/null 2>&1; check "unknown option" 2 $?

"$cli" -o "$work/out.xlsx" "$work/missing" > /dev/null 2> "$work/err"; check "missing folder" 1 $?
grep -q "missing" "$work/err" || { echo "FAIL: the error does not name the folder"; failures=$((failures + 1)); }
[ ! -e "$work/out.xlsx" ] || { echo "FAIL: a failed run left a file"; failures=$((failures + 1)); }

echo "old" > "$work/keep.xlsx"
"$cli" -o "$work/no-such-dir/x.xlsx" "$work/enc" > /dev/null 2>&1; check "unwritable output" 1 $?

(cd "$work" && "$cli" --quiet enc > out.txt 2>&1); check "default output" 0 $?
[ -s "$work/TALLYBOOK.xlsx" ] || { echo "FAIL: no TALLYBOOK.xlsx in the current folder"; failures=$((failures + 1)); }
[ ! -s "$work/out.txt" ] || { echo "FAIL: --quiet printed: $(cat "$work/out.txt")"; failures=$((failures + 1)); }

"$cli" --teams-only -o "$work/keep.xlsx" "$work/enc" > "$work/log" 2>&1; check "teams only" 0 $?
grep -q "Processing Completed" "$work/log" || { echo "FAIL: no completion line"; failures=$((failures + 1)); }
grep -q "Workbook: .*keep.xlsx" "$work/log" || { echo "FAIL: the summary does not say where"; failures=$((failures + 1)); }

"$cli" --inspect "$work/enc" > "$work/inspect" 2>&1; check "inspect" 0 $?
grep -qi "ENCPLSTATS.DAT" "$work/inspect" || { echo "FAIL: inspect says nothing of the statistics file"; failures=$((failures + 1)); }
"$cli" --inspect "$work/missing" > /dev/null 2>&1; check "inspect of a missing folder" 1 $?

# --- bad input and refused outputs -------------------------------------------
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
team_sum=$(md5sum < "$work/enc/ENCTEAM.DAT")

"$cli" -q -o "$work/enc/ENCTEAM.DAT" "$work/enc" > /dev/null 2> "$work/err"; check "output over the team file" 1 $?
grep -q "encyclopedia folder" "$work/err" || fail "the refusal does not say why: $(cat "$work/err")"
"$cli" -q -o "$work/enc/../enc/new.xlsx" "$work/enc" > /dev/null 2>&1; check "output into the folder by .." 1 $?
ln "$work/enc/ENCTEAM.DAT" "$work/hard.xlsx"
"$cli" -q -o "$work/hard.xlsx" "$work/enc" > /dev/null 2>&1; check "output hard-linked to the team file" 1 $?
[ "$(md5sum < "$work/enc/ENCTEAM.DAT")" = "$team_sum" ] || fail "the team file changed"

mkdir "$work/empty"
"$cli" -q -o "$work/keep.xlsx" "$work/empty" > /dev/null 2> "$work/err"; check "empty folder" 1 $?
grep -q "nothing to convert" "$work/err" || fail "no 'nothing to convert': $(cat "$work/err")"
grep -q "ENCTEAM.DAT is missing" "$work/err" || fail "the missing files are not named"
head -c 10 "$work/keep.xlsx" | grep -q "PK" || fail "the good workbook was replaced"

mkfifo "$work/fifo.xlsx"
timeout 20 "$cli" -q -o "$work/fifo.xlsx" "$work/enc" > /dev/null 2>&1; check "FIFO output" 1 $?
"$cli" -q -o /dev/null "$work/enc" > /dev/null 2>&1; check "device output" 1 $?

cp "$work/keep.xlsx" "$work/target.xlsx"; chmod 600 "$work/target.xlsx"; ln -s target.xlsx "$work/link.xlsx"
"$cli" -q -o "$work/link.xlsx" "$work/enc" > /dev/null 2>&1; check "symbolic link to a workbook" 0 $?
[ -L "$work/link.xlsx" ] || fail "the link was replaced by a file"
[ "$(stat -c %a "$work/target.xlsx")" = 600 ] || fail "the mode changed to $(stat -c %a "$work/target.xlsx")"

long=$(printf 'n%.0s' $(seq 1 245)).xlsx
"$cli" -q -o "$work/$long" "$work/enc" > /dev/null 2>&1; check "a 250-character name" 0 $?
"$cli" -q -o "$work/$(printf 'n%.0s' $(seq 1 300)).xlsx" "$work/enc" > /dev/null 2> "$work/err"; check "a name too long" 1 $?
grep -q "the name is too long" "$work/err" || fail "no 'name too long': $(cat "$work/err")"
"$cli" -q -o "$work/keep.xlsx/x.xlsx" "$work/enc" > /dev/null 2> "$work/err"; check "a file as the folder" 1 $?
grep -q "is not a folder" "$work/err" || fail "no 'not a folder': $(cat "$work/err")"

if [ "$(id -u)" = 0 ] && command -v setpriv > /dev/null; then
    mkdir "$work/locked"; chmod 755 "$work" "$work/locked"; chmod -R a+rX "$work/enc"
    setpriv --reuid=65534 --regid=65534 --clear-groups "$cli" -q -o "$work/locked/x.xlsx" "$work/enc" \
        > /dev/null 2> "$work/err"; check "a folder that cannot be written" 1 $?
    grep -q "permission denied" "$work/err" || fail "no 'permission denied': $(cat "$work/err")"
fi

# A full disk: one clear line, no line of the library's own.
if [ "$(id -u)" = 0 ] && mkdir "$work/tiny" && mount -t tmpfs -o size=256k tmpfs "$work/tiny" 2> /dev/null; then
    "$sample" "$work/big" --players 3000 --seasons 3 > /dev/null
    "$cli" -q -o "$work/tiny/x.xlsx" "$work/big" > /dev/null 2> "$work/err"; check "a full disk" 1 $?
    grep -q "the disk is full" "$work/err" || fail "no 'disk is full': $(cat "$work/err")"
    grep -q "ERROR" "$work/err" && fail "the library's own lines reached the terminal: $(cat "$work/err")"
    [ -z "$(ls -A "$work/tiny")" ] || fail "a full disk left files: $(ls -A "$work/tiny")"
    umount "$work/tiny"
fi

# --- signals during the save ---------------------------------------------------
[ -d "$work/big" ] || "$sample" "$work/big" --players 3000 --seasons 3 > /dev/null
for sig in INT TERM; do
    mkdir -p "$work/sig"; echo good > "$work/sig/book.xlsx"
    setsid "$cli" -q -o "$work/sig/book.xlsx" "$work/big" > /dev/null 2>&1 &
    pid=$!
    for _ in $(seq 1 600); do  # until the save has begun
        ls -A "$work/sig" | grep -q '^\.tallybook-' && break
        sleep 0.05
    done
    kill -s $sig -- -$pid 2> /dev/null
    wait $pid; code=$?
    expected=$([ $sig = INT ] && echo 130 || echo 143)
    check "SIG$sig during the save" $expected $code
    [ "$(head -c 4 "$work/sig/book.xlsx")" = good ] || fail "SIG$sig: the old workbook was replaced"
    [ "$(ls -A "$work/sig")" = book.xlsx ] || fail "SIG$sig left: $(ls -A "$work/sig")"
done

# --- inspect and help ------------------------------------------------------------
"$cli" --inspect -o x.xlsx "$work/enc" > /dev/null 2>&1; check "inspect with -o" 2 $?
"$cli" --inspect --teams-only "$work/enc" > /dev/null 2>&1; check "inspect with a mode" 2 $?
"$cli" --inspect "$work/enc" > /dev/full 2>/dev/null; check "inspect to a full device" 1 $?
mkdir "$work/odd"; cp "$work/enc/"* "$work/odd/"; rm "$work/odd/encleag.dat"; mkdir "$work/odd/encleag.dat"
"$cli" --inspect "$work/odd" > /dev/null 2>&1; check "inspect of an unreadable file" 1 $?
"$cli" --help > "$work/help" 2>&1; check "help" 0 $?
grep -q "130" "$work/help" || fail "--help does not list the exit codes"

ls "$work/enc" | sort > "$work/files-after"
[ "$(wc -l < "$work/files-after")" = 6 ] || { echo "FAIL: the encyclopedia folder changed: $(cat "$work/files-after")"; failures=$((failures + 1)); }

if [ "$failures" -eq 0 ]; then echo "cli: all checks passed"; fi
exit "$failures"
