#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs every test; then runs each fuzz target
# for a few seconds, builds the Windows programs and runs their tests under
# Wine, and checks the release packages (scripts/fuzz-ci.sh,
# scripts/build-windows.sh, scripts/release-check.sh).
#
#   TALLYBOOK_SKIP_WINDOWS=1   leave out the Windows build and the release
#                              checks (a quick local run)
#   TALLYBOOK_SKIP_RELEASE=1   leave out the release checks
set -euo pipefail
cd "$(dirname "$0")/.."
start=$SECONDS

scripts/setup-deps.sh
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DTALLYBOOK_SANITIZE=ON -DTALLYBOOK_BENCH=OFF > /dev/null
cmake --build build-test -j"$(nproc)"
(
  export QT_QPA_PLATFORM=offscreen
  export ASAN_OPTIONS=detect_leaks=1
  export UBSAN_OPTIONS=print_stacktrace=1
  ctest --test-dir build-test --output-on-failure -j"$(nproc)"
)
echo "== Linux tests done after $((SECONDS - start)) s"

scripts/fuzz-ci.sh
echo "== fuzzing done after $((SECONDS - start)) s"

if [ "${TALLYBOOK_SKIP_WINDOWS:-0}" != 1 ]; then
  # The Linux programs just built give the reference workbook.
  TALLYBOOK_LINUX_BUILD=build-test scripts/build-windows.sh
  echo "== Windows build and tests done after $((SECONDS - start)) s"
  if [ "${TALLYBOOK_SKIP_RELEASE:-0}" != 1 ]; then
    # The packages hold the Windows programs just built and tested.
    release_start=$SECONDS
    TALLYBOOK_WINDOWS_BUILD=build-windows/win scripts/release-check.sh
    echo "== release checks done after $((SECONDS - start)) s ($((SECONDS - release_start)) s)"
  fi
fi
