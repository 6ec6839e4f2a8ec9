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

ls "$work/enc" | sort > "$work/files-after"
[ "$(wc -l < "$work/files-after")" = 6 ] || { echo "FAIL: the encyclopedia folder changed: $(cat "$work/files-after")"; failures=$((failures + 1)); }

if [ "$failures" -eq 0 ]; then echo "cli: all checks passed"; fi
exit "$failures"
