#!/usr/bin/env bash
# Installs what is missing, builds the programs and starts them on a demo message: a spoken
# German sentence is compressed with lorix-tool and packed into an attachment, which is then
# started as a recipient would start it (the player plays it at once).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
bash scripts/build.sh release
bin=build/release/bin
demo=build/demo
mkdir -p "$demo"

bash tests/make_speech.sh "$demo"
"$bin/lorix-tool" encode "$demo/speech_de.wav" "$demo/nachricht.lrx"
"$bin/lorix-tool" pack "$demo/nachricht.lrx" "$demo/LORIX_Demo.EXE"
wav_size=$(stat -c %s "$demo/speech_de.wav")
lrx_size=$(stat -c %s "$demo/nachricht.lrx")
exe_size=$(stat -c %s "$demo/LORIX_Demo.EXE")
echo
echo "Aufnahme:     $demo/speech_de.wav ($wav_size Bytes)"
echo "Komprimiert:  $demo/nachricht.lrx ($lrx_size Bytes)"
echo "Anlage:       $demo/LORIX_Demo.EXE ($exe_size Bytes)"

if [ -z "${DISPLAY:-}" ]; then
  echo
  echo "Keine grafische Anzeige (DISPLAY ist nicht gesetzt): die Anlage wird nicht gestartet."
  echo "Auf einem Desktop starten mit:  (cd $demo && ./LORIX_Demo.EXE)"
  exit 0
fi
echo "Die Anlage wird gestartet ..."
cd "$demo"
exec ./LORIX_Demo.EXE
