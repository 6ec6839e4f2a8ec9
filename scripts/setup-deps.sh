#!/usr/bin/env bash
# Installs the Debian packages TALLYBOOK needs to build, test and run.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libdeflate-dev zlib1g-dev
  libxlsxwriter-dev   # the reference writer of the tests and the benchmark
  libcli11-dev
  libgtest-dev libicu-dev
  # The font the column widths were measured from: the notices carry its licence.
  fonts-crosextra-carlito
  qt6-base-dev qt6-base-dev-tools libgl-dev
  python3-openpyxl
  xdg-utils
  clang libclang-rt-14-dev
)

source "$(dirname "$0")/common.sh"
install_missing "${packages[@]}"
