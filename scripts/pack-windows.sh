#!/usr/bin/env bash
# Packs the Windows programs of a build folder into
# OUT/tallybook-VERSION-windows-x64.zip and OUT/tallybook-VERSION-windows-x64.msi:
# tallybook.exe, tallybook-cli.exe, tallybook-sample.exe (stripped),
# README.txt, LICENSE.txt and THIRD-PARTY-NOTICES.txt.
#
#   scripts/pack-windows.sh WINDOWS_BUILD OUT
#
# The same commit gives the same bytes, wherever and whenever it is packed:
# the files carry the commit's time, the zip its entries in one order with
# no extra fields, the MSI a package code made from the version and the
# commit and summary times of the commit (wixl and msibuild under a fixed
# clock). With a certificate (scripts/sign-windows.sh) the programs are
# signed before they are packed and the MSI after: signatures carry their
# own time, so signed packages differ from build to build.
#
# Environment:
#   SOURCE_DATE_EPOCH   the time the files carry (default: the commit's)
#   TALLYBOOK_COMMIT    the commit (default: git rev-parse HEAD)
#   TALLYBOOK_MSI_VERSION  the MSI's version, when it must differ from the
#                       project's (the upgrade test makes a "later" one)
#   TALLYBOOK_SIGN_*    see scripts/sign-windows.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
die() { echo "pack-windows: $*" >&2; exit 1; }
[ $# -eq 2 ] || die "usage: pack-windows.sh WINDOWS_BUILD OUT"
build=$(realpath "$1")
mkdir -p "$2"
out=$(realpath "$2")

version=$(sed -n 's/^project(tallybook VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
[ -n "$version" ] || die "no version in CMakeLists.txt"
msi_version=${TALLYBOOK_MSI_VERSION:-$version}
commit=${TALLYBOOK_COMMIT:-$(git -C "$root" rev-parse HEAD)}
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct)}
name=tallybook-$msi_version-windows-x64
for tool in x86_64-w64-mingw32-strip zip wixl msibuild faketime; do
    command -v $tool > /dev/null || die "$tool is missing (scripts/build-release.sh installs it)"
done

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
programs=(tallybook.exe tallybook-cli.exe tallybook-sample.exe)
cp "$build/win32/tallybook.exe" "$build/cli/tallybook-cli.exe" "$build/tools/tallybook-sample.exe" "$stage/"
x86_64-w64-mingw32-strip "${programs[@]/#/$stage/}"
if [ -n "${TALLYBOOK_SIGN_CERT:-}${TALLYBOOK_SIGN_PKCS12:-}" ]; then
    "$root/scripts/sign-windows.sh" "${programs[@]/#/$stage/}"
fi
# Text for Notepad: CRLF line ends; the README with a byte-order mark, as it
# holds accented names.
crlf() { sed 's/\r$//; s/$/\r/'; }
{ printf '\xef\xbb\xbf'; sed "s/@VERSION@/$version/g" "$root/packaging/windows/README.txt" | crlf; } > "$stage/README.txt"
crlf < "$root/LICENSE" > "$stage/LICENSE.txt"
[ -f "$build/THIRD-PARTY-NOTICES.txt" ] || die "$build holds no THIRD-PARTY-NOTICES.txt (is it a built Windows build folder?)"
crlf < "$build/THIRD-PARTY-NOTICES.txt" > "$stage/THIRD-PARTY-NOTICES.txt"
cp "$root/win32/tallybook.ico" "$stage/"
files=("${programs[@]}" README.txt LICENSE.txt THIRD-PARTY-NOTICES.txt)
chmod 0644 "$stage"/*
touch -h -d "@$epoch" "$stage"/*

# The zip: these entries in this order, times in UTC, no extra fields.
rm -f "$out/$name.zip"
(cd "$stage" && TZ=UTC zip -q -X -9 "$out/$name.zip" "${files[@]}")

# The MSI. Its product code changes with the version (so that a later one
# upgrades an earlier one), its package code with the version and the commit.
upgrade_code=$(sed -n 's/.*UpgradeCode="\([0-9A-F-]*\)".*/\1/p' "$root/packaging/windows/tallybook.wxs")
[ -n "$upgrade_code" ] || die "no UpgradeCode in packaging/windows/tallybook.wxs"
code() { /usr/bin/python3 -c 'import sys, uuid; print(str(uuid.uuid5(uuid.UUID(sys.argv[1]), sys.argv[2])).upper())' "$upgrade_code" "$1"; }
product_code=$(code "TALLYBOOK product $msi_version")
package_code=$(code "TALLYBOOK package $msi_version $commit")
clock=(env TZ=UTC faketime -f "@$(date -u -d "@$epoch" '+%Y-%m-%d %H:%M:%S')")
msi=$out/$name.msi
rm -f "$msi"
(cd "$stage" && "${clock[@]}" wixl -a x64 -D Version="$msi_version" -D ProductCode="$product_code" -D Files=. \
    -o "$msi" "$root/packaging/windows/tallybook.wxs" 2> "$stage/wixl.log") ||
    { cat "$stage/wixl.log" >&2; die "wixl failed"; }
# What wixl cannot write: the command line's folder on the user's PATH (and
# off it again on removal), and the removal of the registry key of the
# components' key paths.
"${clock[@]}" msibuild "$msi" -i "$root/packaging/windows/environment.idt" \
    -q "INSERT INTO \`InstallExecuteSequence\` (\`Action\`, \`Sequence\`) VALUES ('RemoveEnvironmentStrings', 3300)" \
    -q "INSERT INTO \`InstallExecuteSequence\` (\`Action\`, \`Sequence\`) VALUES ('WriteEnvironmentStrings', 5200)" \
    -q "INSERT INTO \`Registry\` (\`Registry\`, \`Root\`, \`Key\`, \`Name\`, \`Component_\`) VALUES ('RemoveTallybookKey', 1, 'Software\\TALLYBOOK', '-', 'Documents')" ||
    die "msibuild could not add the Environment table"
"${clock[@]}" msibuild "$msi" -s "TALLYBOOK $msi_version" "The TALLYBOOK authors" "x64;1033" "{$package_code}" ||
    die "msibuild could not set the summary"
if [ -n "${TALLYBOOK_SIGN_CERT:-}${TALLYBOOK_SIGN_PKCS12:-}" ]; then
    "$root/scripts/sign-windows.sh" "$msi"
fi
echo "$out/$name.zip"
echo "$msi"
