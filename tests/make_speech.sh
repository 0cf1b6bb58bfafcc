#!/usr/bin/env bash
# Speaks German test sentences with espeak-ng and converts them with sox into what the recorder
# records: 8-bit unsigned mono PCM at 11025 Hz in a canonical 44-byte WAV header.
#   make_speech.sh OUT_DIR
# writes OUT_DIR/speech_de.wav (a few seconds) and OUT_DIR/speech_de_long.wav (about a minute).
set -euo pipefail
out_dir=${1:?usage: make_speech.sh OUT_DIR}
mkdir -p "$out_dir"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

for tool in espeak-ng sox; do
  command -v "$tool" >/dev/null || { echo "make_speech.sh: $tool is missing (run scripts/setup.sh)" >&2; exit 1; }
done

text="Hallo, hier spricht Lorix. Dies ist eine kurze Nachricht zum Testen der Sprachkompression. \
Bitte rufen Sie mich morgen um halb zehn zurück. Vielen Dank und einen schönen Tag noch!"

espeak-ng -v de -s 150 -w "$tmp/short.wav" "$text"
# Canonical header: sox writes exactly 44 bytes for unsigned 8-bit mono WAV.
sox "$tmp/short.wav" -t wav -e unsigned-integer -b 8 -c 1 -r 11025 "$out_dir/speech_de.wav"

# About a minute: the sentence several times with a pause between, as in a real message.
sox -n -r 22050 -c 1 "$tmp/pause.wav" trim 0.0 1.5
parts=()
for _ in 1 2 3 4 5 6; do parts+=("$tmp/short.wav" "$tmp/pause.wav"); done
sox "${parts[@]}" "$tmp/long.wav"
sox "$tmp/long.wav" -t wav -e unsigned-integer -b 8 -c 1 -r 11025 "$out_dir/speech_de_long.wav"
