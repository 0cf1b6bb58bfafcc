#!/usr/bin/env bash
# Builds the Windows programs as Windows users get them, into build/package/:
#   Lorix-<version>-win64.zip         the portable archive: unpacked anywhere writable, Lorix
#                                     keeps its files beside itself
#   Lorix-<version>-win64-setup.exe   the setup program (NSIS): per user without administrator
#                                     rights, or for every user; Start menu, uninstall entry,
#                                     .lrx files open in the player; /S installs without questions
# and checks that both hold the programs of this build.
#   bash scripts/package-windows.sh [BUILD_DIR]
# A BUILD_DIR that is already configured (such as build/release) is reused with its options;
# a new one is configured without tests and benchmarks.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh \
  cmake ninja-build g++ pkg-config libasound2-dev xdg-utils \
  libfltk1.3-dev libxcursor-dev libxinerama-dev libxft-dev libxfixes-dev libxrender-dev \
  libxext-dev libfontconfig-dev qt6-base-dev qt6-base-private-dev libgl-dev libmp3lame-dev \
  libwayland-dev wayland-protocols \
  g++-mingw-w64-x86-64 gcc-mingw-w64-x86-64-win32 binutils-mingw-w64-x86-64 make imagemagick \
  dpkg-dev nsis unzip file

build=${1:-build/package}
options=(-DCMAKE_BUILD_TYPE=Release -DLORIX_WINDOWS=ON)
if [ ! -f "$build/CMakeCache.txt" ]; then
  options+=(-DLORIX_TESTS=OFF -DLORIX_BENCH=OFF)
fi
cmake -S . -B "$build" -G Ninja "${options[@]}"
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
