#!/usr/bin/env bash
# The recorder as a native Wayland client, as a user meets it on a Wayland desktop: a headless
# sway with two outputs side by side (it speaks xdg_activation_v1), the program started from a
# folder of its own with a stored window place, keys typed through the compositor (wtype), and
# the program's own protocol trace (WAYLAND_DEBUG=client) read afterwards. Checks:
#   - Ctrl+V leaves "immer im Vordergrund" off: the window is never rebuilt, AlwaysOnTop stays 0;
#   - the about box, the open dialog and the second-start box are children of the main window;
#   - a second start carrying a launcher's token (one the compositor issued) ends at once, and
#     the running recorder activates its main window with exactly that token, before its box;
#   - closed by the compositor, the session leaves Left=317 Top=149 in LORIX.INI.
#   wayland_recorder_e2e.sh PROGRAM PLAYER TOKEN_CLIENT WORK_DIR
set -euo pipefail
program=${1:?usage: wayland_recorder_e2e.sh PROGRAM PLAYER TOKEN_CLIENT WORK_DIR}
player=${2:?}
token_client=${3:?}
work=${4:?}
here=$(cd "$(dirname "$0")" && pwd)

for tool in sway swaymsg wtype; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (run scripts/setup.sh)"; exit 1; }
done

rm -rf "$work"
mkdir -p "$work/app" "$work/sway"
work=$(cd "$work" && pwd)
app="$work/app"
cp "$program" "$app/Lorix"
# The recorder only measures the player at start; without a Windows build an empty one does.
if [ -f "$player" ]; then cp "$player" "$app/LorixPlayer.exe"; else : >"$app/LorixPlayer.exe"; fi
printf '[WindowStart]\nLeft=317\nTop=149\nAlwaysOnTop=0\n[WindowSK]\nLeft=700\nTop=50\n' \
  >"$app/LORIX.INI"

pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
}
trap cleanup EXIT

failures=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; failures=$((failures + 1)); fi
}

# Polls COMMAND... every 0.1 s for up to SECONDS.
wait_for() {
  local seconds=$1
  shift
  local tries=$((seconds * 10))
  while ((tries-- > 0)); do
    if "$@"; then return 0; fi
    sleep 0.1
  done
  return 1
}

# sway refuses to run as root; as root it runs as nobody, and root still reaches its sockets.
cat >"$work/sway/config" <<'CONFIG'
output HEADLESS-1 resolution 1280x1024 position 0 0
output HEADLESS-2 resolution 1280x1024 position 1280 0
focus_on_window_activation focus
CONFIG
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  chown -R nobody:nogroup "$work/sway"
fi
chmod 700 "$work/sway"
env -i PATH="$PATH" HOME="$work/sway" XDG_RUNTIME_DIR="$work/sway" WLR_BACKENDS=headless \
  WLR_LIBINPUT_NO_DEVICES=1 WLR_HEADLESS_OUTPUTS=2 WLR_RENDERER=pixman \
  "${as_user[@]}" sway -c "$work/sway/config" >"$work/sway.log" 2>&1 &
pids+=($!)
wait_for 10 test -S "$work/sway/wayland-1" || { echo "FAIL: sway does not start"; cat "$work/sway.log"; exit 1; }
sway_socket() {
  local socket
  for socket in "$work"/sway/sway-ipc.*.sock; do [ -S "$socket" ] && echo "$socket"; done
}
has_sway_socket() { [ -n "$(sway_socket)" ]; }
wait_for 10 has_sway_socket || { echo "FAIL: sway has no IPC socket"; exit 1; }
export SWAYSOCK
SWAYSOCK=$(sway_socket)
export WAYLAND_DISPLAY="$work/sway/wayland-1"
# The recorder opens on the right-hand monitor, whose place (1280,0) Qt would take for the
# window's own.
swaymsg focus output HEADLESS-2 >/dev/null
unset DISPLAY
export QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client

first_trace="$work/first.trace"
windows() { awk -f "$here/wayland_trace_windows.awk" "$first_trace"; }
# (No grep -q or head behind a pipe: with pipefail, the writer's broken pipe would count.)
has_window() { windows | grep -F -x "WINDOW	$1" >/dev/null; }
main_title() { windows | sed -n 's/^WINDOW\t\(Lorix V\..*\)$/\1/p' | sed -n 1p; }
# Each wtype brings a keyboard of its own; the program binds it only after the compositor has
# announced it, and a key pressed before that is lost (it arrives as already held).
type_keys() { wtype -s 300 "$@" && sleep 0.5; }

