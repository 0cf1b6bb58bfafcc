#!/usr/bin/env bash
# LAME for the Windows programs: Debian's own source package of lame, fetched with apt and
# cross-built with MinGW-w64 into a static libmp3lame.a.
#   build_lame_mingw.sh --sources   (root, run by scripts/setup.sh) adds a source entry for
#                                   Debian's mirror beside the binary one and reads its index
#   build_lame_mingw.sh PREFIX      (the build, no root) fetches, checks and builds into PREFIX:
#                                   PREFIX/lib/libmp3lame.a, PREFIX/include/lame/lame.h
# The build is done once per PREFIX: a second run finds PREFIX/built and only touches the
# library, for the build system that asked for it.
#
# What is checked: apt fetches the .dsc only through a Sources index whose hash stands in the
# suite's InRelease file, signed with the Debian archive key (debian-archive-keyring), and
# compares the .dsc's hash with the index; unauthenticated sources are refused. dpkg-source
# then compares the tarballs with the hashes in the .dsc. With debian-keyring installed the
# uploader's signature on the .dsc is required to be valid as well.
set -euo pipefail
mingw=x86_64-w64-mingw32
sources_file=/etc/apt/sources.list.d/lorix-debian-src.sources

have_lame_source() {
  [ -n "$(apt-cache showsrc lame 2>/dev/null | sed -n 's/^Package: //p')" ]
}

# The binary entries of Debian's mirror again, as source entries: the deb822 stanzas of
# debian.sources (Debian 12) with "Types: deb-src", or the "deb" lines of sources.list.
add_source_entry() {
  local deb822=/etc/apt/sources.list.d/debian.sources
  if [ -f "$deb822" ]; then
    awk 'BEGIN { RS = ""; ORS = "\n\n" }
         /(^|\n)Types:[^\n]*(^|[ \t])deb([ \t]|\n|$)/ && !/deb-src/ {
           sub(/(^|\n)Types:[^\n]*/, "\nTypes: deb-src"); sub(/^\n/, ""); print }' \
      "$deb822" >"$sources_file.new"
  elif [ -f /etc/apt/sources.list ]; then
    sed -n 's/^[[:space:]]*deb[[:space:]]\+\(.*debian.*\)$/deb-src \1/p' /etc/apt/sources.list \
      >"${sources_file%.sources}.list"
    return
  fi
  if [ -s "$sources_file.new" ]; then
    mv "$sources_file.new" "$sources_file"
  else
    rm -f "$sources_file.new"
  fi
}

if [ "${1:-}" = --sources ]; then
  have_lame_source && exit 0
  [ "$(id -u)" -eq 0 ] || { echo "build_lame_mingw.sh --sources: run as root" >&2; exit 1; }
  [ -e "$sources_file" ] || add_source_entry
  apt-get update -qq
  have_lame_source ||
    { echo "build_lame_mingw.sh: no source package lame on Debian's mirror" >&2; exit 1; }
  echo "build_lame_mingw.sh: Debian's source index is known to apt"
  exit 0
fi

prefix=${1:?usage: build_lame_mingw.sh --sources | PREFIX}
mkdir -p "$prefix"
prefix=$(cd "$prefix" && pwd)
# The stamp names this script's own checksum: a changed script builds LAME again.
script_sum=$(sha256sum "${BASH_SOURCE[0]}" | cut -d ' ' -f 1)
if [ -f "$prefix/lib/libmp3lame.a" ] && grep -qs "^$script_sum " "$prefix/built"; then
  touch "$prefix/lib/libmp3lame.a"
  exit 0
fi
have_lame_source ||
  { echo "build_lame_mingw.sh: apt knows no source of lame (run scripts/setup.sh)" >&2; exit 1; }
command -v "$mingw-gcc-win32" >/dev/null ||
  { echo "build_lame_mingw.sh: no MinGW-w64 C compiler (run scripts/setup.sh)" >&2; exit 1; }

work="$prefix/source"
log="$prefix/build.log"
rm -rf "$work" "$prefix/lib" "$prefix/include" "$prefix/built"
mkdir -p "$work"
cd "$work"
: >"$log"
# Only the download: apt checks the .dsc, dpkg-source below unpacks and checks the rest.
apt-get source --download-only -q -o APT::Get::AllowUnauthenticated=false lame >>"$log" 2>&1 ||
  { cat "$log" >&2; exit 1; }
dsc=$(ls lame_*.dsc)
check=()
if [ -f /usr/share/keyrings/debian-keyring.gpg ]; then
  check=(--require-valid-signature)
fi
dpkg-source "${check[@]}" -x "$dsc" lame >>"$log" 2>&1 || { cat "$log" >&2; exit 1; }

# Only the library: no programs, no decoder (the Windows programs only encode), no shared
# DLL; the win32 compilers so that nothing asks for a POSIX thread library.
cd lame
if ! {
  ./configure --host="$mingw" --prefix="$prefix" --disable-shared --enable-static \
    --disable-frontend --disable-decoder --disable-gtktest --disable-dependency-tracking \
    CC="$mingw-gcc-win32" AR="$mingw-ar" RANLIB="$mingw-ranlib" CFLAGS="-O2" &&
    make -j "$(nproc)" -C libmp3lame &&
    make -C libmp3lame install &&
    make -C include install
} >>"$log" 2>&1; then
  tail -n 40 "$log" >&2
  exit 1
fi
echo "$script_sum ${dsc%.dsc}" >"$prefix/built"
echo "build_lame_mingw.sh: ${dsc%.dsc} built into $prefix"
