// Preloaded into a program under measurement: notes the monotonic time of the program's first
// snd_pcm_writei in the file LORIX_PROBE_FILE names, then passes every call on to libasound.

#include <alsa/asoundlib.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

std::atomic<bool> noted{false};

void NoteFirstWrite() {
  if (noted.exchange(true)) return;
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  const char* path = std::getenv("LORIX_PROBE_FILE");
  if (path == nullptr) return;
  char text[64];
  const int length = std::snprintf(text, sizeof text, "%lld\n",
                                   static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
  const int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return;
  if (write(fd, text, static_cast<std::size_t>(length)) < 0) std::perror("probe");
  close(fd);
}

}  // namespace

extern "C" snd_pcm_sframes_t snd_pcm_writei(snd_pcm_t* pcm, const void* buffer,
                                            snd_pcm_uframes_t size) {
  using WriteFunction = snd_pcm_sframes_t (*)(snd_pcm_t*, const void*, snd_pcm_uframes_t);
  static const auto real = reinterpret_cast<WriteFunction>(dlsym(RTLD_NEXT, "snd_pcm_writei"));
  NoteFirstWrite();
  return real(pcm, buffer, size);
}
