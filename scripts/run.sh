#!/usr/bin/env bash
# Installs what is missing, builds the programs and starts them on a demo message: a spoken
# German sentence is compressed and decompressed with lorix-tool.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
bash scripts/build.sh release
bin=build/release/bin
demo=build/demo
mkdir -p "$demo"

bash tests/make_speech.sh "$demo"
"$bin/lorix-tool" encode "$demo/speech_de.wav" "$demo/nachricht.lrx"
"$bin/lorix-tool" info "$demo/nachricht.lrx"
"$bin/lorix-tool" decode "$demo/nachricht.lrx" "$demo/nachricht_dekomprimiert.wav"
wav_size=$(stat -c %s "$demo/speech_de.wav")
lrx_size=$(stat -c %s "$demo/nachricht.lrx")
echo
echo "Aufnahme:     $demo/speech_de.wav ($wav_size Bytes)"
echo "Komprimiert:  $demo/nachricht.lrx ($lrx_size Bytes)"
echo "Zum Anhören:  $demo/nachricht_dekomprimiert.wav"
