// The C++ library makes MinGW route printf and its relatives to MinGW's own implementation,
// which brings its whole formatting and floating-point conversion code (a third of the
// player). The player only formats a few numbers; the system C library's version does that, so
// the link sends the one call the program makes there (-Wl,--wrap=__mingw_vsnprintf).

#include <cstdarg>
#include <cstdio>

extern "C" int __wrap___mingw_vsnprintf(char* buffer, std::size_t size, const char* format,
                                        va_list arguments) {
  // The system's version leaves a cut text without its end and reports the cut with -1.
  const int length = _vsnprintf(buffer, size, format, arguments);
  if (size > 0 && (length < 0 || static_cast<std::size_t>(length) >= size)) buffer[size - 1] = '\0';
  return length;
}
