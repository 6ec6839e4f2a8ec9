#!/usr/bin/env bash
# The release checks (scripts/test.sh runs them as a step of their own):
#   1. scripts/build-release.sh builds every package into dist/, and checks
#      each package's notices against what its programs link;
#   2. the MSI under Wine: installed for the user, its shortcut's target
#      started, upgraded by a later version, removed with nothing left
#      (tests/release/msi_test.sh);
#   3. the .deb: dpkg -i, a conversion, dpkg -r (tests/release/deb_test.sh);
#   4. signing: a throwaway self-signed certificate signs the programs and
#      the MSI (scripts/pack-windows.sh, scripts/sign-windows.sh), and
#      osslsigncode verify accepts every signature;
#   5. reproducible: the same sources built again in another folder, later,
#      give the same unsigned zip, MSI and .deb, byte for byte.
#
# Environment:
#   TALLYBOOK_WINDOWS_BUILD=DIR  Windows programs built already (as for
#                                scripts/build-release.sh); the second build
#                                builds its own all the same
#   JOBS=N                       parallel build jobs (default: nproc)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
checks=$root/build-release/checks
started=$(date +%s)
source scripts/common.sh
step_heading='=== release check:'
die() { echo "release-check: $*" >&2; exit 1; }
version=$(sed -n 's/^project(tallybook VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
later=${version%.*}.$((${version##*.} + 1))
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
export TALLYBOOK_COMMIT=${TALLYBOOK_COMMIT:-$(git rev-parse HEAD)}
rm -rf "$checks"
mkdir -p "$checks"

# What the checks use beyond what the builds need: Wine and a virtual display
# with a tool to find the window on it, openssl for the throwaway certificate.
install_missing wine wine64 xvfb xauth x11-utils openssl osslsigncode msitools

step "the packages (scripts/build-release.sh)"
scripts/build-release.sh > "$checks/build-release.log" 2>&1 ||
    { tail -30 "$checks/build-release.log"; die "scripts/build-release.sh failed (see $checks/build-release.log)"; }
grep '^notices:' "$checks/build-release.log"
(cd dist && sha256sum -c --quiet SHA256SUMS) || die "dist/SHA256SUMS does not match"
zip=dist/tallybook-$version-windows-x64.zip
msi=dist/tallybook-$version-windows-x64.msi
deb=dist/tallybook_${version}_amd64.deb
win=${TALLYBOOK_WINDOWS_BUILD:-build-release/win}

step "the MSI under Wine"
TALLYBOOK_MSI_VERSION=$later scripts/pack-windows.sh "$win" "$checks/later" > /dev/null
tests/release/msi_test.sh "$msi" "$checks/later/tallybook-$later-windows-x64.msi" "$checks/msi"

step "the .deb"
tests/release/deb_test.sh "$deb" "$checks/deb"

step "signing with a throwaway certificate"
openssl req -x509 -newkey rsa:3072 -nodes -days 2 -subj "/CN=TALLYBOOK throwaway test certificate" \
    -addext "keyUsage=critical,digitalSignature" -addext "extendedKeyUsage=codeSigning" \
    -keyout "$checks/sign-key.pem" -out "$checks/sign-cert.pem" 2> "$checks/openssl.log" ||
    { cat "$checks/openssl.log"; die "openssl could not make a certificate"; }
TALLYBOOK_SIGN_CERT=$checks/sign-cert.pem TALLYBOOK_SIGN_KEY=$checks/sign-key.pem \
    scripts/pack-windows.sh "$win" "$checks/signed" > "$checks/sign.log" ||
    { cat "$checks/sign.log"; die "signing failed"; }
mkdir -p "$checks/signed/unpacked"
unzip -q "$checks/signed/tallybook-$version-windows-x64.zip" -d "$checks/signed/unpacked"
verified=0
for f in "$checks"/signed/unpacked/*.exe "$checks/signed/tallybook-$version-windows-x64.msi"; do
    osslsigncode verify -CAfile "$checks/sign-cert.pem" -in "$f" > "$checks/verify.log" 2>&1 ||
        { cat "$checks/verify.log"; die "the signature of $(basename "$f") does not verify"; }
    grep -q 'Signature verification: ok' "$checks/verify.log" || die "$(basename "$f"): no verified signature"
    verified=$((verified + 1))
done
[ "$verified" = 4 ] || die "$verified signatures verified, not 4"
# The packages in dist/ are the unsigned ones.
for f in "$msi"; do
    ! osslsigncode verify -in "$f" > /dev/null 2>&1 || die "$f is signed"
done
echo "signatures: 3 programs and the MSI verify"

step "reproducible: a second build in another folder"
again=$(mktemp -d /tmp/tallybook-again.XXXXXX)
mkdir -p "$again/sources"
# The sources as the first build saw them, committed or not.
git ls-files -z --cached --others --exclude-standard |
    tar --null --ignore-failed-read -T - -cf - 2> /dev/null | tar -xf - -C "$again/sources"
# Its own Windows programs too, with the dependencies already built.
env -u TALLYBOOK_WINDOWS_BUILD TALLYBOOK_RELEASE_DIR="$again/build" TALLYBOOK_DIST="$again/dist" \
    TALLYBOOK_WINDOWS_DEPS="$root/build-windows/deps/prefix" \
    "$again/sources/scripts/build-release.sh" > "$checks/again.log" 2>&1 ||
    { tail -30 "$checks/again.log"; die "the second build failed (see $checks/again.log)"; }
different=()
for f in "$(basename "$zip")" "$(basename "$msi")" "$(basename "$deb")" SHA256SUMS; do
    cmp -s "dist/$f" "$again/dist/$f" || different+=("$f")
done
if [ ${#different[@]} -gt 0 ]; then
    echo "the second build differs in: ${different[*]} (kept in $again)"
    [ ! -f "$again/dist/$(basename "$zip")" ] ||
        diff <(unzip -v "$zip" | awk '{print $7, $8}') <(unzip -v "$again/dist/$(basename "$zip")" | awk '{print $7, $8}') | head
    die "the builds are not the same"
fi
rm -rf "$again"
echo "reproducible: $(basename "$zip"), $(basename "$msi") and $(basename "$deb") are the same"

step "done"
echo "release checks: all passed in $(( $(date +%s) - started ))s"
