#!/usr/bin/env bash
# The test rig: a private PulseAudio daemon with a null sink whose monitor is the default
# source, so whatever a program plays can be recorded back (ALSA's "default" device goes to it
# through the pulse plugin), and a private X display (Xvfb) for the programs' windows.
#   audio_rig.sh start DIR   starts both; DIR/env holds the variables a client needs
#   audio_rig.sh stop DIR    stops them
# A client runs with: set -a; . DIR/env; set +a
set -euo pipefail
action=${1:?usage: audio_rig.sh start|stop DIR}
dir=${2:?usage: audio_rig.sh start|stop DIR}
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
runtime="$dir/runtime"
home="$dir/home"

stop_daemon() {
  if [ -f "$dir/pulse.pid" ]; then
    local pid
    pid=$(cat "$dir/pulse.pid")
    if kill -0 "$pid" 2>/dev/null; then
      kill "$pid" 2>/dev/null || true
      for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
      kill -9 "$pid" 2>/dev/null || true
    fi
    rm -f "$dir/pulse.pid"
  fi
}

stop_display() {
  if [ -f "$dir/xvfb.pid" ]; then
    local pid
    pid=$(cat "$dir/xvfb.pid")
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
    rm -f "$dir/xvfb.pid"
  fi
}

# Starts Xvfb on the first free display from :90 on and waits until it answers.
start_display() {
  command -v Xvfb >/dev/null || { echo "audio_rig.sh: Xvfb is missing (run scripts/setup.sh)" >&2; exit 1; }
  local number=90
  while [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ]; do
    number=$((number + 1))
  done
  Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp >"$dir/xvfb.log" 2>&1 &
  echo $! > "$dir/xvfb.pid"
  for _ in $(seq 100); do
    DISPLAY=":$number" xdpyinfo >/dev/null 2>&1 && break
    if ! kill -0 "$(cat "$dir/xvfb.pid")" 2>/dev/null; then
      echo "audio_rig.sh: Xvfb did not start:" >&2; cat "$dir/xvfb.log" >&2; exit 1
    fi
    sleep 0.1
  done
  DISPLAY=":$number" xdpyinfo >/dev/null 2>&1 || { echo "audio_rig.sh: Xvfb does not answer" >&2; stop_display; exit 1; }
  echo "DISPLAY=:$number" >> "$dir/env"
  echo "audio_rig.sh: X display :$number running"
}

case "$action" in
  stop)
    stop_daemon
    stop_display
    exit 0 ;;
  start) ;;
  *) echo "audio_rig.sh: unknown action '$action'" >&2; exit 2 ;;
esac

command -v pulseaudio >/dev/null || { echo "audio_rig.sh: pulseaudio is missing (run scripts/setup.sh)" >&2; exit 1; }
stop_daemon
stop_display
rm -rf "$runtime" "$home"
mkdir -p "$runtime" "$home/.config/pulse"
chmod 700 "$runtime"

cat > "$home/.asoundrc" <<ASOUND
pcm.!default { type pulse }
ctl.!default { type pulse }
ASOUND

cat > "$dir/env" <<ENV
PULSE_SERVER=unix:$runtime/native
PULSE_RUNTIME_PATH=$runtime
XDG_RUNTIME_DIR=$runtime
HOME=$home
ENV

# No configuration file of the machine is read (-n): only the modules named here are loaded.
HOME="$home" XDG_RUNTIME_DIR="$runtime" PULSE_RUNTIME_PATH="$runtime" \
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --log-target=stderr \
  --load="module-native-protocol-unix auth-anonymous=1 socket=$runtime/native" \
  --load="module-null-sink sink_name=lorix_sink rate=44100 channels=2 sink_properties=device.description=Lorix-Test" \
  --load="module-always-sink" \
  >"$dir/pulse.log" 2>&1 &
echo $! > "$dir/pulse.pid"

export PULSE_SERVER="unix:$runtime/native"
for _ in $(seq 100); do
  pactl info >/dev/null 2>&1 && break
  if ! kill -0 "$(cat "$dir/pulse.pid")" 2>/dev/null; then
    echo "audio_rig.sh: pulseaudio did not start:" >&2; cat "$dir/pulse.log" >&2; exit 1
  fi
  sleep 0.1
done
pactl info >/dev/null 2>&1 || { echo "audio_rig.sh: pulseaudio does not answer" >&2; cat "$dir/pulse.log" >&2; stop_daemon; exit 1; }
pactl set-default-sink lorix_sink
pactl set-default-source lorix_sink.monitor
echo "audio_rig.sh: PulseAudio test rig running ($PULSE_SERVER)"
start_display
