#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and run, or only the packages
# named as arguments. Safe to run again: only missing packages are installed. Works as root and,
# for other users, through sudo.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ pkg-config
  # tests, benchmarks, fuzzing
  googletest libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
  # sound through ALSA, and the private PulseAudio daemon the real-audio tests play into
  libasound2-dev libasound2-plugins alsa-utils pulseaudio pulseaudio-utils
  # the desktop's own programs: open files and links, find associated programs, write mail
  xdg-utils
  # the player: FLTK linked statically, the X libraries it needs; a private X display for tests
  libfltk1.3-dev libxcursor-dev libxinerama-dev libxft-dev libxfixes-dev libxrender-dev libxext-dev
  libfontconfig-dev fonts-dejavu-core xvfb x11-utils xdotool imagemagick xclip
  # the recorder: Qt 6 Widgets with its German translations; on Wayland it runs as a native
  # client and sends the activation request itself (Qt's native interface, wayland-client and
  # the protocol descriptions); a headless compositor with two outputs and a key typist test it
  qt6-base-dev qt6-translations-l10n libgl-dev qt6-wayland qt6-base-private-dev libwayland-dev
  wayland-protocols sway wtype
  # the message as an MP3 file, the decoder its tests play it back with, and the programs that
  # check it is a standard file every player takes
  libmp3lame-dev lame mp3check mp3val ffmpeg mpg123
  # spoken test material
  espeak-ng sox
  # the Windows programs: MinGW-w64 cross compilers (windres, strip, objdump with them), the
  # tools that unpack and build Debian's LAME source for them, and Wine with the fonts of its
  # dialogs to run them on the test rig
  g++-mingw-w64-x86-64 gcc-mingw-w64-x86-64-win32 binutils-mingw-w64-x86-64 dpkg-dev make
  wine wine64 fonts-wine libxrandr2 libxi6 libxcomposite1
  # the Windows setup program and the check of the portable archive
  nsis unzip
)
# Packages named on the command line instead of the whole list (scripts/package.sh needs fewer).
if [ $# -gt 0 ]; then
  packages=("$@")
fi

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$package")
done

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  as_root=(sudo)
fi

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all packages present"
else
  [ ${#as_root[@]} -eq 0 ] || command -v sudo >/dev/null ||
    { echo "setup: run as root or install sudo" >&2; exit 1; }
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${as_root[@]}" apt-get update -qq
  "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The Windows programs' LAME is built from Debian's own source package: apt needs the source
# index of Debian's mirror, which takes root once (the build itself fetches without it).
lame_script="$(dirname "$0")/build_lame_mingw.sh"
if ! apt-cache showsrc lame 2>/dev/null | grep -q '^Package: lame$'; then
  [ ${#as_root[@]} -eq 0 ] || command -v sudo >/dev/null ||
    { echo "setup: run as root or install sudo" >&2; exit 1; }
  "${as_root[@]}" bash "$lame_script" --sources
fi
