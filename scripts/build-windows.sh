#!/usr/bin/env bash
# Builds tallybook.exe (the window), tallybook-cli.exe, tallybook-sample.exe
# and the test programs for 64-bit Windows with MinGW-w64, runs the tests and
# an end-to-end check under Wine (the window's on a virtual display), and
# packs build-windows/tallybook-VERSION-windows-x64.zip and .msi
# (scripts/pack-windows.sh).
#
# Installs what is missing (Debian packages only). The Windows builds of the
# dependencies (libdeflate from Debian's source package, GoogleTest from
# libgtest-dev's sources; zlib is Debian's libz-mingw-w64-dev) are made once
# in build-windows/deps and reused while their inputs are unchanged.
#
# Environment:
#   JOBS=N                         parallel build jobs (default: nproc)
#   TALLYBOOK_WINDOWS_DEPS_ONLY=1  only make the dependencies (for
#                                  scripts/build-release.sh), then stop
#   TALLYBOOK_WINDOWS_STRICT=1     a test program that does not build fails
#                                  the script (default: it is reported)
#   TALLYBOOK_LINUX_BUILD=DIR      a Linux build folder that already holds
#                                  cli/tallybook-cli and tools/tallybook-sample
#                                  (the reference workbook); default: build one
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build-windows
deps=$out/deps
prefix=$deps/prefix
toolchain=$root/cmake/mingw-w64-x86_64.cmake
jobs=${JOBS:-$(nproc)}
strict=${TALLYBOOK_WINDOWS_STRICT:-0}
mingw=x86_64-w64-mingw32

started=$(date +%s)
source scripts/common.sh
die() { echo "build-windows: $*" >&2; exit 1; }

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

# --- 1. Packages ----------------------------------------------------------------
step "Packages"
packages=(
  build-essential cmake pkg-config patch dpkg-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  libz-mingw-w64-dev
  wine wine64 xvfb xauth
  zip unzip wixl msitools faketime
  libdeflate-dev zlib1g-dev libcli11-dev libgtest-dev python3-openpyxl
  libicu-dev fonts-crosextra-carlito
)
install_missing "${packages[@]}"
# The posix thread model (std::thread, std::mutex): the toolchain file names
# the -posix compilers, whatever the alternatives point at.
command -v $mingw-g++-posix > /dev/null || die "$mingw-g++-posix is missing"

# A static Windows build of the CMake project in SOURCE, installed into the
# prefix; logs in $deps/NAME-*.log. The folders it is built in stay out of
# the objects (__FILE__ in messages), so that the programs are the same
# wherever they are built.
cross_build_install() {  # SOURCE NAME [CMAKE ARGS...]
    local src=$1 name=$2
    shift 2
    cmake -S "$src" -B "$deps/$name-build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DTALLYBOOK_MINGW_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF \
        -DCMAKE_C_FLAGS="-ffile-prefix-map=$deps/=" -DCMAKE_CXX_FLAGS="-ffile-prefix-map=$deps/=" \
        -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_INSTALL_LIBDIR=lib "$@" > "$deps/$name-configure.log"
    cmake --build "$deps/$name-build" -j"$jobs" > "$deps/$name-build.log"
    cmake --install "$deps/$name-build" > /dev/null
}

