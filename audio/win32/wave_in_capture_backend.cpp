#include "audio/win32/wave_in_capture_backend.h"

#include <algorithm>
#include <utility>

#include "codec/win32/wide_text.h"

namespace lorix {
namespace {

WAVEFORMATEX FormatRecord(const WaveFormat& format) {
  WAVEFORMATEX record{};
  record.wFormatTag = format.format_tag;
  record.nChannels = format.channels;
  record.nSamplesPerSec = static_cast<DWORD>(format.samples_per_sec);
  record.nAvgBytesPerSec = static_cast<DWORD>(format.avg_bytes_per_sec);
  record.nBlockAlign = format.block_align;
  record.wBitsPerSample = format.bits_per_sample;
  record.cbSize = 0;
  return record;
}

}  // namespace

WaveInCaptureBackend::~WaveInCaptureBackend() {
  if (is_open()) Close();
}

int WaveInCaptureBackend::DeviceCount() {
  return static_cast<int>(waveInGetNumDevs());
}

std::string WaveInCaptureBackend::DeviceName(std::int32_t device_id) {
  if (device_id < 0) return {};
  WAVEINCAPSW caps{};
  if (waveInGetDevCapsW(static_cast<UINT>(device_id), &caps, sizeof(caps)) != MMSYSERR_NOERROR) {
    return {};
  }
  return Narrow(caps.szPname);
}

int WaveInCaptureBackend::QueryFormat(std::int32_t device_id, const WaveFormat& format) {
  if (device_id < 0) return kWaveNoError;
  const WAVEFORMATEX record = FormatRecord(format);
  return static_cast<int>(
      waveInOpen(nullptr, static_cast<UINT>(device_id), &record, 0, 0, WAVE_FORMAT_QUERY));
}

int WaveInCaptureBackend::Open(std::int32_t device_id, const WaveFormat& format,
                               CaptureBufferDone done) {
  if (is_open()) return kWaveAllocated;
  // The wave mapper's number is -1; only real devices are recorded from.
  if (device_id < 0) return kWaveBadDeviceId;
  if (window_ == nullptr) return kWaveInvalidParameter;
  const WAVEFORMATEX record = FormatRecord(format);
  HWAVEIN device = nullptr;
  const MMRESULT result = waveInOpen(&device, static_cast<UINT>(device_id), &record,
                                     reinterpret_cast<DWORD_PTR>(window_), 0, CALLBACK_WINDOW);
  if (result != MMSYSERR_NOERROR) return static_cast<int>(result);
  device_ = device;
  done_ = std::move(done);
  return kWaveNoError;
}

int WaveInCaptureBackend::Prepare(CaptureBuffer& buffer) {
  if (!is_open()) return kWaveInvalidHandle;
  if (buffer.buffer_length == 0 || buffer.buffer_length > buffer.data.size()) {
    return kWaveInvalidParameter;
  }
  if (Find(buffer) != nullptr) {
    buffer.prepared = true;
    return kWaveNoError;
  }
  auto header = std::make_unique<Header>();
  header->buffer = &buffer;
  header->wave_header.lpData = reinterpret_cast<LPSTR>(buffer.data.data());
  header->wave_header.dwBufferLength = buffer.buffer_length;
  header->wave_header.dwUser = reinterpret_cast<DWORD_PTR>(&buffer);
  const MMRESULT result = waveInPrepareHeader(device_, &header->wave_header, sizeof(WAVEHDR));
  if (result != MMSYSERR_NOERROR) return static_cast<int>(result);
  headers_.push_back(std::move(header));
  buffer.prepared = true;
  return kWaveNoError;
}

int WaveInCaptureBackend::Unprepare(CaptureBuffer& buffer) {
  Header* header = Find(buffer);
  if (header == nullptr) {
    buffer.prepared = false;
    return kWaveNoError;
  }
  if (header->queued) return kWaveStillPlaying;
  const MMRESULT result = waveInUnprepareHeader(device_, &header->wave_header, sizeof(WAVEHDR));
  if (result != MMSYSERR_NOERROR) return static_cast<int>(result);
  Forget(header);
  buffer.prepared = false;
  return kWaveNoError;
}

int WaveInCaptureBackend::AddBuffer(CaptureBuffer& buffer) {
  if (!is_open()) return kWaveInvalidHandle;
  Header* header = Find(buffer);
  if (header == nullptr || !buffer.prepared) return kWaveUnprepared;
  header->wave_header.dwBytesRecorded = 0;
  const MMRESULT result = waveInAddBuffer(device_, &header->wave_header, sizeof(WAVEHDR));
  if (result != MMSYSERR_NOERROR) return static_cast<int>(result);
  header->queued = true;
  header->reset = false;
  buffer.bytes_recorded = 0;
  buffer.queued = true;
  return kWaveNoError;
}

int WaveInCaptureBackend::Start() {
  if (!is_open()) return kWaveInvalidHandle;
  return static_cast<int>(waveInStart(device_));
}

int WaveInCaptureBackend::Reset() {
  if (!is_open()) return kWaveInvalidHandle;
  // What was queued now comes back as given up, whatever the device had put in it so far.
  for (const auto& header : headers_) {
    if (header->queued) header->reset = true;
  }
  return static_cast<int>(waveInReset(device_));
}

int WaveInCaptureBackend::Close() {
  if (!is_open()) return kWaveInvalidHandle;
  // The device refuses to close while it holds buffers; they are taken back without a report.
  const bool holds_buffers = std::any_of(headers_.begin(), headers_.end(),
                                         [](const auto& header) { return header->queued; });
  if (holds_buffers) waveInReset(device_);
  for (const auto& header : headers_) {
    waveInUnprepareHeader(device_, &header->wave_header, sizeof(WAVEHDR));
    header->buffer->queued = false;
    header->buffer->prepared = false;
  }
  headers_.clear();
  const MMRESULT result = waveInClose(device_);
  if (result != MMSYSERR_NOERROR) return static_cast<int>(result);
  device_ = nullptr;
  done_ = nullptr;
  DropWaitingMessages();
  return kWaveNoError;
}

bool WaveInCaptureBackend::HandleMessage(UINT message, WPARAM /*wparam*/, LPARAM lparam) {
  if (message == MM_WIM_OPEN || message == MM_WIM_CLOSE) return true;
  if (message != MM_WIM_DATA) return false;
  // A header this backend no longer holds belonged to a closed device: nothing to report.
  Header* header = Find(reinterpret_cast<const WAVEHDR*>(lparam));
  if (header == nullptr || !header->queued) return true;
  CaptureBuffer* buffer = header->buffer;
  header->queued = false;
  buffer->queued = false;
  buffer->bytes_recorded =
      header->reset
          ? 0
          : std::min<std::uint32_t>(header->wave_header.dwBytesRecorded, buffer->buffer_length);
  header->reset = false;
  // The receiver may unprepare the buffer at once, which forgets `header`.
  if (done_) done_(buffer);
  return true;
}

WaveInCaptureBackend::Header* WaveInCaptureBackend::Find(const CaptureBuffer& buffer) {
  for (const auto& header : headers_) {
    if (header->buffer == &buffer) return header.get();
  }
  return nullptr;
}

WaveInCaptureBackend::Header* WaveInCaptureBackend::Find(const WAVEHDR* wave_header) {
  for (const auto& header : headers_) {
    if (&header->wave_header == wave_header) return header.get();
  }
  return nullptr;
}

void WaveInCaptureBackend::Forget(const Header* header) {
  std::erase_if(headers_, [header](const auto& owned) { return owned.get() == header; });
}

void WaveInCaptureBackend::DropWaitingMessages() {
  if (window_ == nullptr) return;
  MSG message;
  while (PeekMessageW(&message, window_, MM_WIM_OPEN, MM_WIM_DATA, PM_REMOVE)) {
  }
}

}  // namespace lorix
