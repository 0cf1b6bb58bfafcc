#!/usr/bin/env bash
# Builds the benchmark programs in Release mode into build/bench, makes the spoken test material
# and runs the codec benchmarks. Extra arguments go to the benchmark program, for example
#   scripts/bench.sh --benchmark_filter=Step3
# LORIX_BENCH_JOBS sets the build's parallelism (default 2).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build/bench"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DLORIX_BENCH=ON -DLORIX_TESTS=OFF -DLORIX_FUZZ=OFF -DLORIX_SANITIZE=OFF
ninja -C "$build" -j "${LORIX_BENCH_JOBS:-2}" lorix_codec_bench

bash "$root/tests/make_speech.sh" "$build/testdata"

LORIX_SPEECH_FILE="$build/testdata/speech_de_long.wav" "$build/bin/lorix_codec_bench" "$@"
