#!/usr/bin/env bash
# Builds every package of this commit into dist/:
#   tallybook-VERSION-windows-x64.zip   the Windows programs, to unpack anywhere
#   tallybook-VERSION-windows-x64.msi   the same, installed for one user
#   tallybook_VERSION_amd64.deb         the Linux programs for Debian 12
#   SHA256SUMS                          their checksums (sha256sum -c SHA256SUMS)
# and checks that each package's THIRD-PARTY-NOTICES.txt names exactly what
# its programs link (tools/notices/notices.py check).
#
# Two runs on the same commit give the same bytes, in any folder at any time
# (SOURCE_DATE_EPOCH is the commit's time; see scripts/pack-windows.sh and
# cmake/release.cmake), except when signing.
#
# Installs what is missing (Debian packages only); the Windows dependencies
# are those scripts/build-windows.sh builds and keeps in build-windows/deps.
#
# Environment:
#   JOBS=N                      parallel build jobs (default: nproc)
#   TALLYBOOK_WINDOWS_BUILD=DIR a Windows build folder whose programs are
#                               built (scripts/build-windows.sh's
#                               build-windows/win); default: build them
#   TALLYBOOK_WINDOWS_DEPS=DIR  the Windows dependencies' prefix (default:
#                               made or reused by scripts/build-windows.sh)
#   TALLYBOOK_RELEASE_DIR=DIR   the build folders (default build-release)
#   TALLYBOOK_DIST=DIR          the packages (default dist)
#   SOURCE_DATE_EPOCH, TALLYBOOK_COMMIT  the commit's time and id (default:
#                               from git; a copy without .git needs both)
#   TALLYBOOK_SIGN_*            sign the Windows programs and the MSI
#                               (scripts/sign-windows.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=${JOBS:-$(nproc)}
work=$(realpath -m "${TALLYBOOK_RELEASE_DIR:-$root/build-release}")
dist=$(realpath -m "${TALLYBOOK_DIST:-$root/dist}")
die() { echo "build-release: $*" >&2; exit 1; }
started=$(date +%s)
source scripts/common.sh

export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
export TALLYBOOK_COMMIT=${TALLYBOOK_COMMIT:-$(git rev-parse HEAD)}
version=$(sed -n 's/^project(tallybook VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
echo "TALLYBOOK $version, commit $TALLYBOOK_COMMIT of $(date -u -d "@$SOURCE_DATE_EPOCH" '+%Y-%m-%d %H:%M:%S') UTC"

step "Packages"
scripts/setup-deps.sh
packages=(wixl msitools faketime help2man zip osslsigncode fonts-crosextra-carlito libicu-dev
          g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64)
install_missing "${packages[@]}"

mkdir -p "$work"
step "The Windows programs"
if [ -n "${TALLYBOOK_WINDOWS_BUILD:-}" ]; then
    win=$(realpath "$TALLYBOOK_WINDOWS_BUILD")
    echo "from $win"
else
    prefix=${TALLYBOOK_WINDOWS_DEPS:-}
    if [ -z "$prefix" ]; then
        TALLYBOOK_WINDOWS_DEPS_ONLY=1 scripts/build-windows.sh > "$work/windows-deps.log" 2>&1 ||
            { tail -20 "$work/windows-deps.log"; die "the Windows dependencies (see $work/windows-deps.log)"; }
        prefix=$root/build-windows/deps/prefix
    fi
    win=$work/win
    cmake -S . -B "$win" -G "Unix Makefiles" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
        -DTALLYBOOK_MINGW_PREFIX="$(realpath "$prefix")" -DCMAKE_BUILD_TYPE=Release -DTALLYBOOK_GUI=ON \
        -DTALLYBOOK_BENCH=OFF -DTALLYBOOK_TESTS=OFF > "$work/win-configure.log" ||
        { cat "$work/win-configure.log"; die "configuring the Windows build"; }
    cmake --build "$win" -j"$jobs" --target tallybook tallybook-cli tallybook-sample > "$work/win-build.log" 2>&1 ||
        { grep -E 'error|Error' "$work/win-build.log" | head -20; die "the Windows programs (see $work/win-build.log)"; }
fi
for exe in win32/tallybook.exe cli/tallybook-cli.exe tools/tallybook-sample.exe; do
    [ -f "$win/$exe" ] && [ -f "$win/${exe%.exe}.map" ] || die "$win has no $exe (with its linker map)"
done

step "The Linux programs"
linux=$work/linux
cmake -S . -B "$linux" -G "Unix Makefiles" -DCMAKE_BUILD_TYPE=Release -DTALLYBOOK_GUI=ON -DTALLYBOOK_BENCH=OFF \
    -DTALLYBOOK_TESTS=OFF > "$work/linux-configure.log" || { cat "$work/linux-configure.log"; die "configuring the Linux build"; }
cmake --build "$linux" -j"$jobs" --target tallybook tallybook-cli tallybook-sample tallybook-man > "$work/linux-build.log" 2>&1 ||
    { grep -E 'error|Error' "$work/linux-build.log" | head -20; die "the Linux programs (see $work/linux-build.log)"; }

step "The notices against what the programs link"
/usr/bin/python3 tools/notices/notices.py check --list packaging/notices/windows.list --build "$win" \
    "$win/win32/tallybook.map" "$win/cli/tallybook-cli.map" "$win/tools/tallybook-sample.map"
/usr/bin/python3 tools/notices/notices.py check --list packaging/notices/deb.list --build "$linux" \
    "$linux/gui/tallybook.map" "$linux/cli/tallybook-cli.map" "$linux/tools/tallybook-sample.map"

step "The zip and the MSI"
rm -rf "$work/windows-packages"
scripts/pack-windows.sh "$win" "$work/windows-packages" > /dev/null

step "The .deb"
rm -rf "$work/deb-packages"
(cd "$linux" && cpack -G DEB -B "$work/deb-packages" > "$work/cpack.log" 2>&1) ||
    { tail -20 "$work/cpack.log"; die "cpack (see $work/cpack.log)"; }

step "dist"
rm -rf "$dist"
mkdir -p "$dist"
cp "$work/windows-packages/tallybook-$version-windows-x64.zip" "$work/windows-packages/tallybook-$version-windows-x64.msi" \
   "$work/deb-packages/tallybook_${version}_amd64.deb" "$dist/"
(cd "$dist" && sha256sum -- * > SHA256SUMS)
ls -l "$dist"
step "Done"
echo "build-release: $dist in $(( $(date +%s) - started ))s"
