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

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
