#!/usr/bin/env bash
# Builds the benchmark programs in Release mode into build/bench, makes the spoken test material
# and runs them: the codec benchmarks, then the audio measurements on a private PulseAudio test
# rig. Extra arguments go to the codec benchmark program, for example
#   scripts/bench.sh --benchmark_filter=Step3
# LORIX_BENCH_JOBS sets the build's parallelism (default 2); LORIX_BENCH_ONLY=codec or audio
# runs one of the two.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build/bench"
only=${LORIX_BENCH_ONLY:-all}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DLORIX_BENCH=ON -DLORIX_TESTS=OFF -DLORIX_FUZZ=OFF -DLORIX_SANITIZE=OFF
ninja -C "$build" -j "${LORIX_BENCH_JOBS:-2}" lorix_codec_bench lorix_audio_bench

bash "$root/tests/make_speech.sh" "$build/testdata"

if [ "$only" != audio ]; then
  LORIX_SPEECH_FILE="$build/testdata/speech_de_long.wav" "$build/bin/lorix_codec_bench" "$@"
fi

if [ "$only" != codec ]; then
  rig="$build/audio_rig"
  bash "$root/scripts/audio_rig.sh" start "$rig"
  trap 'bash "$root/scripts/audio_rig.sh" stop "$rig"' EXIT
  LORIX_SPEECH_FILE="$build/testdata/speech_de.wav" \
    bash "$root/scripts/with_rig_env.sh" "$rig" "$build/bin/lorix_audio_bench"
fi