# --- 2. libdeflate for Windows ---------------------------------------------------
# The source package of the installed version of PACKAGE, unpacked in
# $deps/src, from a deb-src entry for this system's suite (added when there
# is none).
apt_sources=/etc/apt/sources.list.d
fetch_source() {  # PACKAGE SOURCE_VERSION
    local package=$1 version=$2
    has_source() { apt-cache showsrc "$package" 2> /dev/null | grep -x "Version: $version" > /dev/null; }
    if ! has_source; then
        . /etc/os-release
        suite=${VERSION_CODENAME:?no VERSION_CODENAME in /etc/os-release}
        # The Debian mirror this system already uses, else the default one.
        mirror=$( { grep -hsE '^URIs:' "$apt_sources"/*.sources | awk '{print $2}'
                    grep -hsE '^deb\s' /etc/apt/sources.list "$apt_sources"/*.list |
                        sed -E 's/^deb\s+(\[[^]]*\]\s+)?//' | awk '{print $1}'; } |
                  grep -E '/debian/?$' | head -1 || true)
        [ -n "$mirror" ] || mirror=http://deb.debian.org/debian
        echo "Adding a deb-src entry for $suite ($mirror)"
        printf 'Types: deb-src\nURIs: %s\nSuites: %s %s-updates\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
            "$mirror" "$suite" "$suite" | $SUDO tee "$apt_sources/tallybook-deb-src.sources" > /dev/null
        $SUDO apt-get update -qq
        has_source || die "no source package $package $version in the archive"
    fi
    rm -rf "$deps/src"
    mkdir -p "$deps/src"
    (cd "$deps/src" && apt-get source -qq "$package=$version" 2>&1 | grep -v '^W: Download is performed unsandboxed' || true)
}

step "libdeflate (MinGW, static)"
ld_source_version=$(dpkg-query -W -f='${source:Version}' libdeflate-dev)
ld_upstream=${ld_source_version%%-*}
ld_stamp="libdeflate $ld_source_version prefix-map $(sha256sum < "$toolchain" | cut -c1-16)"
if [ "$(cat "$deps/libdeflate.stamp" 2>/dev/null)" != "$ld_stamp" ]; then
    rm -f "$deps/libdeflate.stamp"
    fetch_source libdeflate "$ld_source_version"
    ld_src=$deps/src/libdeflate-$ld_upstream
    [ -f "$ld_src/Makefile" ] || die "apt-get source libdeflate=$ld_source_version gave no sources"
    # Its own Makefile knows MinGW: the static library is libdeflatestatic.lib.
    make -C "$ld_src" -j"$jobs" CC=$mingw-gcc-posix AR=$mingw-ar libdeflatestatic.lib > "$deps/libdeflate-build.log" 2>&1 ||
        { tail -20 "$deps/libdeflate-build.log"; die "libdeflate does not build (see $deps/libdeflate-build.log)"; }
    mkdir -p "$prefix/include" "$prefix/lib"
    cp "$ld_src/libdeflate.h" "$prefix/include/"
    cp "$ld_src/libdeflatestatic.lib" "$prefix/lib/libdeflate.a"
    echo "$ld_stamp" > "$deps/libdeflate.stamp"
else
    echo "up to date ($ld_stamp)"
fi

# --- 3. GoogleTest and CLI11 for Windows ---------------------------------------
step "GoogleTest and CLI11 (MinGW)"
gtest_stamp="gtest $(dpkg-query -W -f='${Version}' libgtest-dev) $(sha256sum < "$toolchain" | cut -c1-16)"
if [ "$(cat "$deps/gtest.stamp" 2>/dev/null)" != "$gtest_stamp" ]; then
    rm -rf "$deps/gtest-build"
    cross_build_install /usr/src/googletest gtest -DBUILD_GMOCK=OFF -Dgtest_disable_pthreads=ON
    echo "$gtest_stamp" > "$deps/gtest.stamp"
else
    echo "up to date ($gtest_stamp)"
fi
# CLI11 is headers only; its package files find them relative to themselves,
# so a copy in the prefix keeps the host's /usr/include out of the build.
cli11_stamp="cli11 $(dpkg-query -W -f='${Version}' libcli11-dev)"
if [ "$(cat "$deps/cli11.stamp" 2>/dev/null)" != "$cli11_stamp" ]; then
    rm -rf "$prefix/include/CLI" "$prefix/share/cmake/CLI11"
    mkdir -p "$prefix/include" "$prefix/share/cmake"
    cp -a /usr/include/CLI "$prefix/include/"
    cp -a /usr/share/cmake/CLI11 "$prefix/share/cmake/"
    echo "$cli11_stamp" > "$deps/cli11.stamp"
fi

# --- 4. TALLYBOOK for Windows ----------------------------------------------------
[ "${TALLYBOOK_WINDOWS_DEPS_ONLY:-0}" != 1 ] || exit 0

step "TALLYBOOK for Windows (cross-compiled)"
win=$out/win
cmake -S . -B "$win" -G "Unix Makefiles" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DTALLYBOOK_MINGW_PREFIX="$prefix" \
    -DCMAKE_BUILD_TYPE=Release -DTALLYBOOK_GUI=ON -DTALLYBOOK_BENCH=OFF -DTALLYBOOK_TESTS=ON > "$out/win-configure.log"
# The collation test compares with ICU only where pkg-config finds one; the
# host's must never be taken for Windows'.
grep -q '^ICU_FOUND:INTERNAL=1' "$win/CMakeCache.txt" &&
    die "the Windows build found an ICU (the host's?): see $out/win-configure.log"
tests=$(cmake --build "$win" --target help | sed -n 's/^\.\.\. \(test_[a-z0-9_]*\)$/\1/p' | sort)
[ -n "$tests" ] || die "no test programs in the Windows build"
# Everything in one parallel build that keeps going past a target that
# fails; then a quick pass per target tells which ones are built (an .exe
# left from an earlier build does not count).
cmake --build "$win" -j"$jobs" --target tallybook tallybook-cli tallybook-sample $tests -- -k > "$out/win-build.log" 2>&1 || true
cmake --build "$win" --target tallybook tallybook-cli tallybook-sample >> "$out/win-build.log" 2>&1 ||
    { grep -E 'error|Error' "$out/win-build.log" | head -20; die "the programs do not build (see $out/win-build.log)"; }
built_tests=()
not_built=()
for t in $tests; do
    if cmake --build "$win" --target "$t" > "$out/win-build-$t.log" 2>&1; then
        built_tests+=("$t")
    else
        not_built+=("$t")
        echo "NOT BUILT: $t. First errors (full log: $out/win-build-$t.log):"
        grep -E 'error|Error' "$out/win-build-$t.log" | grep -v '^make' | head -8 | sed 's/^/    /'
    fi
done
if [ ${#not_built[@]} -gt 0 ] && [ "$strict" = 1 ]; then die "test programs that do not build: ${not_built[*]}"; fi

# Only Windows' own DLLs may be imported: no MinGW runtime beside the .exe.
step "Imported DLLs"
allowed='^(kernel32|msvcrt|ucrtbase|user32|gdi32|comctl32|comdlg32|shell32|ole32|oleacc|oleaut32|advapi32|ws2_32|bcrypt|api-ms-win-.*)\.dll$'
exes=("$win/win32/tallybook.exe" "$win/cli/tallybook-cli.exe" "$win/tools/tallybook-sample.exe")
for t in "${built_tests[@]}"; do exes+=("$win/tests/$t.exe"); done
for exe in "${exes[@]}"; do
    dlls=$($mingw-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
    bad=$(echo "$dlls" | grep -vE "$allowed" || true)
    [ -z "$bad" ] || die "$(basename "$exe") needs DLLs that are not Windows' own: $bad"
    printf '%-24s %s\n' "$(basename "$exe")" "$(echo $dlls)"
done

# --- 5. The Linux programs, for comparing the workbooks ---------------------------
step "TALLYBOOK for Linux (the reference workbook)"
if [ -n "${TALLYBOOK_LINUX_BUILD:-}" ]; then
    linux=$(realpath "$TALLYBOOK_LINUX_BUILD")
    [ -x "$linux/cli/tallybook-cli" ] && [ -x "$linux/tools/tallybook-sample" ] ||
        die "TALLYBOOK_LINUX_BUILD=$linux holds no cli/tallybook-cli and tools/tallybook-sample"
    echo "using $linux"
else
    linux=$out/linux
    cmake -S . -B "$linux" -G "Unix Makefiles" -DCMAKE_BUILD_TYPE=Release -DTALLYBOOK_GUI=OFF -DTALLYBOOK_BENCH=OFF \
        -DTALLYBOOK_TESTS=OFF > "$out/linux-configure.log"
    cmake --build "$linux" -j"$jobs" --target tallybook-cli tallybook-sample > "$out/linux-build.log" ||
        { tail -40 "$out/linux-build.log"; die "the Linux programs do not build (see $out/linux-build.log)"; }
fi

# --- 6. Wine ----------------------------------------------------------------------
step "A fresh Wine prefix"
export WINEPREFIX=$out/wineprefix WINEDEBUG=-all
# No Gecko or Mono downloads, no desktop menus or file associations.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Wine turns names and arguments to and from UTF-16 by the Unix locale.
export LC_ALL=C.UTF-8
export WINE=/usr/bin/wine
[ -d "$WINEPREFIX" ] && { wineserver -k 2> /dev/null || true; rm -rf "$WINEPREFIX"; }
trap 'wineserver -k 2> /dev/null || true' EXIT
wineboot -i > "$out/wineboot.log" 2>&1 || { cat "$out/wineboot.log"; die "wineboot -i failed"; }
wineserver -w
# One server for all the runs: a server that quits between two programs can
# drop the next one ("recvmsg: Connection reset by peer").
wineserver -p

step "Test programs under Wine"
results=$out/test-results
rm -rf "$results"
mkdir -p "$results"
# A folder no file can be made in, for the tests of the refusals before a
# run: Wine keeps no read-only attribute on a folder, and as root it writes
# past the permissions, so root makes the folder immutable.
locked=$out/locked-folder
chattr -i "$locked" 2> /dev/null || true
rm -rf "$locked"
mkdir -p "$locked"
chmod a-w "$locked"
if touch "$locked/x" 2> /dev/null; then rm -f "$locked/x"; chattr +i "$locked" 2> /dev/null || true; fi
trap 'chattr -i "$locked" 2> /dev/null || true; wineserver -k 2> /dev/null || true' EXIT
if touch "$locked/x" 2> /dev/null; then
    rm -f "$locked/x"
    echo "no folder that cannot be written can be made here: the tests leave that case out"
else
    export TALLYBOOK_TEST_READ_ONLY_DIR
    TALLYBOOK_TEST_READ_ONLY_DIR=$(winepath -w "$locked")
fi
failed=()
for t in "${built_tests[@]}"; do
    # The window's test opens real windows: a virtual display of its own.
    display=()
    [ "$t" = test_win32 ] && display=(xvfb-run -a -s "-screen 0 1280x1024x24")
    if ! timeout 900 "${display[@]}" "$WINE" "$win/tests/$t.exe" --gtest_brief=1 --gtest_output="xml:$(winepath -w "$results/$t.xml")" \
            > "$results/$t.log" 2>&1; then
        failed+=("$t")
        echo "FAILED: $t"
        sed 's/^/    /' "$results/$t.log" | tail -40
    fi
done
/usr/bin/python3 - "$results" "${built_tests[@]}" <<'EOF'
import sys, xml.etree.ElementTree as ET
results, names = sys.argv[1], sys.argv[2:]
total = {"run": 0, "passed": 0, "failed": 0, "skipped": 0}
skips = []
print("%-20s %5s %6s %6s %7s" % ("program", "tests", "passed", "failed", "skipped"))
for name in names:
    try:
        root = ET.parse("%s/%s.xml" % (results, name)).getroot()
    except (OSError, ET.ParseError):
        print("%-20s  no results (it crashed?)" % name)
        continue
    cases = list(root.iter("testcase"))
    failed = sum(1 for c in cases if c.find("failure") is not None)
    skipped = [c for c in cases if c.find("skipped") is not None or c.get("result") == "skipped"]
    passed = len(cases) - failed - len(skipped)
    for c in skipped:
        s = c.find("skipped")
        why = (s.get("message") if s is not None else "") or ""
        skips.append("%s.%s: %s" % (c.get("classname"), c.get("name"), why.splitlines()[-1] if why else "?"))
    print("%-20s %5d %6d %6d %7d" % (name, len(cases), passed, failed, len(skipped)))
    for k, v in (("run", len(cases)), ("passed", passed), ("failed", failed), ("skipped", len(skipped))):
        total[k] += v
print("%-20s %5d %6d %6d %7d" % ("total", total["run"], total["passed"], total["failed"], total["skipped"]))
if skips:
    print("skipped on Windows:")
    for s in skips:
        print("  " + s)
EOF
[ ${#failed[@]} -eq 0 ] || die "test programs failed under Wine: ${failed[*]}"

step "End to end under Wine"
tests/windows/e2e_test.sh "$win" "$linux" "$out/e2e"

# --- 7. The packages ---------------------------------------------------------------
step "Packages"
rm -f "$out"/tallybook-*-windows-x64.zip "$out"/tallybook-*-windows-x64.msi
scripts/pack-windows.sh "$win" "$out" > "$out/pack.log" || { cat "$out/pack.log"; die "packing failed"; }
zip=$(grep '\.zip$' "$out/pack.log")
unzip -l "$zip"

step "Done"
echo "$(basename "$zip") and .msi in build-windows; tests: ${#built_tests[@]} programs run under Wine${not_built:+, not built: ${not_built[*]}}"
echo "total time: $(( $(date +%s) - started ))s"
