#!/usr/bin/env bash
# Installs what is missing, builds TALLYBOOK, writes the bundled sample
# encyclopedia and converts it into a workbook.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DTALLYBOOK_TESTS=OFF > /dev/null
cmake --build build -j"$(nproc)"

sample=build/sample-encyclopedia
build/tools/tallybook-sample "$sample"
build/cli/tallybook-cli --inspect "$sample"
build/cli/tallybook-cli -o build/TALLYBOOK.xlsx "$sample"
