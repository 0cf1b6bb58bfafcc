#include "audio/alsa_capture_backend.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <utility>
#include <vector>

namespace lorix {

namespace {

// Between 100 and 250 ms of buffering inside ALSA: enough to ride out scheduling delays of the
// capture thread, short enough for a meter that follows the voice.
constexpr unsigned kLatencyMicroseconds = 200000;

bool FormatRecordable(snd_pcm_t* pcm, const WaveFormat& format) {
  snd_pcm_hw_params_t* params = nullptr;
  if (snd_pcm_hw_params_malloc(&params) < 0) return false;
  const bool ok = snd_pcm_hw_params_any(pcm, params) >= 0 &&
                  snd_pcm_hw_params_set_rate_resample(pcm, params, 1) >= 0 &&
                  snd_pcm_hw_params_test_access(pcm, params, SND_PCM_ACCESS_RW_INTERLEAVED) >= 0 &&
                  snd_pcm_hw_params_test_format(pcm, params, SND_PCM_FORMAT_U8) >= 0 &&
                  snd_pcm_hw_params_test_channels(pcm, params, 1) >= 0 &&
                  snd_pcm_hw_params_test_rate(
                      pcm, params, static_cast<unsigned>(format.samples_per_sec), 0) >= 0;
  snd_pcm_hw_params_free(params);
  return ok;
}

}  // namespace

AlsaCaptureBackend::~AlsaCaptureBackend() {
  if (open_) Close();
}

std::string AlsaCaptureBackend::DeviceName(std::int32_t device_id) {
  if (device_id == 0) return "default";
  return "plughw:" + std::to_string(device_id - 1);
}

int AlsaCaptureBackend::OpenErrorCode(int alsa_error, std::int32_t device_id) {
  switch (-alsa_error) {
    case 0:
      return kWaveNoError;
    case EBUSY:
    case EAGAIN:
      return kWaveAllocated;
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ECONNREFUSED:
      return device_id > 0 ? kWaveBadDeviceId : kWaveNoDriver;
    case ENOMEM:
      return kWaveNoMemory;
    case EINVAL:
      return kWaveInvalidParameter;
    default:
      return kWaveUnspecifiedError;
  }
}

int AlsaCaptureBackend::QueryFormat(std::int32_t device_id, const WaveFormat& format) {
  if (!format.IsMono8()) return kWaveBadFormat;
  if (device_id < 0) return kWaveNoError;  // Open reports the device number
  snd_pcm_t* pcm = nullptr;
  if (snd_pcm_open(&pcm, DeviceName(device_id).c_str(), SND_PCM_STREAM_CAPTURE, SND_PCM_NONBLOCK) <
      0) {
    return kWaveNoError;
  }
  const bool ok = FormatRecordable(pcm, format);
  snd_pcm_close(pcm);
  return ok ? kWaveNoError : kWaveBadFormat;
}

int AlsaCaptureBackend::Open(std::int32_t device_id, const WaveFormat& format,
                             CaptureBufferDone done) {
  if (open_) return kWaveAllocated;
  if (device_id < 0) return kWaveBadDeviceId;
  if (!format.IsMono8()) return kWaveBadFormat;

  snd_pcm_t* pcm = nullptr;
  // Non-blocking: a busy device is reported at once, and reads never hold up a reset.
  int err =
      snd_pcm_open(&pcm, DeviceName(device_id).c_str(), SND_PCM_STREAM_CAPTURE, SND_PCM_NONBLOCK);
  if (err < 0) return OpenErrorCode(err, device_id);
  err = snd_pcm_set_params(pcm, SND_PCM_FORMAT_U8, SND_PCM_ACCESS_RW_INTERLEAVED, 1,
                           static_cast<unsigned>(format.samples_per_sec), 1, kLatencyMicroseconds);
  if (err < 0) {
    snd_pcm_close(pcm);
    return err == -EINVAL ? kWaveBadFormat : OpenErrorCode(err, device_id);
  }
  const int wake_fd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (wake_fd < 0) {
    snd_pcm_close(pcm);
    return kWaveNoMemory;
  }

  pcm_ = pcm;
  wake_fd_ = wake_fd;
  done_ = std::move(done);
  overruns_ = 0;
  {
    std::lock_guard lock(mutex_);
    queue_.clear();
    started_ = false;
    quit_ = false;
    resets_requested_ = resets_done_ = 0;
  }
  try {
    thread_ = std::thread([this] { Run(); });
  } catch (const std::system_error&) {
    snd_pcm_close(pcm_);
    close(wake_fd_);
    pcm_ = nullptr;
    wake_fd_ = -1;
    return kWaveNoMemory;
  }
  open_ = true;
  return kWaveNoError;
}

int AlsaCaptureBackend::AddBuffer(CaptureBuffer& buffer) {
  if (!open_) return kWaveInvalidHandle;
  if (!buffer.prepared) return kWaveUnprepared;
  {
    std::lock_guard lock(mutex_);
    buffer.bytes_recorded = 0;
    buffer.queued = true;
    queue_.push_back(&buffer);
  }
  Wake();
  return kWaveNoError;
}

int AlsaCaptureBackend::Start() {
  if (!open_) return kWaveInvalidHandle;
  {
    std::lock_guard lock(mutex_);
    started_ = true;
  }
  Wake();
  return kWaveNoError;
}

int AlsaCaptureBackend::Reset() {
  if (!open_) return kWaveInvalidHandle;
  std::unique_lock lock(mutex_);
  const std::uint64_t request = ++resets_requested_;
  Wake();
  reset_done_.wait(lock, [&] { return resets_done_ >= request; });
  return kWaveNoError;
}

int AlsaCaptureBackend::Close() {
  if (!open_) return kWaveInvalidHandle;
  {
    std::lock_guard lock(mutex_);
    quit_ = true;
  }
  Wake();
  thread_.join();
  snd_pcm_close(pcm_);
  close(wake_fd_);
  pcm_ = nullptr;
  wake_fd_ = -1;
  for (CaptureBuffer* buffer : queue_) buffer->queued = false;
  queue_.clear();
  done_ = nullptr;
  open_ = false;
  return kWaveNoError;
}

void AlsaCaptureBackend::Wake() {
  const std::uint64_t one = 1;
  // A full counter already means "wake up"; nothing else can fail on an eventfd.
  [[maybe_unused]] const ssize_t written = write(wake_fd_, &one, sizeof(one));
}

void AlsaCaptureBackend::Wait(bool with_pcm) {
  std::vector<pollfd> fds(1);
  fds[0] = {wake_fd_, POLLIN, 0};
  int pcm_count = 0;
  if (with_pcm) {
    pcm_count = snd_pcm_poll_descriptors_count(pcm_);
    if (pcm_count > 0) {
      fds.resize(1 + static_cast<std::size_t>(pcm_count));
      pcm_count = snd_pcm_poll_descriptors(pcm_, fds.data() + 1, static_cast<unsigned>(pcm_count));
    }
  }
  const int ready = poll(fds.data(), 1 + static_cast<nfds_t>(pcm_count > 0 ? pcm_count : 0), -1);
  if (ready <= 0) return;  // EINTR: the caller looks again
  if (fds[0].revents & POLLIN) {
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t got = read(wake_fd_, &count, sizeof(count));
  }
  if (pcm_count > 0) {
    // Lets the plugin translate its descriptors' events; the read that follows does the rest.
    unsigned short revents = 0;
    snd_pcm_poll_descriptors_revents(pcm_, fds.data() + 1, static_cast<unsigned>(pcm_count),
                                     &revents);
  }
}

bool AlsaCaptureBackend::StartPcm() {
  if (snd_pcm_state(pcm_) != SND_PCM_STATE_PREPARED && snd_pcm_prepare(pcm_) < 0) return false;
  return snd_pcm_start(pcm_) >= 0;
}

void AlsaCaptureBackend::Run() {
  bool running = false;  // the PCM is capturing
  bool failed = false;   // the device broke down; buffers wait for the reset
  while (true) {
    CaptureBuffer* target = nullptr;
    {
      std::unique_lock lock(mutex_);
      if (quit_) break;
      if (resets_done_ < resets_requested_) {
        const std::uint64_t request = resets_requested_;
        std::deque<CaptureBuffer*> returned;
        returned.swap(queue_);
        started_ = false;
        lock.unlock();
        if (running) snd_pcm_drop(pcm_);
        running = false;
        failed = false;
        for (CaptureBuffer* buffer : returned) {
          buffer->bytes_recorded = 0;
          buffer->queued = false;
          done_(buffer);
        }
        lock.lock();
        resets_done_ = request;
        reset_done_.notify_all();
        continue;
      }
      if (started_ && !failed && !queue_.empty()) target = queue_.front();
    }
    if (target == nullptr) {
      Wait(false);
      continue;
    }
    if (!running) {
      running = StartPcm();
      if (!running) {
        failed = true;
        continue;
      }
    }
    const snd_pcm_sframes_t got = snd_pcm_readi(pcm_, target->data.data() + target->bytes_recorded,
                                                target->buffer_length - target->bytes_recorded);
    if (got > 0) {
      target->bytes_recorded += static_cast<std::uint32_t>(got);
      if (target->bytes_recorded == target->buffer_length) {
        {
          std::lock_guard lock(mutex_);
          queue_.pop_front();
          target->queued = false;
        }
        done_(target);
      }
    } else if (got == 0 || got == -EAGAIN) {
      Wait(true);
    } else if (got == -EINTR) {
      continue;
    } else if (got == -EPIPE || got == -ESTRPIPE) {
      // Overrun (or a suspend): samples are lost, capture goes on into the same buffer.
      ++overruns_;
      if (snd_pcm_recover(pcm_, static_cast<int>(got), 1) < 0 || snd_pcm_start(pcm_) < 0) {
        running = false;
        failed = true;
      }
    } else {
      running = false;
      failed = true;
    }
  }
  if (running) snd_pcm_drop(pcm_);
}

}  // namespace lorix
