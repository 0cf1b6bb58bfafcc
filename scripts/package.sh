#!/usr/bin/env bash
# Builds the Debian package build/package/lorix_<version>_amd64.deb on Debian 12: installs what the
# build and the package check need, builds a release with the Windows player, packs it with CPack
# and checks the package (packaging/check_package.sh).
#   bash scripts/package.sh [BUILD_DIR]
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
  dpkg-dev file desktop-file-utils appstream shared-mime-info libglib2.0-bin lintian

build=${1:-build/package}
options=(-DCMAKE_BUILD_TYPE=Release -DLORIX_WINDOWS=ON)
if [ ! -f "$build/CMakeCache.txt" ]; then
  options+=(-DLORIX_TESTS=OFF -DLORIX_BENCH=OFF)
fi
cmake -S . -B "$build" -G Ninja "${options[@]}"
cmake --build "$build"
(cd "$build" && cpack -G DEB)

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
bash packaging/check_package.sh "$build/lorix_${version}_amd64.deb"
echo "package: $build/lorix_${version}_amd64.deb"