(cd "$app" && exec ./Lorix) >"$work/first.out" 2>"$first_trace" &
first=$!
pids+=("$first")
has_main_window() { [ -n "$(main_title)" ]; }
wait_for 20 has_main_window || { echo "FAIL: the main window does not appear"; exit 1; }
sleep 1.5  # the start-up: settings, mixer, command line
main=$(main_title)
echo "main window: $main"

# "LORIX immer im Vordergrund" has nothing to do here: Ctrl+V changes nothing.
type_keys -M ctrl v -m ctrl

# The about box and the open dialog open as children of the main window.
type_keys -M alt i -m alt
wait_for 10 has_window "Programm-Informationen" || echo "FAIL: Alt+I shows no about box"
type_keys -k Escape
open_dialog="WAV(PCM)-Audio-Datei laden"
type_keys -M alt m -m alt
wait_for 10 has_window "$open_dialog" || echo "FAIL: Alt+M shows no open dialog"
type_keys -k Escape

# A second start as a launcher makes it: with a token the compositor issued.
"$token_client" 60 >"$work/token" &
pids+=($!)
wait_for 10 test -s "$work/token" || { echo "FAIL: the compositor issues no token"; exit 1; }
token=$(head -n 1 "$work/token")
second_status=0
(cd "$app" && XDG_ACTIVATION_TOKEN="$token" exec timeout 15 ./Lorix) \
  >"$work/second.out" 2>"$work/second.trace" || second_status=$?
wait_for 10 has_window "LORIX" || echo "FAIL: no box after the second start"
sleep 0.5
type_keys -k Return

# The compositor closes the main window, as its close button or a key of the desktop does.
swaymsg "[title=\"^Lorix V\\.\"] kill" >/dev/null
# Gone, or a zombie this shell has not collected yet.
ended() { ! kill -0 "$1" 2>/dev/null || [ "$(awk '{ print $3 }' "/proc/$1/stat" 2>/dev/null)" = Z ]; }
wait_for 15 ended "$first" || echo "FAIL: the recorder does not end"

windows >"$work/windows.txt"
echo "--- windows of the first instance:"
cat "$work/windows.txt"
echo "--- LORIX.INI:"
cat "$app/LORIX.INI"
echo "---"

ini_value() {  # ini_value SECTION KEY
  awk -v section="[$1]" -v key="$2" '
    /^\[/ { inside = ($0 == section) }
    inside && index($0, key "=") == 1 { sub(/\r$/, ""); print substr($0, length(key) + 2); exit }
  ' "$app/LORIX.INI"
}
count_lines() { grep -c -F -x "$1" "$work/windows.txt" || true; }
line_of() { awk -v line="$1" '$0 == line { print NR; exit }' "$work/windows.txt"; }

check "the second start ends by itself with 0" test "$second_status" -eq 0
check "the second start opens no window" sh -c "! grep -q 'get_toplevel' '$work/second.trace'"
check "Ctrl+V never rebuilds the main window" test "$(count_lines "WINDOW	$main")" -eq 1
check "Ctrl+V leaves AlwaysOnTop off" test "$(ini_value WindowStart AlwaysOnTop)" = 0
check "the about box is a child of the main window" \
  test "$(count_lines "PARENT	Programm-Informationen	$main")" -ge 1
check "the open dialog is a child of the main window" \
  test "$(count_lines "PARENT	$open_dialog	$main")" -ge 1
check "the second-start box is a child of the main window" test "$(count_lines "PARENT	LORIX	$main")" -eq 1
check "the main window is activated with the launcher's token" \
  test "$(count_lines "ACTIVATE	$token	$main")" -eq 1
activated_at=$(line_of "ACTIVATE	$token	$main")
box_at=$(line_of "WINDOW	LORIX")
check "the activation comes before the box" test "${activated_at:-999999}" -lt "${box_at:-0}"
check "the stored place of the main window is kept" \
  test "$(ini_value WindowStart Left),$(ini_value WindowStart Top)" = "317,149"
check "the stored place of the recording form is kept" \
  test "$(ini_value WindowSK Left),$(ini_value WindowSK Top)" = "700,50"

[ "$failures" -eq 0 ] || { echo "wayland_recorder_e2e: $failures of the checks failed (files in $work)"; exit 1; }
