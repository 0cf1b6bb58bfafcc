// SndVol.exe for the Wine test prefix, which has no volume mixer: it notes in its current
// folder ("SndVol-Aufruf.txt") that it was started and with which command line, and ends.

#include <windows.h>

#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const char* command_line = GetCommandLineA();
  const HANDLE file = CreateFileA("SndVol-Aufruf.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(file, command_line, static_cast<DWORD>(std::strlen(command_line)), &written, nullptr);
  CloseHandle(file);
  return 0;
}
