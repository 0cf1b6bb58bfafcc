#!/usr/bin/env bash
# Wine on the test rig, for the Windows player: a private prefix in DIR/wineprefix whose
# programs play into the rig's PulseAudio sink and open their windows on its X display, and a
# persistent wineserver warmed up before the first test (a cold one starts programs late and
# drops their first sound).
#   wine_rig.sh start DIR   after audio_rig.sh start DIR; adds Wine's variables to DIR/env
#   wine_rig.sh stop DIR    ends the wineserver (the prefix stays for the next run)
set -euo pipefail
action=${1:?usage: wine_rig.sh start|stop DIR}
dir=${2:?usage: wine_rig.sh start|stop DIR}
dir=$(cd "$dir" && pwd)
command -v wine >/dev/null && command -v wineserver >/dev/null ||
  { echo "wine_rig.sh: Wine is missing (run scripts/setup.sh)" >&2; exit 1; }
[ -f "$dir/env" ] || { echo "wine_rig.sh: no test rig in $dir (audio_rig.sh start first)" >&2; exit 1; }
set -a
# shellcheck disable=SC1091
. "$dir/env"
set +a
export WINEPREFIX="$dir/wineprefix" WINEARCH=win64 WINEDEBUG=-all
# No .NET or browser engine: the player needs neither, and their installers would ask.
export WINEDLLOVERRIDES="mscoree,mshtml="

case "$action" in
  stop)
    wineserver -k 2>/dev/null || true
    exit 0 ;;
  start) ;;
  *) echo "wine_rig.sh: unknown action '$action'" >&2; exit 2 ;;
esac

wineserver -k 2>/dev/null || true
# The prefix is made once and kept: making it takes half a minute.
# Its only complaint without the 32-bit part, the missing syswow64 programs, is harmless.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i >"$dir/wineboot.log" 2>&1 || true
  # The registry reaches the prefix's files only when the wineserver ends.
  wineserver -w
  [ -f "$WINEPREFIX/system.reg" ] || { cat "$dir/wineboot.log" >&2; exit 1; }
fi
# Wine's background programs must not hold the caller's output open (CTest waits for it).
wineserver -p </dev/null >"$dir/wineserver.log" 2>&1
# Warm-up: a first program brings up the prefix's services and the sound driver.
wine cmd /c ver </dev/null >"$dir/wine_warmup.log" 2>&1 ||
  { echo "wine_rig.sh: Wine does not start programs:" >&2; cat "$dir/wine_warmup.log" >&2; exit 1; }

grep -v '^WINE' "$dir/env" >"$dir/env.new" || true
cat >>"$dir/env.new" <<ENV
WINEPREFIX=$WINEPREFIX
WINEARCH=win64
WINEDEBUG=-all
WINEDLLOVERRIDES=$WINEDLLOVERRIDES
ENV
mv "$dir/env.new" "$dir/env"
echo "wine_rig.sh: Wine ready ($WINEPREFIX)"
