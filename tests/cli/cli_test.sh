#!/usr/bin/env bash
# The command line as a user drives it: exit codes, output file, warnings.
# Each kind of refusal is the run tests' own; here what only the program shows.
# Usage: cli_test.sh TALLYBOOK_CLI TALLYBOOK_SAMPLE
set -u
. "$(dirname "$0")/checks.sh"
cli=$(realpath "$1")
sample=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# run NAME EXPECTED_CODE ARGS...: the program's output goes to $work/out and $work/err
run() { local name=$1 code=$2; shift 2; timeout 60 "$cli" "$@" > "$work/out" 2> "$work/err"; exited "$name" "$code" $?; }

"$sample" "$work/enc" --players 40 --seasons 2 > /dev/null || { echo "FAIL: sample"; exit 1; }

run "no folder is bad usage" 2
run "exclusive modes" 2 --players-only --teams-only "$work/enc"
run "unknown option" 2 --bogus "$work/enc"
run "missing folder" 1 -o "$work/out.xlsx" "$work/missing"
says "$work/err" missing
[ ! -e "$work/out.xlsx" ] || fail "a failed run left a file"

(cd "$work" && "$cli" --quiet enc > quiet.txt 2>&1); exited "default output" 0 $?
[ -s "$work/TALLYBOOK.xlsx" ] || fail "no TALLYBOOK.xlsx in the current folder"
[ ! -s "$work/quiet.txt" ] || fail "--quiet printed: $(cat "$work/quiet.txt")"

run "teams only" 0 --teams-only -o "$work/keep.xlsx" "$work/enc"
says "$work/out" "Processing Completed"
says "$work/out" "Workbook: $work/keep.xlsx"
keep_sum=$(md5sum < "$work/keep.xlsx")

# --- failures: the notices as warnings, the error, its plain words -----------------
mkdir "$work/empty"
run "empty folder" 1 -q -o "$work/keep.xlsx" "$work/empty"
says "$work/err" "warning: ENCTEAM.DAT is missing"

# A full disk: one clear line, no line of the library's own.
"$sample" "$work/big" --players 3000 --seasons 3 > /dev/null
if [ "$(id -u)" = 0 ] && mkdir "$work/tiny" && mount -t tmpfs -o size=256k tmpfs "$work/tiny" 2> /dev/null; then
    run "a full disk" 1 -q -o "$work/tiny/x.xlsx" "$work/big"
    says "$work/err" "the disk is full"
    grep -q "ERROR" "$work/err" && fail "the library's own lines reached the terminal: $(cat "$work/err")"
    [ -z "$(ls -A "$work/tiny")" ] || fail "a full disk left files: $(ls -A "$work/tiny")"
    umount "$work/tiny"
fi

# --- what is replaced: a workbook or an empty file, and --force ---------------------
echo "my notes" > "$work/notes.txt"
run "a text file as the output" 1 -q -o "$work/notes.txt" "$work/enc"
says "$work/err" "--force replaces it"
/usr/bin/python3 -c "import zipfile,sys; zipfile.ZipFile(sys.argv[1],'w').writestr('a.txt','x')" "$work/other.zip"
run "a zip file that is not a workbook" 1 -q -o "$work/other.zip" "$work/enc"
says "$work/err" "zip file, not a workbook"
run "--force replaces any regular file" 0 -q --force -o "$work/notes.txt" "$work/enc"
head -c 2 "$work/notes.txt" | grep -q PK || fail "--force did not replace the text file"
: > "$work/empty.xlsx"
run "an empty file is replaced" 0 -q -o "$work/empty.xlsx" "$work/enc"
head -c 2 "$work/empty.xlsx" | grep -q PK || fail "the empty file was not replaced"
[ "$(md5sum < "$work/keep.xlsx")" = "$keep_sum" ] || fail "keep.xlsx changed"

# A loop of links is refused, never replaced half way.
mkdir "$work/chain"; ln -s loop-b "$work/chain/loop-a"; ln -s loop-a "$work/chain/loop-b"
run "a loop of links" 1 -q -o "$work/chain/loop-a" "$work/enc"
says "$work/err" "too many links"
[ -L "$work/chain/loop-a" ] || fail "the loop's link was replaced"

