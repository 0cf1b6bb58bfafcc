#!/usr/bin/env bash
# Builds the benchmark programs in Release mode into build/bench, makes the spoken test material
# and runs them: the codec benchmarks, then the audio and player measurements on the private
# test rig (PulseAudio and an X display). Extra arguments go to the codec benchmark program, for example
#   scripts/bench.sh --benchmark_filter=Step3
# The player part also reports the sizes of the Windows player and the Windows recorder.
# LORIX_BENCH_JOBS sets the build's parallelism (default 2); LORIX_BENCH_ONLY=codec, audio or
# player runs one of them.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build/bench"
only=${LORIX_BENCH_ONLY:-all}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DLORIX_BENCH=ON -DLORIX_TESTS=OFF -DLORIX_FUZZ=OFF -DLORIX_SANITIZE=OFF
ninja -C "$build" -j "${LORIX_BENCH_JOBS:-2}" lorix_codec_bench lorix_audio_bench \
  lorix_player_bench lorix_first_write_probe lorix_player lorix-tool lorix_windows

bash "$root/tests/make_speech.sh" "$build/testdata"

if [ "$only" = all ] || [ "$only" = codec ]; then
  LORIX_SPEECH_FILE="$build/testdata/speech_de_long.wav" "$build/bin/lorix_codec_bench" "$@"
fi

if [ "$only" != codec ]; then
  rig="$build/audio_rig"
  bash "$root/scripts/audio_rig.sh" start "$rig"
  trap 'bash "$root/scripts/audio_rig.sh" stop "$rig"' EXIT
  if [ "$only" != player ]; then
    LORIX_SPEECH_FILE="$build/testdata/speech_de.wav" \
      bash "$root/scripts/with_rig_env.sh" "$rig" "$build/bin/lorix_audio_bench"
  fi
  if [ "$only" != audio ]; then
    message="$build/testdata/message_5min.wav"
    [ -f "$message" ] || sox "$build/testdata/speech_de_long.wav" "$message" repeat 3 trim 0 300
    # The Windows player is the overhead of every mail (built stripped); its target is 300 KB.
    windows_player="$build/bin/LorixPlayer.exe"
    size=$(stat -c %s "$windows_player")
    echo "Windows player LorixPlayer.exe: $size bytes ($((size / 1024)) KB), target 300 KB"
    # The Windows recorder, LAME included, built stripped and static; its limit is 1.5 MB.
    size=$(stat -c %s "$build/bin/Lorix.exe")
    echo "Windows recorder Lorix.exe: $size bytes ($((size / 1024)) KB), limit 1536 KB"
    LORIX_PLAYER="$build/bin/lorix-player" LORIX_TOOL="$build/bin/lorix-tool" \
      LORIX_PROBE_LIB="$(find "$build" -name liblorix_first_write_probe.so | head -n 1)" \
      LORIX_MESSAGE_WAV="$message" \
      bash "$root/scripts/with_rig_env.sh" "$rig" "$build/bin/lorix_player_bench"
  fi
fi
