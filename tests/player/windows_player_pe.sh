#!/usr/bin/env bash
# The Windows player travels in front of every attachment: it must be a 64-bit Windows program
# of at most 300 KB that imports nothing but DLLs every Windows has.
#   windows_player_pe.sh LorixPlayer.exe
set -euo pipefail
exe=${1:?usage: windows_player_pe.sh LorixPlayer.exe}
headers=$(x86_64-w64-mingw32-objdump -p "$exe")
grep -q 'file format pei-x86-64' <<<"$headers" || { echo "$exe is no x86-64 PE program" >&2; exit 1; }
size=$(stat -c %s "$exe")
echo "$exe: $size bytes"
[ "$size" -le $((300 * 1024)) ] || { echo "larger than 300 KB" >&2; exit 1; }
status=0
while read -r dll; do
  case "${dll^^}" in
    KERNEL32.DLL | USER32.DLL | GDI32.DLL | COMCTL32.DLL | COMDLG32.DLL | WINMM.DLL | SHELL32.DLL | \
      ADVAPI32.DLL | OLE32.DLL | MSVCRT.DLL | UCRTBASE.DLL | API-MS-WIN-CRT-*.DLL)
      echo "imports $dll" ;;
    *) echo "imports $dll, which not every Windows has" >&2; status=1 ;;
  esac
done < <(sed -n 's/^\s*DLL Name: //p' <<<"$headers")
exit $status
