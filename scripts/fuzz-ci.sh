#!/usr/bin/env bash
# Builds the fuzz targets (Clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) in build-fuzz, writes their seed corpus and
# runs each target for a few seconds on a fresh copy of its seeds. Fails on
# any crash, leak, timeout, memory blow-up or sanitizer report; what a failing
# target found is kept in build-fuzz/fuzz-artifacts.
#
#   FUZZ_SECONDS   time per target (default 7; eight targets make a minute)
set -euo pipefail
cd "$(dirname "$0")/.."

targets=(fuzz_teams fuzz_players fuzz_stats fuzz_team_seasons fuzz_league_seasons fuzz_leagues
         fuzz_run fuzz_workbook_text)
seconds="${FUZZ_SECONDS:-7}"
build=build-fuzz
bin="$PWD/$build/tests/fuzz"
start=$SECONDS

scripts/setup-deps.sh
if ! command -v clang++ > /dev/null; then
  echo "fuzz-ci: clang++ is missing (Debian: clang and libclang-rt-14-dev)" >&2
  exit 1
fi

# Only the fuzz targets, the seed program and the libraries they link.
CC=clang CXX=clang++ cmake -S . -B "$build" -DTALLYBOOK_FUZZ=ON -DTALLYBOOK_TESTS=OFF -DTALLYBOOK_GUI=OFF \
  -DTALLYBOOK_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
log="$build/fuzz-build.log"
if ! cmake --build "$build" -j2 --target "${targets[@]}" tallybook-fuzz-seeds > "$log" 2>&1; then
  cat "$log"
  exit 1
fi
# Warnings are shown, once each, but do not fail the run.
warnings=$(grep ': warning:' "$log" | sort -u || true)
echo "build: done in $((SECONDS - start)) s, $(grep -c . <<< "$warnings" || true) distinct compiler warnings"
[ -z "$warnings" ] || echo "$warnings"

"$bin/tallybook-fuzz-seeds" "$bin/seeds"

# A throw-away working corpus, so neither the seeds nor the repository change.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

failed=0
for t in "${targets[@]}"; do
  mkdir -p "$work/corpus/$t" "$work/artifacts"
  cp "$bin/seeds/$t"/* "$work/corpus/$t/" 2> /dev/null || true
  status=0
  (cd "$work" && exec "$bin/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
     -print_final_stats=1 -artifact_prefix="$work/artifacts/$t-" "$work/corpus/$t") > "$work/$t.log" 2>&1 ||
    status=$?
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/$t.log" | tail -1)
  corpus=$(find "$work/corpus/$t" -type f | wc -l)
  # A report that did not stop the run still fails it.
  if [ "$status" -eq 0 ] && grep -qE 'runtime error:|ERROR: (Address|Leak|UndefinedBehavior)Sanitizer' "$work/$t.log"; then
    status=1
  fi
  if [ "$status" -eq 0 ]; then
    printf '%-20s ok      %9s executions in %s s, corpus %s inputs\n' "$t" "${execs:-?}" "$seconds" "$corpus"
  else
    printf '%-20s FAILED  %9s executions (exit %s)\n' "$t" "${execs:-?}" "$status"
    tail -n 80 "$work/$t.log"
    mkdir -p "$build/fuzz-artifacts"
    cp "$work/$t.log" "$build/fuzz-artifacts/"
    cp "$work/artifacts/$t-"* "$build/fuzz-artifacts/" 2> /dev/null || true
    failed=1
  fi
done

echo "fuzz-ci: $((SECONDS - start)) s in all"
if [ "$failed" -ne 0 ]; then
  echo "fuzz-ci: a target failed; its log and input are in $build/fuzz-artifacts" >&2
  exit 1
fi
