#!/usr/bin/env bash
# Builds the Debian package build/package/lorix_<version>_amd64.deb on Debian 12: installs what the
# build and the package check need, builds a release with the Windows player, packs it with CPack
# and checks the package (packaging/check_package.sh).
#   bash scripts/package.sh [BUILD_DIR]   (a configured BUILD_DIR is reused: package_build.sh)
set -euo pipefail
cd "$(dirname "$0")/.."

# shellcheck source=scripts/package_build.sh
. scripts/package_build.sh
build=${1:-build/package}
configure_package_build "$build" \
  file desktop-file-utils appstream shared-mime-info libglib2.0-bin lintian
cmake --build "$build"
(cd "$build" && cpack -G DEB)

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
bash packaging/check_package.sh "$build/lorix_${version}_amd64.deb"
echo "package: $build/lorix_${version}_amd64.deb"
