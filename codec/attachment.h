#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "codec/bytes.h"
#include "codec/codec_tables.h"
#include "codec/decoder.h"
#include "codec/stream_header.h"

namespace lorix {

inline constexpr std::string_view kTempFolder = "TEMPs";
inline constexpr std::string_view kTempWaveName = "TempWave.wav";
inline constexpr std::string_view kTempInfoName = "TempInfo.txt";

// The attachment: the player program, the information text, then the last
// `payload_size` + 44 bytes of `compressed_stream` (payload and header). The stream may be a
// fresh encoder output or a whole loaded attachment. Throws CodecError when the payload size
// does not fit the stream.
Bytes BuildAttachment(ByteSpan player, std::string_view info_text, ByteSpan compressed_stream,
                      std::int32_t payload_size);

// Builds the attachment and writes it, executable (0755), under a temporary name renamed into
// place.
void WriteAttachment(const std::filesystem::path& target, ByteSpan player,
                     std::string_view info_text, ByteSpan compressed_stream,
                     std::int32_t payload_size);

// What the player knows about the file it unpacked last.
struct PlayerExtraction {
  std::filesystem::path SourceFileName;
  std::int64_t SourceFileSize = 0;
  StreamHeader Header;
  std::int32_t PayloadSize = 0;
  std::int32_t SampleCount = 0;  // the number of samples actually decoded
  std::int32_t InfoLength = 0;
  std::int32_t SampleRate = 11025;
  std::filesystem::path InfoFile;  // the written information text, or empty
};

struct ExtractOptions {
  // The folder under which "TEMPs/TempWave.wav" and "TEMPs/TempInfo.txt" are written.
  std::filesystem::path base_dir = ".";
  // The player's own executable: a file that is not a recording is not reported for it.
  std::filesystem::path own_executable;
  // Called before the temporary files are rewritten, so that a running playback lets go.
  std::function<void()> close_playback;
  DecodeProgress progress;
  // The folder the two files are written into instead, when not empty (a player's claimed one).
  std::filesystem::path temp_folder{};
};

enum class ExtractOutcome {
  kExtracted,    // wav_path is ready to play
  kWrongFormat,  // not a recording in the LORIX format; message is empty when not to be shown
  kFailed,       // the file could not be read or the result not written; message says why
};

struct ExtractResult {
  ExtractOutcome outcome = ExtractOutcome::kFailed;
  std::filesystem::path wav_path;
  std::string message;  // German, for a message box; empty when nothing is to be shown
};

// Finds the stream at the end of `file`, checks magic and sample rate, writes the information
// text and the decoded recording into the temporary folder.
ExtractResult ExtractPayload(const std::filesystem::path& file, PlayerExtraction& state,
                             const CodecTables& tables, const ExtractOptions& options);

// The wrong-format message is not shown for the player's own executable.
bool ShouldReportWrongFormat(const std::filesystem::path& file,
                             const std::filesystem::path& own_executable);
std::string WrongFormatMessage(const std::filesystem::path& file);

}  // namespace lorix
