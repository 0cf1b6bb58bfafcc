#!/usr/bin/env bash
# Builds the Windows programs as Windows users get them, into build/package/:
#   Lorix-<version>-win64.zip         the portable archive: unpacked anywhere writable, Lorix
#                                     keeps its files beside itself
#   Lorix-<version>-win64-setup.exe   the setup program (NSIS): per user without administrator
#                                     rights, or for every user; Start menu, uninstall entry,
#                                     .lrx files open in the player; /S installs without questions
# and checks that both hold the programs of this build.
#   bash scripts/package-windows.sh [BUILD_DIR]   (a configured BUILD_DIR is reused: package_build.sh)
set -euo pipefail
cd "$(dirname "$0")/.."

# shellcheck source=scripts/package_build.sh
. scripts/package_build.sh
build=${1:-build/package}
configure_package_build "$build" nsis unzip file
cmake --build "$build" --target lorix_windows_packages

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
zip="Lorix-$version-win64.zip"
setup="Lorix-$version-win64-setup.exe"
mkdir -p build/package
cp "$build/windows/packages/$zip" "$build/windows/packages/$setup" build/package/

# The archive holds exactly the programs and their files, in one folder, the programs the same
# as the build's.
fail() { echo "package-windows.sh: $*" >&2; exit 1; }
expected="Lorix/LIESMICH.txt Lorix/Lorix-Hilfe-Mail.html Lorix/Lorix-Hilfe.html Lorix/Lorix.exe"
expected+=" Lorix/LorixPlayer.exe Lorix/MailTextMAPI.txt Lorix/MailTextSystem.txt"
listed=$(unzip -Z1 "build/package/$zip" | grep -v '/$' | sort | tr '\n' ' ' | sed 's/ $//')
[ "$listed" = "$expected" ] || fail "$zip holds: $listed"
for program in Lorix.exe LorixPlayer.exe; do
  unzip -p "build/package/$zip" "Lorix/$program" | cmp -s - "$build/bin/$program" ||
    fail "$zip: $program is not the one of $build"
done
# The setup program is a 64-bit Windows program.
file "build/package/$setup" | grep -q 'PE32+ executable (GUI) x86-64' ||
  fail "$setup is no 64-bit Windows program"
echo "package: build/package/$zip"
echo "package: build/package/$setup"
