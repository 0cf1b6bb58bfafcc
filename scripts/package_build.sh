# Sourced by package.sh and package-windows.sh: the release build both pack from.
#   configure_package_build BUILD_DIR [PACKAGE...]
# installs what a release build with the Windows programs needs and the Debian packages named,
# and configures BUILD_DIR. A BUILD_DIR that is already configured (such as build/release) is
# reused with its options; a new one is configured without tests and benchmarks.
configure_package_build() {
  local build=$1
  shift
  bash scripts/setup.sh \
    cmake ninja-build g++ pkg-config libasound2-dev xdg-utils \
    libfltk1.3-dev libxcursor-dev libxinerama-dev libxft-dev libxfixes-dev libxrender-dev \
    libxext-dev libfontconfig-dev qt6-base-dev qt6-base-private-dev libgl-dev libmp3lame-dev \
    libwayland-dev wayland-protocols \
    g++-mingw-w64-x86-64 gcc-mingw-w64-x86-64-win32 binutils-mingw-w64-x86-64 make imagemagick \
    dpkg-dev "$@"
  local options=(-DCMAKE_BUILD_TYPE=Release -DLORIX_WINDOWS=ON)
  if [ ! -f "$build/CMakeCache.txt" ]; then
    options+=(-DLORIX_TESTS=OFF -DLORIX_BENCH=OFF)
  fi
  cmake -S . -B "$build" -G Ninja "${options[@]}"
}
