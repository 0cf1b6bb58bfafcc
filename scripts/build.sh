#!/usr/bin/env bash
# Configures and builds one flavour of the project.
#   build.sh release   optimised programs, tests and benchmarks   -> build/release
#   build.sh asan      tests under AddressSanitizer + UBSan        -> build/asan
#   build.sh fuzz      libFuzzer targets (clang)                   -> build/fuzz
set -euo pipefail
cd "$(dirname "$0")/.."
flavour=${1:-release}
jobs=$(nproc)

case "$flavour" in
  release)
    cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release ;;
  asan)
    cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLORIX_SANITIZE=ON \
      -DLORIX_BENCH=OFF -DLORIX_WINDOWS=OFF ;;
  fuzz)
    CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DLORIX_FUZZ=ON -DLORIX_TESTS=OFF -DLORIX_BENCH=OFF -DLORIX_WINDOWS=OFF ;;
  *)
    echo "build.sh: unknown flavour '$flavour' (release, asan, fuzz)" >&2; exit 2 ;;
esac
cmake --build "build/$flavour" -j "$jobs"
