#!/usr/bin/env bash
# Installs what is missing, builds the programs and starts the recorder Lorix. The programs sit
# together in build/release/bin: the recorder copies LorixPlayer.exe (the Windows player) into
# every attachment from its own folder and keeps TEMPs/ and LORIXs/ beside itself.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
bash scripts/build.sh release
bin=build/release/bin

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Keine grafische Anzeige (DISPLAY ist nicht gesetzt): Lorix wird nicht gestartet."
  echo "Auf einem Desktop starten mit:  $bin/Lorix"
  exit 0
fi
exec "$bin/Lorix" "$@"
