#!/usr/bin/env bash
# Runs a test program with the environment of the PulseAudio test rig in DIR (made by
# audio_rig.sh start DIR), so that ALSA's default devices reach the rig's daemon.
#   with_rig_env.sh DIR PROGRAM [ARGS...]
set -euo pipefail
dir=${1:?usage: with_rig_env.sh DIR PROGRAM [ARGS...]}
shift
if [ -f "$dir/env" ]; then
  set -a
  # shellcheck disable=SC1091
  . "$dir/env"
  set +a
  export LORIX_AUDIO_RIG=1
fi
exec "$@"
