#!/usr/bin/env bash
# Checks a built Lorix package: the files it must hold, the programs executable, the
# dependencies, the desktop entries, the AppStream data, the file types (attachments known by
# name above the generic .exe type, also when the desktop looks at the content; .lrx files as a
# type that derives from no program type) and lintian's verdict (no errors).
#   bash packaging/check_package.sh lorix_VERSION_amd64.deb
set -euo pipefail
deb=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "check_package: $*" >&2
  failures=$((failures + 1))
}

dpkg-deb -c "$deb" | awk '{print $1, $6}' >"$work/list"
for file in \
  usr/bin/lorix usr/bin/lorix-player usr/bin/lorix-tool; do
  grep -qx -- "-rwxr-xr-x ./$file" "$work/list" || fail "no executable /$file"
done
for file in \
  usr/lib/lorix/LorixPlayer.exe \
  usr/share/lorix/Lorix-Hilfe.html usr/share/lorix/Lorix-Hilfe-Mail.html \
  usr/share/lorix/MailTextMAPI.txt usr/share/lorix/MailTextSystem.txt \
  usr/share/applications/lorix.desktop usr/share/applications/lorix-player.desktop \
  usr/share/mime/packages/lorix.xml usr/share/metainfo/de.lorix.Lorix.metainfo.xml \
  usr/share/icons/hicolor/48x48/apps/lorix.png usr/share/icons/hicolor/48x48/apps/lorix-player.png \
  usr/share/man/man1/lorix.1.gz usr/share/man/man1/lorix-player.1.gz \
  usr/share/man/man1/lorix-tool.1.gz usr/share/doc/lorix/copyright; do
  grep -qx -- "-rw-r--r-- ./$file" "$work/list" || fail "no file /$file"
done

depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libasound2 libmp3lame0 xdg-utils qt6-qpa-plugins; do
  [[ $depends == *"$package"* ]] || fail "Depends lacks $package: $depends"
done

dpkg-deb -x "$deb" "$work/root"
share=$work/root/usr/share
for entry in "$share"/applications/*.desktop; do
  desktop-file-validate "$entry" || fail "desktop entry $(basename "$entry")"
done
grep -qx 'MimeType=application/x-lorix;audio/x-lorix;' "$share/applications/lorix-player.desktop" ||
  fail "lorix-player.desktop does not open application/x-lorix and audio/x-lorix"
appstreamcli validate --no-net "$share"/metainfo/*.metainfo.xml || fail "AppStream data"

# The type database built from the system's types and ours: a name match for .lrx and for
# the default attachment names, the latter weighted above the generic .exe type.
mkdir -p "$work/mime/packages"
cp /usr/share/mime/packages/freedesktop.org.xml "$share/mime/packages/lorix.xml" \
  "$work/mime/packages/"
update-mime-database "$work/mime" >"$work/mime.log" 2>&1 ||
  fail "shared-mime-info rejects lorix.xml: $(cat "$work/mime.log")"
globs=$work/mime/globs2
exe_weight=$(awk -F: '$3 == "*.exe" {print $1; exit}' "$globs")
for pattern in '*.lrx' 'LORIX_*.EXE' 'LORIX_*.exe'; do
  type=application/x-lorix
  [[ $pattern != '*.lrx' ]] || type=audio/x-lorix
  weight=$(awk -F: -v p="$pattern" -v t="$type" '$2 == t && $3 == p {print $1; exit}' "$globs")
  [ -n "$weight" ] || fail "no glob $pattern for $type"
  [[ $pattern == '*.lrx' ]] || [ "${weight:-0}" -gt "${exe_weight:-50}" ] ||
    fail "glob $pattern weighs ${weight:-nothing}, *.exe ${exe_weight:-50}"
done
# A .lrx file is sound, no program: its type has no parent, so no runner of Windows programs
# is offered for it.
parents=$(awk '$1 == "audio/x-lorix" {print $2}' "$work/mime/subclasses")
[ -z "$parents" ] || fail "audio/x-lorix derives from $parents"

# What the desktop (GIO) makes of files, glob and content together: an attachment, a .lrx file
# made by the packaged lorix-tool, and an attachment saved under a .lrx name (it starts like a
# Windows program, but is played as a message).
content_type() {
  XDG_DATA_DIRS=$work XDG_DATA_HOME=$work/none gio info -a standard::content-type "$1" |
    awk '/content-type/ {print $2}'
}
cp "$work/root/usr/lib/lorix/LorixPlayer.exe" "$work/LORIX_20240101_120000.EXE"
type=$(content_type "$work/LORIX_20240101_120000.EXE")
[ "$type" = application/x-lorix ] || fail "an attachment is taken for $type"
# An 8-bit mono WAV at 11025 Hz: a header for 2048 samples, then noise.
printf 'RIFF\x24\x08\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00\x11\x2b\x00\x00' >"$work/m.wav"
printf '\x11\x2b\x00\x00\x01\x00\x08\x00data\x00\x08\x00\x00' >>"$work/m.wav"
head -c 2048 /dev/urandom >>"$work/m.wav"
"$work/root/usr/bin/lorix-tool" encode "$work/m.wav" "$work/Nachricht.lrx" ||
  fail "lorix-tool cannot make a .lrx file"
cat "$work/root/usr/lib/lorix/LorixPlayer.exe" "$work/Nachricht.lrx" >"$work/Anhang.lrx"
for file in Nachricht.lrx Anhang.lrx; do
  type=$(content_type "$work/$file")
  [ "$type" = audio/x-lorix ] || fail "$file is taken for $type"
done

lintian --fail-on error "$deb" || fail "lintian reports errors"

if [ "$failures" -ne 0 ]; then
  echo "check_package: $failures failures in $deb" >&2
  exit 1
fi
echo "check_package: $deb is complete"