# A closed stdout does not fail a run whose workbook was written.
"$cli" -o "$work/piped.xlsx" "$work/enc" 2> /dev/null | head -1 > /dev/null; exited "stdout closed" 0 "${PIPESTATUS[0]}"
[ -s "$work/piped.xlsx" ] || fail "no workbook with a closed stdout"

# A file-size limit: a plain error, nothing left.
mkdir "$work/limit"
(ulimit -f 64; exec "$cli" -q -o "$work/limit/x.xlsx" "$work/big") > /dev/null 2> "$work/err"; exited "a file-size limit" 1 $?
says "$work/err" "too large for this system's limit"
[ -z "$(ls -A "$work/limit")" ] || fail "a file-size limit left: $(ls -A "$work/limit")"

# Permissions, as a user they hold for (root writes past them).
if [ "$(id -u)" = 0 ] && command -v setpriv > /dev/null; then
    nobody() { setpriv --reuid=65534 --regid=65534 --clear-groups "$cli" -q "$@" "$work/enc" > /dev/null 2> "$work/err"; }
    mkdir "$work/locked" "$work/ro"
    chmod 755 "$work" "$work/locked"
    chmod -R a+rX "$work/enc"
    cp "$work/keep.xlsx" "$work/ro/book.xlsx"
    chmod 444 "$work/ro/book.xlsx"
    chown -R 65534:65534 "$work/ro"
    nobody -o "$work/locked/x.xlsx"; exited "a folder that cannot be written" 1 $?
    says "$work/err" "permission denied"
    nobody -o "$work/ro/book.xlsx"; exited "a read-only workbook" 1 $?
    says "$work/err" "it is read-only"
    nobody --force -o "$work/ro/book.xlsx"; exited "a read-only workbook with --force" 0 $?
    check [ "$(md5sum < "$work/ro/book.xlsx")" != "$keep_sum" ] || fail "--force did not replace the read-only workbook"
fi

# --- signals during the save ---------------------------------------------------
for sig in INT TERM HUP; do
    mkdir -p "$work/sig"; cp "$work/keep.xlsx" "$work/sig/book.xlsx"
    setsid "$cli" -q -o "$work/sig/book.xlsx" "$work/big" > /dev/null 2>&1 &
    pid=$!
    save_begun "$work/sig" $pid || fail "SIG$sig: the save was not seen to begin"
    kill -s $sig -- -$pid 2> /dev/null
    wait $pid; code=$?
    exited "SIG$sig during the save" "$(case $sig in INT) echo 130 ;; TERM) echo 143 ;; HUP) echo 129 ;; esac)" $code
    [ "$(md5sum < "$work/sig/book.xlsx")" = "$keep_sum" ] || fail "SIG$sig: the old workbook was replaced"
    [ "$(ls -A "$work/sig")" = book.xlsx ] || fail "SIG$sig left: $(ls -A "$work/sig")"
done

# --- inspect and help ------------------------------------------------------------
run "inspect" 0 --inspect "$work/enc"
says "$work/out" "ENCPLSTATS.DAT"
run "inspect of a missing folder" 1 --inspect "$work/missing"
run "inspect with -o" 2 --inspect -o x.xlsx "$work/enc"
"$cli" --inspect "$work/enc" > /dev/full 2> /dev/null; exited "inspect to a full device" 1 $?
mkdir "$work/odd"; cp "$work/enc/"* "$work/odd/"; rm "$work/odd/encleag.dat"; mkdir "$work/odd/encleag.dat"
run "inspect of an unreadable file" 1 --inspect "$work/odd"
run "help" 0 --help
says "$work/out" "130"
says "$work/out" "--licenses"
run "licences" 0 --licenses
says "$work/out" "Copyright (c) The TALLYBOOK authors"
says "$work/out" "THIRD-PARTY NOTICES: TALLYBOOK"

[ "$(ls "$work/enc" | wc -l)" = 6 ] || fail "the encyclopedia folder changed: $(ls "$work/enc")"
finish cli
